#pragma once
// Racer record blocks 1 to 7 of the race card: win rates by period, two- and
// three-place rates, national and period place counts and place rates.

#include "racecard/blockcatalogue.h"

#include <QString>

namespace kelmon::racecard {

extern const BlockBuilder disp_col_syoritu;       // block 1
extern const BlockBuilder disp_col_fukuritu;      // block 2
extern const BlockBuilder disp_racer_fukuritu3;   // block 3
extern const BlockBuilder disp_col_syuso_zk;      // block 4
extern const BlockBuilder disp_col_syurt_zk;      // block 5
extern const BlockBuilder disp_col_syuso_nd;      // block 6
extern const BlockBuilder disp_col_syurt_nd;      // block 7

// A class code and a win rate in one cell: "A1 6.50"; "A1  － " for a rate
// of 0; "－ － " when the class code is blank.
QString fmt_rate(const QString &prefix, double value);

} // namespace kelmon::racecard
