// The paper-file importers and the registration of one archive: stored
// values, replacement by key, fixed positions, and an archive that is
// registered wholly or not at all.

#include "registration/importers.h"
#include "registration/registerarchive.h"

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>
#include <QtTest>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kelmon;
using namespace kelmon::test;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// One record per line, fields joined by commas, CR LF after each, in code page 932.
QByteArray paperLines(const QList<QStringList> &records)
{
    QString text;
    for (const QStringList &r : records)
        text += r.join(u',') + QStringLiteral("\r\n");
    QStringEncoder encoder("windows-31j");
    return encoder.encode(text);
}

// A record of the table's column count (plus extra fields): keys from
// `keys`, N positions "0", S and G positions "x".
QStringList recordFor(const char *table, const QList<int> &keys, int extraFields = 0)
{
    QStringList fields;
    const PaperTable *t = findTable(table);
    for (std::size_t i = 0; i < t->columnCount; ++i)
        fields << (qsizetype(i) < keys.size() ? QString::number(keys[i]) : t->columns[i].kind == 'N' ? "0" : "x");
    return fields + QStringList(extraFields, "0");
}

// Writes an LHA archive with headers of that level holding the entries (name,
// bytes) as stored data.
bool writeLzh(const QString &path, const QList<QPair<QString, QByteArray>> &entries, int level = 0)
{
    QList<LhaEntry> list;
    for (const auto &[name, data] : entries)
        list << LhaEntry{name, data, QDateTime(QDate(2002, 3, 5), QTime(12, 0))};
    return writeFile(path, buildLzhArchive(list, level));
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// Registers, in the session, an archive of one meeting row and the entries;
// `cut` ends its race card inside a record so that the archive fails.
ArchiveRegistration registerPaper(const QString &receive, RegistrationSession &session, int meeting,
                                  QList<QPair<QString, QByteArray>> entries, bool cut = false)
{
    entries << qMakePair(QString("kelmfa.txt"), paperLines({recordFor("f_setus", {meeting})}));
    if (cut)
        entries << qMakePair(QString("kelmfd.txt"), paperLines({recordFor("f_wakus", {meeting, 1, 1, 1})}).chopped(9));
    const QString path = QStringLiteral("%1/paper%2.lzh").arg(receive).arg(meeting);
    if (!writeLzh(path, entries, 1))
        return {false, "archive not written"};
    return register_archive(path, {}, &session);
}

QVariant value(const QString &sql) { return modkelmon::scalar(sql); }
int rowCount(const char *table) { return value(QStringLiteral("select count(*) from %1").arg(table)).toInt(); }

// Every paper table's row count, in registration order.
QList<int> allCounts()
{
    QList<int> out;
    for (const PaperImporter &i : paperImporters())
        out << rowCount(i.table->name);
    return out;
}

// Imports the records as the table's paper file.
int import(const char *table, const QList<QStringList> &records)
{
    ImportStatements statements;
    modkelmon::Transaction tx;
    const int n = importPaperText(*findImporter(table), paperLines(records), statements);
    tx.commit();
    return n;
}

const QString failedPrefix = QStringLiteral("デジタル紙面 02351l15.lzh を登録できませんでした。\r\n");

} // namespace

class TestImporters : public DatabaseTest {
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
    void replacesRowsOfTheSameKey();
    void fixedPositions();
    void failedArchiveLeavesTheDatabase_data();
    void failedArchiveLeavesTheDatabase();
    void sessionRewritesReplacedPhotosExactly();
    void onlyPhotoFilesAreWrittenOver();
    void spareFileNameIsNeverWrittenThrough_data();
    void spareFileNameIsNeverWrittenThrough();
    void spareFileHeldWhileWritten();
};

