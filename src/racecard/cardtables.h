#pragma once
// Fixed tables of the race card: the colour table shared by every column
// block, the width of each block kind, and the ORDER BY clause of each item.

#include <QColor>
#include <QString>
#include <optional>

namespace kelmon::racecard {

// Geometry of the card grid.
inline constexpr int kFixedCols = 6;        // mark, frame, profile and their separators
inline constexpr int kHeaderRows = 4;       // rows 0..3
inline constexpr int kGridRows = 34;        // header rows + six boats of five rows
inline constexpr int kMaxBoats = 6;
inline constexpr int kBlockCodes = 24;      // block codes 1..24

// First grid row of the boat at query position k (1..6).
inline constexpr int boatRow(int k) { return 5 * k; }

// Colour of index 0..22 of the card's colour table; no colour for any other
// index, and the caller then leaves the cell's colour unset.
std::optional<QRgb> get_color(int index);

// Grid columns of a block, separator included; 0 for a code outside 1..24.
int get_colcount(int code);

// ORDER BY text for sorting the boats by an item: the item's column or
// expression, " desc" for order 1, then ",wakusno" so that ties keep frame
// order. Item 1, and any item without a sort column, sorts by frame.
QString get_orderby(int item, int order);

// Whether the item has a sort column of its own (item 1 sorts by frame).
bool has_sort_column(int item);

} // namespace kelmon::racecard
