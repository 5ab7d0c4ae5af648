#pragma once
// Start of the program: one running copy, the screen check, the frame window.

#include <QString>

class QLockFile;
class QScreen;

namespace kelmon {

// Takes the program's lock in the program folder; false when another copy
// holds it.
bool takeSingleInstanceLock(QLockFile &lock);
QString lockPath();

// The screen is wide enough (800 pixels or more).
bool screenWideEnough(const QScreen *screen);
// Shows the too-narrow message and opens the desktop's display settings.
void refuseNarrowScreen();

// The whole start-up; returns the process exit code.
int runViewer();

} // namespace kelmon
