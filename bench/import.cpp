// Registration of generated paper days end to end against the least durable
// work that puts the same rows into the database.
//
// Registration: every archive goes through register_archive (reading the
// archive, the thirteen importers, the photos put in place, one transaction
// per archive), with one registration session (the importers' statements, the
// replaced photos' files) for the whole run as the registration dialog keeps
// it; its end, which removes those files, is timed with the photos.
// Baseline: the same records, decoded and typed beforehand (outside the
// clock), written with INSERT OR REPLACE (a repeated key replaces its row as
// in registration) through one prepared statement per table kept for the
// whole run, one transaction per archive, texts bound as UTF-8.
// Both run in a fresh database on disk (the temporary folder) and in memory
// (/dev/shm), a few rounds alternately; the best of each side is compared and
// the first round checks that both databases hold the same rows. Ratios are
// reported, never asserted.
// Usage: bench_import [days] [rounds]   (default 100 days, 3 rounds)

#include "benchsupport.h"
#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "common/textforms.h"
#include "platform/archive.h"
#include "registration/gaiji.h"
#include "registration/importers.h"
#include "registration/paperreader.h"
#include "registration/registerarchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDriver>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
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

double ms(qint64 ns) { return ns / 1.0e6; }

// ---- the records, decoded beforehand ----

struct Value {
    int type = SQLITE_NULL;   // SQLITE_INTEGER, SQLITE_FLOAT or SQLITE_TEXT
    sqlite3_int64 i = 0;
    double d = 0;
    qsizetype offset = 0, size = 0;   // UTF-8 text in the archive's arena
};

struct ArchiveRecords {
    QByteArray arena;
    // Per importer, in registration order: its records' values, row after row.
    std::vector<std::vector<Value>> tables;
};

// Keeps the paper files of an archive in memory.
class TextSink : public ExtractSink {
public:
    std::vector<QByteArray> texts = std::vector<QByteArray>(paperImporters().size());
    bool begin(const QString &name, qint64, QString *) override
    {
        current_ = nullptr;
        const auto importers = paperImporters();
        for (std::size_t i = 0; i < importers.size(); ++i)
            if (name.compare(QLatin1String(importers[i].table->file), Qt::CaseInsensitive) == 0)
                current_ = &texts[i];
        if (current_)
            current_->clear();
        return true;
    }
    bool data(const char *bytes, qsizetype count, QString *) override
    {
        if (current_)
            current_->append(bytes, count);
        return true;
    }
    bool end(QString *) override { return true; }

private:
    QByteArray *current_ = nullptr;
};

