// The registration dialog: what it shows, the registration run end to end on
// generated papers, bad archives, discarding, and refusing to close.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/textforms.h"
#include "platform/messages.h"
#include "common/programfolder.h"
#include "registration/gaiji.h"
#include "registration/registerarchive.h"
#include "registration/ui/frmdatabase.h"
#include "registration/ui/progressstatus.h"
#include "samplepaper/samplepaper.h"
#include "support/paintcounter.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QtTest>

#include <array>
#include <csignal>
#include <cstdio>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelmon;

namespace {

SamplePaperOptions options(int day)
{
    SamplePaperOptions o;
    o.venue = 4;
    o.date = QDate(2002, 3, 4 + day);
    o.day = day;
    o.seed = 7;
    o.singleQuoteName = true;
    return o;
}

int rowCount(const QString &table, const QString &where = "1")
{
    return modkelmon::scalar(QStringLiteral("select count(*) from %1 where %2").arg(table, where)).toInt();
}

// The value a field of the paper file is stored as, by the column's kind.
QString stored(char kind, const QString &field, int position, const QString &table)
{
    if (kind == 'N')
        return plainNumber(val(field));
    QString text = trimBlanks(field);
    if (kind == 'G')
        text = conv_gaiji(text);
    return (table == "f_yosos" && position >= 13 && position <= 15 ? "　" : "") + text;
}

// The file open under fd unreadable to this thread while it lives: its mode
// cleared and, when run as root, root's right to pass over modes set aside.
struct Unreadable {
    explicit Unreadable(int fd) : fd(fd)
    {
        ::syscall(SYS_capget, &head, kept.data());
        auto lowered = kept;
        lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
        ::fchmod(fd, 0);
        ::syscall(SYS_capset, &head, lowered.data());
    }
    ~Unreadable()
    {
        ::syscall(SYS_capset, &head, kept.data());
        ::fchmod(fd, 0644);
    }
    int fd;
    __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
    std::array<__user_cap_data_struct, 2> kept{};
};

} // namespace

class TestFrmdatabase : public test::DatabaseTest {
    Q_OBJECT
private Q_SLOTS:
    void showsCountAndTitle_data();
    void showsCountAndTitle();
    void registersExactlyTheGeneratedRows();
    void badArchivesAreReportedAndKept();
    void discardEmptiesReceive();
    void stoppedWorkLeavesNothing();
    void unreadableReceiveIsNamed_data();
    void unreadableReceiveIsNamed();
    void textsShowWholeEnterPressesAButton();

private:
    QString receive() const { return folder->file("receive"); }
};

void TestFrmdatabase::showsCountAndTitle_data()
{
    QTest::addColumn<int>("archives");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("one") << 1 << "";
    QTest::newRow("two") << 2 << "ほか";
    QTest::newRow("three") << 3 << "ほか";
}

