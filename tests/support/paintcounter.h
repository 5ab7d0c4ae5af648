#pragma once
// Counts the paint events a widget receives, to tell whether a command
// repainted it or only changed what it would show on the next paint.

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace kelmon::test {

class PaintCounter : public QObject {
public:
    // Starts counting once the paints already asked for have been done.
    explicit PaintCounter(QWidget *widget) : widget_(widget)
    {
        settle();
        widget_->installEventFilter(this);
    }
    ~PaintCounter() override { widget_->removeEventFilter(this); }

    // The paints since counting began, after the pending ones have been done.
    int paints()
    {
        settle();
        return paints_;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == widget_ && event->type() == QEvent::Paint)
            ++paints_;
        return false;
    }

private:
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    QWidget *widget_;
    int paints_ = 0;
};

} // namespace kelmon::test