QStringView trimmedBlanks(QStringView text)
{
    auto blank = [](QChar c) { return c == u' ' || c == QChar(0x3000); };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

// The value a field is stored as: numbers as integers when integral, texts
// trimmed, expanded and spaced.
Value decode(QStringView field, const PaperColumn &column, bool spaced, QByteArray &arena)
{
    Value v;
    if (column.kind == 'N') {
        double d = val(field);
        if (d == 0 || !std::isfinite(d))
            d = 0;
        if (d == std::trunc(d) && std::fabs(d) < 1e15) {
            v.type = SQLITE_INTEGER;
            v.i = sqlite3_int64(d);
        } else {
            v.type = SQLITE_FLOAT;
            v.d = d;
        }
        return v;
    }
    QString text = column.kind == 'G' ? conv_gaiji(trimmedBlanks(field)) : trimmedBlanks(field).toString();
    if (spaced)
        text.prepend(QChar(0x3000));
    const QByteArray utf8 = text.toUtf8();
    v.type = SQLITE_TEXT;
    v.offset = arena.size();
    v.size = utf8.size();
    arena += utf8;
    return v;
}

ArchiveRecords decodeArchive(const QString &path, qint64 *records)
{
    TextSink sink;
    const ExtractResult r = extractArchive(path, sink);
    if (!r.ok())
        bench::die(r.reason());
    ArchiveRecords out;
    const auto importers = paperImporters();
    std::vector<QStringView> fields;
    for (std::size_t i = 0; i < importers.size(); ++i) {
        const PaperImporter &importer = importers[i];
        const auto columns = importer.table->cols();
        std::vector<bool> spaced(columns.size(), false);
        for (int p : importer.spaced)
            spaced.at(std::size_t(p)) = true;
        std::vector<Value> values;
        if (!sink.texts[i].isEmpty()) {
            PaperReader reader = PaperReader::fromBytes(sink.texts[i], QString::fromLatin1(importer.table->file));
            while (!reader.atEnd()) {
                reader.readRecord(importer.fieldsRead, fields);
                for (std::size_t c = 0; c < columns.size(); ++c)
                    values.push_back(decode(fields[c], columns[c], spaced[c], out.arena));
                ++*records;
            }
        }
        out.tables.push_back(std::move(values));
    }
    return out;
}

// ---- the two sides ----

struct Timing {
    qint64 totalNs = 0;
    qint64 extractNs = 0;   // reading the archive (paper files into memory, photos staged)
    qint64 importNs = 0;    // the thirteen importers
    qint64 photoNs = 0;     // photos put in place
    qint64 commitNs = 0;    // commit
    qint64 records = 0;
};

Timing registerAll(const QString &folder, const QStringList &archives)
{
    bench::openDatabase(folder);
    Timing t;
    QElapsedTimer clock;
    qint64 importStart = 0, lastStep = 0, stepBefore = 0;
    RegistrationHooks hooks;
    hooks.phase = [&](RegistrationPhase p) {
        if (p == RegistrationPhase::Importing)
            importStart = lastStep = clock.nsecsElapsed();
    };
    // The last step comes after the photos, the one before it after the last
    // importer.
    hooks.step = [&] {
        stepBefore = lastStep;
        lastStep = clock.nsecsElapsed();
    };
    auto session = std::make_unique<RegistrationSession>();
    clock.start();
    for (const QString &path : archives) {
        const qint64 begin = clock.nsecsElapsed();
        ArchiveRegistration r;
        try {
            r = register_archive(path, hooks, session.get());
        } catch (const DbError &e) {
            bench::die(e.description);
        }
        const qint64 end = clock.nsecsElapsed();
        if (!r.registered)
            bench::die(r.message);
        t.totalNs += end - begin;
        t.extractNs += importStart - begin;
        t.importNs += stepBefore - importStart;
        t.photoNs += lastStep - stepBefore;
        t.commitNs += end - lastStep;
        t.records += r.records;
    }
    const qint64 end = clock.nsecsElapsed();
    session.reset();
    const qint64 ended = clock.nsecsElapsed() - end;
    t.totalNs += ended;
    t.photoNs += ended;
    return t;
}

void check(sqlite3 *db, int rc, int expected)
{
    if (rc != expected)
        bench::die(QString::fromUtf8(sqlite3_errmsg(db)));
}

struct StatementCloser {
    void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }
};

__attribute__((noinline)) qint64 insertBare(const QString &folder, const std::vector<ArchiveRecords> &archives)
{
    bench::openDatabase(folder);
    sqlite3 *db = handle();
    QElapsedTimer clock;
    clock.start();
    std::vector<std::unique_ptr<sqlite3_stmt, StatementCloser>> statements;
    for (const PaperImporter &importer : paperImporters()) {
        QByteArray sql = QByteArray("INSERT OR REPLACE INTO ") + importer.table->name + " VALUES (?";
        for (std::size_t c = 1; c < importer.table->columnCount; ++c)
            sql += ",?";
        sql += ')';
        sqlite3_stmt *stmt = nullptr;
        check(db, sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr), SQLITE_OK);
        statements.emplace_back(stmt);
    }
    for (const ArchiveRecords &archive : archives) {
        check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);
        for (std::size_t t = 0; t < archive.tables.size(); ++t) {
            sqlite3_stmt *stmt = statements[t].get();
            const int columns = sqlite3_bind_parameter_count(stmt);
            const std::vector<Value> &values = archive.tables[t];
            for (std::size_t v = 0; v < values.size();) {
                for (int c = 1; c <= columns; ++c, ++v) {
                    const Value &x = values[v];
                    if (x.type == SQLITE_INTEGER)
                        sqlite3_bind_int64(stmt, c, x.i);
                    else if (x.type == SQLITE_FLOAT)
                        sqlite3_bind_double(stmt, c, x.d);
                    else
                        sqlite3_bind_text(stmt, c, archive.arena.constData() + x.offset, int(x.size), SQLITE_STATIC);
                }
                check(db, sqlite3_step(stmt), SQLITE_DONE);
                sqlite3_reset(stmt);
            }
        }
        check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    statements.clear();
    return clock.nsecsElapsed();
}

