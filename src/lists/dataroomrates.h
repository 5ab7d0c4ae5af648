#pragma once
// The rate arithmetic of the data room's finish-place and payout-return
// pages, in integers where the inputs are whole numbers so that a rate on a
// rounding edge never tips the wrong way through binary fractions.

#include <QString>
#include <QtGlobal>

namespace kelmon::lists {

// A finish-place rate in whole percent: p = count * 100 / starts, cut to one
// decimal downwards, then raised to the next whole number (33.05 gives 33,
// 33.1 gives 34). starts must be above 0.
qint64 finishPlaceRate(double count, double starts);
// The rate right-aligned in three characters ("  7", " 34", "100").
QString finishPlaceCell(double count, double starts);

// A payout-return rate in percent: no decimals from 100 on, one from 10 on,
// two below (thresholds on the unrounded value), right-aligned in four
// characters ("123" after a blank, "85.3", "5.12", "0.00").
QString returnRateCell(double rate);

} // namespace kelmon::lists
