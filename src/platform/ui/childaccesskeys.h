#pragma once
// The access keys (Alt + the letter after "&" in a caption) of the active
// child window of an MDI area come before those of the frame's menu bar.
//
// Qt takes both for the same key: a button of the active child and a menu
// title of the frame match Alt+letter alike, and the menu bar wins, so a
// child's button whose letter a menu title also has could never be reached
// by its key. Watching the application's key events, this object answers
// such a key itself when the focus is inside the area's active child and a
// visible, enabled button of that child has it: the button takes the focus
// and is clicked, as its own access key would do. Any other key, and every
// key while no child has it, goes on as before, so the menu bar keeps its
// keys.

#include <QObject>

class QAbstractButton;
class QKeyEvent;
class QMdiArea;

namespace kelmon {

class ChildAccessKeys : public QObject {
public:
    // Watches the keys for the children of area; parent owns this object.
    ChildAccessKeys(QMdiArea *area, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The button of the area's active child that the key event, sent to
    // receiver, stands for; nullptr when none.
    QAbstractButton *keyOwner(const QObject *receiver, const QKeyEvent &key) const;

    QMdiArea *area_;
};

} // namespace kelmon
