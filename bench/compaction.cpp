// Compaction of a database of 2,000 paper days against a plain copy of the
// same file. The database is built from registered generated papers: a
// number of days go through register_archive (photos left out, they do not
// reach the database), then every table's rows are replicated with
// INSERT ... SELECT, the meeting code moved back one year per copy, until the
// tables hold 2,000 days. The finished file is moved into the measured program
// folder (the system's temporary folder, so the same disk as a user's files),
// then a plain copy of the file flushed to the disk and modkelmon::optimize_db()
// (VACUUM INTO the work file, flush, rename, reopen) are timed alternately a
// few times; the best of each is compared. The ratio is reported, never
// asserted.
// Usage: bench_compaction [days] [rounds]   (default 2000 days, 3 rounds)

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
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace kelmon;

namespace {

// Days that go through the importers; the rest are copies of them.
constexpr int kRegisteredDays = 100;
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
    bench::registerAll(archives);
    bench::replicateMeetings(copies);
    modkelmon::close_db();
}

// A plain copy of the database file beside it (read and write in pieces of
// 1 MB), then the copy flushed to the disk with its folder, as compaction
// leaves its result: the times of the copy and of the copy with the flush.
struct CopyTiming {
    qint64 copyNs = 0;
    qint64 syncedNs = 0;
};

CopyTiming timeCopy(const QString &source)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(source + QStringLiteral(".copy"));
    const QByteArray folder = QFile::encodeName(QFileInfo(source).absolutePath());
    ::unlink(to.constData());
    CopyTiming t;
    QElapsedTimer clock;
    clock.start();
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (in < 0 || out < 0)
        bench::die(QStringLiteral("cannot copy %1").arg(source));
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0)
            bench::die(QStringLiteral("cannot read %1").arg(source));
        if (n == 0)
            break;
        if (::write(out, buffer.data(), size_t(n)) != n)
            bench::die(QStringLiteral("cannot write the copy of %1").arg(source));
    }
    ::close(in);
    t.copyNs = clock.nsecsElapsed();
    if (::fsync(out) != 0)
        bench::die(QStringLiteral("cannot flush the copy of %1").arg(source));
    ::close(out);
    const int dir = ::open(folder.constData(), O_RDONLY | O_CLOEXEC);
    if (dir < 0 || ::fsync(dir) != 0)
        bench::die(QStringLiteral("cannot flush %1").arg(QString::fromLocal8Bit(folder)));
    ::close(dir);
    t.syncedNs = clock.nsecsElapsed();
    ::unlink(to.constData());
    return t;
}

// The time of optimize_db and of each of its steps.
struct CompactionTiming {
    qint64 totalNs = 0;
    qint64 stepNs[6] = {};   // writing the work file, its flush, close, rename, folder flush, reopen
};

CompactionTiming timeCompaction(const QString &folder)
{
    bench::openDatabase(folder);
    CompactionTiming t;
    QElapsedTimer clock;
    qint64 at[7] = {};
    modkelmon::set_compaction_hook(
        [&](modkelmon::CompactionStep step) { at[int(step)] = clock.nsecsElapsed(); });
    clock.start();
    try {
        modkelmon::optimize_db();
    } catch (const DbError &e) {
        bench::die(e.description);
    }
    t.totalNs = at[6] = clock.nsecsElapsed();
    modkelmon::set_compaction_hook({});
    for (int i = 0; i < 6; ++i)
        t.stepNs[i] = at[i + 1] - at[i];
    modkelmon::close_db();
    return t;
}

double secs(qint64 ns) { return ns / 1.0e9; }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int days = argc > 1 ? std::max(kRegisteredDays, std::atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const int copies = (days + kRegisteredDays - 1) / kRegisteredDays - 1;

    // Building goes faster in memory when the machine has a memory file
    // system; the measured database lives in the ordinary temporary folder.
    std::unique_ptr<QTemporaryDir> buildDir = bench::memoryFolder();
    QTemporaryDir measured;
    if (!measured.isValid())
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
        const CompactionTiming ct = timeCompaction(measuredFolder);
        const qint64 v = ct.totalNs;
        std::printf("round %d: copy %.2f s, copy + flush %.2f s, optimize_db %.2f s (VACUUM INTO %.3f, flush %.3f,"
                    " close %.3f, rename %.3f, folder flush %.3f, reopen %.3f), size after %.1f MB\n",
                    round + 1, secs(c.copyNs), secs(c.syncedNs), secs(v), secs(ct.stepNs[0]), secs(ct.stepNs[1]),
                    secs(ct.stepNs[2]), secs(ct.stepNs[3]), secs(ct.stepNs[4]), secs(ct.stepNs[5]),
                    QFileInfo(dbFile).size() / 1.0e6);
        if (bestCopy.copyNs < 0 || c.copyNs < bestCopy.copyNs)
            bestCopy.copyNs = c.copyNs;
        if (bestCopy.syncedNs < 0 || c.syncedNs < bestCopy.syncedNs)
            bestCopy.syncedNs = c.syncedNs;
        if (bestCompaction < 0 || v < bestCompaction)
            bestCompaction = v;
    }
    std::printf("best of %d rounds: optimize_db %.2f s (%.1f MB/s), copy %.2f s, copy + flush %.2f s\n", rounds,
                secs(bestCompaction), size / 1.0e6 / secs(bestCompaction), secs(bestCopy.copyNs),
                secs(bestCopy.syncedNs));
    std::printf("ratio optimize_db / (copy + flush): %.2f   (target 3.0)\n",
                double(bestCompaction) / double(bestCopy.syncedNs));
    std::printf("ratio optimize_db / copy:           %.2f\n", double(bestCompaction) / double(bestCopy.copyNs));
    setProgramFolder(QString());
    return 0;
}
