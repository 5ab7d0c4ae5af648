#pragma once
// Fixture rows: insert a row into a paper table naming only the columns a
// test cares about; the other columns get 0 (numbers) or "" (texts).

#include <QDate>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>

namespace kelmon::test {

using Field = std::pair<const char *, QVariant>;

void insertRow(const char *table, std::initializer_list<Field> fields);

// A record built in memory, for the functions that read one row.
QSqlRecord record(std::initializer_list<Field> fields);

// One paper day: an f_setfg row (venue, meeting, day, date) and, unless
// withMeeting is false, the meeting's f_setus row.
void insertPaperDay(int kyosocode, int setuscode, int datescnt, const QString &date, bool withMeeting = true,
                    int gradecode = 1, const QString &title = QStringLiteral("テスト杯"));

class ProgramFolder;

// Writes count generated paper days of one meeting at a venue into the
// folder's receive directory, from day `day` on (date is that day's), and
// registers them; false when one cannot be written or registered.
bool registerSamplePapers(const ProgramFolder &folder, int venue, const QDate &date, int day, int count,
                          int meetingDays = 6);

} // namespace kelmon::test
