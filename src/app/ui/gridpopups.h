#pragma once
// The main window's handlers of the viewer grids' popup menus (mnudm, mnurr,
// mnury, mnurs, mnumt, mnubt, mnurd, mnul1, mnul2, mnucr, mnuks): they act on
// the active child's grid through the popup engine and open the racer
// detail, race result or race card windows the current cell names.

#include <QString>

namespace kelmon {

class frmmainmenu;

// Connects every item of those menus to gridPopup_Click.
void connectGridPopups(frmmainmenu &frame);

// Item `index` of popup menu `menu` on the active child window; nothing when
// the active child has no grid for that menu or the current cell names nothing.
void gridPopup_Click(frmmainmenu &frame, const QString &menu, int index);

} // namespace kelmon
