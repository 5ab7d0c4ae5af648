// The registration dialog: what it shows, the registration run end to end on
// generated papers, bad archives, discarding, and refusing to close.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/textforms.h"
#include "platform/messages.h"
#include "registration/gaiji.h"
#include "samplepaper/samplepaper.h"
#include "registration/ui/frmdatabase.h"
#include "registration/ui/progressstatus.h"
#include "support/testenv.h"
#include "helpers/paperfiles.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QSqlQuery>
#include <QtTest>

#include <cstdio>

using namespace kelmon;

namespace {

SamplePaperOptions options(int day, quint32 seed = 7)
{
    SamplePaperOptions o;
    o.venue = 4;
    o.date = QDate(2002, 3, 4 + day);
    o.day = day;
    o.seed = seed;
    o.singleQuoteName = true;
    return o;
}

QString receive(const test::ProgramFolder &f) { return f.file("receive"); }

int rowCount(const char *table)
{
    return modkelmon::scalar(QStringLiteral("select count(*) from %1").arg(QString::fromLatin1(table))).toInt();
}

// The value a field of the paper file is stored as, by the column's kind.
QVariant stored(char kind, const QString &field, int position, const QString &table)
{
    if (kind == 'N')
        return val(field);
    QString text = trimBlanks(field);
    if (kind == 'G')
        text = conv_gaiji(text);
    if (table == "f_yosos" && position >= 13 && position <= 15)
        text = QStringLiteral("　") + text;
    return text;
}

} // namespace

class TestFrmdatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsCountAndTitle_data();
    void showsCountAndTitle();
    void emptyReceiveWarnsTwice();
    void registersExactlyTheGeneratedRows();
    void badArchivesAreReportedAndKept();
    void discardEmptiesReceive();
    void refusesToCloseWhileRunning();
    void staleWorkFoldersAreRemoved();
    void registeredButNotBackedUp();
    void namesThatAreNoValidText();
};

void TestFrmdatabase::showsCountAndTitle_data()
{
    QTest::addColumn<int>("archives");
    QTest::addColumn<QString>("suffix");
    // A title ends with its date in brackets; "ほか" follows only when more wait.
    QTest::newRow("one") << 1 << ")";
    QTest::newRow("two") << 2 << ")ほか";
    QTest::newRow("three") << 3 << ")ほか";
}

void TestFrmdatabase::showsCountAndTitle()
{
    QFETCH(int, archives);
    QFETCH(QString, suffix);
    test::ProgramFolder folder;
    QString error;
    const QStringList names = writeSamplePapers(receive(folder), options(1), archives, &error);
    QCOMPARE(names.size(), archives);
    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    QVERIFY(box.shown().empty());
    QCOMPARE(dialog.lblcount->text(), QString::number(archives));
    QVERIFY2(dialog.lblnewspname->text().endsWith(suffix), qPrintable(dialog.lblnewspname->text()));
    QVERIFY(dialog.lblnewspname->text().startsWith("平和島 "));
}

void TestFrmdatabase::emptyReceiveWarnsTwice()
{
    test::ProgramFolder folder;
    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    QCOMPARE(dialog.lblcount->text(), QString("0"));
    dialog.cmddatabase_Click();
    QCOMPARE(box.texts(), QStringList({"ダウンロードされたデジタル紙面が有りません",
                                       "ダウンロードされたデジタル紙面が有りません"}));
    QCOMPARE(box.shown()[1].kind, ScriptedMessages::Shown::Information);
}

