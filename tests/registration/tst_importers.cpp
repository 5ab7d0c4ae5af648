// The paper-file importers and the registration of one archive: value
// conversions, replacement by key, fixed positions, and an archive that is
// registered wholly or not at all.

#include "registration/importers.h"
#include "registration/registerarchive.h"

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "helpers/paperfiles.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::test;

namespace {

int rowCount(const char *table)
{
    return modkelmon::scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))).toInt();
}

// Every paper table's row count, in registration order.
QList<int> allCounts()
{
    QList<int> out;
    for (const PaperImporter &i : paperImporters())
        out << rowCount(i.table->name);
    return out;
}

QVariant value(const QString &sql, const QVariantList &args = {}) { return modkelmon::scalar(sql, args); }

void writePaper(const QString &folder, const char *table, const QList<QStringList> &records)
{
    QVERIFY(writeFile(QDir(folder).filePath(QLatin1String(findTable(table)->file)), paperLines(records)));
}

int import(const char *table, const QString &folder)
{
    modkelmon::Transaction tx;
    const int n = importPaperFile(*findImporter(table), folder);
    tx.commit();
    return n;
}

} // namespace

class TestImporters : public QObject {
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
    void importingTwiceKeepsOneRowPerKey();
    void setfgKeysIncludeTheVenue();
    void yososSpacedPositions();
    void tokhmReadsFiftyEightStoresFiftySeven();
    void emptyAndMissingFiles();
    void registersRealArchive();
    void cutFileRollsBackWholeArchive();
    void photosThatCannotBePlacedRollBack();
    void leftoversAreNotImported();
    void unreadableArchiveIsReported();
    void paperFileBytes_data();
    void paperFileBytes();
};

void TestImporters::conversions_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("stored");

    // Numbers: f_setus position 7 (bordrcnt).
    QTest::newRow("N fraction with unit") << "f_setus" << 7 << "12.5kg" << QVariant(12.5);
    QTest::newRow("N blanks between digits") << "f_setus" << 7 << " 1 2 " << QVariant(12);
    QTest::newRow("N hexadecimal") << "f_setus" << 7 << "&H1F" << QVariant(31);
    QTest::newRow("N integer stays integer") << "f_setus" << 7 << "40" << QVariant(40);
    QTest::newRow("N negative whole") << "f_setus" << 7 << "-5" << QVariant(-5);
    QTest::newRow("N negative with zeros") << "f_setus" << 7 << "-0012" << QVariant(-12);
    QTest::newRow("N negative fraction") << "f_setus" << 7 << "-6.25" << QVariant(-6.25);
    QTest::newRow("N fifteen digits") << "f_setus" << 7 << "123456789012345" << QVariant(123456789012345LL);
    QTest::newRow("N too large") << "f_setus" << 7 << "1E999" << QVariant(0);
    QTest::newRow("N beyond 15 digits") << "f_setus" << 7 << "1234567890123456789" << QVariant(qlonglong(1234567890123460000LL));
    QTest::newRow("N long fraction rounded to 15 digits") << "f_setus" << 7 << "0.12345678901234567" << QVariant(0.123456789012346);
    // Texts: f_setus position 3 (racesword), S.
    QTest::newRow("S trimmed") << "f_setus" << 3 << " \u3000abc\u3000 " << QVariant("abc");
    QTest::newRow("S single quote") << "f_setus" << 3 << "O'Brien's cup" << QVariant("O'Brien's cup");
    QTest::newRow("S quoted comma") << "f_setus" << 3 << "\"a,b\"" << QVariant("a,b");
    QTest::newRow("S leading zero kept") << "f_setus" << 2 << "0613" << QVariant("0613");
    // Texts in the last columns of the widest table (f_wakus, 189 columns).
    QTest::newRow("S f_wakus position 186") << "f_wakus" << 186 << " 12.5 " << QVariant("12.5");
    QTest::newRow("S f_wakus last position") << "f_wakus" << 188 << "\u3000メモ " << QVariant("メモ");
    // Expanded texts: f_kasyu position 3 (sensyname), G.
    QTest::newRow("G expanded") << "f_kasyu" << 3 << " \uE000\uE064 " << QVariant("①1ﾚｰｽ");
    QTest::newRow("G single quote") << "f_kasyu" << 3 << "山'崎\uE042" << QVariant("山'崎崎");
}