void TestImporters::conversions_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("stored");

    // Numbers: f_setus position 7 (bordrcnt); integral values stay integers.
    QTest::newRow("N negative whole") << "f_setus" << 7 << "-5" << QVariant(-5);
    QTest::newRow("N negative fraction") << "f_setus" << 7 << "-6.25" << QVariant(-6.25);
    QTest::newRow("N fraction with unit") << "f_setus" << 7 << "12.5kg" << QVariant(12.5);
    QTest::newRow("N blanks between digits") << "f_setus" << 7 << " 1 2 " << QVariant(12);
    QTest::newRow("N hexadecimal") << "f_setus" << 7 << "&H1F" << QVariant(31);
    QTest::newRow("N fifteen digits") << "f_setus" << 7 << "123456789012345" << QVariant(123456789012345LL);
    QTest::newRow("N too large") << "f_setus" << 7 << "1E999" << QVariant(0);
    QTest::newRow("N beyond 15 digits") << "f_setus" << 7 << "1234567890123456789" << QVariant(1234567890123460000LL);
    QTest::newRow("N long fraction") << "f_setus" << 7 << "0.12345678901234567" << QVariant(0.123456789012346);
    // Texts: f_setus position 3 (racesword), S: trimmed of both blanks.
    QTest::newRow("S trimmed") << "f_setus" << 3 << " \u3000abc\u3000 " << QVariant("abc");
    QTest::newRow("S quoted comma") << "f_setus" << 3 << "\"a,b\"" << QVariant("a,b");
    QTest::newRow("S last of 189 columns") << "f_wakus" << 188 << "\u3000メモ " << QVariant("メモ");
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
    const QByteArray name = table.toLatin1();
    QStringList record = recordFor(name.constData(), {1, 2, 3});
    record[position] = field;
    QCOMPARE(import(name.constData(), {record}), 1);
    const QString column = QStringLiteral("\"%1\"").arg(findTable(name.constData())->columns[position].name);
    QSqlQuery q = modkelmon::exec("select " + column + ", typeof(" + column + ") from " + table);
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), stored.typeId() == QMetaType::QString ? "text"
                                    : stored.typeId() == QMetaType::Double ? "real" : "integer");
    if (stored.typeId() == QMetaType::QString)
        QCOMPARE(q.value(0).toString(), stored.toString());
    else
        QCOMPARE(q.value(0).toDouble(), stored.toDouble());
}

// A paper registered again replaces the rows of the same key (the venue is
// part of the day's key) and leaves the others.
void TestImporters::replacesRowsOfTheSameKey()
{
    QStringList venue1 = recordFor("f_setfg", {1, 700, 2, 20020305});
    QStringList venue2 = recordFor("f_setfg", {2, 700, 2, 20020306});
    QCOMPARE(import("f_setfg", {venue1, venue2}), 2);
    venue1[3] = "20020401";
    QCOMPARE(import("f_setfg", {venue1}), 1);
    QCOMPARE(rowCount("f_setfg"), 2);
    QCOMPARE(value("select group_concat(\"Date\") from (select \"Date\" from f_setfg order by kyosocode)").toString(),
             QString("20020401,20020306"));
}

// The prediction's three comment columns are stored with a leading
// ideographic blank; the points file carries a 58th field that is dropped.
void TestImporters::fixedPositions()
{
    QStringList record = recordFor("f_yosos", {1, 1, 1});
    record[12] = " a ";
    record[13] = "\u3000abc";
    record[14] = "";
    record[15] = "\uE000 ";
    record[16] = " \uE06D";
    import("f_yosos", {record});
    QSqlQuery q = modkelmon::exec("select * from f_yosos");
    QVERIFY(q.next());
    const QStringList stored{q.value(12).toString(), q.value(13).toString(), q.value(14).toString(),
                             q.value(15).toString(), q.value(16).toString()};
    QCOMPARE(stored, (QStringList{"a", "\u3000abc", "\u3000", "\u3000①", "10ﾚｰｽ"}));

    QStringList first = recordFor("f_tokhm", {9, 1, 1}, 1);
    first[56] = "5.5";
    first[57] = "777";   // read and dropped
    QCOMPARE(import("f_tokhm", {first, recordFor("f_tokhm", {9, 1, 2}, 1)}), 2);
    q = modkelmon::exec("select * from f_tokhm order by tokujun_ks");
    QVERIFY(q.next());
    QCOMPARE(q.record().count(), 57);
    QCOMPARE(q.value(56).toDouble(), 5.5);
    // An empty file and a missing one import nothing.
    QVERIFY(writeFile(folder->file("receive/KELMFA.TXT"), QByteArray()));
    QCOMPARE(save_f_setus(folder->file("receive")) + save_f_setfg(folder->file("receive")), 0);
}

