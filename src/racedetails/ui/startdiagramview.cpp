#include "racedetails/ui/startdiagramview.h"

#include "platform/fonts.h"
#include "platform/pictures.h"
#include "platform/twips.h"

#include <QPainter>

namespace kelmon::racedetails {

using namespace startdiagram;

namespace {

// The view starts at the top of the flag, which stands above the frame.
constexpr int kViewLeft = kLeft;
constexpr int kViewTop = kBadgeTop;

// A rectangle in window twips, in pixels of the view.
QRect viewRect(double left, int top, int width, int height)
{
    return twipsRect(int(left) - kViewLeft, top - kViewTop, width, height);
}

} // namespace

StartDiagramView::StartDiagramView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("startdiagram"));
    setFont(makeFont(DefaultFontName, 9));
    setGeometry(twipsRect(areaTwips().x(), areaTwips().y(), areaTwips().width(), areaTwips().height()));
}

QRect StartDiagramView::areaTwips()
{
    return QRect(kViewLeft, kViewTop, kWidth, kTop + kHeight - kViewTop);
}

void StartDiagramView::setPlacements(const StartDiagram &placements)
{
    placements_ = placements;
    update();
}

void StartDiagramView::clear() { setPlacements({}); }

void StartDiagramView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(viewRect(kLeft, kImageTop, kWidth, kImageHeight), pictures::image(imlstartdiagram, 1));

    const QRect frame = viewRect(kLeft, kTop, kWidth, kHeight);
    p.setPen(QColor(0x80, 0x80, 0x80));
    for (int x : {kSecondLineX, kStartLineX}) {
        const int px = twipsToPixels(x - kViewLeft);
        p.drawLine(px, frame.top(), px, twipsToPixels(kLineBottom - kViewTop));
    }

    for (const auto &row : placements_) {
        if (!row)
            continue;
        p.drawImage(viewRect(row->waveLeft, row->waveTop, kWaveWidth, kWaveHeight),
                    pictures::image(imlracerest1, row->wavePicture));
        p.drawImage(viewRect(row->boatLeft, row->boatTop, kBoatWidth, kBoatHeight),
                    pictures::image(imlracerest1, row->boatPicture));
    }
    p.setPen(Qt::black);
    for (std::size_t k = 0; k < placements_.size(); ++k) {
        if (!placements_[k])
            continue;
        const QRect text = viewRect(kTextLeft, kTextTop + kRowStep * int(k), kTextWidth + 600, kTextHeight + 30);
        // A long name would push the start timing out: the text steps down
        // to the size that holds it whole.
        const QString &shown = placements_[k]->text;
        p.setFont(makeFont(DefaultFontName, fittedPoints(shown, text.width())));
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, shown);
    }

    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.drawImage(viewRect(kBadgeLeft, kBadgeTop, kBadgeSize, kBadgeSize), pictures::image(imlstartdiagram, 2));
}

} // namespace kelmon::racedetails
