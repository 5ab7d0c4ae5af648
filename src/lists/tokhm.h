#pragma once
// The points quick-reference table, without widgets: the meeting's assumed
// border rate, one block per racer of what-if points rates for the places of
// his two races of the day, the legend block and the colour rule that marks
// the rates reaching the border.

#include "lists/dataroom.h"
#include "platform/gridmodel.h"

#include <QRgb>
#include <QString>
#include <optional>

namespace kelmon::lists {

inline constexpr QRgb kTokhmTitleColor = 0xC0C0FF;    // pale blue
inline constexpr QRgb kTokhmReachedColor = 0xFFFFC0;  // pale yellow
// The system's highlighted-text colour, the background of a rate below the
// border.
inline constexpr QRgb kTokhmBelowColor = 0xFFFFFF;
inline constexpr QRgb kTokhmSampleColor = 0xC0FFC0;   // pale green, the legend's example cell

// Kind 0: a racer's title row; kind 1: a what-if rate, marked when it reaches
// the border; any other kind: no colour.
std::optional<QRgb> get_tokhmcolor(int kind, double value, double border);

// The meeting's assumed border rate as "0.00", empty when the meeting has no row.
QString disp_bordrcnt(const DayKey &key);

// The racers' blocks in the order of the points standing: a title row (the
// position, name, current rate and the day's two races) over one row for each
// place of the second race that has a positive rate. Rates reaching the
// border (the value of borderText; 0 or empty marks none) are marked.
void disp_tokhm(const DayKey &key, const QString &borderText, GridModel &grid);

// A what-if rate: two decimals below 10, one from 10 on.
QString tokhmRate(double rate);

// The legend: a 9 x 9 block with the places of both races and the example cell.
void set_sample_grid(GridModel &grid);

} // namespace kelmon::lists
