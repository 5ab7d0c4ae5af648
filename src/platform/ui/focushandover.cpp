#include "focushandover.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace kelmon {

namespace {

class FocusHandover : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Hide || !watched->isWidgetType())
            return false;
        auto *gone = static_cast<QWidget *>(watched);
        // Only a window that held the keyboard passes it on (a menu never
        // holds it: Qt itself returns from a menu). A closing dialog has
        // already given up being the active widget here, not its window's
        // focus.
        if (!gone->isWindow()
            || (gone != QApplication::activeWindow()
                && (!gone->windowHandle() || gone->windowHandle() != QGuiApplication::focusWindow())))
            return false;
        QWidget *owner = gone->parentWidget() ? gone->parentWidget()->window() : nullptr;
        if (owner && owner->isVisible())
            owner->activateWindow();
        return false;
    }
};

} // namespace

void installFocusHandover()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    qApp->installEventFilter(new FocusHandover(qApp));
}

} // namespace kelmon
