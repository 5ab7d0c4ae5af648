#include "lists/dataroomrates.h"

#include "common/textforms.h"
#include "lists/listcolumns.h"

namespace kelmon::lists {

QString finishPlaceCell(double count, double starts)
{
    const std::optional<int> rate = placeRate(count, starts);
    return rate ? format(QString::number(*rate), "@@@") : QString();
}

QString returnRateCell(double rate)
{
    const char *pattern = rate >= 100 ? "0" : rate >= 10 ? "0.0" : "0.00";
    return format(format(rate, pattern), "@@@@");
}

} // namespace kelmon::lists
