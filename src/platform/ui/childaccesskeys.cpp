#include "platform/ui/childaccesskeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace kelmon {

ChildAccessKeys::ChildAccessKeys(QMdiArea *area, QObject *parent) : QObject(parent), area_(area)
{
    qApp->installEventFilter(this);
}

QAbstractButton *ChildAccessKeys::keyOwner(const QObject *receiver, const QKeyEvent &key) const
{
    // An access key is Alt with one key; a key event goes to the focus widget.
    if (!(key.modifiers() & Qt::AltModifier) || !receiver || !receiver->isWidgetType())
        return nullptr;
    QMdiSubWindow *child = area_->activeSubWindow();
    QWidget *content = child ? child->widget() : nullptr;
    const auto *focus = static_cast<const QWidget *>(receiver);
    if (!content || !(focus == child || child->isAncestorOf(focus)))
        return nullptr;
    const QKeySequence pressed(key.keyCombination());
    for (QAbstractButton *button : content->findChildren<QAbstractButton *>())
        if (button->isVisible() && button->isEnabled() && QKeySequence::mnemonic(button->text()) == pressed)
            return button;
    return nullptr;
}

bool ChildAccessKeys::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    QAbstractButton *button = keyOwner(watched, *static_cast<QKeyEvent *>(event));
    if (!button)
        return false;
    event->accept();
    // Taken as an override, the key comes back as a key press to the focus
    // widget, which is where the button answers it.
    if (type == QEvent::KeyPress) {
        if (button->focusPolicy() != Qt::NoFocus)
            button->setFocus(Qt::ShortcutFocusReason);
        button->animateClick();
    }
    return true;
}

} // namespace kelmon
