#include "toolbaricons.h"

#include "platform/fonts.h"

#include <QPainter>
#include <QPixmap>

namespace kelmon {

namespace {

struct ButtonPicture {
    const char *glyph;   // one or two characters drawn on the badge
    QRgb colour;         // badge colour
};

// Index = toolbar button; separators have no glyph.
const ButtonPicture pictures[27] = {
    {"", 0},
    {"場", 0x1f5fa8}, {"", 0}, {"↓", 0x2e7d32}, {"登", 0x2e7d32}, {"", 0},
    {"削", 0xb23a3a}, {"最", 0x6d4c41}, {"", 0}, {"印", 0x455a64}, {"", 0},
    {"R", 0x1565c0}, {"予", 0x6a1b9a}, {"結", 0xc62828}, {"選", 0x00838f},
    {"モ", 0xef6c00}, {"ボ", 0x0277bd}, {"D", 0x4e342e}, {"", 0},
    {"初", 0x558b2f}, {"全", 0x558b2f}, {"記", 0x558b2f}, {"", 0},
    {"?", 0x37474f}, {"S", 0x37474f}, {"W", 0x37474f}, {"i", 0x37474f},
};

} // namespace

QIcon toolbarIcon(int index)
{
    if (index < 1 || index > 26 || !*pictures[index].glyph)
        return QIcon();
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(pictures[index].colour));
    p.drawRoundedRect(QRectF(3, 3, 42, 42), 9, 9);
    QFont f = makeFont(DefaultFontName);
    f.setPixelSize(28);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 48, 46), Qt::AlignCenter, QString::fromUtf8(pictures[index].glyph));
    return QIcon(pm);
}

} // namespace kelmon
