#pragma once
// Buttons of dialogs that have no default button: Enter never presses a
// button on its behalf (in a text box or a grid it does what that control
// says), yet Enter on the focused button presses it, as Space does.

class QPushButton;

namespace kelmon {

// Makes button a plain button of its dialog (not auto-default) that is
// pressed by Enter or Return while it has the focus.
void pressOnEnter(QPushButton *button);

} // namespace kelmon
