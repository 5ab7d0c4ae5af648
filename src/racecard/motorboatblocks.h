#pragma once
// Motor blocks 12 to 15 and boat blocks 16 to 18 of the race card: number and
// rates, place counts, the motor's power rating and best time, and the last
// two users of the motor and of the boat.

#include "racecard/blockcatalogue.h"

namespace kelmon::racecard {

extern const BlockBuilder disp_col_syoritu_mt;   // block 12
extern const BlockBuilder disp_col_syuso_mt;     // block 13
extern const BlockBuilder disp_col_kryok;        // block 14
extern const BlockBuilder disp_col_motor_prev;   // block 15
extern const BlockBuilder disp_col_syoritu_bt;   // block 16
extern const BlockBuilder disp_boats_syuso;      // block 17
extern const BlockBuilder disp_col_boats_prev;   // block 18

} // namespace kelmon::racecard
