#pragma once
// One row of f_restb (a boat's result in one race) rendered into the texts of
// a result grid: result words, race time, entry course, start timing, tilt,
// exhibition time, penalty and the raw sort keys. The race result grid and
// the racer detail's results grid both write their cells from here; each
// grid picks its own columns.

#include <QSqlRecord>
#include <QString>

namespace kelmon::racedetails {

// The columns of f_restb that the result grids read. Reading is total: a
// missing column, a NULL or a number that does not fit a code gives 0.
struct RestbRow {
    int datescnt = 0;
    int racesno = 0;
    int wakusno = 0;
    int cyakucode = 0;      // result code: places 1..6, accidents 7..17 and 57..67
    int yososno = 0;        // prediction mark code 1..6
    int sinyuno = 0;        // entry course 1..6, 0 when the boat did not enter
    int gentenflag = 0;     // penalty reason 1..5
    QString sensyname;
    double tourokuno = 0;
    double racestime = 0;   // m ss t as one number, 0 = none
    double starttime = 0;   // hundredths of a second
    double chilt = 0;       // tilt, one decimal
    double tenjitime = 0;   // exhibition time, 0 = none
    double genten = 0;      // penalty points

    static RestbRow fromRecord(const QSqlRecord &record);
};

// The place as a full-width digit and 着 (１着), or the words of an accident
// or penalty (転覆 外, Ｆ, 反則, ...); empty for a code without words.
QString resultText(const RestbRow &row);
// Prediction mark (◎ ...); empty for a code outside 1..6.
QString markText(const RestbRow &row);
// Race time 1.49.6; empty when there is none.
QString raceTimeText(const RestbRow &row);
// Entry course, start timing (two digits), tilt (one decimal in four places)
// and exhibition time (two decimals); "-" for a boat that was absent or had
// no exhibition, and the start timing also for a flying or late start.
QString courseText(const RestbRow &row);
QString startText(const RestbRow &row);
QString tiltText(const RestbRow &row);
QString exhibitionText(const RestbRow &row);
// Penalty word and points ("待機違反  -5"); empty without a penalty reason.
QString penaltyText(const RestbRow &row);

// Raw sort keys of the hidden columns: the codes, the race time and the
// registration number as plain numbers (a boat without a time holds 0, so an
// ascending sort by time puts it first; the time average passes 0 over),
// the tilt with its sign ("+0.5", "-0.5", "+0").
QString rawMark(const RestbRow &row);
QString rawResult(const RestbRow &row);
QString rawRaceTime(const RestbRow &row);
QString signedTilt(const RestbRow &row);
QString rawTourokuno(const RestbRow &row);

// Whether a result code is a flying (12, 62) or a late start (13, 63), or an
// absence (14, 64).
bool isFlying(int cyakucode);
bool isLate(int cyakucode);
bool isAbsent(int cyakucode);

} // namespace kelmon::racedetails
