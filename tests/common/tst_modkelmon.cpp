// The shared module: database creation and checks, settings row, compaction,
// archive count, fatal exits.

#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "common/settingsrow.h"
#include "platform/messages.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace kelmon;

class TestModkelmon : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusesForeignFiles_data();
    void refusesForeignFiles();
    void settingsReadBackAndOutOfRangeFallBack();
    void countsOnlyArchivesInReceive();
    void compactionKeepsRowsAndLeavesNoWorkFile();
    void compactionOfLockedDatabaseFailsCleanly();
    void fatalMessage();
};

void TestModkelmon::refusesForeignFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("change");   // statement run on a fresh database
    QTest::newRow("not a database") << QByteArray("Standard Jet DB\0\0\0 some bytes", 30) << QString();
    QTest::newRow("lacks a table") << QByteArray() << QString("drop table f_motor");
    QTest::newRow("lacks a column") << QByteArray() << QString("alter table f_wakus drop column tenjun_ks_avg");
    QTest::newRow("a column under another name")
        << QByteArray() << QString("alter table f_setus rename column bordrcnt to bordrcnt_old");
}

void TestModkelmon::refusesForeignFiles()
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

void TestModkelmon::settingsReadBackAndOutOfRangeFallBack()
{
    test::ProgramFolder folder;
    QCOMPARE(read_m_kanri(), QString());
    modkelmon::kyosocode = 9;
    write_startup_settings();
    modkelmon::kyosocode = 0;
    QCOMPARE(read_m_kanri(), QString());
    QCOMPARE(modkelmon::kyosocode, qint16(9));
    QCOMPARE(modkelmon::scalar("select count(*) from m_kanri").toInt(), 1);

    modkelmon::exec("update m_kanri set kyosocode = 25, checkflag = 100000 where kanricode = 1");
    // Named as the settings dialog names them, never by their columns.
    const QString replaced = read_m_kanri();
    QCOMPARE(replaced, QStringLiteral("指定の競走場を開く\r\nデータベースのサイズとパフォーマンスを検査する"));
    QCOMPARE(modkelmon::kyosocode, qint16(0));
    QCOMPARE(modkelmon::checkflag, qint16(1));
}

void TestModkelmon::countsOnlyArchivesInReceive()
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

void TestModkelmon::compactionKeepsRowsAndLeavesNoWorkFile()
{
    test::ProgramFolder folder;
    {
        modkelmon::Transaction tx;
        for (int i = 0; i < 2000; ++i)
            modkelmon::exec("insert into f_races values (?, ?, ?, ?, ?)", {i, 1, 1, QString(200, 'x'), "1530"});
        tx.commit();
    }
    modkelmon::exec("delete from f_races where setuscode >= 100");
    const qint64 before = modkelmon::database_size();
    QFile stale(folder.file("kelmonw.mdb"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    modkelmon::optimize_db();
    QVERIFY(modkelmon::database_size() < before);
    QVERIFY(!QFile::exists(folder.file("kelmonw.mdb")));
    QCOMPARE(modkelmon::scalar("select count(*) from f_races").toInt(), 100);
}

void TestModkelmon::compactionOfLockedDatabaseFailsCleanly()
{
    test::ProgramFolder folder;
    modkelmon::exec("insert into f_races values (1, 1, 1, 'a', '1530')");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(folder.file("kelmon.mdb"));
        other.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10");
        QVERIFY(other.open());
        QSqlQuery lock(other);
        QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
        QVERIFY_THROWS_EXCEPTION(DbError, modkelmon::optimize_db());
        QVERIFY(lock.exec("ROLLBACK"));
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
    QCOMPARE(modkelmon::scalar("select count(*) from f_races").toInt(), 1);
}

void TestModkelmon::fatalMessage()
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

QTEST_GUILESS_MAIN(TestModkelmon)
#include "tst_modkelmon.moc"
