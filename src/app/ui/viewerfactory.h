#pragma once
// Every kind of viewer window by name: the main window's commands, the race
// card's buttons and the grids' popup commands create their windows here, so
// an opener needs no window's header and a kind not yet in the program simply
// opens nothing.

#include "app/ui/viewerwindow.h"

#include <QPoint>
#include <functional>
#include <map>

class QMdiArea;

namespace kelmon {

enum class ViewerKind {
    RaceCard, Almanac, Predictions, Outcomes, RaceResult, PreviousRuns,
    RacerDetail, RacerList, MotorList, BoatList, DataRoom, Points,
};

// A new, not yet shown window of a kind; nullptr while the kind has none.
ViewerWindow *createViewer(ViewerKind kind);
bool hasViewer(ViewerKind kind);
// Replaces the creator of a kind (tests); an empty creator removes it.
void setViewerCreator(ViewerKind kind, std::function<ViewerWindow *()> creator);

// Shows a window as a child of the area at its preferred size, or on its own
// when there is no area.
void showViewer(QMdiArea *area, ViewerWindow *window);
// The widgets inside container that Tab reaches, in the order it reaches them.
QList<QWidget *> tabStops(const QWidget *container);
// The area of the frame that holds a viewer window (nullptr when it stands alone).
QMdiArea *viewerArea(const QWidget *viewer);

// Pops up the main window's popup menu `menu` ("mnudm") for a viewer window
// at globalPos, after setting the enabled state of the items given by index
// (item i is "<menu>sub_i"); the other items keep theirs. False when the
// viewer is not inside the main window.
bool popupViewerMenu(const QWidget *viewer, const QString &menu, const std::map<int, bool> &enabled,
                     const QPoint &globalPos);

} // namespace kelmon
