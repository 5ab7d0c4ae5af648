#include "lists/ui/listlabels.h"

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
        // A one-line label stays one line: it widens where the text is wider.
        r.setWidth(std::max(rect.width(), metrics.horizontalAdvance(text) + 2));
        r.setHeight(std::max(rect.height(), metrics.height()));
    } else {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        r.setHeight(std::max(rect.height(), label->heightForWidth(rect.width())));
    }
    label->setGeometry(r);
    return label;
}

void stackLabels(const QList<QList<QWidget *>> &rows)
{
    int bottom = 0;
    for (const QList<QWidget *> &row : rows) {
        int rowBottom = bottom;
        for (QWidget *w : row) {
            if (w->y() < bottom)
                w->move(w->x(), bottom);
            rowBottom = std::max(rowBottom, w->geometry().bottom() + 1);
        }
        bottom = rowBottom;
    }
}

} // namespace kelmon::lists
