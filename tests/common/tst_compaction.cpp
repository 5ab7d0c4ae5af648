// Compaction through the work file: a failure or a kill before or after each
// step leaves one complete database under kelmon.mdb, the old or the new one.

#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelmon;
using modkelmon::CompactionStep;

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

} // namespace

class TestCompaction : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // The child compacts and is killed outright at the step.
            modkelmon::set_compaction_hook([step](CompactionStep at) {
                if (at == step)
                    ::kill(::getpid(), SIGKILL);
            });
            try {
                modkelmon::open_db();
                modkelmon::optimize_db();
            } catch (...) {
            }
            ::_exit(3);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

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

QTEST_GUILESS_MAIN(TestCompaction)
#include "tst_compaction.moc"