// After a paper made by another archiver (-lh5-: three meetings, twelve
// races, a photo; photo/ missing and created), an archive whose paper file
// cannot be read to its end, or that cannot be extracted, registers nothing,
// places no photo and stays in receive/; an end-of-file mark ends a paper as
// written. Files left in receive/ by an earlier run are no part of it. The
// photos go in place before the rows are committed: when they cannot, the
// rows are not kept.
void TestImporters::failedArchiveLeavesTheDatabase_data()
{
    QTest::addColumn<QByteArray>("raceCard");
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("photoFolderTaken");
    QByteArray cut = paperLines({recordFor("f_wakus", {2, 1, 1, 1}), recordFor("f_wakus", {2, 1, 1, 2})});
    cut.chop(40);
    const QByteArray card = paperLines({recordFor("f_wakus", {2, 1, 1, 1})});
    QTest::newRow("race card cut short") << cut << "" << "紙面ファイル kelmfd.txt が途中で終わっています" << false;
    QTest::newRow("bytes that are no character") << card + "2,1,1,\x85\x40,1015\r\n" << ""
                                                 << "紙面ファイル kelmfd.txt の 2 行目に読めない文字が有ります" << false;
    QTest::newRow("quote never closed") << card + "2,1,1,x,\"1525" << "" << "紙面ファイル kelmfd.txt が途中で終わっています" << false;
    QTest::newRow("archive cut short") << QByteArray() << "truncated.lzh" << "圧縮ファイルが途中で切れています" << false;
    QTest::newRow("photos cannot be placed") << card << "" << "写真ファイルを置き換えられません" << true;
    QTest::newRow("end-of-file mark") << card + "\x1a\r\n" << "" << "" << false;
}

void TestImporters::failedArchiveLeavesTheDatabase()
{
    QFETCH(QByteArray, raceCard);
    QFETCH(QString, fixture);
    QFETCH(QString, reason);
    QFETCH(bool, photoFolderTaken);
    QVERIFY(QDir(folder->file("photo")).removeRecursively());
    const ArchiveRegistration real = register_archive(dataPath("paper_lh5.lzh"));
    QVERIFY2(real.registered, qPrintable(real.message));
    QCOMPARE(value("select racesword from f_setus where setuscode = 12345").toString(), QString("ＳＧ　第5回,記念"));
    QVERIFY(QFile::exists(folder->file("photo/4321.gif")) && QFile::exists(dataPath("paper_lh5.lzh")));
    const QList<int> before = allCounts();
    QVERIFY(writeFile(folder->file("receive/kelmfb.txt"), paperLines({recordFor("f_setfg", {1, 2, 1})})));
    QVERIFY(writeFile(folder->file("receive/9999.gif"), "GIF89a"));

    const QString path = folder->file("receive/02351l15.lzh");
    if (!fixture.isEmpty())
        QVERIFY(QFile::copy(dataPath(fixture), path));
    else
        QVERIFY(writeLzh(path, {{"1111.gif", "GIF89a"},
                                {"kelmfa.txt", paperLines({recordFor("f_setus", {2})})},
                                {"kelmfc.txt", paperLines({recordFor("f_races", {2, 1, 1})})},
                                {"kelmfd.txt", raceCard},
                                {"KELMFO.TXT", paperLines({recordFor("f_boats", {2, 1, 5})})}}));   // names in any case
    // While the rows are read, the photo folder with the staged photos is
    // moved away and a plain file takes its name.
    RegistrationHooks hooks;
    hooks.afterRecord = [&] {
        if (photoFolderTaken && QDir().rename(folder->file("photo"), folder->file("photo-away")))
            photoFolderTaken = !writeFile(folder->file("photo"), "not a folder");
    };
    const ArchiveRegistration r = register_archive(path, hooks);
    QVERIFY(QFile::exists(path) && !photoFolderTaken);
    if (reason.isEmpty()) {
        QVERIFY2(r.registered, qPrintable(r.message));
        QList<int> after = before;
        for (int i : {0, 2, 3, 12})
            ++after[i];
        QCOMPARE(allCounts(), after);
        QVERIFY(QFile::exists(folder->file("photo/1111.gif")) && !QFile::exists(folder->file("photo/9999.gif")));
        return;
    }
    QVERIFY(!r.registered);
    QCOMPARE(r.message.left(failedPrefix.size()), failedPrefix);
    QVERIFY2(r.message.contains(reason), qPrintable(r.message));
    QCOMPARE(allCounts(), before);
    QVERIFY(!QFile::exists(folder->file("photo/1111.gif")));
    QCOMPARE(QDir(folder->file("receive")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"02351l15.lzh", "9999.gif", "kelmfb.txt"}));
}

