#include "racecard/boatrow.h"

#include "common/textforms.h"

#include <QVariant>
#include <cmath>

namespace kelmon::racecard {

double BoatRow::num(const char *column) const
{
    const int index = record_.indexOf(QLatin1String(column));
    if (index < 0)
        return 0;
    const QVariant value = record_.value(index);
    if (value.isNull())
        return 0;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return 0;
    return d;
}

int BoatRow::code(const char *column) const
{
    const double d = num(column);
    if (d < -32768.0 || d > 32767.0)
        return 0;
    return cint(d);
}

QString BoatRow::text(const char *column) const
{
    const int index = record_.indexOf(QLatin1String(column));
    if (index < 0)
        return QString();
    const QVariant value = record_.value(index);
    if (value.isNull())
        return QString();
    return value.toString();
}

QString BoatRow::plain(const char *column) const
{
    return plainNumber(num(column));
}

} // namespace kelmon::racecard
