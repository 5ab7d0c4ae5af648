#include "racedetails/startdiagram.h"

#include "common/codetables.h"
#include "common/textforms.h"
#include "platform/pictures.h"

#include <algorithm>

namespace kelmon::racedetails {

using namespace startdiagram;

namespace {

// Where the boat stands: a flying boat past the start line, a late one far
// behind it, any other 27 twips behind the line per hundredth of a second
// (timing 0 puts the boat's bow on the line).
double boatLeft(const RestbRow &r)
{
    if (isFlying(r.cyakucode))
        return 5160;
    if (isLate(r.cyakucode))
        return 1920;
    return float(4980.0 - r.starttime * 2700.0 / 100.0);
}

// The name without half-width blanks around it; ideographic blanks stay.
QString trimHalfWidth(const QString &name)
{
    qsizetype from = 0, to = name.size();
    while (from < to && name[from] == u' ')
        ++from;
    while (to > from && name[to - 1] == u' ')
        --to;
    return name.mid(from, to - from);
}

QString startTiming(const RestbRow &r)
{
    if (isFlying(r.cyakucode))
        return QStringLiteral("Ｆ");
    if (isLate(r.cyakucode))
        return QStringLiteral("Ｌ");
    return format(r.starttime, "00");
}

} // namespace

StartDiagram disp_sinyu(const QList<RestbRow> &rows)
{
    QList<RestbRow> entered;
    for (const RestbRow &r : rows)
        if (r.sinyuno >= 1 && r.sinyuno <= 6 && r.wakusno >= 1 && r.wakusno <= 6)
            entered << r;
    std::stable_sort(entered.begin(), entered.end(),
                     [](const RestbRow &a, const RestbRow &b) { return a.sinyuno < b.sinyuno; });
    StartDiagram diagram;
    for (const RestbRow &r : entered) {
        const int k = r.sinyuno - 1;
        StartPlacement p;
        p.text = modkelmon::get_mark_name(r.yososno) + QLatin1Char(' ') + trimHalfWidth(r.sensyname) + QLatin1Char(' ')
            + startTiming(r);
        p.boatPicture = pictures::resultBoat(r.wakusno);
        p.boatLeft = boatLeft(r);
        p.boatTop = kBoatTop + kRowStep * k;
        p.wavePicture = pictures::resultWave;
        p.waveLeft = p.boatLeft - 600;
        p.waveTop = kWaveTop + kRowStep * k;
        diagram[std::size_t(k)] = p;
    }
    return diagram;
}

} // namespace kelmon::racedetails
