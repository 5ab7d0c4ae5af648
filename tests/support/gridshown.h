#pragma once
// Whether a window shows rows of the database in one of its grids; a grid
// filled from lines of text; clicks and keys on a grid view; what a popup's
// column command did to a column.

#include <QPoint>
#include <QStringList>
#include <utility>

class QAction;
class QMenu;
class QWidget;
namespace kelmon {
class GridModel;
class GridView;
class ScriptedMessages;
}

namespace kelmon::test {

// True when a grid view of the window shows a non-blank cell below its fixed rows.
bool gridShowsData(const QWidget *window);

// Fills a grid from lines of '|'-separated cell texts (as many columns as the
// longest line), the first fixedRows lines fixed.
void fillGrid(GridModel &m, const QStringList &lines, int fixedRows = 0);

// A left click on a cell the view shows (which gives the view the focus).
void clickCell(GridView *view, int row, int col);
// Presses keys on the view, each with its modifiers and `extra`; the current
// cell after them (x = col, y = row).
QPoint pressKeys(GridView *view, const QList<QKeyCombination> &keys, Qt::KeyboardModifiers extra = {});
// The items of a menu as one text: '+' enabled, '.' disabled, '|' a separator.
QString menuStates(const QMenu *menu);
// Presses a key (Menu, Shift+F10) on the view and closes the menu it popped
// up: the menu's item states, or "" when it did not show. atCell tells
// whether it opened at a point inside the view's current cell.
QString keyPopup(GridView *view, QMenu *menu, QKeyCombination key, bool *atCell = nullptr);
// True when the cell is painted whole in the viewport, not under a frozen pane.
bool cellShown(const GridView *view, int row, int col);
// Triggers a popup's sort (command 0 ascending, 1 descending) or average
// (2) item and gives what column col then shows below the headings, and
// what it should show, worked out here from the numbers it showed before
// (cells without a number passed over): the numbers in order, or the one
// message of their average.
std::pair<QString, QString> runColumnCommand(QAction *item, int command, const GridModel &grid, int col,
                                             const ScriptedMessages &box);

} // namespace kelmon::test
