#include "common/timeforms.h"

#include "common/textforms.h"

namespace modkelmon {

QString hhmm_time(QStringView time)
{
    const QString t = kelmon::trimBlanks(time);
    if (t.isEmpty())
        return QString();
    return t.mid(0, 2) + u'時' + t.mid(2, 2) + u'分';
}

QString race_time(double time)
{
    if (!(time > 0))
        return QString();
    // "0000" pads to four digits; a malformed time of five or more digits
    // still shows characters 1, 2-3 and 4 of its text.
    const QString digits = kelmon::format(time, "0000");
    return digits.mid(0, 1) + u'.' + digits.mid(1, 2) + u'.' + digits.mid(3, 1);
}

} // namespace modkelmon
