#pragma once
// One boat's row of f_wakus as the card's builders read it. Every accessor
// is total: a missing column, a NULL, a text where a number belongs or a
// number that does not fit gives 0 or the empty text, never a failure.

#include <QSqlRecord>
#include <QString>

namespace kelmon::racecard {

class BoatRow {
public:
    BoatRow() = default;
    explicit BoatRow(const QSqlRecord &record) : record_(record) {}

    // The number in a column; 0 when absent, not numeric or not finite.
    double num(const char *column) const;
    // A code or count as a 16-bit integer; 0 when it does not fit.
    int code(const char *column) const;
    // The text of a column as stored; "" when absent or NULL.
    QString text(const char *column) const;
    // The number in plain text ("40", "45.5").
    QString plain(const char *column) const;

    const QSqlRecord &record() const { return record_; }

private:
    QSqlRecord record_;
};

} // namespace kelmon::racecard
