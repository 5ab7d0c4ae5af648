#pragma once
// Pictures of the main window's toolbar buttons, drawn at run time.

#include <QIcon>

namespace kelmon {

// The picture of toolbar button 1..26 (a null icon for the separators).
QIcon toolbarIcon(int index);

} // namespace kelmon
