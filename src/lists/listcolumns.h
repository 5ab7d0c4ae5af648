#pragma once
// Column catalogues of the list grids (racer, motor and boat lists): each
// column's width, headings and how its cell text is made from one row of a
// paper table; the shared cell forms (race cells, rates, place rates); and the
// popup items a right-click enables.

#include "platform/gridmodel.h"

#include <QSqlQuery>
#include <QString>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace kelmon::lists {

// How a cell is made from its field.
enum class Cell {
    Name4,       // the first four characters of the text
    Pattern,     // the number with a format pattern ("0000", "@@", "0.0")
    Rate,        // two decimals right-aligned in five places ("0.00" then "@@@@@")
    Pref,        // the prefecture name of the code
    Text,        // the stored text as it is
    Raw,         // the number as plain text (hidden key columns)
    Race,        // a race cell ("5" -> " 5R", 0 -> "")
    RaceTime,    // a race time ("1.49.6"); empty when not above 0
    PlaceRate2,  // (places 1 + 2) x 100 / starts, raised to whole percent; field is the prefix
    PlaceRate3,  // the same over places 1 to 3
};

struct ListColumn {
    int width;               // twips; 0 hides the column
    const char16_t *group;   // heading row 0 (the only heading of a one-row header)
    const char16_t *heading; // heading row 1 of a two-row header
    const char *field;       // column of the table (prefix for the place rates)
    Cell cell;
    const char *pattern;     // for Cell::Pattern
};

// A colour written &HBBGGRR (the paper's design notation) as a QRgb.
constexpr QRgb bgr(quint32 value)
{
    return qRgb(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// A race cell: the race right-aligned in two places and "R"; empty for 0
// and for a value that is no race number (negative, fractional, beyond 99).
QString raceCell(double race);
// A rate with two decimals right-aligned in five places (" 5.67", "10.23").
QString rateCell(double rate);

// A place rate in whole percent: places x 100 / starts cut down to tenths,
// then raised to the next whole number when the tenth is not 0 (1 of 3 gives
// 34, 661 of 2000 gives 33). Worked on whole numbers, so no rounding of
// binary fractions moves an edge. Nothing when starts is not above 0 or the
// counts are not whole numbers of a sensible size.
std::optional<int> placeRate(double places, double starts);

// Reads a query's rows into cell texts by a column catalogue. The field
// positions are looked up once per query.
class ListRowReader {
public:
    ListRowReader(const QSqlQuery &query, std::span<const ListColumn> columns);
    QString cell(const QSqlQuery &query, std::size_t column) const;
    // Appends one grid row per remaining record, each made current in turn.
    void appendRows(GridModel &grid, QSqlQuery &query) const;

private:
    double number(const QSqlQuery &query, int index) const;
    std::span<const ListColumn> columns_;
    std::vector<std::vector<int>> fields_;   // per column: its field, or the place fields and starts
};

// A heading colour over a range of columns.
struct HeadingTint {
    int first;
    int last;
    QRgb color;
};
// Colours the heading rows 0..rows-1 of the tinted columns.
void tintHeadings(GridModel &grid, std::span<const HeadingTint> tints, int rows);

// The enabled state of popup items by index; nothing when no menu pops up.
using PopupItems = std::map<int, bool>;

} // namespace kelmon::lists
