// Compaction of a database of 1,000 paper days against a plain copy of the
// same file. The database is built from registered generated papers: a
// number of days go through register_archive (photos left out, they do not
// reach the database), then every table's rows are replicated with
// INSERT ... SELECT, the meeting code moved back one year per copy, until the
// tables hold 1,000 days. The finished file is moved into the measured program
// folder (the system's temporary folder, so the same disk as a user's files),
// then a plain QFile::copy of the file and modkelmon::optimize_db() (VACUUM)
// are timed alternately a few times; the best of each is compared. The ratio
// is reported, never asserted.
// Usage: bench_compaction [days] [rounds]   (default 1000 days, 2 rounds)

#include "benchsupport.h"
#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "registration/registerarchive.h"
#include "samplepaper/samplepaper.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

using namespace kelmon;

namespace {

// Days that go through the importers; the rest are copies of them.
constexpr int kRegisteredDays = 100;
// One year in the meeting code (yymmdd followed by two venue digits).
constexpr qint64 kYear = 1000000;



qint64 countOf(const char *table)
{
    return modkelmon::scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).toLongLong();
}

// Registers `registered` generated paper days into the program folder's
// fresh database, then copies every paper table's rows `copies` times with
// the meeting code one year further back each time.
void buildDatabase(const QString &folder, const QString &archiveDir, int registered, int copies)
{
    const QStringList archives = bench::writePaperDays(archiveDir, registered, false);
    bench::openDatabase(folder);
    for (const QString &archive : archives) {
        ArchiveRegistration r;
        try {
            r = register_archive(archive);
        } catch (const DbError &e) {
            bench::die(e.description);
        }
        if (!r.registered)
            bench::die(r.message);
    }

    // The registered meetings are those of the newest year; copies lie below.
    const qint64 newestYear = modkelmon::scalar(QStringLiteral("SELECT min(setuscode) FROM f_setfg")).toLongLong();
    try {
        modkelmon::Transaction transaction;
        for (int copy = 1; copy <= copies; ++copy) {
            for (const PaperTable &table : allTables()) {
                if (!*table.file)
                    continue;   // the settings table
                QStringList select;
                for (const PaperColumn &c : table.cols())
                    select << (QByteArray(c.name) == "setuscode" ? QStringLiteral("\"setuscode\" - ?")
                                                                 : QLatin1Char('"') + QLatin1String(c.name) + QLatin1Char('"'));
                modkelmon::exec(QStringLiteral("INSERT INTO %1 SELECT %2 FROM %1 WHERE setuscode >= ?")
                                    .arg(QLatin1String(table.name), select.join(QLatin1String(", "))),
                                {copy * kYear, newestYear});
            }
        }
        transaction.commit();
    } catch (const DbError &e) {
        bench::die(e.description);
    }
    modkelmon::close_db();
}

// The time of QFile::copy of the database file, and of the copy followed by
// fsync of the new file (the compaction makes its result durable).
struct CopyTiming {
    qint64 copyNs = 0;
    qint64 syncedNs = 0;
};

CopyTiming timeCopy(const QString &source)
{
    const QString target = source + QStringLiteral(".copy");
    CopyTiming t;
    QElapsedTimer clock;
    QFile::remove(target);
    clock.start();
    if (!QFile::copy(source, target))
        bench::die(QStringLiteral("cannot copy %1").arg(source));
    t.copyNs = clock.nsecsElapsed();
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0)
        bench::die(QStringLiteral("cannot sync %1").arg(target));
    ::close(fd);
    t.syncedNs = clock.nsecsElapsed();
    QFile::remove(target);
    return t;
}

qint64 timeCompaction(const QString &folder)
{
    bench::openDatabase(folder);
    QElapsedTimer clock;
    clock.start();
    try {
        modkelmon::optimize_db();
    } catch (const DbError &e) {
        bench::die(e.description);
    }
    const qint64 ns = clock.nsecsElapsed();
    modkelmon::close_db();
    return ns;
}

