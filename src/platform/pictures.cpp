#include "platform/pictures.h"

#include "platform/fonts.h"
#include "platform/gridmodel.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace kelmon::pictures {

namespace {

enum class Kind { RaceBadge, DayBadge, Frame, Bar, Arrow, Brace, Boat, Wave, Word, PowerBar, Water, StartFlag };

struct Entry {
    Kind kind;
    int param;     // race, day, frame, word number or band
    QSize size;
    QRgb color = 0;
};

constexpr QRgb firstPeriodBar = 0x78A7F5;
constexpr QRgb secondPeriodBar = 0xB2EC6E;

const QRgb frameColors[6] = {0xFFFFFF, 0x000000, 0xE00000, 0x0040E0, 0xFFE000, 0x00A040};
const QRgb frameDigits[6] = {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF};

std::vector<Entry> raceBadges()
{
    std::vector<Entry> list;
    for (int race = 1; race <= 12; ++race)
        list.push_back({Kind::RaceBadge, race, {76, 23}});
    return list;
}

std::vector<Entry> buildList(int list)
{
    std::vector<Entry> e;
    switch (list) {
    case imlraceinfo0:
    case imlyosodisp0:
    case imlracerest0:
        return raceBadges();
    case imlraceinfo1:
        for (int f = 1; f <= 6; ++f)
            e.push_back({Kind::Frame, f, {20, 20}});
        for (int f = 1; f <= 6; ++f)
            e.push_back({Kind::Frame, f, {17, 17}});
        for (QRgb color : {firstPeriodBar, secondPeriodBar})
            for (int h = 1; h <= 13; ++h)
                e.push_back({Kind::Bar, h, {18, 3 * h}, color});
        return e;
    case imay:
        for (int r = 0; r < 3; ++r) {
            e.push_back({Kind::Arrow, r, {14, 12}});
            e.push_back({Kind::Arrow, r, {14, 12}});
            e.push_back({Kind::Brace, r, {6, 33}});
        }
        return e;
    case imlyosodisp1:
        for (int f = 1; f <= 6; ++f)
            e.push_back({Kind::Boat, f, {44, 20}});
        for (int w : {50, 70, 90})
            e.push_back({Kind::Wave, 1, {w, 20}});   // fading tail: comments end where wakes begin
        for (int i = 0; i < 6; ++i)
            e.push_back({Kind::Word, i, {151, 79}});
        for (int f = 1; f <= 6; ++f)
            e.push_back({Kind::Frame, f, {17, 17}});
        for (int band = 1; band <= 23; ++band)
            e.push_back({Kind::PowerBar, band, {2 * band - 1, 12}});
        return e;
    case imlracerest1:
        for (int day = 1; day <= 7; ++day)
            e.push_back({Kind::DayBadge, day, {50, 23}});
        for (int f = 1; f <= 6; ++f)
            e.push_back({Kind::Boat, f, {44, 32}});
        e.push_back({Kind::Wave, 0, {50, 32}});
        return e;
    case imlstartdiagram:
        e.push_back({Kind::Water, 0, {199, 159}});
        e.push_back({Kind::StartFlag, 0, {26, 26}});
        return e;
    default:
        return e;
    }
}

const std::vector<Entry> &entries(int list)
{
    static QHash<int, std::vector<Entry>> lists;
    auto it = lists.find(list);
    if (it == lists.end())
        it = lists.insert(list, buildList(list));
    return *it;
}

const Entry *entry(int list, int index)
{
    const std::vector<Entry> &e = entries(list);
    if (index < 1 || index > int(e.size()))
        return nullptr;
    return &e[size_t(index - 1)];
}

QFont pixelFont(const QString &name, int pixels, bool bold)
{
    QFont font = makeFont(name, 0, bold);
    font.setPixelSize(std::max(1, pixels));
    return font;
}

void drawBadge(QPainter &p, const QSize &size, const QString &text, QColor top, QColor bottom)
{
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QColor(0x20, 0x20, 0x40));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    p.setPen(Qt::white);
    p.setFont(pixelFont(QString(), size.height() * 2 / 3, true));
    p.drawText(r, Qt::AlignCenter, text);
}