void TestImporters::conversions()
{
    QFETCH(QString, table);
    QFETCH(int, position);
    QFETCH(QString, field);
    QFETCH(QVariant, stored);

    ProgramFolder folder;
    const QByteArray name = table.toLatin1();
    QStringList record = recordFor(name.constData(), {1, 2, 3});
    record[position] = field;
    writePaper(folder.file("receive"), name.constData(), {record});
    QCOMPARE(import(name.constData(), folder.file("receive")), 1);

    const char *column = findTable(name.constData())->columns[position].name;
    const QVariant got = value(QStringLiteral("select \"%1\" from %2").arg(QLatin1String(column), table));
    const QString type = value(QStringLiteral("select typeof(\"%1\") from %2").arg(QLatin1String(column), table)).toString();
    if (stored.typeId() == QMetaType::QString) {
        QCOMPARE(type, QString("text"));
        QCOMPARE(got.toString(), stored.toString());
    } else {
        // Integral values are stored as integers (shown "40", not "40.0").
        QCOMPARE(type, stored.typeId() == QMetaType::Double ? QString("real") : QString("integer"));
        QCOMPARE(got.toDouble(), stored.toDouble());
    }
}

void TestImporters::importingTwiceKeepsOneRowPerKey()
{
    ProgramFolder folder;
    const QString receive = folder.file("receive");
    QList<QStringList> races;
    for (int r = 1; r <= 12; ++r)
        races << recordFor("f_races", {500, 1, r});
    writePaper(receive, "f_races", races);
    QCOMPARE(import("f_races", receive), 12);

    races[4][3] = QStringLiteral("changed");
    writePaper(receive, "f_races", races);
    QCOMPARE(import("f_races", receive), 12);
    QCOMPARE(rowCount("f_races"), 12);
    QCOMPARE(value("select racesname from f_races where racesno = 5").toString(), QString("changed"));
}

void TestImporters::setfgKeysIncludeTheVenue()
{
    ProgramFolder folder;
    const QString receive = folder.file("receive");
    QStringList venue1 = recordFor("f_setfg", {1, 700, 2});
    QStringList venue2 = recordFor("f_setfg", {2, 700, 2});
    venue1[3] = "20020305";
    venue2[3] = "20020306";
    writePaper(receive, "f_setfg", {venue1, venue2});
    import("f_setfg", receive);

    venue1[3] = "20020401";
    writePaper(receive, "f_setfg", {venue1});
    import("f_setfg", receive);
    QCOMPARE(rowCount("f_setfg"), 2);
    QCOMPARE(value("select \"Date\" from f_setfg where kyosocode = 1").toString(), QString("20020401"));
    QCOMPARE(value("select \"Date\" from f_setfg where kyosocode = 2").toString(), QString("20020306"));
}

void TestImporters::yososSpacedPositions()
{
    ProgramFolder folder;
    const QString receive = folder.file("receive");
    QStringList record = recordFor("f_yosos", {1, 1, 1});
    record[13] = "\u3000abc";
    record[14] = "";
    record[15] = "\uE000 ";
    record[16] = " \uE06D";
    writePaper(receive, "f_yosos", {record});
    import("f_yosos", receive);

    QSqlQuery q = modkelmon::exec("select * from f_yosos");
    QVERIFY(q.next());
    QCOMPARE(q.value(13).toString(), QString("\u3000abc"));
    QCOMPARE(q.value(14).toString(), QString("\u3000"));
    QCOMPARE(q.value(15).toString(), QString("\u3000①"));
    QCOMPARE(q.value(16).toString(), QString("10ﾚｰｽ"));
}

