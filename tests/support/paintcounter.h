#pragma once
// Counts the paints a widget receives from now on, to tell a repaint from a
// change that shows only on the next paint.

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace kelmon::test {

struct PaintCounter : QObject {
    explicit PaintCounter(QWidget *widget)
    {
        // The paints already asked for come first (twice: one may ask for another).
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

} // namespace kelmon::test
