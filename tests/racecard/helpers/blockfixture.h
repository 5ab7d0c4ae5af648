#pragma once
// Fixture values for the card's blocks 8 to 24 and a helper that fills a card
// from the fixture race with a list of block codes.

#include "platform/gridmodel.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace cardtest {

// Plausible values of every field blocks 8 to 24 read, for a frame; merged
// under boatFields' values and overridden by `fields`.
QVariantMap blockFields(int frame, const QVariantMap &fields = {});
void insertBlockBoat(int frame, const QVariantMap &fields = {});

// Fills a card of the fixture race with the blocks of `codes`; returns the
// boats drawn.
int fillBlocks(kelmon::GridModel &grid, const QList<int> &codes, int item = 1, int order = 0);

// The texts of rows first..first + count - 1 of a column, joined by '|'.
QString columnTexts(const kelmon::GridModel &grid, int col, int first = 0, int count = 4);

} // namespace cardtest
