#include "fixtures.h"

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "registration/registerarchive.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QSqlField>
#include <QStringList>
#include <algorithm>
#include <stdexcept>

namespace kelmon::test {

void insertRow(const char *table, std::initializer_list<Field> fields)
{
    const PaperTable *t = findTable(table);
    if (!t)
        throw std::invalid_argument(table);
    QVariantList values;
    QStringList marks;
    for (const auto &c : t->cols()) {
        values << (c.kind == 'N' ? QVariant(0) : QVariant(QString()));
        marks << QStringLiteral("?");
    }
    for (const auto &[name, value] : fields) {
        bool found = false;
        for (std::size_t i = 0; i < t->columnCount; ++i)
            if (QString::fromLatin1(t->columns[i].name) == QLatin1String(name)) {
                values[int(i)] = value;
                found = true;
            }
        if (!found)
            throw std::invalid_argument(name);
    }
    modkelmon::exec(QStringLiteral("insert or replace into %1 values (%2)")
                        .arg(QString::fromLatin1(table), marks.join(QLatin1Char(','))),
                    values);
}

QSqlRecord record(std::initializer_list<Field> fields)
{
    QSqlRecord rec;
    for (const auto &[name, value] : fields) {
        QSqlField f(QString::fromLatin1(name), value.metaType());
        f.setValue(value);
        rec.append(f);
    }
    return rec;
}

void insertPaperDay(int kyosocode, int setuscode, int datescnt, const QString &date, bool withMeeting, int gradecode,
                    const QString &title)
{
    insertRow("f_setfg", {{"kyosocode", kyosocode}, {"setuscode", setuscode}, {"datescnt", datescnt}, {"Date", date}});
    if (withMeeting)
        insertRow("f_setus", {{"setuscode", setuscode}, {"kyosocode", kyosocode}, {"s_date", date},
                              {"racesword", title}, {"datescnt", 6}, {"gradecode", gradecode}});
}

bool registerSamplePapers(const ProgramFolder &folder, int venue, const QDate &date, int day, int count,
                          int meetingDays)
{
    SamplePaperOptions options;
    options.venue = venue;
    options.date = date;
    options.day = day;
    options.meetingDays = meetingDays;
    QString error;
    const QStringList names = writeSamplePapers(folder.file(QStringLiteral("receive")), options, count, &error);
    if (names.size() != count)
        qWarning("%s", qPrintable(error));
    return names.size() == count && std::all_of(names.begin(), names.end(), [&](const QString &name) {
               return register_archive(folder.file(QStringLiteral("receive/") + name)).registered;
           });
}

} // namespace kelmon::test
