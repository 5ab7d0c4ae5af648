#pragma once
// This-meeting blocks 19 to 22 of the race card: results of the meeting's
// races, the points standing, start timings and exhibition runs.

#include "platform/gridmodel.h"
#include "racecard/blockcatalogue.h"

#include <QString>

namespace kelmon::racecard {

extern const BlockBuilder disp_col_seiseki_ks;   // block 19
extern const BlockBuilder disp_tokuten;          // block 20
extern const BlockBuilder disp_starttiming;      // block 21
extern const BlockBuilder disp_tenjitime;        // block 22

// Races of a meeting in the packed fields: two a day over six days.
inline constexpr int kMeetingRecords = 12;

// One record of seiseki_ks (ten characters) into rows top..top + 3 of col.
void disp_cell_seiseki_ks(GridModel &grid, const QString &record, int top, int col);
// One record of st_ks (nine characters) into rows top..top + 3 of col.
void edit_st_cell(GridModel &grid, const QString &record, int top, int col);
// One record of tenjitime_ks (five characters) into rows top + 2 * half and
// the row below it of col.
void edit_tenji_cell(GridModel &grid, const QString &record, int top, int col, int half);

} // namespace kelmon::racecard