// The count in red, and the first archive's title, followed by "ほか" only
// when more wait.
void TestFrmdatabase::showsCountAndTitle()
{
    QFETCH(int, archives);
    QFETCH(QString, suffix);
    QCOMPARE(writeSamplePapers(receive(), options(1), archives).size(), archives);
    const QStringList grades{"", "一般", "ＧⅢ", "ＧⅡ", "ＧⅠ", "ＳＧ"};
    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    QCOMPARE(dialog.lblcount->text(), QString::number(archives));
    dialog.lblcount->ensurePolished();
    QCOMPARE(dialog.lblcount->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(dialog.lblnewspname->text(),
             "平和島 " + grades.value(makeSamplePaper(options(1)).grade) + " 初日版(02/03/05)" + suffix);
}

// Day 1 then day 2 of one meeting, under names that are code page 932 bytes
// (no valid UTF-8): each archive's rows in one transaction, the archives
// backed up under readable names and gone from receive/.
void TestFrmdatabase::registersExactlyTheGeneratedRows()
{
    const QByteArray dir = QFile::encodeName(receive()) + '/';
    const QByteArray raw[] = {"\x83\x65\x83\x58\x83\x67.lzh", "\x83\x65\x83\x58\x83\x68.LZH"};
    for (int day = 1; day <= 2; ++day) {
        const QString name = writeSamplePaper(receive(), options(day));
        QCOMPARE(std::rename((dir + QFile::encodeName(name)).constData(), (dir + raw[day - 1]).constData()), 0);
    }
    ScriptedMessages box;
    frmdatabase dialog;
    QList<int> progress;
    QSet<QString> texts;
    connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, this,
            [&](int v) { progress << v; if (v > 0) texts.insert(dialog.status()->text()); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.firstActivation();
    QCOMPARE(dialog.lblcount->text(), QString("2"));
    // The compaction's status is on the screen before compaction holds the event loop.
    const test::PaintedTexts painted(dialog.status()->findChild<QLabel *>());
    QString paintedAtCompaction;
    modkelmon::set_compaction_hook(
        [&](modkelmon::CompactionStep) { paintedAtCompaction = painted.texts.value(painted.texts.size() - 1); });
    box.answer(true);
    dialog.cmddatabase_Click();
    modkelmon::set_compaction_hook({});
    QCOMPARE(paintedAtCompaction, QString("ＤＢ最適化中..."));
    QCOMPARE(box.texts(), QStringList{"デジタル紙面を登録しますか？"});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.status()->running());
    QCOMPARE(*std::max_element(progress.begin(), progress.end()), 86);
    QCOMPARE(progress.count(0), 2);   // the bar starts again for the second archive
    QCOMPARE(texts, (QSet<QString>{"圧縮ファイル解凍中...", "紙面を登録しています..."}));
    QCOMPARE(QDir(receive()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    QCOMPARE(QDir(folder->file("backup")).entryList(QDir::Files), (QStringList{"%83e%83X%83g.lzh", "%83e%83X%83h.LZH"}));
    QVERIFY(QDir(folder->file("photo")).entryList({"*.gif"}).size() >= 48);

    // Each table holds the records of both days as written, one row per
    // key, day 2's where both have one.
    const SamplePaper day1 = makeSamplePaper(options(1)), day2 = makeSamplePaper(options(2));
    for (int n = 0; n < day2.tables.size(); ++n) {
        const PaperTable *layout = findTable(day2.tables[n].table.toLatin1().constData());
        const int keyCount = int(QByteArrayView(layout->primaryKey).count(',')) + 1;
        QMap<QStringList, QStringList> want, got;
        for (const SamplePaper *paper : {&day1, &day2})
            for (const QStringList &record : paper->tables[n].records) {
                QStringList row;
                for (int i = 0; i < int(layout->columnCount); ++i)
                    row << stored(layout->columns[i].kind, record[i], i, layout->name);
                want[row.first(keyCount)] = row;
            }
        QSqlQuery q = modkelmon::exec(QStringLiteral("select * from ") + layout->name);
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < int(layout->columnCount); ++i)
                row << (layout->columns[i].kind == 'N' ? plainNumber(q.value(i).toDouble()) : q.value(i).toString());
            got[row.first(keyCount)] = row;
        }
        QCOMPARE(got.keys(), want.keys());
        for (const QStringList &key : want.keys())
            QCOMPARE(got[key], want[key]);
    }
}

// One run with a paper cut short, a file that is no archive, an archive that
// cannot be backed up, and the leftovers of a run that was killed: the bad
// archives are reported and stay in receive/ out of the database, the dialog
// cannot be closed while it runs.
void TestFrmdatabase::badArchivesAreReportedAndKept()
{
    const QString good = writeSamplePaper(receive(), options(1));
    SamplePaperOptions cut = options(2);
    cut.cutShortFile = "kelmfd.txt";
    const QString cutName = writeSamplePaper(receive(), cut);
    QVERIFY(QFile(receive() + "/0231ab11.LZH").open(QIODevice::WriteOnly));   // no archive
    QVERIFY(QDir(folder->file("backup")).mkpath(good + "/inside"));   // no copy can take its name
    // Work folders and a staged photo of a killed run go, and so does a link
    // named like a work folder, without its target; a hidden folder of
    // another name is left alone.
    const QDir dir(receive());
    for (const char *stale : {".kelmon-work-a1B2c3/kelmfd.txt", ".kelmon-work-zzzzzz/x/1234.gif", ".other/keep.txt", "target/keep.txt"}) {
        QVERIFY(dir.mkpath(QFileInfo(dir.filePath(stale)).path()));
        QVERIFY(QFile(dir.filePath(stale)).open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(dir.filePath("target"), dir.filePath(".kelmon-work-link00")));
    QVERIFY(QFile(folder->file("photo/.kelmon-photo-Ab12Cd")).open(QIODevice::WriteOnly));

    ScriptedMessages box;
    frmdatabase dialog;
    dialog.show();
    dialog.firstActivation();
    QCOMPARE(dialog.lblcount->text(), QString("3"));
    bool visibleAfterClose = false;
    connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, this, [&](int v) {
        if (v == 40 && !visibleAfterClose) {
            dialog.close();
            dialog.reject();   // Escape
            visibleAfterClose = dialog.isVisible();
        }
    });
    box.answer(true);
    dialog.cmddatabase_Click();
    QVERIFY(visibleAfterClose);
    QCOMPARE(box.texts().count("デジタル紙面を登録中のため終了出来ません"), 2);
    QVERIFY(!dialog.isVisible());
    const QString report = box.shown().back().text;
    QVERIFY(report.startsWith("次のデジタル紙面は登録できませんでした\r\nファイルは受信フォルダに残してあります\r\n\r\n"));
    QVERIFY(report.contains(cutName) && report.contains("0231ab11.LZH"));
    QVERIFY(report.endsWith("\r\n\r\n次のデジタル紙面は登録しましたが、バックアップフォルダへ複写できませんでした\r\n"
                            "ファイルは受信フォルダに残してあります\r\n\r\n" + good));
    QCOMPARE(dir.entryList(QDir::Files).size(), 3);
    QCOMPARE(dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), (QStringList{".other", "target"}));
    QVERIFY(QFile::exists(dir.filePath("target/keep.txt")));
    QVERIFY(!QFile::exists(folder->file("photo/.kelmon-photo-Ab12Cd")));
    QCOMPARE(QDir(folder->file("backup")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{good});
    QCOMPARE(rowCount("f_setfg", "datescnt = 2") + rowCount("f_wakus", "datescnt = 2"), 0);
    QCOMPARE(rowCount("f_wakus", "datescnt = 1"), 72);
}

// A download and a registration stopped outright leave their files in
// receive/ and photo/: the clean-up at registration removes them, but never
// while their writer, in another process or this one, still holds them. A
// file named with a live process's id but held by none goes, as does a link
// named like a staging file (the link, whatever it points to). A held file
// that the clean-up cannot open stays too.
void TestFrmdatabase::stoppedWorkLeavesNothing()
{
    const auto files = [](const QString &folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    };
    int ready[2];
    QVERIFY(::pipe(ready) == 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // An archive and a photo half written, as the download and the registration write them.
        QByteArray path;
        const int fd = createStagingFile(receiveFolder(), downloadStagingStem, &path);
        StagedPhotos photos(photoFolder());
        QString error;
        const bool written = fd >= 0 && ::write(fd, "-lh5-", 5) == 5 && photos.begin("1234.gif", &error)
                          && photos.write("GIF89a", 6, &error);
        (void)!::write(ready[1], written ? "1" : "0", 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    const auto stop = [child] { ::kill(child, SIGKILL), ::waitpid(child, nullptr, 0); };
    auto guard = qScopeGuard(stop);
    char written = 0;
    QCOMPARE(::read(ready[0], &written, 1), 1);
    ::close(ready[0]);
    QByteArray own;
    const int fd = createStagingFile(receiveFolder(), downloadStagingStem, &own);
    QVERIFY(written == '1' && fd >= 0);
    QTemporaryDir elsewhere;
    QFile photo(elsewhere.filePath("1234.gif"));
    QVERIFY(photo.open(QIODevice::WriteOnly) && photo.write("GIF89a") == 6);
    photo.close();
    const QString live = QString::number(child) + '-';
    QVERIFY(QFile(receive() + "/.kelmon-download-" + live + "99").open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(elsewhere.path(), receive() + "/.kelmon-download-" + live + "98"));
    QVERIFY(QFile::link(photo.fileName(), photoFolder() + "/.kelmon-photo-" + live + "99"));
    removeStaleWorkFiles();
    QCOMPARE(files(receive()).size() + files(photoFolder()).size(), 3);
    QCOMPARE(readRegularFile(photo.fileName(), 10).value_or("-"), QByteArray("GIF89a"));
    guard.dismiss();
    stop();
    {
        const Unreadable unreadable(fd);
        QVERIFY(!readRegularFile(QFile::decodeName(own), 10));
        removeStaleWorkFiles();
    }
    QCOMPARE(files(receive()) + files(photoFolder()), QStringList{QFileInfo(QFile::decodeName(own)).fileName()});
    ::close(fd);
    removeStaleWorkFiles();
    QCOMPARE(files(receive()), QStringList());
}

// Discarding asks first, removes the waiting archives, texts and photos only,
// and leaves nothing to register.
void TestFrmdatabase::discardEmptiesReceive()
{
    writeSamplePaper(receive(), options(1));
    for (const char *name : {"kelmfa.TXT", "1234.Gif", "keep.dat"})
        QVERIFY(QFile(receive() + '/' + name).open(QIODevice::WriteOnly));
    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    dialog.cmddelete_Click();   // answered No
    QCOMPARE(box.shown().back().title, QString("削除の確認です..."));
    QCOMPARE(modkelmon::count_lzh_files(), 1);
    box.answer(true);
    dialog.cmddelete_Click();
    QCOMPARE(QDir(receive()).entryList(QDir::Files), QStringList{"keep.dat"});
    QCOMPARE(dialog.lblcount->text() + dialog.lblnewspname->text(), QString("0"));
    dialog.cmddatabase_Click();
    frmdatabase again;
    again.firstActivation();
    QCOMPARE(again.lblcount->text(), QString("0"));
    QCOMPARE(box.texts().mid(2), QStringList(2, "ダウンロードされたデジタル紙面が有りません"));
}

void TestFrmdatabase::unreadableReceiveIsNamed_data()
{
    QTest::addColumn<QString>("receiveIs");
    for (const char *kind : {"a file", "a link to itself", "a folder without access", "missing"})
        QTest::newRow(kind) << QString(kind);
}

// A receive/ that cannot be read is named as such on opening and on the
// register command, archives in it or not; a missing one holds no archives.
void TestFrmdatabase::unreadableReceiveIsNamed()
{
    QFETCH(QString, receiveIs);
    if (receiveIs == "a folder without access") {
        if (::geteuid() == 0)
            QSKIP("a folder without access is still read with root's rights");
        writeSamplePaper(receive(), options(1));
        QVERIFY(QFile::setPermissions(receive(), {}));
    } else {
        QVERIFY(QDir(receive()).removeRecursively());
        QVERIFY(receiveIs == "missing"
                || (receiveIs == "a file" ? QFile(receive()).open(QIODevice::WriteOnly) : QFile::link(receive(), receive())));
    }
    ScriptedMessages box;
    frmdatabase dialog;
    dialog.firstActivation();
    dialog.cmddatabase_Click();
    QFile::setPermissions(receive(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString said = receiveIs == "missing" ? "ダウンロードされたデジタル紙面が有りません"
                                                : "受信フォルダを読み込めません\r\n" + QDir::toNativeSeparators(receive());
    QCOMPARE(box.texts(), QStringList(2, said));
}

// In the program's font the captions and every status text of a run show
// whole; Enter on a focused button presses it, as Space does.
void TestFrmdatabase::textsShowWholeEnterPressesAButton()
{
    const test::ProgramFont font;
    ScriptedMessages box;
    frmdatabase dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (QWidget *w : dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLabel *>(w) || qobject_cast<QPushButton *>(w))
            QVERIFY2(w->sizeHint().width() <= w->width(), qPrintable(w->property("text").toString()));
    }
    auto *panel = dialog.status()->findChild<QLabel *>();
    for (const char *text : {"圧縮ファイル解凍中...", "紙面を登録しています...", "一時ファイル削除中...", "ＤＢ最適化中..."}) {
        dialog.status()->setText(text);
        QVERIFY2(panel->sizeHint().width() <= panel->width(), text);
    }
    dialog.firstActivation();   // nothing waits: one warning
    QTest::keyClick(dialog.cmddatabase, Qt::Key_Return);
    QTest::keyClick(dialog.cmddelete, Qt::Key_Return);   // answered No
    QCOMPARE(box.texts(), (QStringList{"ダウンロードされたデジタル紙面が有りません", "ダウンロードされたデジタル紙面が有りません",
                                       "ダウンロードしたデジタル紙面を利用せずに消去しますか？"}));
    QTest::keyClick(dialog.cmdend, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestFrmdatabase)
#include "tst_frmdatabase.moc"
