#include "lists/ui/listlabels.h"

#include <QColor>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>

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
    QRect r = rect;
    const QFontMetrics metrics(font);
    int needed = metrics.height();
    if (metrics.horizontalAdvance(text) > rect.width()) {
        // A text wider than its label wraps, as the design's taller labels do.
        label->setWordWrap(true);
        needed = label->heightForWidth(rect.width());
    }
    r.setHeight(std::max(rect.height(), needed));
    label->setGeometry(r);
    return label;
}

} // namespace kelmon::lists
