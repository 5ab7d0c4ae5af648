#pragma once
// Whether a window shows rows of the database in one of its grids; a grid
// filled from lines of text.

#include <QStringList>

class QWidget;
namespace kelmon {
class GridModel;
}

namespace kelmon::test {

// True when a grid view of the window shows a non-blank cell below its fixed rows.
bool gridShowsData(const QWidget *window);

// Fills a grid from lines of '|'-separated cell texts (as many columns as the
// longest line), the first fixedRows lines fixed.
void fillGrid(GridModel &m, const QStringList &lines, int fixedRows = 0);

} // namespace kelmon::test
