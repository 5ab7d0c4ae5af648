#pragma once
// The cells of the data room's finish-place and payout-return rates.

#include <QString>

namespace kelmon::lists {

// A finish-place rate in whole percent (placeRate, listcolumns.h)
// right-aligned in three characters ("  7", " 34", "100"); empty where the
// counts give no rate.
QString finishPlaceCell(double count, double starts);

// A payout-return rate in percent: no decimals from 100 on, one from 10 on,
// two below (thresholds on the unrounded value), right-aligned in four
// characters ("123" after a blank, "85.3", "5.12", "0.00").
QString returnRateCell(double rate);

} // namespace kelmon::lists
