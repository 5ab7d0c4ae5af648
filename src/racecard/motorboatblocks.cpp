#include "racecard/motorboatblocks.h"

#include "common/codetables.h"
#include "common/textforms.h"
#include "common/timeforms.h"
#include "racecard/blockhelpers.h"
#include "racecard/cardtables.h"

namespace kelmon::racecard {

namespace {

using modkelmon::LetterForm;

// Letters of a previous user's history that stay in one row.
constexpr int kMotorHistoryRow = 13;
constexpr int kBoatHistoryRow = 8;

constexpr NumberRateColumns kMotorRates{"ﾓｰﾀｰ", "motorno", "syoritu_mt", "fukuritu_mt", 8};
constexpr NumberRateColumns kBoatRates{"ﾎﾞｰﾄ", "boatsno", "syoritu_bt", "fukuritu_bt", 12};
constexpr PlaceCountColumns kMotorCounts{
    "yusyu_mt", "yusyo_mt", {"syuso_mt_1", "syuso_mt_2", "syuso_mt_3"}, "syuso_mt_all"};
constexpr PlaceCountColumns kBoatCounts{
    "yusyu_bt", "yusyo_bt", {"syuso_bt_1", "syuso_bt_2", "syuso_bt_3"}, "syuso_bt_all"};

// Blocks 12 and 16.
void motorRatesHeader(GridModel &grid, const BoatRow &, int col) { numberRateHeader(grid, col, kMotorRates); }
void motorRatesData(GridModel &grid, const BoatRow &row, int k, int col)
{
    numberRateData(grid, row, k, col, kMotorRates);
}
void boatRatesHeader(GridModel &grid, const BoatRow &, int col) { numberRateHeader(grid, col, kBoatRates); }
void boatRatesData(GridModel &grid, const BoatRow &row, int k, int col)
{
    numberRateData(grid, row, k, col, kBoatRates);
}

// Blocks 13 and 17.
void motorCountsHeader(GridModel &grid, const BoatRow &, int col)
{
    placeCountHeader(grid, col, QStringLiteral("ﾓｰﾀｰ"));
}
void motorCountsData(GridModel &grid, const BoatRow &row, int k, int col)
{
    placeCountData(grid, row, k, col, kMotorCounts);
}
void boatCountsHeader(GridModel &grid, const BoatRow &, int col)
{
    placeCountHeader(grid, col, QStringLiteral("ﾎﾞｰﾄ"));
}
void boatCountsData(GridModel &grid, const BoatRow &row, int k, int col)
{
    placeCountData(grid, row, k, col, kBoatCounts);
}

// Block 14: the paper's two power ratings and the motor's best time.
void kryokHeader(GridModel &grid, const BoatRow &, int col)
{
    formatColumns(grid, col, col, true, GridAlign::CenterCenter);
    headerCell(grid, 0, col, QStringLiteral("機力評価"));
    headerCell(grid, 1, col, QStringLiteral("機力評価"));
    paintCell(grid, 2, col, kHeaderBack);
    headerCell(grid, 3, col, QStringLiteral("最高時計"));
}

void kryokData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    paintBoat(grid, top, col, kWhite);
    putText(grid, top, col, QStringLiteral("出 ") + modkelmon::get_mark_name(row.code("kryok_de")), Align::Left);
    putText(grid, top + 1, col, QStringLiteral("伸 ") + modkelmon::get_mark_name(row.code("kryok_nb")),
            Align::Left);
    grid.setCellAlignment(top + 3, col, GridAlign::RightCenter);
    const double best = row.num("firsttime_mt");
    if (best > 0)
        grid.setText(top + 3, col, modkelmon::race_time(best));
}

// The fields of one previous user of the motor or the boat ("m2", "b1", ...).
QByteArray userField(const char *name, const char *slot)
{
    return QByteArray(name) + '_' + slot;
}

// Rows of a previous user's column; false (and four empty cells) when the
// slot has no user.
bool startUserColumn(GridModel &grid, const QString &name, int top, int x)
{
    paintBoat(grid, top, x, kWhite);
    if (trimBlanks(name).isEmpty()) {
        fillBoat(grid, top, x, QString());
        return false;
    }
    return true;
}

// Block 15: one previous user of the motor (which = 2 before last, 1 last).
void disp_cell_seiseki_m(GridModel &grid, const BoatRow &row, int which, int k, int col)
{
    const char *slot = which == 2 ? "m2" : "m1";
    const int top = boatRow(k);
    const int x = previousUserColumn(col, which);
    const QString name = row.text(userField("sensyname", slot).constData());
    if (!startUserColumn(grid, name, top, x))
        return;
    const QString classcode = trimBlanks(row.text(userField("classcode", slot).constData()));
    putText(grid, top, x, format(classcode, "@@") + QStringLiteral("級 ") + name.left(4), Align::Left);
    const int weight = row.code(userField("weight", slot).constData());
    const int best = row.code(userField("firsttime", slot).constData());
    QString second = format(QString::number(weight), "@@") + QStringLiteral("㎏   ");
    if (best > 0)
        second += modkelmon::race_time(best);
    putText(grid, top + 1, x, second, Align::Left);
    keepTipsInRow(grid, top + 1, x, x);
    historyRows(grid, top, x, row.text(userField("seiseki", slot).constData()), LetterForm::Letter,
                kMotorHistoryRow);
}

void motorPrevHeader(GridModel &grid, const BoatRow &, int col)
{
    previousUsersHeader(grid, col, QStringLiteral("モーター前回成績"));
}

void motorPrevData(GridModel &grid, const BoatRow &row, int k, int col)
{
    disp_cell_seiseki_m(grid, row, 2, k, col);
    disp_cell_seiseki_m(grid, row, 1, k, col);
}

// Block 18: one previous user of the boat (which = 2 before last, 1 last).
void fill_seiseki_bt(GridModel &grid, const BoatRow &row, int which, int k, int col)
{
    const char *slot = which == 2 ? "b2" : "b1";
    const int top = boatRow(k);
    const int x = previousUserColumn(col, which);
    const QString name = row.text(userField("sensyname", slot).constData());
    if (!startUserColumn(grid, name, top, x))
        return;
    putText(grid, top, x, name.left(4), Align::Left);
    const QString date = row.text(userField("s_date", slot).constData());
    putText(grid, top + 1, x, date.mid(0, 2) + QStringLiteral("月") + date.mid(2, 2) + QStringLiteral("日"),
            Align::Left);
    historyRows(grid, top, x, row.text(userField("seiseki", slot).constData()), LetterForm::Letter,
                kBoatHistoryRow);
}

void boatPrevHeader(GridModel &grid, const BoatRow &, int col)
{
    previousUsersHeader(grid, col, QStringLiteral("ボート前回成績"));
}

void boatPrevData(GridModel &grid, const BoatRow &row, int k, int col)
{
    fill_seiseki_bt(grid, row, 2, k, col);
    fill_seiseki_bt(grid, row, 1, k, col);
}

constexpr int kRateWidths[] = {580, 10};
constexpr int kCountWidths[] = {460, 380, 10};
constexpr int kKryokWidths[] = {810, 10};
constexpr int kMotorPrevWidths[] = {1260, 10, 1260, 10};
constexpr int kBoatPrevWidths[] = {810, 10, 810, 10};

} // namespace

const BlockBuilder disp_col_syoritu_mt{kRateWidths, motorRatesHeader, motorRatesData};
const BlockBuilder disp_col_syuso_mt{kCountWidths, motorCountsHeader, motorCountsData};
const BlockBuilder disp_col_kryok{kKryokWidths, kryokHeader, kryokData};
const BlockBuilder disp_col_motor_prev{kMotorPrevWidths, motorPrevHeader, motorPrevData};
const BlockBuilder disp_col_syoritu_bt{kRateWidths, boatRatesHeader, boatRatesData};
const BlockBuilder disp_boats_syuso{kCountWidths, boatCountsHeader, boatCountsData};
const BlockBuilder disp_col_boats_prev{kBoatPrevWidths, boatPrevHeader, boatPrevData};

} // namespace kelmon::racecard
