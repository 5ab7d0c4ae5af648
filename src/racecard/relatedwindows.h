#pragma once
// What the race card's popup entries open for the clicked cell: the racer's
// detail, one of this meeting's results, the early race's card, or the
// previous runs of the racer, motor or boat (eight panels). The racer of a
// clicked row is found by the registration number at the head of its
// profile cell. Database errors surface as kelmon::DbError.

#include "platform/gridmodel.h"
#include "racecard/cardengine.h"

#include <QString>
#include <optional>

namespace kelmon::racecard {

enum class RelatedKind { RacerDetail, RaceResult, RaceCard, PreviousRuns };

struct RelatedTarget {
    RelatedKind kind = RelatedKind::RacerDetail;
    // The caption's title; the race result and the race card add the venue,
    // date and race of the new window's context, the others show it alone.
    QString title;
    CardContext context;   // the new window's selection fields
    QString tourokuno = QStringLiteral("0");   // racer detail: "" when the racer is not found
    QString wakusno = QStringLiteral("0");     // previous runs: frame of the clicked boat, "0" when not found
    QString flag = QStringLiteral("0");        // previous runs: panel 1..8
};

// The racer lookups of a grid row: kind 0 registration number, 1 name,
// 2 motor number, 3 boat number ("" when the racer is not found or the kind
// is another), and the frame number (0 when not found).
QString get_wakus_field(const GridModel &grid, const CardContext &context, int kind, int row);
int get_wakus_wakusno(const GridModel &grid, const CardContext &context, int row);
// The date of a day of the context's meeting, "00000000" when it has no result.
QString get_day_date(const CardContext &context, int day);

// Entry 7: the racer of the current row; a row without a racer (a header
// row, a racer not found) opens the detail with an empty name and number.
RelatedTarget racerTarget(const GridModel &grid, const CardContext &context);
// Entries 8 and 9: what the current cell of an item opens; nothing for other
// items or a cell that names no race. Previous runs open for any row, for no
// racer (empty name, frame 0) where the row has none.
std::optional<RelatedTarget> clickedTarget(const GridModel &grid, const CardContext &context, int item);
// Whether an item's cells open previous runs.
bool isPreviousRunsItem(int item);

} // namespace kelmon::racecard
