#include "lists/dataroomrates.h"

#include "common/textforms.h"

#include <cmath>
#include <cstdlib>

namespace kelmon::lists {

namespace {

// Division rounding towards minus infinity.
qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

bool wholeWithin(double v, double limit) { return v == std::trunc(v) && std::fabs(v) <= limit; }

} // namespace

qint64 finishPlaceRate(double count, double starts)
{
    // The rate is |floor(-floor(p * 10) / 10)|, p the percentage: for whole
    // counts floor(p * 10) is floor(count * 1000 / starts), exact in integers.
    if (wholeWithin(count, 1e12) && wholeWithin(starts, 1e15) && starts > 0) {
        const qint64 tenths = floorDiv(qint64(count) * 1000, qint64(starts));
        return std::llabs(floorDiv(-tenths, 10));
    }
    const double p = count * 100 / starts;
    return qint64(std::fabs(std::floor(-std::floor(p * 10) / 10)));
}

QString finishPlaceCell(double count, double starts)
{
    return format(QString::number(finishPlaceRate(count, starts)), "@@@");
}

QString returnRateCell(double rate)
{
    const char *pattern = rate >= 100 ? "0" : rate >= 10 ? "0.0" : "0.00";
    return format(format(rate, pattern), "@@@@");
}

} // namespace kelmon::lists