void TestImporters::tokhmReadsFiftyEightStoresFiftySeven()
{
    ProgramFolder folder;
    const QString receive = folder.file("receive");
    QStringList first = recordFor("f_tokhm", {9, 1, 1}, 1);
    QStringList second = recordFor("f_tokhm", {9, 1, 2}, 1);
    QCOMPARE(first.size(), 58);
    first[56] = "5.5";
    first[57] = "777";   // read and dropped
    writePaper(receive, "f_tokhm", {first, second});
    QCOMPARE(import("f_tokhm", receive), 2);

    QCOMPARE(rowCount("f_tokhm"), 2);
    QSqlQuery q = modkelmon::exec("select * from f_tokhm order by tokujun_ks");
    QVERIFY(q.next());
    QCOMPARE(q.record().count(), 57);
    QCOMPARE(q.value(56).toDouble(), 5.5);
}

void TestImporters::emptyAndMissingFiles()
{
    ProgramFolder folder;
    const QString receive = folder.file("receive");
    QVERIFY(writeFile(QDir(receive).filePath("KELMFA.TXT"), QByteArray()));
    QCOMPARE(save_f_setus(receive), 0);
    QCOMPARE(save_f_setfg(receive), 0);   // no file at all
    QCOMPARE(rowCount("f_setus"), 0);
}

void TestImporters::registersRealArchive()
{
    // A -lh5- archive made by another archiver: three meetings, twelve races
    // and a photo; photo/ is missing and is created.
    ProgramFolder folder;
    QVERIFY(QDir(folder.file("photo")).removeRecursively());
    const ArchiveRegistration r = register_archive(dataPath("paper_lh5.lzh"));
    QVERIFY2(r.registered, qPrintable(r.message));
    QCOMPARE(rowCount("f_setus"), 3);
    QCOMPARE(rowCount("f_races"), 12);
    QCOMPARE(value("select racesword from f_setus where setuscode = 12345").toString(), QString("ＳＧ　第5回,記念"));
    QVERIFY(QFile::exists(folder.file("photo/4321.gif")));
    QVERIFY(QFile::exists(dataPath("paper_lh5.lzh")));
}

void TestImporters::cutFileRollsBackWholeArchive()
{
    ProgramFolder folder;
    // An earlier paper stays as it was.
    QVERIFY(writeLzh(folder.file("receive/first.lzh"),
                     {{"kelmfa.txt", paperLines({recordFor("f_setus", {1})})},
                      {"kelmfc.txt", paperLines({recordFor("f_races", {1, 1, 1})})}}));
    QVERIFY(register_archive(folder.file("receive/first.lzh")).registered);
    const QList<int> before = allCounts();

    // The next one: good files before and after a race card cut short.
    QByteArray cut = paperLines({recordFor("f_wakus", {2, 1, 1, 1}), recordFor("f_wakus", {2, 1, 1, 2})});
    cut.chop(40);
    QVERIFY(writeLzh(folder.file("receive/02351l15.lzh"),
                     {{"kelmfa.txt", paperLines({recordFor("f_setus", {2})})},
                      {"kelmfc.txt", paperLines({recordFor("f_races", {2, 1, 1})})},
                      {"kelmfd.txt", cut},
                      {"kelmfo.txt", paperLines({recordFor("f_boats", {2, 1, 5})})},
                      {"1111.gif", "GIF89a"}}));
    const ArchiveRegistration r = register_archive(folder.file("receive/02351l15.lzh"));
    QVERIFY(!r.registered);
    QVERIFY(r.message.contains("02351l15.lzh"));
    QVERIFY(r.message.contains("kelmfd.txt"));
    QCOMPARE(allCounts(), before);
    QCOMPARE(value("select count(*) from f_setus where setuscode = 2").toInt(), 0);
    QVERIFY(!QFile::exists(folder.file("photo/1111.gif")));
    // The archive is left where it was; no work folder is left behind.
    QVERIFY(QFile::exists(folder.file("receive/02351l15.lzh")));
    QCOMPARE(QDir(folder.file("receive")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"02351l15.lzh", "first.lzh"}));
}

