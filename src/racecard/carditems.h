#pragma once
// Items of the race card: every cell of the card names an item 1..87 (or 0
// for separators), and the popup entries, the sort column, the average and
// the help topic follow from it.

#include "platform/gridmodel.h"
#include "platform/gridpopup.h"
#include "racecard/cardlayout.h"

#include <QString>
#include <array>
#include <optional>

namespace kelmon::racecard {

// The item of a cell: 1 for the fixed columns 0..5, 2..87 for a datum of a
// block, 0 for separators, separator rows and columns past the last block.
int get_cell_item(const CardLayout &layout, int row, int col);

// The item of a cell of one block at column offset c and row offset r (0..4).
int blockItem(int code, int c, int r);

// Entries of the card's popup menu: 0 ascending sort, 1 descending sort,
// 2 average, 4 hide, 5 add submenu, 7 racer, 8 race card, 9 result, 11 help;
// 3, 6 and 10 are separators.
inline constexpr int kPopupEntries = 12;
enum PopupEntry {
    SortAscending = 0, SortDescending = 1, Average = 2, Hide = 4, Add = 5,
    ShowRacer = 7, ShowRace = 8, ShowResult = 9, Help = 11,
};
QString popupCaption(int entry);   // "" for a separator

struct PopupState {
    std::array<bool, kPopupEntries> enabled{};   // every entry
    std::array<bool, 28> addEnabled{};            // add submenu entries 0..27
};

// What the popup offers for a right-click on (row, col) of item `item`.
// racerText is the clicked column's text in the clicked boat's first row;
// cellText the clicked cell's own text. The add submenu offers every block
// not on this card's layout.
PopupState set_popup_menu(const CardLayout &layout, int item, int row,
                          const QString &racerText, const QString &cellText);

// A race named by a clicked cell: for this meeting's results (items 64..75)
// the day of the column and the race number before "R"; for the early race
// (item 86) the race before "Ｒ" on this card's own day (day 0). Header rows
// and texts without a race number 1..12 name no race.
struct ClickedRace {
    int day = 0;
    int race = 0;
};
std::optional<ClickedRace> clickedRace(int item, int row, const QString &cellText);

// Help topic of an item: 1010 for the fixed part, 1010 + 10 x block code;
// 0 for item 0 or an unknown item.
int disp_help_context(int item);

// The average of an item over the boats on the card, at the clicked row
// offset and column. boats = the number of boats filled (at most six).
using AverageResult = gridpopup::Average;
AverageResult comp_average(const GridModel &grid, int item, int row, int col, int boats);

} // namespace kelmon::racecard
