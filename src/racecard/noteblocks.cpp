#include "racecard/noteblocks.h"

#include "common/textforms.h"
#include "racecard/blockhelpers.h"
#include "racecard/cardtables.h"

namespace kelmon::racecard {

namespace {

void oneColumnHeader(GridModel &grid, int col, const QString &title)
{
    formatColumns(grid, col, col, true, GridAlign::CenterCenter);
    for (int r = 0; r < 4; ++r)
        headerCell(grid, r, col, title);
}

void hayamiHeader(GridModel &grid, const BoatRow &, int col)
{
    oneColumnHeader(grid, col, QStringLiteral("早　見"));
}

void hayamiData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    paintBoat(grid, top, col, kWhite);
    fillBoat(grid, top, col, hayamiText(row.code("hayami_r"), row.code("hayami_w")));
}

void memoHeader(GridModel &grid, const BoatRow &, int col)
{
    oneColumnHeader(grid, col, QStringLiteral("お知らせ"));
}

void memoData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    paintBoat(grid, top, col, kWhite);
    const QString memo = trimBlanks(row.text("Memo"));
    for (int r = top; r < top + 4; ++r) {
        grid.setCellAlignment(r, col, GridAlign::LeftTop);
        grid.setText(r, col, memo);
    }
}

constexpr int kHayamiWidths[] = {270, 10};
constexpr int kMemoWidths[] = {1800, 10};

} // namespace

const BlockBuilder disp_hayami{kHayamiWidths, hayamiHeader, hayamiData};
const BlockBuilder disp_memo{kMemoWidths, memoHeader, memoData};

QString hayamiText(int race, int frame)
{
    if (race == 0)
        return QStringLiteral("本日一回");
    const QString number = QString::number(race);
    return (race < 10 ? fullWidthDigits(number) : number) + QStringLiteral("Ｒ")
           + fullWidthDigits(QString::number(frame)) + QStringLiteral("枠");
}

} // namespace kelmon::racecard