// The photos go in place before the rows are committed: when they cannot,
// the archive's rows are not kept and it stays waiting.
void TestImporters::photosThatCannotBePlacedRollBack()
{
    ProgramFolder folder;
    const QList<int> before = allCounts();
    QVERIFY(writeLzh(folder.file("receive/02351l15.lzh"),
                     {{"1111.gif", "GIF89a"},
                      {"kelmfa.txt", paperLines({recordFor("f_setus", {2})})},
                      {"kelmfc.txt", paperLines({recordFor("f_races", {2, 1, 1})})}}));
    // While the rows are read, the photo folder with the staged photos is
    // moved away and a plain file takes its name.
    bool moved = false;
    RegistrationHooks hooks;
    hooks.afterRecord = [&] {
        if (moved)
            return;
        moved = QDir().rename(folder.file("photo"), folder.file("photo-away"));
        QVERIFY(writeFile(folder.file("photo"), "not a folder"));
    };
    const ArchiveRegistration r = register_archive(folder.file("receive/02351l15.lzh"), hooks);
    QVERIFY(moved);
    QVERIFY(!r.registered);
    QVERIFY(r.message.contains("02351l15.lzh"));
    QCOMPARE(allCounts(), before);
    QVERIFY(QFile::exists(folder.file("receive/02351l15.lzh")));
}

void TestImporters::leftoversAreNotImported()
{
    // Text files and photos lying in receive/ from an earlier run are not
    // part of the next archive.
    ProgramFolder folder;
    const QString receive = folder.file("receive");
    writePaper(receive, "f_setus", {recordFor("f_setus", {99})});
    QVERIFY(writeFile(QDir(receive).filePath("9999.gif"), "GIF89a"));
    QVERIFY(writeLzh(folder.file("receive/a.lzh"), {{"kelmfc.txt", paperLines({recordFor("f_races", {3, 1, 1})})}}));
    QVERIFY(register_archive(folder.file("receive/a.lzh")).registered);
    QCOMPARE(rowCount("f_setus"), 0);
    QCOMPARE(rowCount("f_races"), 1);
    QVERIFY(!QFile::exists(folder.file("photo/9999.gif")));
}

void TestImporters::unreadableArchiveIsReported()
{
    ProgramFolder folder;
    QVERIFY(QFile::copy(dataPath("truncated.lzh"), folder.file("receive/02351l15.lzh")));
    const ArchiveRegistration r = register_archive(folder.file("receive/02351l15.lzh"));
    QVERIFY(!r.registered);
    QVERIFY(r.message.contains("02351l15.lzh"));
    QVERIFY(r.message.contains("途中で切れています"));
    QCOMPARE(allCounts(), QList<int>(13, 0));
}

// A whole paper through the archive: an end-of-file mark registers it as
// written; undecodable bytes or an unclosed quote leave the database as it was.
void TestImporters::paperFileBytes_data()
{
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("reason");
    QTest::newRow("end-of-file mark") << QByteArray("\x1a") << true << QString();
    QTest::newRow("bytes that are no character") << QByteArray("1,1,2,\x85\x40,1015\r\n") << false
                                                 << QStringLiteral("紙面ファイル kelmfc.txt の 2 行目に読めない文字が有ります");
    QTest::newRow("quote never closed") << QByteArray("1,1,2,x,\"1525") << false
                                        << QStringLiteral("紙面ファイル kelmfc.txt が途中で終わっています");
}

void TestImporters::paperFileBytes()
{
    QFETCH(QByteArray, tail);
    QFETCH(bool, registered);
    QFETCH(QString, reason);
    ProgramFolder folder;
    QVERIFY(writeLzh(folder.file("receive/02351l15.lzh"),
                     {{"kelmfa.txt", paperLines({recordFor("f_setus", {1})})},
                      {"kelmfc.txt", paperLines({recordFor("f_races", {1, 1, 1})}) + tail}}));
    const ArchiveRegistration r = register_archive(folder.file("receive/02351l15.lzh"));
    QCOMPARE(r.registered, registered);
    QCOMPARE(rowCount("f_setus"), registered ? 1 : 0);
    QCOMPARE(rowCount("f_races"), registered ? 1 : 0);
    if (!registered)
        QVERIFY2(r.message.endsWith(reason), qPrintable(r.message));
}

QTEST_GUILESS_MAIN(TestImporters)
#include "tst_importers.moc"
