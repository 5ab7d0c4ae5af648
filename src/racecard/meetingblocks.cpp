#include "racecard/meetingblocks.h"

#include "common/codetables.h"
#include "common/textforms.h"
#include "racecard/blockhelpers.h"
#include "racecard/cardtables.h"

namespace kelmon::racecard {

namespace {

using modkelmon::LetterForm;

// Letters of a meeting's run history that fit in its upper row.
constexpr int kHistoryRow = 8;

// The fields of one meeting, suffixed by its slot ("z1", "a2", ...).
QByteArray field(const char *name, const char *slot)
{
    return QByteArray(name) + '_' + slot;
}

// Header of blocks 8 and 10: a title over the three meeting columns and the
// name of each meeting under it.
void meetingsHeader(GridModel &grid, int col, const QString &title, const QString (&names)[3])
{
    formatColumns(grid, col, col + 4, true, GridAlign::CenterCenter);
    headerSpan(grid, 0, col, col + 4, QStringLiteral(" "));
    headerSpan(grid, 1, col, col + 4, title);
    headerSpan(grid, 2, col, col + 4, QStringLiteral(" "));
    for (int i = 0; i < 3; ++i)
        headerCell(grid, 3, col + 2 * i, names[i]);
}

// Block 8: the last three meetings, the oldest on the left.
void zenso3Header(GridModel &grid, const BoatRow &, int col)
{
    meetingsHeader(grid, col, QStringLiteral("前走3場所成績"),
                   {QStringLiteral("3場所前"), QStringLiteral("2場所前"), QStringLiteral("前走")});
}

// One previous meeting n (1 = the latest) into its column.
void disp_cell_seiseki_z(GridModel &grid, const BoatRow &row, int n, int k, int col)
{
    static const char *const slotNames[3] = {"z1", "z2", "z3"};
    const char *slot = slotNames[n - 1];
    const int top = boatRow(k);
    const int x = col + (3 - n) * 2;
    paintBoatReadable(grid, top, x, gradeColor(row.code(field("gradecode", slot).constData())));
    grid.setText(top, x, trimBlanks(row.text(field("racesdisp", slot).constData())));
    const QString note = trimBlanks(row.text(field("ketujyo", slot).constData()));
    if (!note.isEmpty())
        grid.setText(top + 1, x, note);
    historyRows(grid, top, x, row.text(field("seiseki", slot).constData()), LetterForm::ShortLetter,
                kHistoryRow);
}

void zenso3Data(GridModel &grid, const BoatRow &row, int k, int col)
{
    for (int n = 3; n >= 1; --n)
        disp_cell_seiseki_z(grid, row, n, k, col);
}

// Block 9: the last meeting at this venue.
void zentouHeader(GridModel &grid, const BoatRow &, int col)
{
    grid.setMergeCol(col, true);
    grid.setMergeCol(col + 1, true);
    grid.setColAlignment(col, GridAlign::CenterCenter);
    for (int r = 0; r < 4; ++r)
        headerCell(grid, r, col, QStringLiteral("前回当地"));
}

void zentouData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    // This block compares the grade as stored, not rounded to a whole code.
    paintBoatReadable(grid, top, col, gradeColor(row.num("gradecode_zt")));
    const QString date = row.text("s_date_zt");
    grid.setText(top, col, trimBlanks(date).isEmpty()
                               ? QStringLiteral("初出走")
                               : date.mid(0, 2) + QStringLiteral("年") + date.mid(2, 2) + QStringLiteral("月"));
    historyRows(grid, top, col, row.text("seiseki_zt"), LetterForm::ShortLetter, kHistoryRow);
}

// Block 10: the next three assignments, the nearest on the left.
void assenHeader(GridModel &grid, const BoatRow &, int col)
{
    meetingsHeader(grid, col, QStringLiteral("斡旋予定"),
                   {QStringLiteral("次場所"), QStringLiteral("2場所次"), QStringLiteral("3場所次")});
}

// One assignment n (1 = the next) into its column.
void edit_date_slash(GridModel &grid, const BoatRow &row, int n, int k, int col)
{
    static const char *const slotNames[3] = {"a1", "a2", "a3"};
    const char *slot = slotNames[n - 1];
    const int top = boatRow(k);
    const int x = col + (n - 1) * 2;
    paintBoatReadable(grid, top, x, gradeColor(row.code(field("gradecode", slot).constData())));
    const QString label = trimBlanks(row.text(field("racesdisp", slot).constData()));
    if (label.isEmpty()) {
        fillBoat(grid, top, x, QString());
        return;
    }
    grid.setText(top, x, label);
    const QString date = row.text(field("s_date", slot).constData());
    if (!trimBlanks(date).isEmpty())
        grid.setText(top + 1, x, modkelmon::shortDate(date));
}

void assenData(GridModel &grid, const BoatRow &row, int k, int col)
{
    for (int n = 1; n <= 3; ++n)
        edit_date_slash(grid, row, n, k, col);
}

// A meeting label of five characters ("住之江一般") in the Gothic drawn here
// takes 60 pixels; 930 twips give it 61.
constexpr int kMeetingsWidths[] = {930, 10, 930, 10, 930, 10};
constexpr int kOneMeetingWidths[] = {930, 10};

} // namespace

const BlockBuilder disp_col_zenso3{kMeetingsWidths, zenso3Header, zenso3Data};
const BlockBuilder disp_col_zentou{kOneMeetingWidths, zentouHeader, zentouData};
const BlockBuilder disp_racer_assen{kMeetingsWidths, assenHeader, assenData};

} // namespace kelmon::racecard
