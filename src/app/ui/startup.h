#pragma once
// Start of the program: one running copy, the screen check, the frame window.

#include <QString>

class QLockFile;
class QScreen;
class QWidget;

namespace kelmon {

class frmmainmenu;
class frmopening;
class MessageBoxService;

enum class InstanceLock {
    Taken,     // this is the one running copy
    Held,      // another copy of the program holds the lock
    Failed,    // the lock file cannot be made (a file error, not a second copy)
};
// Takes the program's lock in the program folder. On Failed, *problem (when
// given) gets the message for the user.
InstanceLock takeSingleInstanceLock(QLockFile &lock, QString *problem = nullptr);
QString lockPath();

// The screen is wide enough (800 pixels or more).
bool screenWideEnough(const QScreen *screen);
// Shows the too-narrow message and opens the desktop's display settings.
void refuseNarrowScreen();

// Gives the main window the screen's available area as it is (the desktop's
// panels are already left out of it), its frame included.
void placeMainWindow(QWidget &window, const QScreen *screen);

// Shows the splash, then the main window below it, both placed; returns the
// splash, which closes itself.
frmopening *showStartWindows(frmmainmenu &window);

// Shows the start windows and, once events run, starts the splash's count-down
// and the main window's start-up checks and offers. The boxes shown from then
// on belong to the main window, never to the splash that closes under them.
void startViewer(frmmainmenu &window, MessageBoxService &boxes);

// The whole start-up; returns the process exit code.
int runViewer();

} // namespace kelmon
