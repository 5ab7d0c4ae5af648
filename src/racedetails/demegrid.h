#pragma once
// The grid of the outcomes window: for one race number of a meeting, one row
// per earlier day with its race name, the exacta and trifecta combinations,
// payouts and popularity; hidden columns 8 and 9 hold the raw payouts the
// popup commands sort and average by.

#include "platform/gridmodel.h"

#include <QString>

namespace kelmon::racedetails {

inline constexpr int kDemeCols = 10;
inline constexpr int kDemeExactaPayRaw = 8;
inline constexpr int kDemeTrifectaPayRaw = 9;

// Lays out the empty grid: header row only.
void set_mfgf_resta(GridModel &grid);

// Fills one row per day before `datescnt` that holds a result of race
// `racesno`, oldest first; a day whose bets were not settled shows its day
// and race name only, a void bet type leaves its group (raw payout included)
// empty. The grid is emptied first. Throws kelmon::DbError.
void disp_f_resta(GridModel &grid, const QString &setuscode, const QString &racesno, const QString &datescnt);

// The shown forms of a result's combination ("3-1", "3-1-5"; empty when the
// text holds fewer digits than places), payout ("#,0" right-aligned in seven
// places, wider payouts whole) and popularity (right-aligned in three).
QString demeCombination(const QString &renban, int places);
QString demePayout(double yen);
QString demePopularity(double order);

} // namespace kelmon::racedetails
