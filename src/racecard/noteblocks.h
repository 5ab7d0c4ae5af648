#pragma once
// Quick-view block 23 (the racer's other race today) and notice block 24
// (the paper's note about the racer) of the race card.

#include "racecard/blockcatalogue.h"

namespace kelmon::racecard {

extern const BlockBuilder disp_hayami;   // block 23
extern const BlockBuilder disp_memo;     // block 24

// The quick-view text of a racer: "本日一回" when he rides only this race
// today, else the other race and his frame in it ("３Ｒ５枠", "12Ｒ２枠").
QString hayamiText(int race, int frame);

} // namespace kelmon::racecard
