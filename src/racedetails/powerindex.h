#pragma once
// The power-index grid of the predictions window: the six boats of a race
// compared on the paper's eight indices, each drawn as a bar whose length
// grows with the value. Hidden columns hold what the popup commands read:
// the registration number (9), the frame (10) and each index's raw text
// (11..18, the bar of column c sorts by column c + 10).

#include "platform/gridmodel.h"

#include <QString>

namespace kelmon::racedetails {

inline constexpr int kPowerCols = 19;
inline constexpr int kPowerRows = 7;    // header and frames 1..6
inline constexpr int kPowerIndices = 8;
inline constexpr int kPowerRacerNoCol = 9;
inline constexpr int kPowerFrameCol = 10;

// The band 1..23 of an index text (its leading number): 1 for 0..10, k for
// 4k + 3 .. 4k + 6 (k = 2..22), 23 for 95..99; 0, no bar, for a blank text,
// "--" and any value in no band (negative, above 99, between two bands).
int powerBand(const QString &value);

// The heading of the seventh index by the race's day kind 1..5; "--" for
// any other kind.
QString powerDayHeading(int flag_ss);

// Lays the grid out (widths, alignments, headers; the seventh heading from
// the race's first f_wakus row). Data rows are kept. Throws kelmon::DbError.
void set_mfgf_point(GridModel &grid, const QString &setuscode, const QString &datescnt, const QString &racesno);

// Lays the grid out, empties its data rows and fills one row per frame
// 1..6 of the race; rows of frames the paper lacks stay empty and rows of
// frame numbers outside 1..6 are skipped. Throws kelmon::DbError.
void disp_powp(GridModel &grid, const QString &setuscode, const QString &datescnt, const QString &racesno);

} // namespace kelmon::racedetails
