// The shared module: database checks, settings row, archive count, fatal
// exits, and compaction through the work file: a failure or a kill before or
// after each step leaves one complete database under kelmon.mdb, the old or
// the new one.

#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "common/settingsrow.h"
#include "platform/messages.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelmon;
using modkelmon::CompactionStep;
using modkelmon::CreationStep;

namespace {

constexpr int keptRows = 100;

// A database with free pages: 2,000 rows written, all but keptRows deleted.
// The old file keeps its free pages; the compacted one has none.
void fillWithFreePages()
{
    modkelmon::Transaction tx;
    for (int i = 0; i < 2000; ++i)
        modkelmon::exec("insert into f_races values (?, ?, ?, ?, ?)", {i, 1, 1, QString(200, 'x'), "1530"});
    tx.commit();
    modkelmon::exec(QStringLiteral("delete from f_races where setuscode >= %1").arg(keptRows));
    QVERIFY(modkelmon::scalar("pragma freelist_count").toInt() > 0);
}

// Opens kelmon.mdb afresh and checks it is whole and holds the kept rows;
// returns true when it is the compacted database.
bool reopenWholeDatabase(const QString &folder, bool *ok)
{
    *ok = false;
    modkelmon::close_db();
    const QStringList left = QDir(folder).entryList(QDir::Files);
    if (!left.contains("kelmon.mdb") || left.contains("kelmon.mdb-journal"))
        return false;
    modkelmon::open_db();
    if (modkelmon::scalar("pragma integrity_check").toString() != "ok"
        || modkelmon::scalar("select count(*) from f_races").toInt() != keptRows)
        return false;
    *ok = true;
    return modkelmon::scalar("pragma freelist_count").toInt() == 0;
}

// What is under path, looked at without opening it.
QString state(const QString &path)
{
    return !QFile::exists(path) ? "none" : QFileInfo(path).size() > 0 ? "a database" : "a file without a byte";
}

void writeFile(const QString &path, const QByteArray &content = {})
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
}

// A folder where files can be made on a file system other than path's, or
// nothing when none of the usual ones is.
QString otherFileSystem(const QString &path)
{
    struct stat here {}, there {};
    ::stat(QFile::encodeName(path).constData(), &here);
    for (const QString &dir : {qEnvironmentVariable("XDG_RUNTIME_DIR"), "/run/user/" + QString::number(::getuid()), QString("/dev/shm")})
        if (!dir.isEmpty() && ::stat(QFile::encodeName(dir).constData(), &there) == 0 && there.st_dev != here.st_dev
            && QFileInfo(dir).isWritable())
            return dir;
    return {};
}

// The write-ahead log of another database, taken while that database is open
// (closed, it would be emptied into the database).
QByteArray logOfAnotherDatabase()
{
    QTemporaryDir dir;
    QByteArray log;
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(dir.filePath("other.db"));
        other.open();
        QSqlQuery q(other);
        for (const char *sql : {"pragma journal_mode=wal", "create table other (x)", "insert into other values (1)"})
            q.exec(sql);
        log = readRegularFile(dir.filePath("other.db-wal"), 1 << 20).value_or(QByteArray());
    }
    QSqlDatabase::removeDatabase("other");
    return log;
}

// Runs work in a child process that is killed outright when it reaches step
// (through the hook setHook installs); checks that the kill ended it.
template <typename Step>
void killAt(Step step, void (*setHook)(std::function<void(Step)>), const std::function<void()> &work)
{
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        setHook([step](Step at) {
            if (at == step)
                ::kill(::getpid(), SIGKILL);
        });
        try {
            work();
        } catch (...) {
        }
        ::_exit(3);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

} // namespace