// Both databases hold the same rows: the bare one is open, the registered one
// is attached.
void checkSameRows(const QString &registeredDb)
{
    modkelmon::exec(QStringLiteral("ATTACH DATABASE ? AS reg"), {registeredDb});
    for (const PaperImporter &importer : paperImporters()) {
        const QString t = QLatin1String(importer.table->name);
        const qint64 n = modkelmon::scalar(QStringLiteral("SELECT count(*) FROM main.%1").arg(t)).toLongLong();
        const qint64 m = modkelmon::scalar(QStringLiteral("SELECT count(*) FROM reg.%1").arg(t)).toLongLong();
        const qint64 differ =
            modkelmon::scalar(QStringLiteral("SELECT count(*) FROM (SELECT * FROM main.%1 EXCEPT SELECT * FROM reg.%1)").arg(t))
                .toLongLong();
        if (n != m || differ != 0)
            bench::die(QStringLiteral("%1: the baseline holds %2 rows, registration %3, %4 differ").arg(t).arg(n).arg(m).arg(differ));
    }
    modkelmon::exec(QStringLiteral("DETACH DATABASE reg"));
}

struct Place {
    const char *label;
    QString root;
    Timing best;
    qint64 bestBare = -1;
    qint64 rows = 0;
};

void runRound(Place &place, int round, const QStringList &archives, const std::vector<ArchiveRecords> &records)
{
    const QString regFolder = QDir(place.root).filePath(QStringLiteral("register%1").arg(round));
    const QString bareFolder = QDir(place.root).filePath(QStringLiteral("bare%1").arg(round));
    const Timing t = registerAll(regFolder, archives);
    setProgramFolder(regFolder);
    const QString regDb = databasePath();
    modkelmon::close_db();
    const qint64 bare = insertBare(bareFolder, records);
    if (round == 0) {
        checkSameRows(regDb);
        place.rows = 0;
        for (const PaperImporter &importer : paperImporters())
            place.rows += modkelmon::scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(importer.table->name))).toLongLong();
    }
    modkelmon::close_db();
    QDir(regFolder).removeRecursively();
    QDir(bareFolder).removeRecursively();
    std::printf("round %d %-9s register_archive %7.1f ms, baseline %7.1f ms, ratio %.2f\n", round + 1, place.label,
                ms(t.totalNs), ms(bare), double(t.totalNs) / double(bare));
    if (place.bestBare < 0 || t.totalNs < place.best.totalNs)
        place.best = t;
    if (place.bestBare < 0 || bare < place.bestBare)
        place.bestBare = bare;
}

void report(const Place &p, int archives)
{
    const Timing &t = p.best;
    auto line = [&](const char *what, qint64 ns) {
        std::printf("    %-40s %8.1f ms  %5.1f%%\n", what, ms(ns), 100.0 * ns / t.totalNs);
    };
    std::printf("%s (%s):\n", p.label, qPrintable(p.root));
    std::printf("  end to end / baseline:        %.2f   (target 2.0)\n", double(t.totalNs) / double(p.bestBare));
    std::printf("  importers + commit / baseline: %.2f   (target 1.3)\n",
                double(t.importNs + t.commitNs) / double(p.bestBare));
    std::printf("  register_archive %d archives %.1f ms (%.1f archives/s), baseline %.1f ms (%.0f records/s):\n", archives,
                ms(t.totalNs), archives / (t.totalNs / 1.0e9), ms(p.bestBare), t.records / (p.bestBare / 1.0e9));
    line("reading the archive (papers, photos staged)", t.extractNs);
    line("thirteen importers", t.importNs);
    line("photos put in place", t.photoNs);
    line("commit", t.commitNs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int days = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    QTemporaryDir disk;
    QTemporaryDir memory(QStringLiteral("/dev/shm/bench_import-XXXXXX"));
    if (!disk.isValid())
        bench::die(QStringLiteral("no temporary folder"));

    QElapsedTimer build;
    build.start();
    const QStringList archives = bench::writePaperDays(disk.filePath(QStringLiteral("archives")), days, true);
    qint64 archiveBytes = 0;
    for (const QString &archive : archives)
        archiveBytes += QFileInfo(archive).size();
    qint64 records = 0;
    std::vector<ArchiveRecords> decoded;
    for (const QString &archive : archives)
        decoded.push_back(decodeArchive(archive, &records));
    std::printf("generated %d paper days (%.1f MB of archives, %lld records) in %.1f s\n", days, archiveBytes / 1.0e6,
                static_cast<long long>(records), build.elapsed() / 1000.0);

    std::vector<Place> places;
    places.push_back({"on disk", disk.path(), {}, -1, 0});
    if (memory.isValid())
        places.push_back({"in memory", memory.path(), {}, -1, 0});
    for (int round = 0; round < rounds; ++round)
        for (Place &place : places)
            runRound(place, round, archives, decoded);

    std::printf("best of %d rounds; %lld records per run, %lld rows in the database (13 tables)\n", rounds,
                static_cast<long long>(records), static_cast<long long>(places.front().rows));
    for (const Place &place : places)
        report(place, int(archives.size()));
    setProgramFolder(QString());
    return 0;
}
