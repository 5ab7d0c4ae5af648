#pragma once
// The race result of one race, read without widgets: the day's date, the
// header of f_resta (race name, winning boats, payouts and popularity of the
// two bet types, wind, wave, decisive move, development) and the result grid
// mfgf_restb of f_restb, one row per boat in finishing order.

#include "platform/gridmodel.h"
#include "racedetails/resultrow.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <array>
#include <optional>

namespace kelmon::racedetails {

// The context fields that name one race; text, read by their numeric value.
struct RaceKey {
    QString setuscode;
    QString datescnt;
    QString racesno;
};

// The date (yyyymmdd) of a day of the meeting from any race result of that
// day; "00000000" when the day has none. Throws kelmon::DbError.
QString get_racedate(const QString &setuscode, const QString &datescnt);

// The texts of the result header.
struct RaceResultHeader {
    QString racesname;
    std::array<QString, 3> renban;   // the winning boats, one digit each
    QString haikin_2ta, ninkido_2ta;
    QString haikin_3ta, ninkido_3ta;
    QString kazemuki, kazesoku, nami, kimarite, tenkai;
};

// The header of one f_resta row. A void bet type shows no payout and no
// popularity; the winning boats come from the trifecta, or from the exacta
// when only the exacta was paid.
RaceResultHeader raceResultHeader(const QSqlRecord &resta);
// The header of a race; nothing when the race has no result row. Throws
// kelmon::DbError.
std::optional<RaceResultHeader> load_raceresult(const RaceKey &key);

// Columns of the result grid.
enum RestbColumn {
    ColResult, ColMark, ColFrame, ColName, ColTime, ColCourse, ColStart, ColTilt, ColExhibition, ColPenalty,
    ColRawMark, ColRawResult, ColRawTime, ColSignedTilt, ColTourokuno, RestbColumns
};

// Lays out the empty grid: fifteen columns, the header row, the five hidden
// key columns.
void set_mfgf_restb(GridModel &grid);
// The boats of a race in finishing order (places first, then the other
// result codes, ties by frame). Throws kelmon::DbError.
QList<RestbRow> load_restb(const RaceKey &key);
// Empties the data rows and writes one row per boat, tinted by its frame
// (no tint for a frame outside 1..6).
void fill_restb(GridModel &grid, const QList<RestbRow> &rows);

} // namespace kelmon::racedetails