// A run of registrations in one session: replaced photos' files are written
// again for later photos, which must then hold exactly their new bytes, and
// nothing of them is left in photo/ when the session ends.
void TestImporters::sessionRewritesReplacedPhotosExactly()
{
    auto photo = [&](const QString &name) { return fileBytes(folder->file("photo/" + name)); };
    const QByteArray longA(300, 'A'), longD(400, 'D');
    {
        RegistrationSession session;
        auto registerPaper = [&](int meeting, QList<QPair<QString, QByteArray>> entries, bool cut = false) {
            return ::registerPaper(folder->file("receive"), session, meeting, entries, cut).registered;
        };
        // The later of two photos of one name wins.
        QVERIFY(registerPaper(1, {{"1111.gif", "first"}, {"1111.gif", longA}, {"2222.gif", "GIF89a-two"}}));
        QCOMPARE(photo("1111.gif"), longA);
        // The replaced 1111 (300 bytes) and 2222 become spare files ...
        QVERIFY(registerPaper(2, {{"1111.gif", "GIF89a-short"}, {"2222.gif", "GIF89a-2"}}));
        // ... that the next photos are written into: shorter and longer ones;
        // an earlier photo is replaced whatever the case of its name.
        QVERIFY(QFile::rename(folder->file("photo/2222.gif"), folder->file("photo/2222.GIF")));
        QVERIFY(registerPaper(3, {{"2222.gif", "x"}, {"1111.gif", longD}, {"3333.gif", "new"}}));
        QCOMPARE(photo("1111.gif") + photo("2222.GIF") + photo("3333.gif"), longD + "x" + "new");
        // A failed archive leaves the photos as they were, though its own
        // was staged in a spare file.
        QVERIFY(!registerPaper(4, {{"1111.gif", "lost"}}, true));
        QCOMPARE(photo("1111.gif"), longD);
    }
    QCOMPARE(QDir(folder->file("photo")).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{"1111.gif", "2222.GIF", "3333.gif"}));
}

// What stands at a photo's name and is no photo file of its own is never
// written into, however many archives follow: a named pipe (held open here for
// reading, so that anything written into it shows), a second link of a file
// elsewhere and a link to that file give up their names to the photos; a
// folder is not replaced and its archive is not registered. Nothing is left
// under a temporary name.
void TestImporters::onlyPhotoFilesAreWrittenOver()
{
    const QDir photos(folder->file("photo"));
    const QString outside = folder->file("outside.dat");
    QVERIFY(QDir().mkpath(photos.filePath("3333.gif/inside")) && writeFile(outside, "keep me"));
    const QByteArray pipe = QFile::encodeName(photos.filePath("2222.gif"));
    QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);
    const int reader = ::open(pipe.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    QVERIFY(reader >= 0 && QFile::link(outside, photos.filePath("4444.gif")));
    QVERIFY(::link(QFile::encodeName(outside).constData(), QFile::encodeName(photos.filePath("5555.gif")).constData()) == 0);
    {
        RegistrationSession s;
        const QString receive = folder->file("receive");
        QVERIFY(registerPaper(receive, s, 1, {{"2222.gif", "two"}, {"4444.gif", "four"}, {"5555.gif", "five"}}).registered);
        // The next archive's photos would be written into what was replaced.
        QVERIFY(registerPaper(receive, s, 2, {{"6666.gif", "six"}, {"7777.gif", "seven"}}).registered);
        QVERIFY(registerPaper(receive, s, 3, {{"3333.gif", "three"}}).message.contains("写真ファイルを置き換えられません"));
        // Refused with photos listed before the folder's: none of them is placed.
        QVERIFY(!registerPaper(receive, s, 4, {{"2222.gif", "new"}, {"8888.gif", "new"}, {"3333.gif", "three"}}).registered);
    }
    char piped[8];
    QCOMPARE(::read(reader, piped, sizeof piped), ssize_t(0));
    ::close(reader);
    QByteArray contents = fileBytes(outside);
    for (const QString &name : photos.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        contents += ' ' + name.toUtf8() + '=' + fileBytes(photos.filePath(name));
    QCOMPARE(contents, QByteArray("keep me 2222.gif=two 3333.gif=(missing) 4444.gif=four 5555.gif=five 6666.gif=six "
                                  "7777.gif=seven"));
    QVERIFY(QFileInfo(photos.filePath("3333.gif/inside")).isDir());
}

// Whatever is put at the name of a replaced photo's spare file before the next
// photo is written there is neither written into nor waited on; the next photo
// becomes a new file.
void TestImporters::spareFileNameIsNeverWrittenThrough_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"pipe read", "pipe unread", "link", "second link", "socket", "folder"})
        QTest::newRow(kind) << QString(kind);
}

