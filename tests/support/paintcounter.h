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

#include <QLabel>
#include <QStringList>

namespace kelmon::test {

// The texts a label showed when it was painted, in order (a text painted
// again in a row is listed once).
struct PaintedTexts : QObject {
    explicit PaintedTexts(QLabel *label) : label_(label) { label->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && (texts.isEmpty() || texts.last() != label_->text()))
            texts << label_->text();
        return false;
    }
    QStringList texts;

private:
    QLabel *label_;
};

} // namespace kelmon::test
