// Registration of generated paper days against the least work that could put
// the same rows into the database: every generated archive goes through
// register_archive (extraction, the thirteen importers, the photo copy, one
// transaction per archive) into a fresh database; then the rows that ended up
// there are read back, already typed, and inserted into another fresh
// database with one prepared INSERT per table in one transaction. Both sides
// run a few times alternately in this process; the best time of each side is
// compared. The ratio is reported, never asserted.
// Usage: bench_import [days] [rounds]   (default 100 days, 3 rounds)

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
#include <QFileInfo>
#include <QSqlDriver>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace kelmon;

namespace {


sqlite3 *handle()
{
    const QVariant h = modkelmon::db().driver()->handle();
    if (!h.isValid() || std::strcmp(h.typeName(), "sqlite3*") != 0)
        bench::die(QStringLiteral("no sqlite3 handle"));
    return *static_cast<sqlite3 *const *>(h.constData());
}


// ---- the importer side ----

struct ImportTiming {
    qint64 totalNs = 0;
    qint64 extractNs = 0;   // work folder and extraction
    qint64 importNs = 0;    // the thirteen importers
    qint64 photoNs = 0;     // photo copy
    qint64 commitNs = 0;    // commit and removal of the work folder
    int archives = 0;
    qint64 records = 0;     // records imported (a replaced row counts each time)
};

ImportTiming registerAll(const QString &folder, const QStringList &archives)
{
    bench::openDatabase(folder);
    ImportTiming t;
    QElapsedTimer clock;
    qint64 phaseStart = 0, importStart = 0, lastStep = 0, stepBefore = 0;
    RegistrationHooks hooks;
    hooks.phase = [&](RegistrationPhase p) {
        if (p == RegistrationPhase::Extracting)
            phaseStart = clock.nsecsElapsed();
        else
            importStart = lastStep = clock.nsecsElapsed();
    };
    // The last step comes after the photo copy, the one before it after the
    // last importer.
    hooks.step = [&] {
        stepBefore = lastStep;
        lastStep = clock.nsecsElapsed();
    };
    clock.start();
    for (const QString &path : archives) {
        const qint64 begin = clock.nsecsElapsed();
        ArchiveRegistration r;
        try {
            r = register_archive(path, hooks);
        } catch (const DbError &e) {
            bench::die(e.description);
        }
        const qint64 end = clock.nsecsElapsed();
        if (!r.registered)
            bench::die(r.message);
        t.totalNs += end - begin;
        t.extractNs += importStart - phaseStart;
        t.importNs += stepBefore - importStart;
        t.photoNs += lastStep - stepBefore;
        t.commitNs += end - lastStep;
        t.records += r.records;
        ++t.archives;
    }
    return t;
}

// ---- the rows, read back typed ----

struct Value {
    int type = SQLITE_NULL;
    sqlite3_int64 i = 0;
    double d = 0;
    QByteArray text;   // UTF-8
};

struct TableRows {
    const PaperTable *table;
    int columns;
    std::vector<Value> values;   // row after row
    qint64 rows() const { return columns ? qint64(values.size()) / columns : 0; }
};

std::vector<TableRows> readBack()
{
    sqlite3 *db = handle();
    std::vector<TableRows> out;
    for (const PaperTable &table : allTables()) {
        if (!*table.file)
            continue;   // the settings table
        TableRows t{&table, int(table.columnCount), {}};
        const QByteArray sql = QByteArray("SELECT * FROM ") + table.name + " ORDER BY rowid";
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            bench::die(QString::fromUtf8(sqlite3_errmsg(db)));
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < t.columns; ++c) {
                Value v;
                v.type = sqlite3_column_type(stmt, c);
                if (v.type == SQLITE_INTEGER)
                    v.i = sqlite3_column_int64(stmt, c);
                else if (v.type == SQLITE_FLOAT)
                    v.d = sqlite3_column_double(stmt, c);
                else if (v.type == SQLITE_TEXT || v.type == SQLITE_BLOB)
                    v.text = QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, c)),
                                        sqlite3_column_bytes(stmt, c));
                t.values.push_back(std::move(v));
            }
        }
        sqlite3_finalize(stmt);
        out.push_back(std::move(t));
    }
    return out;
}

qint64 rowCount(const std::vector<TableRows> &tables)
{
    qint64 n = 0;
    for (const TableRows &t : tables)
        n += t.rows();
    return n;
}

// Rows of each paper table in the open database, for the check that both
// sides hold the same.
std::vector<qint64> countRows()
{
    std::vector<qint64> counts;
    for (const PaperTable &table : allTables())
        if (*table.file)
            counts.push_back(modkelmon::scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table.name))).toLongLong());
    return counts;
}

// ---- the bare side ----

void check(sqlite3 *db, int rc, int expected)
{
    if (rc != expected)
        bench::die(QString::fromUtf8(sqlite3_errmsg(db)));
}

