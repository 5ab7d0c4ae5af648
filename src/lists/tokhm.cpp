#include "lists/tokhm.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "lists/listcells.h"
#include "lists/listcolumns.h"
#include "platform/gridmoves.h"

#include <QSqlQuery>

namespace kelmon::lists {

namespace {

constexpr int kRateColumn = 8;      // position of the first what-if rate in f_tokhm
constexpr int kPlaces = 7;          // places 1..6 and 着外
constexpr int kBlockColWidth = 460;

// A place of a race as a row or column heading: "①着".."⑥着", "着外".
QString placeHeading(int place)
{
    return place == kPlaces ? QStringLiteral("着外") : modkelmon::get_circle_number(place) + QStringLiteral("着");
}

// The race of a title: " 5R", or " - " without one.
QString titleRace(double race)
{
    const QString cell = raceCell(race);
    return cell.isEmpty() ? QStringLiteral(" - ") : cell;
}

} // namespace

std::optional<QRgb> get_tokhmcolor(int kind, double value, double border)
{
    if (kind == 0)
        return kTokhmTitleColor;
    if (kind == 1)
        return value >= border ? kTokhmReachedColor : kTokhmBelowColor;
    return std::nullopt;
}

QString disp_bordrcnt(const DayKey &key)
{
    QSqlQuery q = modkelmon::exec(QStringLiteral("select bordrcnt from f_setus where setuscode = ?"),
                                  {modkelmon::keyValue(key.setuscode)});
    return q.next() ? format(fieldNumber(q.value(0)), "0.00") : QString();
}

QString tokhmRate(double rate) { return format(rate, rate < 10 ? "0.00" : "0.0"); }

void disp_tokhm(const DayKey &key, const QString &borderText, GridModel &grid)
{
    double border = val(borderText);
    if (border == 0)
        border = 999;
    grid.reset();
    grid.setCols(8);
    grid.setFixedCols(1);
    for (int c = 0; c < 8; ++c)
        grid.setColWidth(c, kBlockColWidth);
    grid.setMergeMode(GridMerge::Free);

    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select * from f_tokhm where setuscode = ? and datescnt = ? order by tokujun_ks"),
        {modkelmon::keyValue(key.setuscode), modkelmon::keyValue(key.datescnt)});
    while (q.next()) {
        int row = grid.rows();
        grid.setRows(row + 1);
        grid.setRow(row);
        grid.setMergeRow(row, true);
        const QString title = alignedNumber(fieldNumber(q, "tokujun_ks"), "@@") + QStringLiteral("位 ")
            + shortName(q.value(QStringLiteral("sensyname")).toString()) + QStringLiteral("  ")
            + rateCell(fieldNumber(q, "tokuritu_ks")) + QStringLiteral("  (")
            + titleRace(fieldNumber(q, "hayami_1")) + QStringLiteral("・") + titleRace(fieldNumber(q, "hayami_2"))
            + QLatin1Char(')');
        for (int c = 1; c <= kPlaces; ++c) {
            grid.setCellAlignment(row, c, GridAlign::LeftCenter);
            grid.setBackColor(row, c, *get_tokhmcolor(0, 0, 0));
            grid.setText(row, c, title);
        }
        for (int i = 0; i < kPlaces; ++i) {
            QVariant values[kPlaces];
            bool any = false;
            for (int j = 0; j < kPlaces; ++j) {
                values[j] = q.value(kRateColumn + kPlaces * i + j);
                any = any || fieldNumber(values[j]) > 0;
            }
            if (!any)
                continue;
            row = grid.rows();
            grid.setRows(row + 1);
            grid.setRow(row);
            grid.setText(row, 0, placeHeading(i + 1));
            for (int j = 0; j < kPlaces; ++j) {
                // A blank rate is no rate: its cell stays empty and unmarked.
                if (values[j].isNull() || (values[j].typeId() == QMetaType::QString
                                           && trimBlanks(values[j].toString()).isEmpty()))
                    continue;
                const double v = fieldNumber(values[j]);
                grid.setBackColor(row, j + 1, *get_tokhmcolor(1, v, border));
                grid.setText(row, j + 1, tokhmRate(v));
            }
        }
    }
    startAtFirstDataRow(grid);
}

void set_sample_grid(GridModel &grid)
{
    grid.reset();
    grid.setCols(9);
    grid.setRows(9);
    grid.setFixedCols(2);
    grid.setFixedRows(2);
    grid.setColWidth(0, 270);
    for (int c = 1; c < 9; ++c)
        grid.setColWidth(c, kBlockColWidth);
    // Rows low enough that the nine rows fit the legend's place.
    for (int r = 0; r < 9; ++r)
        grid.setRowHeight(r, 225);
    grid.setMergeMode(GridMerge::Free);
    grid.setMergeRow(0, true);
    grid.setMergeCol(0, true);
    for (int c = 0; c < 9; ++c)
        grid.setColAlignment(c, GridAlign::CenterCenter);
    const auto circled = [](int n) { return modkelmon::get_circle_number(n); };
    for (int c = 2; c <= 8; ++c)
        grid.setText(0, c, QStringLiteral("前半戦"));
    for (int r = 2; r <= 8; ++r)
        grid.setText(r, 0, QStringLiteral("後半戦"));
    for (int p = 1; p <= kPlaces; ++p) {
        grid.setText(1, p + 1, placeHeading(p));
        grid.setText(p + 1, 1, placeHeading(p));
    }
    for (int r = 2; r <= 8; ++r)
        for (int c = 2; c <= 8; ++c) {
            const QString first = c == 8 ? QStringLiteral("外") : circled(c - 1);
            const QString second = r == 8 ? QStringLiteral("外") : circled(r - 1);
            grid.setText(r, c, first + second);
        }
    grid.setRow(7);
    grid.setCol(3);
    grid.setBackColor(7, 3, kTokhmSampleColor);
}

} // namespace kelmon::lists
