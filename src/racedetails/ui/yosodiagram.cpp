#include "racedetails/ui/yosodiagram.h"

#include "platform/pictures.h"
#include "platform/twips.h"

#include <QPainter>

namespace kelmon::racedetails {

YosoDiagram::YosoDiagram(const QRect &area, QWidget *parent, int shift) : QWidget(parent), areaTwips_(area)
{
    setGeometry(twipsRect(area.left() + shift, area.top(), area.width(), area.height()));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void YosoDiagram::setPlacements(const QVector<YosoPlacement> &placements)
{
    placements_ = placements;
    update();
}

QVector<YosoPlacement> YosoDiagram::shown() const
{
    QVector<YosoPlacement> list;
    for (const YosoPlacement &p : placements_)
        if (!p.picture.isNull())
            list << p;
    return list;
}

void YosoDiagram::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Places are on the window; the diagram starts at its own corner.
    const QPoint origin(twipsToPixels(areaTwips_.left()), twipsToPixels(areaTwips_.top()));
    for (const YosoPlacement &p : placements_) {
        if (p.picture.isNull())
            continue;
        painter.drawPixmap(QPoint(twipsToPixels(p.left), twipsToPixels(p.top)) - origin, pictures::pixmap(p.picture));
    }
}

} // namespace kelmon::racedetails
