#pragma once
// Fixtures of the race card tests: boat rows of one race in the test's
// database, and cards filled from them.

#include "platform/gridmodel.h"
#include "support/testenv.h"

#include <QList>
#include <QString>
#include <QVariantMap>

namespace cardtest {

// Inserts one row: the columns named by the map's keys, values bound.
void insertRow(const QString &table, const QVariantMap &values);

// The meeting, day and race every fixture uses.
inline constexpr int kSetus = 1234;
inline constexpr int kDay = 2;
inline constexpr int kRace = 5;

// A boat of the fixture race with plausible record fields, registration
// number 4000 + frame, overridden by `fields`.
void insertBoat(int frame, const QVariantMap &fields = {});
void insertSixBoats();

// Fills a card of the fixture race with the blocks of `codes`; returns the
// boats drawn.
int fillBlocks(kelmon::GridModel &grid, const QList<int> &codes, int item = 1, int order = 0);
// The frames of the boats as drawn, read back from the registration numbers.
QList<int> drawnFrames(const kelmon::GridModel &grid, int boats);
// The texts of rows first..first + count - 1 of a column, joined by '|'.
QString columnTexts(const kelmon::GridModel &grid, int col, int first = 0, int count = 4);

} // namespace cardtest