// Inserts every row with one prepared statement per table in one
// transaction; returns the time taken, prepare and commit included.
__attribute__((noinline)) qint64 insertBare(const QString &folder, const std::vector<TableRows> &tables)
{
    bench::openDatabase(folder);
    sqlite3 *db = handle();
    QElapsedTimer clock;
    clock.start();
    check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);
    for (const TableRows &t : tables) {
        QByteArray sql = QByteArray("INSERT INTO ") + t.table->name + " VALUES (?";
        for (int c = 1; c < t.columns; ++c)
            sql += ",?";
        sql += ')';
        sqlite3_stmt *stmt = nullptr;
        check(db, sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr), SQLITE_OK);
        const Value *v = t.values.data();
        for (qint64 r = 0; r < t.rows(); ++r) {
            for (int c = 1; c <= t.columns; ++c, ++v) {
                switch (v->type) {
                case SQLITE_INTEGER: sqlite3_bind_int64(stmt, c, v->i); break;
                case SQLITE_FLOAT: sqlite3_bind_double(stmt, c, v->d); break;
                case SQLITE_TEXT:
                    sqlite3_bind_text(stmt, c, v->text.constData(), int(v->text.size()), SQLITE_STATIC);
                    break;
                case SQLITE_BLOB:
                    sqlite3_bind_blob(stmt, c, v->text.constData(), int(v->text.size()), SQLITE_STATIC);
                    break;
                default: sqlite3_bind_null(stmt, c); break;
                }
            }
            check(db, sqlite3_step(stmt), SQLITE_DONE);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
    }
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    return clock.nsecsElapsed();
}

double ms(qint64 ns) { return ns / 1.0e6; }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int days = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    QTemporaryDir tmp;
    if (!tmp.isValid())
        bench::die(QStringLiteral("no temporary folder"));
    const QString archiveDir = tmp.filePath(QStringLiteral("archives"));

    QElapsedTimer build;
    build.start();
    const QStringList archives = bench::writePaperDays(archiveDir, days, true);
    qint64 archiveBytes = 0;
    for (const QString &archive : archives)
        archiveBytes += QFileInfo(archive).size();
    std::printf("generated %d paper days (%.1f MB of archives) in %.1f s\n", days, archiveBytes / 1.0e6,
                build.elapsed() / 1000.0);

    std::vector<TableRows> rows;
    std::vector<qint64> importedCounts;
    qint64 photosKept = 0;
    ImportTiming best;
    best.totalNs = -1;
    qint64 bestBare = -1;
    for (int round = 0; round < rounds; ++round) {
        const QString importFolder = tmp.filePath(QStringLiteral("import%1").arg(round));
        const ImportTiming t = registerAll(importFolder, archives);
        if (round == 0) {
            rows = readBack();
            importedCounts = countRows();
            photosKept = QDir(photoFolder()).entryList(QDir::Files).size();
        }
        modkelmon::close_db();
        const qint64 bare = insertBare(tmp.filePath(QStringLiteral("bare%1").arg(round)), rows);
        if (countRows() != importedCounts)
            bench::die(QStringLiteral("the bare insert holds other row counts than the registration"));
        modkelmon::close_db();
        // The folders of a finished round go, so the disk holds two databases at most.
        QDir(importFolder).removeRecursively();
        QDir(tmp.filePath(QStringLiteral("bare%1").arg(round))).removeRecursively();

        std::printf("round %d: register_archive %.1f ms, bare insert %.1f ms, ratio %.2f\n", round + 1,
                    ms(t.totalNs), ms(bare), double(t.totalNs) / double(bare));
        if (best.totalNs < 0 || t.totalNs < best.totalNs)
            best = t;
        if (bestBare < 0 || bare < bestBare)
            bestBare = bare;
    }

    const qint64 dbRows = rowCount(rows);
    const double secs = best.totalNs / 1.0e9;
    const double bareSecs = bestBare / 1.0e9;
    std::printf("rows: %lld records imported, %lld rows in the database (13 tables)\n",
                static_cast<long long>(best.records), static_cast<long long>(dbRows));
    std::printf("photos: %lld distinct in photo/ after the run\n", static_cast<long long>(photosKept));
    std::printf("best of %d rounds\n", rounds);
    std::printf("register_archive: %d archives in %.1f ms: %.1f archives/s, %.0f records/s (%.0f database rows/s)\n",
                best.archives, ms(best.totalNs), best.archives / secs, best.records / secs, dbRows / secs);
    std::printf("  extraction (work folder + libarchive) %.1f ms (%.1f%%)\n", ms(best.extractNs),
                100.0 * best.extractNs / best.totalNs);
    std::printf("  thirteen importers                    %.1f ms (%.1f%%)\n", ms(best.importNs),
                100.0 * best.importNs / best.totalNs);
    std::printf("  photo copy                            %.1f ms (%.1f%%)\n", ms(best.photoNs),
                100.0 * best.photoNs / best.totalNs);
    std::printf("  commit + work folder removal          %.1f ms (%.1f%%)\n", ms(best.commitNs),
                100.0 * best.commitNs / best.totalNs);
    std::printf("bare insert: %lld rows in %.1f ms, one transaction: %.0f rows/s\n",
                static_cast<long long>(dbRows), ms(bestBare), dbRows / bareSecs);
    std::printf("ratio register_archive / bare insert: %.2f (target 2)\n", double(best.totalNs) / double(bestBare));
    std::printf("ratio importers + commits / bare insert: %.2f\n",
                double(best.importNs + best.commitNs) / double(bestBare));
    std::printf("ratio importers only / bare insert:   %.2f\n", double(best.importNs) / double(bestBare));
    std::printf("per record: importers %.2f us/record, bare insert %.2f us/row\n",
                best.importNs / 1.0e3 / double(best.records), bestBare / 1.0e3 / double(dbRows));
    setProgramFolder(QString());
    return 0;
}
