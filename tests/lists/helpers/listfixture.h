#pragma once
// Shared by the lists' tests: a fixture row of one meeting day naming only
// the fields a test cares about, and the texts of a grid row.

#include "platform/gridmodel.h"
#include "support/fixtures.h"

#include <QStringList>

namespace kelmon::test {

// Inserts a row of `table` for meeting `setuscode`, day `datescnt`, with
// `fields` and `more` set on it (the other fields 0 or ""). Rows of one day
// must differ in their key fields.
void insertDayRow(const char *table, int setuscode, int datescnt, std::initializer_list<Field> fields,
                  std::initializer_list<Field> more = {});

// The texts of a grid row, column by column.
QStringList rowTexts(const GridModel &grid, int row);

} // namespace kelmon::test
