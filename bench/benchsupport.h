#pragma once
// Shared set-up of the benchmarks: failing loudly, fresh databases and
// generated paper days.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "registration/registerarchive.h"
#include "samplepaper/samplepaper.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include <cstdio>
#include <cstdlib>

namespace kelmon::bench {

// A benchmark that cannot run says why and exits 1.
[[noreturn]] inline void die(const QString &what)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(what));
    std::exit(1);
}

// Windows are drawn off the screen unless a platform is asked for, so that
// runs compare alike. Call before the application is made.
inline void headless()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Points the program at folder and opens its database (created with every
// table and index when new).
inline void openDatabase(const QString &folder)
{
    modkelmon::close_db();
    setProgramFolder(folder);
    try {
        modkelmon::open_db();
    } catch (const DbError &e) {
        die(e.description);
    }
}

// A fresh temporary folder in memory (/dev/shm) when the machine has a memory
// file system there, otherwise in the ordinary temporary folder; dies when
// neither can be made.
inline std::unique_ptr<QTemporaryDir> memoryFolder()
{
    std::unique_ptr<QTemporaryDir> dir;
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/%1-XXXXXX").arg(QCoreApplication::applicationName()));
    if (!dir || !dir->isValid())
        dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid())
        die(QStringLiteral("no temporary folder"));
    return dir;
}

// Writes `days` consecutive generated paper days into dir; returns their paths.
inline QStringList writePaperDays(const QString &dir, int days, bool photos)
{
    SamplePaperOptions options;
    options.date = QDate(2024, 5, 1);
    options.day = 1;
    options.venue = 1;
    options.photos = photos;
    QString error;
    const QStringList names = writeSamplePapers(dir, options, days, &error);
    if (names.size() != days)
        die(error);
    QStringList paths;
    for (const QString &name : names)
        paths << QDir(dir).filePath(name);
    return paths;
}

// Registers archives into the open database; dies on the first one refused.
inline void registerAll(const QStringList &archives)
{
    for (const QString &archive : archives) {
        ArchiveRegistration r;
        try {
            r = register_archive(archive);
        } catch (const DbError &e) {
            die(e.description);
        }
        if (!r.registered)
            die(r.message);
    }
}

// One year in the meeting code (yymmdd followed by two venue digits).
constexpr qint64 kMeetingYear = 1000000;

// Copies every paper table's rows of the registered meetings `copies` times
// into the open database, the meeting code one year further back each time,
// in one transaction: a large database whose newest meetings are the
// registered ones.
inline void replicateMeetings(int copies)
{
    try {
        const qint64 newest = modkelmon::scalar(QStringLiteral("SELECT min(setuscode) FROM f_setfg")).toLongLong();
        modkelmon::Transaction transaction;
        for (int copy = 1; copy <= copies; ++copy) {
            for (const PaperTable &table : allTables()) {
                if (!*table.file)
                    continue;   // the settings table
                QStringList select;
                for (const PaperColumn &c : table.cols())
                    select << (QByteArray(c.name) == "setuscode"
                                   ? QStringLiteral("\"setuscode\" - ?")
                                   : QLatin1Char('"') + QLatin1String(c.name) + QLatin1Char('"'));
                modkelmon::exec(QStringLiteral("INSERT INTO %1 SELECT %2 FROM %1 WHERE setuscode >= ?")
                                    .arg(QLatin1String(table.name), select.join(QLatin1String(", "))),
                                {copy * kMeetingYear, newest});
            }
        }
        transaction.commit();
    } catch (const DbError &e) {
        die(e.description);
    }
}

} // namespace kelmon::bench
