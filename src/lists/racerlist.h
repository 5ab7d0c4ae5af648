#pragma once
// The racer list of one meeting day: the 44-column grid with its two heading
// rows, its load from f_racer and which popup items a right-click enables.

#include "lists/listcolumns.h"

namespace kelmon::lists {

inline constexpr int kRacerListCols = 44;
inline constexpr int kRacerListPrefKey = 43;   // hidden prefecture code

// The column catalogue, columns 0..43.
std::span<const ListColumn> racerListColumns();

// Lays out the empty grid: two heading rows, the name column fixed, group
// headings merged across their columns and the first five headings down
// their two rows, group colours.
void set_racerlist_grid(GridModel &grid);

// Fills the laid-out grid with the racers of a meeting day in registration
// order (context fields as text). Throws kelmon::DbError.
void disp_racerlist(GridModel &grid, const QString &setuscode, const QString &datescnt);

// The popup items of menu mnurs for the grid's current cell; nothing when no
// menu pops up (no racers, or the name column).
std::optional<PopupItems> racerListPopup(const GridModel &grid);

} // namespace kelmon::lists
