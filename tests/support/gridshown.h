#pragma once
// Whether a window shows rows of the database in one of its grids.

class QWidget;

namespace kelmon::test {

// True when a grid view of the window shows a non-blank cell below its fixed rows.
bool gridShowsData(const QWidget *window);

} // namespace kelmon::test
