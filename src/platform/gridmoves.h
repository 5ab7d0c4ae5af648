#pragma once
// Keyboard moves of a grid's current cell: the arrow keys step one cell,
// Page Up and Page Down a page of rows, Home and End go to the ends of the
// row, Ctrl+Home and Ctrl+End to the first and last cell.

#include "platform/gridmodel.h"

namespace kelmon {

enum class GridMove { Left, Right, Up, Down, PageUp, PageDown, RowStart, RowEnd, First, Last };

// Moves the current cell of the grid and tells whether it changed.
//
// A move never enters the fixed rows, nor the fixed columns unless the grid
// lets keys enter them (then they count as body columns here). It passes
// over hidden rows and columns (size 0) and over the ones drawn one pixel
// thin (separator lines), which a move never lands on. A merged range counts
// as one cell: a step starts from the range's edge, and the other coordinate
// of the current cell stays (a hidden one goes to the nearest shown row or
// column). A current cell in the fixed part enters the body: a step forward
// lands on the first visible body row or column, a step back stays on it.
// Page Up and Page Down step over as many visible rows as fit into pageTwips
// (at least one), every row passed, thin lines too, counted at the whole
// pixels it is drawn in; a move with no visible cell that way leaves the
// current cell where it is.
bool moveCurrent(GridModel &grid, GridMove move, int pageTwips = 0);

// Where a grid starts after a fill: the current cell goes to the first row
// below the fixed rows that a move can land on (not a hidden row nor a
// separator line), in column col, so the view opens with it at the top and
// the keys move on from there. A column the keys cannot hold the current
// cell in gives way as in a move: a fixed one to the first shown body column,
// a hidden one to the nearest shown one; so Left and Right reach every column
// the keys can, back to the start. A grid without such a row keeps its
// current cell.
void startAtFirstDataRow(GridModel &grid, int col = 0);

} // namespace kelmon
