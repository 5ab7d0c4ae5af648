#pragma once
// Patterns shared by the card's column blocks 8 to 24: header cells, the four
// rows of a boat, packed records of the paper, grade colours, run-history
// rows, and the number-and-rates, place-count and previous-user columns that
// the motor and boat blocks have in common.

#include "common/resultcodes.h"
#include "platform/gridmodel.h"
#include "racecard/boatrow.h"

#include <QString>
#include <QStringView>

namespace kelmon::racecard {

// Colour indices of the card's colour table used by these blocks.
inline constexpr int kHeaderBack = 0;   // #FFE0C0
inline constexpr int kWhite = 1;        // #FFFFFF
inline constexpr int kBlackText = 20;   // #000000
inline constexpr int kWhiteText = 21;   // #FFFFFF

// The line break of multi-line cells.
inline const QString kLineBreak = QStringLiteral("\r\n");

// A header cell: header background and text.
void headerCell(GridModel &grid, int row, int col, const QString &text);
// The same text in one header row over the columns first..last.
void headerSpan(GridModel &grid, int row, int first, int last, const QString &text);
// Merging down and one column alignment for the columns first..last.
void formatColumns(GridModel &grid, int first, int last, bool mergeDown, GridAlign align);

// Background of the four rows of a boat (top..top + 3) in one column.
void paintBoat(GridModel &grid, int top, int col, int colorIndex);
// The same text in the four rows of a boat, so that they merge into one cell.
void fillBoat(GridModel &grid, int top, int col, const QString &text);

// Text colour that stays readable on a background of the colour table: white
// on black (the black entry, and an index outside the table, which has no
// colour and draws black), black on every other.
int textColorOn(int backIndex);

// The four rows of a boat in one column on a background index that the
// paper's data chose (a colour digit, a grade): an index outside the colour
// table draws black. The text colour keeps the cells readable.
void paintBoatReadable(GridModel &grid, int top, int col, int colorIndex);

// Background index of a meeting's grade: a grade of 4 or more takes index
// grade + 10 (ＧⅠ 14, ＳＧ 15, a higher grade whatever the table holds there
// or black past it); any lower grade, a blank slot's 0 included, is white.
// The grade is compared as given: 3.6 is below 4.
int gradeColor(double grade);

// Half-width digits of a text turned into full-width ones ("12" -> "１２").
QString fullWidthDigits(const QString &text);

// The value of packed digits: 0 unless the text begins with a digit; then its
// digits up to the first other character, half-width blanks between them
// skipped. At most nine digits are read, so the value always fits.
int packedNumber(QStringView text);

// One fixed-width record of a packed field of the paper: record `index` of
// `length` characters, trimmed of its blanks. A field shorter than its layout
// gives empty (or shorter) records at its end; characters past the layout
// are never read.
class PackedRecord {
public:
    PackedRecord(QStringView field, int length, int index);
    const QString &text() const { return text_; }
    // Characters first..first + count - 1 (1-based) as stored; "" past the end.
    QString chars(int first, int count) const;
    // Their numeric value (packedNumber).
    int number(int first, int count) const;

private:
    QString text_;
};

// Rows top + 2 and top + 3 of a column, left-aligned: a run history's letters,
// the first eight in the upper row and the rest in the lower one when there
// are more than oneRowMax letters.
void historyRows(GridModel &grid, int top, int col, const QString &history,
                 modkelmon::LetterForm form, int oneRowMax);

// The number-and-rates column of the motor and boat blocks: a bold number
// over the first two rows, the win rate and the two-place rate.
struct NumberRateColumns {
    const char *title;    // header rows 0 and 1
    const char *number;   // columns of f_wakus
    const char *rate;
    const char *percent;
    int dataColor;
};
void numberRateHeader(GridModel &grid, int col, const NumberRateColumns &columns);
void numberRateData(GridModel &grid, const BoatRow &row, int k, int col,
                    const NumberRateColumns &columns);

// The place-count columns of the racer, motor and boat blocks: finals and
// wins in column C, firsts, seconds, thirds and the other runs in column
// C + 1, every count as stored, in plain text.
struct PlaceCountColumns {
    const char *finals;
    const char *wins;
    const char *places[3];
    const char *all;
};
void placeCountHeader(GridModel &grid, int col, const QString &title);
void placeCountData(GridModel &grid, const BoatRow &row, int k, int col,
                    const PlaceCountColumns &columns);

// The header of the two previous-user columns (C and C + 2) of the motor and
// boat blocks.
void previousUsersHeader(GridModel &grid, int col, const QString &title);
// Column of a previous user: the one before last (which = 2) in C, the last
// (which = 1) in C + 2.
int previousUserColumn(int col, int which);

} // namespace kelmon::racecard
