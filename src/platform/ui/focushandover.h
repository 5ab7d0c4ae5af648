#pragma once
// On a desktop without a window manager nothing hands the keyboard on when
// the active window goes away: after the splash or a dialog closed, no window
// of the viewer would take a key until it was clicked. The hand-over gives the
// keyboard to the window the closed one belonged to, as a window manager does.

namespace kelmon {

// Installs the hand-over for the whole application; once is enough.
void installFocusHandover();

} // namespace kelmon
