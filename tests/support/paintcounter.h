#pragma once
// Counts the paints a widget receives from now on, to tell a repaint from a
// change that shows only on the next paint.

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QStringList>
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

namespace kelmon::test {

// The texts a label showed when painted, in order, a text painted again in a row once.
struct PaintedTexts : QObject {
    explicit PaintedTexts(QLabel *label) : label(label) { label->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && texts.value(texts.size() - 1, "\n") != label->text())
            texts << label->text();
        return false;
    }
    QLabel *label;
    QStringList texts;
};

} // namespace kelmon::test
