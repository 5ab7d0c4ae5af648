#pragma once
// The motor and boat lists of one meeting day: twins that differ only in the
// table they read and its key column. One grid layout, one load and one
// popup rule serve both.

#include "lists/listcolumns.h"

namespace kelmon::lists {

inline constexpr int kMachineListCols = 17;

// What tells the two lists apart.
struct MachineList {
    const char *table;   // f_motor / f_boats
    const char *key;     // motorno / boatsno
};
inline constexpr MachineList kMotorList{"f_motor", "motorno"};
inline constexpr MachineList kBoatList{"f_boats", "boatsno"};

// The column catalogue, columns 0..16 (column 0 reads the list's key).
std::vector<ListColumn> machineListColumns(const MachineList &list);

// Lays out the empty grid: one heading row, no fixed column.
void set_machinelist_grid(GridModel &grid);

// Fills the laid-out grid with the motors or boats of a meeting day in key
// order (context fields as text). Throws kelmon::DbError.
void disp_machinelist(GridModel &grid, const MachineList &list, const QString &setuscode, const QString &datescnt);

// The popup items of menus mnumt / mnubt for the grid's current cell;
// nothing when the grid has no rows.
std::optional<PopupItems> machineListPopup(const GridModel &grid);

} // namespace kelmon::lists
