#include "platform/fonts.h"
#include "platform/twips.h"

#include <QFontMetrics>

#include <algorithm>

namespace kelmon {

namespace {

struct FontSubstitute {
    const char16_t *name;
    const char *families;   // comma-separated, best first
};

// The Gothic of the grids is fixed-pitch: lists pad numbers with blanks to
// line them up, which only works when a blank is as wide as a digit.
const FontSubstitute substitutes[] = {
    {u"ＭＳ ゴシック", "Noto Sans Mono CJK JP,Noto Sans CJK JP"},
    {u"ＭＳ Ｐゴシック", "Noto Sans CJK JP"},
    {u"HG丸ｺﾞｼｯｸM-PRO", "Noto Sans CJK JP"},
    {u"Comic Sans MS", "DejaVu Sans,Noto Sans CJK JP"},
};

} // namespace

QStringList fontFamilies(const QString &name)
{
    const QString wanted = name.isEmpty() ? DefaultFontName : name;
    for (const FontSubstitute &s : substitutes) {
        if (wanted == QString::fromUtf16(s.name))
            return QString::fromLatin1(s.families).split(u',');
    }
    return {wanted, QStringLiteral("Noto Sans CJK JP")};
}

QFont makeFont(const QString &name, double points, bool bold)
{
    QFont font;
    font.setFamilies(fontFamilies(name));
    font.setPixelSize(pointsToPixels(points > 0 ? points : DefaultFontPoints));
    font.setBold(bold);
    return font;
}

int textPlaces(const QString &text)
{
    int places = 0;
    for (const QChar c : text)
        places += (c.unicode() < 0x100 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F)) ? 1 : 2;
    return places;
}

int centredBaseline(const QFontMetricsF &metrics, int height)
{
    return qRound((height - metrics.height()) / 2 + metrics.ascent());
}

QRect wholeLineRect(const QRect &rect, const QFont &font)
{
    const int line = std::max(rect.height(), QFontMetrics(font).height());
    return {rect.x(), rect.center().y() - (line - 1) / 2, rect.width(), line};
}

double fittedPoints(const QString &text, int width, std::initializer_list<double> sizes, int height)
{
    QString shown = text;
    while (!shown.isEmpty() && shown.back() == u' ')
        shown.chop(1);
    const int places = textPlaces(shown);
    const int full = places - int(shown.size());   // full-width characters
    const int half = int(shown.size()) - full;
    const auto fitsHeight = [&](double size) {
        const QFont font = makeFont(DefaultFontName, size);
        const int baseline = centredBaseline(QFontMetricsF(font), height);
        const QRect ink = QFontMetrics(font).tightBoundingRect(shown).translated(0, baseline);
        return ink.top() >= 0 && ink.bottom() < height;
    };
    double points = 0;
    for (const double size : sizes) {
        points = size;
        const int pixels = pointsToPixels(size);
        if (full * pixels + half * ((pixels + 1) / 2) <= width && (height <= 0 || fitsHeight(size)))
            break;
    }
    return points;
}

double fittedPoints(const QString &text, int width, int height)
{
    return fittedPoints(text, width, {DefaultFontPoints, 8.0, 7.0}, height);
}

} // namespace kelmon