void drawFrame(QPainter &p, const QSize &size, int frame)
{
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(QColor(frameColor(frame)));
    p.drawRect(r);
    p.setPen(QColor(frameDigitColor(frame)));
    p.setFont(pixelFont(QString(), size.height() * 4 / 5, true));
    p.drawText(r, Qt::AlignCenter, QString::number(frame));
}

void drawBoat(QPainter &p, const QSize &size, int frame)
{
    const qreal w = size.width() - 1, h = size.height() - 1;
    QPainterPath hull;
    hull.moveTo(0.5, h * 0.3);
    hull.lineTo(w * 0.72, h * 0.3);
    hull.quadTo(w, h * 0.45, w, h * 0.55);
    hull.quadTo(w * 0.9, h * 0.85, w * 0.68, h * 0.9);
    hull.lineTo(0.5, h * 0.9);
    hull.closeSubpath();
    p.setPen(QColor(0x30, 0x30, 0x30));
    p.setBrush(QColor(frameColor(frame)));
    p.drawPath(hull);
    p.setPen(QColor(frameDigitColor(frame)));
    p.setFont(pixelFont(QString(), int(h * 0.55), true));
    p.drawText(QRectF(0, h * 0.3, w * 0.7, h * 0.6), Qt::AlignCenter, QString::number(frame));
}

void drawWave(QPainter &p, const QSize &size, bool fadingTail)
{
    // Wake: a few crests that thin out towards the tail on the left.
    const qreal w = size.width(), h = size.height();
    const int lines = 3;
    for (int i = 0; i < lines; ++i) {
        const qreal y = h * (0.35 + 0.2 * i);
        QPainterPath path;
        path.moveTo(w - 1, y);
        for (qreal x = w - 1; x > 1; x -= 8)
            path.quadTo(x - 2, y - 3, x - 4, y), path.quadTo(x - 6, y + 3, x - 8, y);
        QColor c(0x30, 0x80, 0xD0);
        p.setPen(QPen(c, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    if (fadingTail) {
        // The tail melts into the water, so text beside it stays readable.
        QLinearGradient fade(0, 0, w * 0.45, 0);
        fade.setColorAt(0, Qt::transparent);
        fade.setColorAt(1, Qt::black);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.fillRect(QRectF(0, 0, w, h), fade);
    }
}

void drawWord(QPainter &p, const QSize &size, int word)
{
    const QRectF r(1.5, 1.5, size.width() - 3, size.height() - 3);
    p.setPen(QPen(QColor(0xC0, 0x60, 0x00), 2));
    p.setBrush(QColor(0xFF, 0xF4, 0xD8));
    p.drawRoundedRect(r, 10, 10);
    const QString text = QString::fromUtf16(raceWords[word]);
    p.setPen(QColor(0xC0, 0x10, 0x10));
    p.setFont(pixelFont(QStringLiteral("HG丸ｺﾞｼｯｸM-PRO"), text.size() > 2 ? 32 : 40, true));
    // The window's race selector lies over the top of the picture: the word
    // stands below it.
    p.drawText(r.adjusted(0, size.height() * 0.33, 0, 0), Qt::AlignCenter, text);
}

void drawArrow(QPainter &p, const QSize &size)
{
    const qreal w = size.width(), h = size.height();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawRect(QRectF(0, h * 0.4, w * 0.55, h * 0.2));
    const QPointF head[] = {{w * 0.5, 0}, {w, h / 2}, {w * 0.5, h}};
    p.drawPolygon(head, 3);
}

void drawBrace(QPainter &p, const QSize &size)
{
    const qreal w = size.width() - 1, h = size.height() - 1;
    QPainterPath path;
    path.moveTo(w, 0.5);
    path.quadTo(w * 0.4, 0.5, w * 0.4, h * 0.2);
    path.lineTo(w * 0.4, h * 0.4);
    path.quadTo(w * 0.4, h * 0.5, 0.5, h * 0.5);
    path.quadTo(w * 0.4, h * 0.5, w * 0.4, h * 0.6);
    path.lineTo(w * 0.4, h * 0.8);
    path.quadTo(w * 0.4, h, w, h);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void drawPowerBar(QPainter &p, const QSize &size)
{
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0xFF, 0xB0, 0x40));
    g.setColorAt(1, QColor(0xE0, 0x50, 0x10));
    p.fillRect(QRect(QPoint(0, 0), size), g);
}

// Water of the start diagram: a pale gradient with a few ripples.
void drawWater(QPainter &p, const QSize &size)
{
    const qreal w = size.width(), h = size.height();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(0xE8, 0xF4, 0xFC));
    g.setColorAt(1, QColor(0xC8, 0xE2, 0xF4));
    p.fillRect(QRectF(0, 0, w, h), g);
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 0xB0), 1));
    for (int i = 0; i < 9; ++i) {
        const qreal y = h * (i + 0.5) / 9;
        const qreal x = (i * 37) % int(w * 0.6);
        QPainterPath ripple;
        ripple.moveTo(x, y);
        ripple.quadTo(x + 6, y - 2, x + 12, y);
        ripple.quadTo(x + 18, y + 2, x + 24, y);
        p.drawPath(ripple);
    }
}

