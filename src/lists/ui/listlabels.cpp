#include "lists/ui/listlabels.h"

#include "platform/fonts.h"

#include <QColor>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QWidget>
#include <cmath>

namespace kelmon::lists {

QLabel *placeLabel(QWidget *parent, const QString &text, const QRect &rect, const QFont &font,
                   std::optional<QRgb> color, std::optional<QRgb> background)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    if (color)
        palette.setColor(QPalette::WindowText, QColor(*color));
    if (background) {
        palette.setColor(QPalette::Window, QColor(*background));
        label->setAutoFillBackground(true);
    }
    label->setPalette(palette);

    // How many lines the design rectangle holds at the font's size (a line of
    // the designed fonts is as tall as the font's pixel size).
    const QFontMetrics metrics(font);
    const double linePixels = std::max(1, font.pixelSize() > 0 ? font.pixelSize() : metrics.height());
    const int designLines = std::max(1, int(std::lround(rect.height() / linePixels)));
    QRect r = rect;
    if (designLines == 1) {
        // A one-line label stays one line: it widens where the text is wider,
        // and holds its font's whole line about the middle of its box.
        r.setWidth(oneLineWidth(font, text, rect.width()));
        r = wholeLineRect(r, font);
    } else {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        r.setHeight(std::max(rect.height(), label->heightForWidth(rect.width())));
    }
    label->setGeometry(r);
    return label;
}

int oneLineWidth(const QFont &font, const QString &text, int designWidth)
{
    // An italic text leans past its advance; the label holds its ink too.
    const QFontMetrics metrics(font);
    const int ink = text.isEmpty() ? 0 : metrics.boundingRect(text).right() + 1;
    return std::max(designWidth, std::max(metrics.horizontalAdvance(text), ink) + 2);
}

void setOneLineText(QLabel *label, const QString &text, int designWidth)
{
    label->setText(text);
    label->resize(oneLineWidth(label->font(), text, designWidth), label->height());
}

void stackLabels(const QList<QList<QWidget *>> &rows)
{
    int bottom = 0;
    for (const QList<QWidget *> &row : rows) {
        int rowBottom = bottom;
        int right = 0;
        for (QWidget *w : row) {
            w->move(std::max(w->x(), right), std::max(w->y(), bottom));
            right = w->geometry().right() + 1;
            rowBottom = std::max(rowBottom, w->geometry().bottom() + 1);
        }
        bottom = rowBottom;
    }
}

} // namespace kelmon::lists