void TestImporters::spareFileNameIsNeverWrittenThrough()
{
    QFETCH(QString, kind);
    const QDir photos(folder->file("photo"));
    const QString receive = folder->file("receive"), outside = folder->file("outside.dat");
    const QByteArray outsideName = QFile::encodeName(outside);
    RegistrationSession s;
    QVERIFY(writeFile(outside, "keep me") && registerPaper(receive, s, 1, {{"1111.gif", "old"}}).registered);
    QVERIFY(registerPaper(receive, s, 2, {{"1111.gif", "replaced"}}).registered);
    QStringList spares = photos.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QVERIFY(spares.removeOne("1111.gif") && spares.size() == 1);
    const QByteArray spare = QFile::encodeName(photos.filePath(spares[0]));
    const char *at = spare.constData();
    QVERIFY(::unlink(at) == 0);
    const int made = kind == "link"          ? ::symlink(outsideName, at)
                     : kind == "second link" ? ::link(outsideName, at)
                     : kind == "folder"      ? ::mkdir(at, 0700)
                                             : ::mknod(at, (kind == "socket" ? S_IFSOCK : S_IFIFO) | 0600, 0);
    int reader = kind == "pipe read" ? ::open(at, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    QVERIFY(made == 0 && (reader >= 0 || kind != "pipe read"));

    // A registration waiting on the unread pipe is let go after a generous
    // deadline, and the test fails.
    std::atomic<bool> done{false}, released{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 3000 && !done; ++i)
            ::usleep(10000);
        if (!done && kind == "pipe unread")
            released = (reader = ::open(at, O_RDONLY | O_NONBLOCK | O_CLOEXEC)) >= 0;
    });
    const ArchiveRegistration r = registerPaper(receive, s, 3, {{"2222.gif", "two"}});
    done = true;
    watchdog.join();
    char piped[8];
    const ssize_t piledUp = reader >= 0 ? ::read(reader, piped, sizeof piped) : 0;
    ::close(reader);
    QVERIFY2(!released && r.registered && piledUp == 0, qPrintable(r.message));
    QCOMPARE(fileBytes(outside) + fileBytes(photos.filePath("1111.gif")) + fileBytes(photos.filePath("2222.gif")),
             QByteArray("keep mereplacedtwo"));
}

// A replaced photo's file taken again for a photo is held while written: a
// clean-up meanwhile leaves it, and the photo is placed.
void TestImporters::spareFileHeldWhileWritten()
{
    const QString photos = folder->file("photo");
    PhotoSpares spares;
    QByteArray spare;
    const int fd = createStagingFile(photos, photoStagingStem, &spare);
    QVERIFY(fd >= 0 && ::write(fd, "old photo", 9) == 9 && ::close(fd) == 0);
    spares.keep(spare);
    StagedPhotos staged(photos, &spares);
    QString error;
    QVERIFY(staged.begin("1234.gif", &error));
    removeStagingLeftovers(photos, photoStagingStem);
    QVERIFY2(staged.write("GIF89a", 6, &error) && staged.end(&error) && staged.copy_photo(&error), qPrintable(error));
    QCOMPARE(fileBytes(photos + "/1234.gif"), QByteArray("GIF89a"));
}

QTEST_GUILESS_MAIN(TestImporters)
#include "tst_importers.moc"