void TestFrmdatabase::registersExactlyTheGeneratedRows()
{
    test::ProgramFolder folder;
    const SamplePaper day2 = makeSamplePaper(options(2));
    QString error;
    // Day 1 then day 2 of the same meeting; day 2 is written twice to show
    // that registering a paper again leaves one row per key.
    QVERIFY(!writeSamplePaper(receive(folder), options(1), &error).isEmpty());
    QVERIFY(!writeSamplePaper(receive(folder), options(2), &error).isEmpty());

    ScriptedMessages box;
    frmdatabase dialog;
    QList<int> progress;
    connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, this,
            [&](int v) { progress << v; });
    dialog.firstActivation();
    QCOMPARE(dialog.lblcount->text(), QString("2"));
    box.answer(true);
    dialog.cmddatabase_Click();
    QCOMPARE(box.texts(), QStringList{"デジタル紙面を登録しますか？"});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.status()->running());
    QCOMPARE(*std::max_element(progress.begin(), progress.end()), 86);
    QCOMPARE(progress.count(0), 2);   // the bar starts at 0 and starts again for the second archive

    // Archives backed up and gone from receive/, photos copied.
    QCOMPARE(QDir(receive(folder)).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 0);
    QCOMPARE(QDir(receive(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 0);
    QCOMPARE(QDir(folder.file("backup")).entryList({"*.lzh"}).size(), 2);
    QVERIFY(QDir(folder.file("photo")).entryList({"*.gif"}).size() >= 48);

    // Day 2's rows of every table are exactly the generated records.
    for (const SamplePaperTable &t : day2.tables) {
        const PaperTable *layout = findTable(t.table.toLatin1().constData());
        QVERIFY(layout);
        const int stored_ = static_cast<int>(layout->columnCount);
        for (const QStringList &record : t.records) {
            QStringList where;
            QVariantList keys;
            const QStringList keyNames = QString::fromLatin1(layout->primaryKey).split(", ");
            for (const QString &k : keyNames) {
                int pos = 0;
                while (QString::fromLatin1(layout->columns[pos].name) != k)
                    ++pos;
                where << k + " = ?";
                keys << val(record[pos]);
            }
            QSqlQuery q = modkelmon::exec("select * from " + t.table + " where " + where.join(" and "), keys);
            QVERIFY2(q.next(), qPrintable(t.table + ": " + record.join(',')));
            for (int i = 0; i < stored_; ++i) {
                const QVariant want = stored(layout->columns[i].kind, record[i], i, t.table);
                if (layout->columns[i].kind == 'N')
                    QVERIFY2(qFuzzyCompare(1.0 + q.value(i).toDouble(), 1.0 + want.toDouble()),
                             qPrintable(t.table + "." + layout->columns[i].name));
                else
                    QCOMPARE(q.value(i).toString(), want.toString());
            }
            QVERIFY(!q.next());
        }
    }
    // No other rows: each table holds exactly the distinct keys of both days' records.
    const SamplePaper day1 = makeSamplePaper(options(1));
    for (int n = 0; n < day2.tables.size(); ++n) {
        const PaperTable *layout = findTable(day2.tables[n].table.toLatin1().constData());
        const int keyCount = int(QString::fromLatin1(layout->primaryKey).split(", ").size());
        QSet<QString> keys;
        for (const SamplePaper *paper : {&day1, &day2})
            for (const QStringList &record : paper->tables[n].records) {
                QStringList key;
                for (int i = 0; i < keyCount; ++i)
                    key << plainNumber(val(record[i]));
                keys << key.join(',');
            }
        QCOMPARE(rowCount(layout->name), int(keys.size()));
    }
    QCOMPARE(rowCount("f_setfg"), 2);
    QCOMPARE(rowCount("f_wakus"), 144);
    QVERIFY(folder.exits().empty());
}

void TestFrmdatabase::badArchivesAreReportedAndKept()
{
    test::ProgramFolder folder;
    QString error;
    const QString good = writeSamplePaper(receive(folder), options(1), &error);
    SamplePaperOptions cut = options(2);
    cut.cutShortFile = "kelmfd.txt";
    const QString cutName = writeSamplePaper(receive(folder), cut, &error);
    QFile junk(QDir(receive(folder)).filePath("0231ab11.LZH"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("this is not an archive");
    junk.close();

    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    QCOMPARE(dialog.lblcount->text(), QString("3"));
    box.answer(true);
    dialog.cmddatabase_Click();
    QCOMPARE(dialog.failures().size(), 2);
    const QString report = box.shown().back().text;
    QVERIFY(report.contains(cutName));
    QVERIFY(report.contains("0231ab11.LZH"));
    // The bad archives stay in receive/, out of the backup and the database.
    QVERIFY(QFile::exists(QDir(receive(folder)).filePath(cutName)));
    QVERIFY(QFile::exists(junk.fileName()));
    QVERIFY(!QFile::exists(folder.file("backup/" + cutName)));
    QVERIFY(QFile::exists(folder.file("backup/" + good)));
    QCOMPARE(modkelmon::scalar("select count(*) from f_setfg where datescnt = 2").toInt(), 0);
    QCOMPARE(modkelmon::scalar("select count(*) from f_wakus where datescnt = 2").toInt(), 0);
    QCOMPARE(modkelmon::scalar("select count(*) from f_wakus where datescnt = 1").toInt(), 72);
    QVERIFY(folder.exits().empty());
}

void TestFrmdatabase::discardEmptiesReceive()
{
    test::ProgramFolder folder;
    QString error;
    writeSamplePaper(receive(folder), options(1), &error);
    for (const char *name : {"kelmfa.TXT", "1234.Gif", "keep.dat"}) {
        QFile f(QDir(receive(folder)).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    dialog.cmddelete_Click();   // answered No
    QCOMPARE(box.shown().back().title, QString("削除の確認です..."));
    QCOMPARE(modkelmon::count_lzh_files(), 1);
    box.answer(true);
    dialog.cmddelete_Click();
    QCOMPARE(QDir(receive(folder)).entryList(QDir::Files), QStringList{"keep.dat"});
    QCOMPARE(dialog.lblcount->text(), QString("0"));
    QCOMPARE(dialog.lblnewspname->text(), QString());
    dialog.cmddatabase_Click();
    QCOMPARE(box.shown().back().text, QString("ダウンロードされたデジタル紙面が有りません"));
}

void TestFrmdatabase::refusesToCloseWhileRunning()
{
    test::ProgramFolder folder;
    QString error;
    writeSamplePaper(receive(folder), options(1), &error);
    ScriptedMessages box;
    frmdatabase dialog;
    dialog.show();
    dialog.firstActivation();
    bool tried = false;
    bool visibleAfterClose = false;
    connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, this, [&](int v) {
        if (v == 40 && !tried) {
            tried = true;
            dialog.close();
            dialog.reject();   // Escape
            visibleAfterClose = dialog.isVisible();
        }
    });
    box.answer(true);
    dialog.cmddatabase_Click();
    QVERIFY(tried);
    QVERIFY(visibleAfterClose);
    QCOMPARE(box.texts().count("デジタル紙面を登録中のため終了出来ません"), 2);
    QCOMPARE(modkelmon::scalar("select count(*) from f_wakus").toInt(), 72);
    QVERIFY(!dialog.isVisible());
}

void TestFrmdatabase::staleWorkFoldersAreRemoved()
{
    // Work folders and a staged photo of a run that was killed; a hidden folder of another name
    // and a link named like a work folder are left alone (nor is the link's
    // target touched).
    test::ProgramFolder folder;
    QString error;
    QVERIFY(!writeSamplePaper(receive(folder), options(1), &error).isEmpty());
    const QDir dir(receive(folder));
    for (const char *stale : {".kelmon-work-a1B2c3/kelmfd.txt", ".kelmon-work-zzzzzz/x/1234.gif", ".other/keep.txt",
                              "target/keep.txt"}) {
        QVERIFY(dir.mkpath(QFileInfo(dir.filePath(stale)).path()));
        QVERIFY(test::writeFile(dir.filePath(stale), "x"));
    }
    QVERIFY(QFile::link(dir.filePath("target"), dir.filePath(".kelmon-work-link00")));
    QVERIFY(test::writeFile(folder.file("photo/.kelmon-photo-Ab12Cd"), "GIF89a"));

    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    box.answer(true);
    dialog.cmddatabase_Click();
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{".kelmon-work-link00", ".other", "target"}));
    QVERIFY(QFile::exists(dir.filePath("target/keep.txt")));
    QVERIFY(!QFile::exists(folder.file("photo/.kelmon-photo-Ab12Cd")));
    QCOMPARE(rowCount("f_wakus"), 72);
}

void TestFrmdatabase::registeredButNotBackedUp()
{
    // A folder in backup/ holds the archive's name, so no copy can take it.
    test::ProgramFolder folder;
    QString error;
    const QString name = writeSamplePaper(receive(folder), options(1), &error);
    QVERIFY(QDir(folder.file("backup")).mkpath(name + "/inside"));

    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    box.answer(true);
    dialog.cmddatabase_Click();
    QCOMPARE(dialog.failures(), QStringList());
    QCOMPARE(dialog.notBackedUp(), QStringList{name});
    QCOMPARE(box.shown().back().text, QStringLiteral("次のデジタル紙面は登録しましたが、バックアップフォルダへ複写できませんでした\r\n"
                                                     "ファイルは受信フォルダに残してあります\r\n\r\n")
                                          + name);
    QCOMPARE(rowCount("f_wakus"), 72);
    QVERIFY(QFile::exists(QDir(receive(folder)).filePath(name)));
    QVERIFY(QFileInfo::exists(folder.file("backup/" + name + "/inside")));
    QCOMPARE(QDir(folder.file("backup")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{name});
    QVERIFY(folder.exits().empty());
}

void TestFrmdatabase::namesThatAreNoValidText()
{
    // Two archives whose names are code page 932 bytes, not valid UTF-8: both
    // are counted, registered once each and backed up under readable names;
    // a third is discarded.
    test::ProgramFolder folder;
    QString error;
    const QByteArray dir = QFile::encodeName(receive(folder)) + '/';
    const QByteArray raw[] = {"\x83\x65\x83\x58\x83\x67.lzh", "\x83\x65\x83\x58\x83\x68.LZH"};
    for (int day = 1; day <= 2; ++day) {
        const QString name = writeSamplePaper(receive(folder), options(day), &error);
        QCOMPARE(std::rename((dir + QFile::encodeName(name)).constData(), (dir + raw[day - 1]).constData()), 0);
    }
    QCOMPARE(modkelmon::count_lzh_files(), 2);

    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    QCOMPARE(dialog.lblcount->text(), QString("2"));
    box.answer(true);
    dialog.cmddatabase_Click();
    QCOMPARE(box.texts(), QStringList{"デジタル紙面を登録しますか？"});
    QCOMPARE(rowCount("f_wakus"), 144);
    QCOMPARE(QDir(folder.file("backup")).entryList(QDir::Files), (QStringList{"%83e%83X%83g.lzh", "%83e%83X%83h.LZH"}));
    QCOMPARE(modkelmon::count_lzh_files(), 0);

    QVERIFY(test::writeFile(receive(folder) + "/x", "x"));
    QCOMPARE(std::rename((dir + "x").constData(), (dir + raw[0]).constData()), 0);
    frmdatabase again;
    again.firstActivation();
    QCOMPARE(again.lblcount->text(), QString("1"));
    box.answer(true);
    again.cmddelete_Click();
    QCOMPARE(modkelmon::count_lzh_files(), 0);
    QCOMPARE(QDir(receive(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

QTEST_MAIN(TestFrmdatabase)
#include "tst_frmdatabase.moc"
