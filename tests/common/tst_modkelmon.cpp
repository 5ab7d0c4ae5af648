// The shared module: database creation and checks, settings row, compaction,
// archive count, fatal exits.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
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
    void createdDatabaseMatchesLayout();
    void refusesForeignFiles_data();
    void refusesForeignFiles();
    void unusableProgramFolderIsReported();
    void settingsRowInsertedOnceAndReadBack();
    void settingsOutOfRangeFallBack();
    void countsOnlyArchivesInReceive();
    void delSpace_data();
    void delSpace();
    void compactionKeepsRowsAndLeavesNoWorkFile();
    void compactionOfLockedDatabaseFailsCleanly();
    void fatalMessages();
};

void TestModkelmon::createdDatabaseMatchesLayout()
{
    test::ProgramFolder folder;
    QVERIFY(QFile::exists(folder.file("kelmon.mdb")));
    for (const char *sub : {"receive", "photo", "backup"})
        QVERIFY(QFileInfo(folder.file(sub)).isDir());
    for (const auto &t : allTables()) {
        QSqlQuery q = modkelmon::exec("select name, type, pk from pragma_table_info(?) order by cid", {t.name});
        std::size_t i = 0;
        QStringList keys;
        while (q.next()) {
            QVERIFY2(i < t.columnCount, t.name);
            QCOMPARE(q.value(0).toString(), QString::fromLatin1(t.cols()[i].name));
            const QString declared = QString::fromLatin1(t.cols()[i].type);
            QVERIFY2(declared.startsWith(q.value(1).toString()), qPrintable(declared));
            if (q.value(2).toInt() > 0)
                keys << q.value(0).toString();
            ++i;
        }
        QCOMPARE(i, t.columnCount);
        QCOMPARE(keys.join(", "), QString::fromLatin1(t.primaryKey));
    }
    QCOMPARE(modkelmon::scalar("select count(*) from sqlite_master where type = 'index' and name like 'idx_%'").toInt(),
             int(allIndexes().size()));
    QCOMPARE(modkelmon::scalar("pragma journal_mode").toString(), QString("delete"));
}

void TestModkelmon::refusesForeignFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("dropTable");
    QTest::newRow("not a database") << QByteArray("Standard Jet DB\0\0\0 some bytes", 30) << QString();
    QTest::newRow("lacks a table") << QByteArray() << QString("f_motor");
}

void TestModkelmon::refusesForeignFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, dropTable);
    test::ProgramFolder folder(dropTable.isEmpty() ? false : true);
    if (!dropTable.isEmpty()) {
        modkelmon::exec("drop table " + dropTable);
        modkelmon::close_db();
    } else {
        QFile f(folder.file("kelmon.mdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QFile f(folder.file("kelmon.mdb"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    QVERIFY_THROWS_EXCEPTION(DbError, modkelmon::open_db());
    QVERIFY(!modkelmon::is_open());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestModkelmon::unusableProgramFolderIsReported()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setProgramFolder(dir.filePath("file/kelmon"));
    QString error;
    QVERIFY(!ensureProgramFolder(&error));
    QVERIFY(error.contains("kelmon"));
    try {
        modkelmon::open_db();
        QFAIL("open_db should fail");
    } catch (const DbError &e) {
        QCOMPARE(e.number, 76);
    }
    setProgramFolder(QString());
}

void TestModkelmon::settingsRowInsertedOnceAndReadBack()
{
    test::ProgramFolder folder;
    modkelmon::kyosocode = 7;
    modkelmon::checkflag = 0;
    QCOMPARE(read_m_kanri(), QString());
    QCOMPARE(modkelmon::kyosocode, qint16(0));
    QCOMPARE(modkelmon::checkflag, qint16(1));
    QCOMPARE(modkelmon::regstflag, qint16(0));
    QCOMPARE(modkelmon::downlflag, qint16(1));
    QCOMPARE(modkelmon::scalar("select count(*) from m_kanri").toInt(), 1);
    QSqlQuery q = modkelmon::exec("select * from m_kanri");
    QVERIFY(q.next());
    for (int i = 0; i < 65; ++i)
        QCOMPARE(q.value(i).toInt(), defaultSettingsRow[i]);
    q.finish();

    modkelmon::kyosocode = 9;
    modkelmon::regstflag = 1;
    write_startup_settings();
    modkelmon::kyosocode = 0;
    modkelmon::regstflag = 0;
    QCOMPARE(read_m_kanri(), QString());
    QCOMPARE(modkelmon::kyosocode, qint16(9));
    QCOMPARE(modkelmon::regstflag, qint16(1));
    QCOMPARE(modkelmon::scalar("select count(*) from m_kanri").toInt(), 1);
}

void TestModkelmon::settingsOutOfRangeFallBack()
{
    test::ProgramFolder folder;
    read_m_kanri();
    modkelmon::exec("update m_kanri set kyosocode = 25, checkflag = 100000 where kanricode = 1");
    const QString replaced = read_m_kanri();
    QVERIFY(replaced.contains("kyosocode"));
    QVERIFY(replaced.contains("checkflag"));
    QCOMPARE(modkelmon::kyosocode, qint16(0));
    QCOMPARE(modkelmon::checkflag, qint16(1));
}

void TestModkelmon::countsOnlyArchivesInReceive()
{
    test::ProgramFolder folder(false);
    QCOMPARE(modkelmon::count_lzh_files(), 0);   // no receive/ yet
    QDir(folder.path()).mkpath("Receive/sub");
    QCOMPARE(modkelmon::count_lzh_files(), 0);
    for (const char *name : {"Receive/a.lzh", "Receive/B.LZH", "Receive/c.txt", "Receive/sub/d.lzh", "Receive/lzh"}) {
        QFile f(folder.file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(modkelmon::count_lzh_files(), 2);
}

void TestModkelmon::delSpace_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("ideographic") << QString("桐　生") << QString("桐生");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one") << QString("津") << QString("津");
    QTest::newRow("mixed") << QString(" a\t　b ") << QString("a\tb");
}

void TestModkelmon::delSpace()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(modkelmon::del_space(in), out);
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
    QCOMPARE(modkelmon::scalar("select racesname from f_races where setuscode = 5").toString(), QString(200, 'x'));
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

void TestModkelmon::fatalMessages()
{
    test::ProgramFolder folder;
    ScriptedMessages box;
    modkelmon::db_error_end(3021, "no current record");
    QCOMPARE(box.shown().back().kind, ScriptedMessages::Shown::Critical);
    QCOMPARE(box.shown().back().title, QString("致命的なエラーです..."));
    QCOMPARE(box.shown().back().text,
             QString("データベースへのアクセスで致命的なエラーが発生しました... 強制終了します...\r\n\r\n3021\r\nno current record"));
    QVERIFY(!modkelmon::is_open());
    modkelmon::file_error_end(62);
    QCOMPARE(box.shown().back().text, QString("指定されたファイルはデジタル紙面ファイルでは有りません"));
    modkelmon::file_error_end(5);
    QCOMPARE(box.shown().back().text, QString("例外エラーが発生しました"));
    QCOMPARE(folder.exits().size(), std::size_t(3));
}

QTEST_GUILESS_MAIN(TestModkelmon)
#include "tst_modkelmon.moc"
