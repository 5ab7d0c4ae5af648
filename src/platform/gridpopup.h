#pragma once
// The commands behind the popup menus of the viewer grids (outcomes, results,
// power indices, the lists, the racer detail and the data room): sort by the
// current column, the average of the current column, and the racer, race
// result or race card behind the current cell. One table holds a member per
// menu with what its grid does differently (key columns, first data row,
// skipped cells, where the racer is); the commands work on the grid's current
// cell, never read the database and never end the program. The main window
// opens the windows they name.

#include "platform/gridmodel.h"

#include <QString>
#include <optional>
#include <vector>

namespace kelmon::gridpopup {

enum class Command { None, SortAscending, SortDescending, Average, RacerDetail, RaceResult, RaceCard };

// The visible column `from` is sorted or averaged by the hidden column `to`.
struct KeyColumn {
    int from;
    int to;
};

struct Member {
    const char *menu;                  // "mnudm"
    std::vector<Command> items;        // by item index; None for separators
    int firstDataRow = 1;              // first row the average reads
    std::vector<KeyColumn> sortKeys;   // substitutions of the sort
    int sortOffset = 0;                // > 0: every column sorts by column + offset
    std::vector<KeyColumn> averageKeys;
    std::vector<int> timeColumns;      // averaged columns holding race times (m ss t as one number)
    bool skipDash = false;             // cells reading "-" are not averaged
    int racerNoCol = -1;               // registration number of the row
    int racerNameCol = -1;             // racer name of the row
    bool frameCellLeft = false;        // a cell holding "枠" names the race of the cell to its left
};

// The member of a popup menu, nullptr for a menu that is not one of these.
const Member *member(const QString &menu);
// The command of item `index`; None for separators and other indexes.
Command command(const Member &m, int index);

// Whether the commands may act on the grid's current cell: it lies inside the
// grid and its column is not hidden.
bool currentCellUsable(const GridModel &grid);

// Sorts the data rows by the current column (or its key column) and leaves
// the current cell where it was. False when nothing was done.
bool sort(GridModel &grid, const Member &m, bool ascending);

// The average of the current column over the cells that hold a value (an
// empty cell, or "-" where the member skips it, is no entry): the message
// title and text to show. Race-time columns are averaged in tenths of a
// second over the times that are not 0 and shown as times. Nothing when the
// current cell cannot be used.
struct Average {
    double sum = 0;
    double count = 0;
    QString title;
    QString text;
};
std::optional<Average> average(const GridModel &grid, const Member &m);
// The two messages of an average: the result, or the warning for no entries.
Average averageMessage(double sum, double count);

// The racer of the current row: registration number as plain decimal text
// and the name as the grid shows it. Nothing for a header row or a number
// that is not a registration number (0, negative, beyond 16 bits).
struct Racer {
    QString tourokuno;
    QString name;
};
std::optional<Racer> racer(const GridModel &grid, const Member &m);

// The race named by the current cell ("5R", " 5R", "11Ｒ"): 1..12; nothing
// for a header row, a cell without a race or a number outside 1..12.
std::optional<int> race(const GridModel &grid, const Member &m);

// The day and race of a result row: the outcomes grid's day cell ("3日目") in
// column 0 with the opener's race, or the racer detail's day, race (column 1)
// and date (column 13). Nothing for a header row or a day or race that is not
// a real one.
struct ResultRow {
    int datescnt = 0;
    int racesno = 0;
    QString date;   // empty: the opener's date
};
std::optional<ResultRow> outcomeResult(const GridModel &grid, int openerRace);
std::optional<ResultRow> racerResult(const GridModel &grid);

} // namespace kelmon::gridpopup