// The checkered flag at the start line.
void drawStartFlag(QPainter &p, const QSize &size)
{
    const qreal w = size.width(), h = size.height();
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    p.drawLine(QPointF(w * 0.2, h * 0.1), QPointF(w * 0.2, h * 0.95));
    const qreal cell = w * 0.6 / 4;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            p.fillRect(QRectF(w * 0.22 + c * cell, h * 0.1 + r * cell, cell, cell),
                       (r + c) % 2 ? QColor(Qt::white) : QColor(0x20, 0x20, 0x20));
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(w * 0.22, h * 0.1, cell * 4, cell * 3));
}

QImage draw(const Entry &e)
{
    QImage img(e.size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, e.kind != Kind::Bar && e.kind != Kind::PowerBar);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (e.kind) {
    case Kind::RaceBadge:
        drawBadge(p, e.size, QString::number(e.param) + u'R', QColor(0x3A, 0x6E, 0xD0), QColor(0x10, 0x30, 0x80));
        break;
    case Kind::DayBadge:
        drawBadge(p, e.size, QString::number(e.param) + QStringLiteral("日目"), QColor(0x30, 0xA0, 0x80),
                  QColor(0x10, 0x60, 0x40));
        break;
    case Kind::Frame:
        drawFrame(p, e.size, e.param);
        break;
    case Kind::Bar:
        p.fillRect(QRect(QPoint(0, 0), e.size), QColor(e.color));
        break;
    case Kind::Arrow:
        drawArrow(p, e.size);
        break;
    case Kind::Brace:
        drawBrace(p, e.size);
        break;
    case Kind::Boat:
        drawBoat(p, e.size, e.param);
        break;
    case Kind::Wave:
        drawWave(p, e.size, e.param == 1);
        break;
    case Kind::Word:
        drawWord(p, e.size, e.param);
        break;
    case Kind::PowerBar:
        drawPowerBar(p, e.size);
        break;
    case Kind::Water:
        drawWater(p, e.size);
        break;
    case Kind::StartFlag:
        drawStartFlag(p, e.size);
        break;
    }
    return img;
}

quint32 cacheKey(int list, int index)
{
    return (quint32(list) << 16) | quint32(index & 0xFFFF);
}

} // namespace

int count(int list)
{
    return int(entries(list).size());
}

QSize size(int list, int index)
{
    const Entry *e = entry(list, index);
    return e ? e->size : QSize();
}

QImage image(int list, int index)
{
    const Entry *e = entry(list, index);
    if (!e)
        return {};
    static QHash<quint32, QImage> cache;
    const quint32 key = cacheKey(list, index);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, draw(*e));
    return *it;
}

QPixmap pixmap(int list, int index)
{
    if (!entry(list, index))
        return {};
    static QHash<quint32, QPixmap> cache;
    const quint32 key = cacheKey(list, index);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, QPixmap::fromImage(image(list, index)));
    return *it;
}

QPixmap pixmap(const GridPicture &picture)
{
    return picture.isNull() ? QPixmap() : pixmap(picture.list, picture.index);
}

QRgb frameColor(int frame)
{
    return frame >= 1 && frame <= 6 ? frameColors[frame - 1] : 0x000000;
}

QRgb frameDigitColor(int frame)
{
    return frame >= 1 && frame <= 6 ? frameDigits[frame - 1] : 0xFFFFFF;
}

} // namespace kelmon::pictures
