#include "racecard/courseblock.h"

#include "common/codetables.h"
#include "common/textforms.h"
#include "platform/pictures.h"
#include "racecard/blockhelpers.h"
#include "racecard/cardtables.h"

#include <array>

namespace kelmon::racecard {

namespace {

constexpr int kCourses = 6;
constexpr int kTallestBar = 13;
constexpr int kBlockWidth = 24;

// Column offset of course n (1..6) of period p (0, 1).
constexpr int courseOffset(int period, int course)
{
    return 12 * period + 2 * (course - 1);
}

// Count columns of f_wakus: syuso_c1_1.. (bottom) and syure_c1_1.. (top).
QByteArray countColumn(const char *kind, int period, int course)
{
    return QByteArray(kind) + "_c" + QByteArray::number(period + 1) + '_' + QByteArray::number(course);
}

void courseHeader(GridModel &grid, const BoatRow &first, int col)
{
    for (int c = col; c < grid.cols(); ++c)
        grid.setColAlignment(c, GridAlign::CenterCenter);
    headerSpan(grid, 0, col, col + kBlockWidth - 2, QStringLiteral("コース別データ"));
    for (int p = 0; p < 2; ++p) {
        const QString title = modkelmon::get_kind_name(first.code(p == 0 ? "flag_c1" : "flag_c2"))
                              + QStringLiteral("実績");
        headerSpan(grid, 1, col + 12 * p, col + 12 * p + 10, title);
        for (int n = 1; n <= kCourses; ++n) {
            const int c = col + courseOffset(p, n);
            headerCell(grid, 2, c, QString::number(n));
            headerCell(grid, 3, c, QStringLiteral("ｺｰｽ"));
        }
    }
}

void courseData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    for (int p = 0; p < 2; ++p) {
        std::array<int, kCourses> bottom{};
        std::array<int, kCourses> upper{};
        bool any = false;
        for (int n = 1; n <= kCourses; ++n) {
            bottom[std::size_t(n - 1)] = row.code(countColumn("syuso", p, n).constData());
            upper[std::size_t(n - 1)] = row.code(countColumn("syure", p, n).constData());
            any = any || bottom[std::size_t(n - 1)] != 0;
        }
        for (int n = 1; n <= kCourses; ++n) {
            const int c = col + courseOffset(p, n);
            if (any) {
                edit_course_cell(grid, p, bottom[std::size_t(n - 1)], upper[std::size_t(n - 1)], top, c);
            } else {
                paintBoat(grid, top, c, kWhite);
                grid.setText(top + 1, c, QStringLiteral("-"));
                grid.setText(top + 2, c, QStringLiteral("-"));
            }
        }
    }
}

constexpr std::array<int, kBlockWidth> kCourseWidths = [] {
    std::array<int, kBlockWidth> w{};
    for (int i = 0; i < kBlockWidth; ++i)
        w[std::size_t(i)] = (i % 2 == 0) ? 330 : 10;
    w[11] = 30;
    return w;
}();

} // namespace

const BlockBuilder disp_course{kCourseWidths, courseHeader, courseData};

int courseBarPicture(int period, int bottomCount)
{
    if (bottomCount <= 0 || (period != 0 && period != 1))
        return 0;
    const int height = std::min(cint(bottomCount / (period == 0 ? 10.0 : 5.0)) + 1, kTallestBar);
    return pictures::courseBar(period, height);
}

void edit_course_cell(GridModel &grid, int period, int bottomCount, int topCount, int top, int col)
{
    paintBoat(grid, top, col, kWhite);
    if (bottomCount == 0) {
        grid.setText(top, col, QString());
        grid.setText(top + 1, col, QStringLiteral("-"));
        grid.setText(top + 2, col, QStringLiteral("-"));
        grid.setText(top + 3, col, QString());
        grid.setPicture(top + 3, col, GridPicture{});
        return;
    }
    grid.setText(top, col, QString::number(topCount));
    grid.setText(top + 1, col, QString());
    grid.setText(top + 2, col, QString());
    grid.setText(top + 3, col, QString::number(bottomCount));
    grid.setPictureAlignment(top + 3, col, GridAlign::CenterBottom);
    const int index = courseBarPicture(period, bottomCount);
    grid.setPicture(top + 3, col, index ? GridPicture{imlraceinfo1, index} : GridPicture{});
}

} // namespace kelmon::racecard
