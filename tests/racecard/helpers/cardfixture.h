#pragma once
// Fixture databases for the race card tests: a temporary program folder with
// a fresh kelmon.mdb, and rows inserted with bound values.

#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

namespace cardtest {

// A temporary program folder with a new database holding the settings row.
// The connection is closed and the folder removed on destruction.
class FixtureFolder {
public:
    FixtureFolder();
    ~FixtureFolder();
    FixtureFolder(const FixtureFolder &) = delete;
    FixtureFolder &operator=(const FixtureFolder &) = delete;
    bool ok() const { return ok_; }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};

// Inserts one row: the columns named by the map's keys, values bound.
void insertRow(const QString &table, const QVariantMap &values);

// The meeting, day and race every fixture uses.
inline constexpr int kSetus = 1234;
inline constexpr int kDay = 2;
inline constexpr int kRace = 5;

// A plausible boat row of f_wakus for a frame, with the fields overridden by
// `fields`; keys are setuscode kSetus, datescnt kDay, racesno kRace.
QVariantMap boatFields(int frame, const QVariantMap &fields = {});
void insertBoat(int frame, const QVariantMap &fields = {});
// Six boats, frames 1..6.
void insertSixBoats();

} // namespace cardtest