double secs(qint64 ns) { return ns / 1.0e9; }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int days = argc > 1 ? std::max(kRegisteredDays, std::atoi(argv[1])) : 1000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
    const int copies = (days + kRegisteredDays - 1) / kRegisteredDays - 1;

    // Building goes faster in memory when the machine has a memory file
    // system; the measured database lives in the ordinary temporary folder.
    std::unique_ptr<QTemporaryDir> buildDir;
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        buildDir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/bench_compaction-XXXXXX"));
    if (!buildDir || !buildDir->isValid())
        buildDir = std::make_unique<QTemporaryDir>();
    QTemporaryDir measured;
    if (!buildDir->isValid() || !measured.isValid())
        bench::die(QStringLiteral("no temporary folder"));

    QElapsedTimer clock;
    clock.start();
    const QString buildFolder = buildDir->filePath(QStringLiteral("kelmon"));
    buildDatabase(buildFolder, buildDir->filePath(QStringLiteral("archives")), kRegisteredDays, copies);
    const QString measuredFolder = measured.filePath(QStringLiteral("kelmon"));
    if (!QDir().mkpath(measuredFolder))
        bench::die(QStringLiteral("cannot create %1").arg(measuredFolder));
    setProgramFolder(buildFolder);
    const QString builtFile = databasePath();
    setProgramFolder(measuredFolder);
    const QString dbFile = databasePath();
    if (!QFile::copy(builtFile, dbFile))
        bench::die(QStringLiteral("cannot copy the database into %1").arg(measuredFolder));
    buildDir.reset();

    bench::openDatabase(measuredFolder);
    const qint64 paperDays = countOf("f_setfg");
    qint64 rows = 0;
    for (const PaperTable &table : allTables())
        if (*table.file)
            rows += countOf(table.name);
    modkelmon::close_db();
    const qint64 size = QFileInfo(dbFile).size();
    std::printf("database: %lld paper days (%d registered, %d copies with the meeting code moved back a year each),"
                " %lld rows, %.1f MB, built in %.1f s\n",
                static_cast<long long>(paperDays), kRegisteredDays, copies, static_cast<long long>(rows),
                size / 1.0e6, clock.elapsed() / 1000.0);
    std::printf("measured in %s\n", qPrintable(QDir::toNativeSeparators(measuredFolder)));

    CopyTiming bestCopy{-1, -1};
    qint64 bestCompaction = -1;
    for (int round = 0; round < rounds; ++round) {
        const CopyTiming c = timeCopy(dbFile);
        const qint64 v = timeCompaction(measuredFolder);
        std::printf("round %d: QFile::copy %.2f s (with fsync %.2f s), optimize_db %.2f s, size after %.1f MB\n",
                    round + 1, secs(c.copyNs), secs(c.syncedNs), secs(v), QFileInfo(dbFile).size() / 1.0e6);
        if (bestCopy.copyNs < 0 || c.copyNs < bestCopy.copyNs)
            bestCopy.copyNs = c.copyNs;
        if (bestCopy.syncedNs < 0 || c.syncedNs < bestCopy.syncedNs)
            bestCopy.syncedNs = c.syncedNs;
        if (bestCompaction < 0 || v < bestCompaction)
            bestCompaction = v;
    }
    std::printf("best of %d rounds: optimize_db %.2f s (%.1f MB/s), QFile::copy %.2f s, copy + fsync %.2f s\n",
                rounds, secs(bestCompaction), size / 1.0e6 / secs(bestCompaction), secs(bestCopy.copyNs),
                secs(bestCopy.syncedNs));
    std::printf("ratio optimize_db / QFile::copy: %.2f\n", double(bestCompaction) / double(bestCopy.copyNs));
    std::printf("ratio optimize_db / (copy + fsync): %.2f\n", double(bestCompaction) / double(bestCopy.syncedNs));
    setProgramFolder(QString());
    return 0;
}
