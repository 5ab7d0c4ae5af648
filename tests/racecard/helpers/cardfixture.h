#pragma once
// Fixtures of the race card tests: a temporary program folder whose database
// holds the settings row, boat rows of one race, and cards filled from them.

#include "platform/gridmodel.h"
#include "support/testenv.h"

#include <QList>
#include <QString>
#include <QVariantMap>

namespace cardtest {

// A temporary program folder with a fresh database and its settings row.
class FixtureFolder : public kelmon::test::ProgramFolder {
public:
    FixtureFolder();
};

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
