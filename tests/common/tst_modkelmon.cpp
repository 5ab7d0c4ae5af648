// The shared module: database checks, settings row, archive count, fatal exits.

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
};

QTEST_GUILESS_MAIN(TestModkelmon)
#include "tst_modkelmon.moc"
