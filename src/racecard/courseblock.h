#pragma once
// Course-data block 11 of the race card: the racer's runs by start course in
// two periods, each course with its two counts and a bar picture.

#include "platform/gridmodel.h"
#include "racecard/blockcatalogue.h"

namespace kelmon::racecard {

extern const BlockBuilder disp_course;   // block 11

// Index of the bar picture of a bottom count in its period's series
// (imlraceinfo1), or 0 when the count draws no bar: a count of 0, a count
// below 0, a period other than 0 and 1. Tall counts stop at the tallest bar.
int courseBarPicture(int period, int bottomCount);

// One course column of one boat: top count, bottom count and bar, or "-"
// for a course without runs.
void edit_course_cell(GridModel &grid, int period, int bottomCount, int topCount, int top, int col);

} // namespace kelmon::racecard