class TestModkelmon : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusesForeignFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("change");   // statement run on a fresh database
        QTest::newRow("not a database") << QByteArray("Standard Jet DB\0\0\0 some bytes", 30) << QString();
        QTest::newRow("lacks a table") << QByteArray() << QString("drop table f_motor");
        QTest::newRow("lacks a column") << QByteArray() << QString("alter table f_wakus drop column tenjun_ks_avg");
        QTest::newRow("a column under another name")
            << QByteArray() << QString("alter table f_setus rename column bordrcnt to bordrcnt_old");
    }
    void refusesForeignFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, change);
        test::ProgramFolder folder(!change.isEmpty());
        QFile f(folder.file("kelmon.mdb"));
        if (!change.isEmpty()) {
            modkelmon::exec(change);
            modkelmon::close_db();
        } else {
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
            f.close();
        }
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        QVERIFY_THROWS_EXCEPTION(DbError, modkelmon::open_db());
        QVERIFY(!modkelmon::is_open());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void newDatabaseFromNothing_data()
    {
        QTest::addColumn<bool>("emptyFile");      // kelmon.mdb there without a byte
        QTest::addColumn<QString>("beside");      // a file beside it: "-journal" or the work file ".new"
        QTest::addColumn<QByteArray>("content");  // and what it holds
        QTest::addColumn<int>("killedAt");        // the CreationStep a first start is killed at, or -1
        // A hot journal of a database that had no page: played back, it empties the file.
        QByteArray journal = QByteArray::fromHex("d9d505f920a163d7" "000000000000000000000000" "00000200" "00001000");
        journal.resize(512);
        QTest::newRow("file without a byte, journal beside it") << true << "-journal" << journal << -1;
        QTest::newRow("half work file left") << true << ".new" << QByteArray("SQLite format 3\0half", 20) << -1;
        const QByteArray log = logOfAnotherDatabase();
        QVERIFY(log.size() > 32);
        QTest::newRow("file without a byte, another database's log beside it") << true << "-wal" << log << -1;
        QTest::newRow("file without a byte, shared-memory file beside it") << true << "-shm" << QByteArray(32768, 0) << -1;
        // Killed before the first step, the next start is a plain first one.
        for (const bool empty : {false, true})
            for (int step = 0; step <= int(CreationStep::FlushFolder); ++step)
                QTest::addRow("%s, killed at step %d", empty ? "file without a byte" : "no file", step)
                    << empty << QString() << QByteArray() << step;
    }
    void newDatabaseFromNothing()
    {
        QFETCH(bool, emptyFile);
        QFETCH(QString, beside);
        QFETCH(QByteArray, content);
        QFETCH(int, killedAt);
        test::ProgramFolder folder(false);
        const QString database = folder.file("kelmon.mdb");
        if (emptyFile)
            writeFile(database);
        if (!beside.isEmpty())
            writeFile(database + beside, content);
        if (killedAt >= 0) {
            killAt(CreationStep(killedAt), modkelmon::set_creation_hook, [] { modkelmon::open_db(); });
            // Only once renamed is the new database in place.
            QCOMPARE(state(database), killedAt == int(CreationStep::FlushFolder) ? "a database"
                                      : emptyFile ? "a file without a byte" : "none");
        }
        modkelmon::open_db();
        // The thirteen paper tables and the settings table, no more.
        QCOMPARE(modkelmon::scalar("select group_concat(name, ' ') from"
                                   " (select name from sqlite_master where type = 'table' order by name)").toString(),
                 QString("f_boats f_kasyu f_lunks f_motor f_racer f_races f_resta f_restb f_setfg f_setus f_tokhm"
                         " f_wakus f_yosos m_kanri"));
        QCOMPARE(read_m_kanri(), QString());
        modkelmon::close_db();
        QCOMPARE(QDir(folder.path()).entryList({"kelmon.mdb*"}, QDir::Files), QStringList{"kelmon.mdb"});
    }

    // kelmon.mdb a link to a database kept elsewhere: to a file without a
    // byte, the database is made there and the link kept, through compaction
    // too, whose work file is made beside the database, on its disk; to
    // nothing, nothing is made anywhere and the message names the missing file.
    void databaseThroughLink_data()
    {
        QTest::addColumn<QString>("base");     // the folder the target is under
        QTest::addColumn<QString>("target");   // under that folder
        QTest::addColumn<bool>("emptyFile");   // the target there without a byte
        QTest::newRow("to a file without a byte") << "elsewhere" << "papers.db" << true;
        QTest::newRow("to no file") << "elsewhere" << "kelmon.mdb" << false;
        QTest::newRow("into a folder not there") << "elsewhere" << "unmounted/kelmon.mdb" << false;
        QTest::newRow("relative, into the program folder") << "data" << "papers.db" << true;
        QTest::newRow("to another file system") << "another file system" << "papers.db" << true;
    }
    void databaseThroughLink()
    {
        QFETCH(QString, base);
        QFETCH(QString, target);
        QFETCH(bool, emptyFile);
        test::ProgramFolder folder(false);
        const QString other = base == "another file system" ? otherFileSystem(folder.path()) : QString();
        if (base == "another file system" && other.isEmpty())
            QSKIP("no writable folder on a file system other than the program folder's (/dev/shm, $XDG_RUNTIME_DIR)");
        QTemporaryDir disk(other.isEmpty() ? QString() : other + "/kelmon-link-XXXXXX");
        const QString in = base == "data" ? folder.file("data") : disk.path();
        const QString database = folder.file("kelmon.mdb"), file = in + '/' + target;
        QVERIFY(QDir().mkpath(in));
        if (emptyFile)
            writeFile(file);
        QVERIFY(::symlink(QFile::encodeName(base == "data" ? "data/" + target : file).constData(),
                          QFile::encodeName(database).constData()) == 0);
        bool workBeside = false;
        modkelmon::set_compaction_hook([&](CompactionStep at) {
            workBeside = workBeside || (at == CompactionStep::FlushWork && QFile::exists(in + "/kelmonw.mdb"));
        });
        auto unhook = qScopeGuard([] { modkelmon::set_compaction_hook({}); });
        QString message;
        try {
            modkelmon::open_db();
            modkelmon::optimize_db();
            modkelmon::close_db();
        } catch (const DbError &e) {
            message = e.description;
        }
        QVERIFY2(emptyFile ? message.isEmpty() : message.contains(file), qPrintable(message));
        QCOMPARE(state(file), emptyFile ? "a database" : "none");
        QCOMPARE(workBeside, emptyFile);
        QCOMPARE(QDir(in).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 emptyFile ? QStringList{target} : QStringList());
        QVERIFY(QFileInfo(database).isSymLink() && QFile::symLinkTarget(database) == file);
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 (base == "data" ? QStringList{"backup", "data", "kelmon.mdb", "photo", "receive"}
                                 : QStringList{"backup", "kelmon.mdb", "photo", "receive"}));
    }

    void settingsReadBackAndOutOfRangeFallBack()
    {
        test::ProgramFolder folder;
        const auto settings = [] {
            return QList<int>{modkelmon::kyosocode, modkelmon::checkflag, modkelmon::regstflag, modkelmon::downlflag};
        };
        // An empty table gets the default row once; the settings are 0, 1, 0, 1
        // both at once and when read back from the row.
        for (int start = 0; start < 2; ++start) {
            modkelmon::kyosocode = modkelmon::checkflag = modkelmon::regstflag = modkelmon::downlflag = 7;
            QCOMPARE(read_m_kanri(), QString());
            QCOMPARE(settings(), (QList<int>{0, 1, 0, 1}));
        }
        QSqlQuery q = modkelmon::exec("select * from m_kanri");
        QList<int> row;
        QVERIFY(q.next());
        for (int i = 0; i < 65; ++i)
            row << q.value(i).toInt();
        QCOMPARE(row.mid(0, 10), (QList<int>{1, 1, 2, 3, 4, 5, 12, 16, 19, 23}));
        QCOMPARE(row.mid(31, 9), (QList<int>{6, 8, 10, 12, 15, 17, 19, 21, 45}));
        QCOMPARE(row.mid(61), (QList<int>{0, 1, 0, 1}));
        QVERIFY(!q.next());
        modkelmon::kyosocode = 24;   // the last venue
        write_startup_settings();
        modkelmon::kyosocode = 0;
        QCOMPARE(read_m_kanri(), QString());
        QCOMPARE(modkelmon::kyosocode, qint16(24));

        modkelmon::exec("update m_kanri set kyosocode = 25, checkflag = 100000 where kanricode = 1");
        // Named as the settings dialog names them, never by their columns.
        QCOMPARE(read_m_kanri(), QStringLiteral("指定の競走場を開く\r\nデータベースのサイズとパフォーマンスを検査する"));
        QCOMPARE(settings(), (QList<int>{0, 1, 0, 1}));
    }

    void countsOnlyArchivesInReceive()
    {
        test::ProgramFolder folder(false);
        QCOMPARE(modkelmon::count_lzh_files(), 0);   // no receive/ yet
        QDir(folder.path()).mkpath("Receive/sub");
        for (const char *name : {"Receive/a.lzh", "Receive/B.LZH", "Receive/c.txt", "Receive/sub/d.lzh"}) {
            QFile f(folder.file(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(modkelmon::count_lzh_files(), 2);
    }

    void fatalMessage()
    {
        test::ProgramFolder folder;
        ScriptedMessages box;
        modkelmon::db_error_end(3021, "no current record");
        QCOMPARE(box.shown().back().kind, ScriptedMessages::Shown::Critical);
        QCOMPARE(box.shown().back().text,
                 QString("データベースへのアクセスで致命的なエラーが発生しました... 強制終了します...\r\n\r\n3021\r\nno current record"));
        QVERIFY(!modkelmon::is_open());
        QCOMPARE(folder.exits().size(), std::size_t(1));
    }

    void failureAtEachStep_data()
    {
        QTest::addColumn<CompactionStep>("step");
        QTest::addColumn<bool>("compacted");   // the new database is in place afterwards
        QTest::newRow("writing the work file") << CompactionStep::WriteWork << false;
        QTest::newRow("flushing the work file") << CompactionStep::FlushWork << false;
        QTest::newRow("closing") << CompactionStep::Close << false;
        QTest::newRow("replacing") << CompactionStep::Replace << false;
        QTest::newRow("flushing the folder") << CompactionStep::FlushFolder << true;
        QTest::newRow("reopening") << CompactionStep::Reopen << true;
    }
    void failureAtEachStep()
    {
        QFETCH(CompactionStep, step);
        QFETCH(bool, compacted);
        test::ProgramFolder folder;
        fillWithFreePages();
        modkelmon::set_compaction_hook([step](CompactionStep at) {
            if (at == step)
                throw DbError(5, "injected");
        });
        QVERIFY_THROWS_EXCEPTION(DbError, modkelmon::optimize_db());
        modkelmon::set_compaction_hook({});
        // The connection is open again on the database in place, unless reopening
        // itself failed.
        QCOMPARE(modkelmon::is_open(), step != CompactionStep::Reopen);
        QVERIFY(!QFile::exists(folder.file("kelmonw.mdb")));
        bool whole = false;
        QCOMPARE(reopenWholeDatabase(folder.path(), &whole), compacted);
        QVERIFY(whole);
    }

    void killAtEachStep_data() { failureAtEachStep_data(); }
    void killAtEachStep()
    {
        QFETCH(CompactionStep, step);
        QFETCH(bool, compacted);
        test::ProgramFolder folder;
        fillWithFreePages();
        modkelmon::close_db();
        // A child compacts and is killed outright at the step.
        killAt(step, modkelmon::set_compaction_hook, [] {
            modkelmon::open_db();
            modkelmon::optimize_db();
        });

        bool whole = false;
        QCOMPARE(reopenWholeDatabase(folder.path(), &whole), compacted);
        QVERIFY(whole);
        // A work file left by the killed run is cleared by the next compaction.
        modkelmon::optimize_db();
        QVERIFY(!QFile::exists(folder.file("kelmonw.mdb")));
        QCOMPARE(reopenWholeDatabase(folder.path(), &whole), true);
        QVERIFY(whole);
    }

    void stepsRunInOrder()
    {
        // A half-written work file of an earlier run is no obstacle; the steps
        // come in their order and the work file is gone afterwards.
        test::ProgramFolder folder;
        fillWithFreePages();
        QFile half(folder.file("kelmonw.mdb"));
        QVERIFY(half.open(QIODevice::WriteOnly));
        half.write("SQLite format 3\0half", 20);
        half.close();
        QList<CompactionStep> seen;
        modkelmon::set_compaction_hook([&seen](CompactionStep at) { seen << at; });
        modkelmon::optimize_db();
        modkelmon::set_compaction_hook({});
        QCOMPARE(seen, (QList<CompactionStep>{CompactionStep::WriteWork, CompactionStep::FlushWork, CompactionStep::Close,
                                              CompactionStep::Replace, CompactionStep::FlushFolder, CompactionStep::Reopen}));
        QVERIFY(modkelmon::is_open());
        QVERIFY(!QFile::exists(folder.file("kelmonw.mdb")));
        bool whole = false;
        QVERIFY(reopenWholeDatabase(folder.path(), &whole));
        QVERIFY(whole);
    }
};

QTEST_GUILESS_MAIN(TestModkelmon)
#include "tst_modkelmon.moc"
