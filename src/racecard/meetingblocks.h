#pragma once
// Previous-meeting blocks 8 to 10 of the race card: the racer's last three
// meetings, his last meeting at this venue and his next three assignments.

#include "racecard/blockcatalogue.h"

namespace kelmon::racecard {

extern const BlockBuilder disp_col_zenso3;    // block 8
extern const BlockBuilder disp_col_zentou;    // block 9
extern const BlockBuilder disp_racer_assen;   // block 10

} // namespace kelmon::racecard
