#pragma once
// The catalogue of the card's column blocks: for each block code 1..24 its
// title in the add menu, its entry in that menu, its width, the items its
// cells carry, and the builder that draws it. A block kind is added to the
// card by pointing its catalogue entry at its builder; an entry without a
// builder keeps its columns (hidden and empty) so every other block stays
// where the layout puts it.

#include "platform/gridmodel.h"
#include "racecard/boatrow.h"

#include <QString>
#include <optional>
#include <span>

namespace kelmon::racecard {

// How a block draws itself. The engine grows the grid by the block's width
// and sets the column widths before the first boat; then it calls header
// once per fill (with the first boat's row) and data once per boat.
struct BlockBuilder {
    std::span<const int> widths;   // twips per column; the last is the separator
    void (*header)(GridModel &grid, const BoatRow &first, int col);
    void (*data)(GridModel &grid, const BoatRow &row, int k, int col);
};

struct BlockInfo {
    int code;             // 1..24
    const char *title;    // caption of its add-menu entry
    int menu;             // index of its add-menu entry
    int width;            // grid columns, separator included
    int firstItem;        // items its cells carry
    int lastItem;
    const BlockBuilder *builder;   // nullptr until the block kind is built
};

inline constexpr int kAddMenuEntries = 28;   // add submenu entries 0..27

// The 24 blocks in code order.
std::span<const BlockInfo> blockCatalogue();
// The block of a code; nullptr outside 1..24.
const BlockInfo *blockInfo(int code);
// The block code of an add-menu entry; 0 for the separators and out of range.
int blockCodeOfMenu(int menu);
// The block whose cells carry an item; 0 for item 1 (the fixed part) and for
// any item outside 2..87.
int blockCodeOfItem(int item);
// Caption of an add-menu entry; "" for a separator.
QString addMenuCaption(int menu);

// Cell helpers for builders.
enum class Align { Center, Right, Left };
// Background from the colour table; an index outside the table leaves it unset.
void paintCell(GridModel &grid, int row, int col, int colorIndex);
// Text colour from the colour table; an index outside the table leaves it unset.
void paintText(GridModel &grid, int row, int col, int colorIndex);
void putText(GridModel &grid, int row, int col, const QString &text,
             std::optional<Align> align = std::nullopt);
GridAlign gridAlign(Align align);
// Sets a one-line text in a cell of the default Gothic, a step or two smaller
// where it is wider than its column (setFittedText).
void putFittedText(GridModel &grid, int row, int col, const QString &text, Align align);
// Draws the cells first..last of a row at 7 points: the g of ㎏ and round
// brackets reach past the ideographs, and in a row of 190 twips only that
// face keeps their tips inside the row's lines.
void keepTipsInRow(GridModel &grid, int row, int first, int last);

} // namespace kelmon::racecard
