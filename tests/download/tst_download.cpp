// The download: the flow against a loopback paper server (log-in and list,
// papers fetched and acknowledged, every refusal and fault of the server or
// the network, endless and dripping answers and cancels included, ending in
// its status text and button states, with nothing written or acknowledged
// that should not be, and the next download still working), the control's own
// events and limits, a slow archive's progress, archives followed by their
// structure, the list titles read from archive names, the list's focus, the
// dialogs from the main window as a new user meets them, and the log-in and
// connection options dialogs alone: what they accept, keep in the settings
// and hand back.

#include "app/ui/frmmainmenu.h"
#include "download/dialup.h"
#include "download/papertitle.h"
#include "download/protocol.h"
#include "download/ui/frmdialoption.h"
#include "download/ui/frmdld.h"
#include "download/ui/frmpass.h"
#include "download/setupregistry.h"
#include "paperserver/paperserver.h"
#include "platform/messages.h"
#include "registration/ui/frmdatabase.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

using namespace kelmon;
using Step = PaperServer::Step;

namespace {

// A program folder for download tests: its own settings file, kelmon.ini
// pointing at a loopback paper server that offers generated papers, and a
// short silence timeout.
struct DownloadEnv {
    explicit DownloadEnv(int count = 2, bool openDatabase = false) : folder(openDatabase)
    {
        setup::setFilePath(folder.file("setup.ini"));
        DownloadFlow::resetRunState();
        kmrdldctl::setSilenceTimeout(2500);   // a silent server is given up on quickly here
        QDir().mkpath(receive());
        static QList<SamplePaper> made;   // generated once per run: every test gets the same papers
        for (int i = 0; i < count; ++i) {
            if (i == made.size())
                made << makeSamplePaper({.venue = 12, .date = QDate(2002, 3, 5 + i), .day = 1 + i, .seed = 3, .photos = i == 0, .cutShortFile = {}});
            papers << made.at(i);
            server.addArchive(papers.last().archiveName, papers.last().archive);
        }
        server.listen();
        QSettings(folder.file("kelmon.ini"), QSettings::IniFormat).setValue("WEB/baseurl", server.baseUrl());
    }
    ~DownloadEnv()
    {
        kmrdldctl::setSilenceTimeout(0);
        setup::setFilePath(QString());
    }
    QString receive() const { return folder.file("receive"); }
    // What receive/ holds (files and folders), sorted by name.
    QStringList received() const
    {
        return QDir(receive()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    test::ProgramFolder folder;
    PaperServer server;
    QList<SamplePaper> papers;
};

// Runs the event loop until done() holds or ms pass; whether it holds. Waits
// for events instead of sleeping between polls, so that the many small
// requests here run at the speed of the loopback interface.
bool waitFor(const std::function<bool()> &done, int ms = 15000)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    poll.start(1);
    if (!done())
        loop.exec();
    return done();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

const QString kCancelled = "ダウンロードがキャンセルされました...";
const QString kError = "エラーが発生しました...";
const QString kRetry = kError + "再試行して下さい...";
const QString kSite = "サイト側でエラーが発生しました...メールなどで連絡して下さい...";
const QString kDone = "%0のダウンロードが完了しました...";
const QStringList kOldLogIn{"PCK=1", "USR=old@example.jp", "PSS=old"};

QString letters(const DldButtons &b)
{
    QString s;
    for (bool on : {b.connect, b.download, b.close, b.cancel, b.list})
        s += on ? u'T' : u'F';
    return s;
}

// One opening of the download dialog without its window.
struct Session {
    Session()
    {
        setup::setValue("DSET", "True");   // "no modem": Connect goes straight to log-in
        setup::setValue("DCK", "1");
        flow.showLogin = [this] { flow.PForm_CloseWindow(user, password, false); };
        flow.load();
    }
    bool idle() { return waitFor([this] { return !flow.transferring(); }); }
    bool connect() { return flow.cmdconect_Click(), idle(); }
    bool download(int row) { return flow.List1_Click(row), flow.cmddwld_Click(), idle(); }
    QString archive(int i) const { return env.papers.at(i).archiveName; }
    // "%0" stands for the first archive name.
    QString names(QString text) const { return text.replace("%0", archive(0)); }

    DownloadEnv env;
    ScriptedMessages box;
    DownloadFlow flow;
    QString user = "tarnu", password = "tarnu";
};

// The bytes a server sends without end: one LHA header whose entry claims
// 2 GB, then zeros, without a length. As an archive it never ends; as a text
// answer it never ends either.
constexpr qint64 kEndless = 64 * 1024 * 1024;   // what the server gives up after
QByteArray endlessHead()
{
    QByteArray h(24, '\0');
    h[0] = 22;   // header size after the first two bytes
    h.replace(2, 5, "-lh5-");
    h.replace(7, 4, QByteArray::fromHex("ffffff7f"));
    return h;
}

// What the server does differently: "=text" answers text, a number is the HTTP
// status, "cut" leaves bytes out of the announced length, "silent" and "cancel"
// never answer, "no length" announces none ("no length cut": and stops early,
// "no length crlf": and adds CR LF), "endless" sends a body without end,
// "drip" the same one byte at a time.
PaperServer::Fault serverFault(const QString &what)
{
    PaperServer::Fault f;
    if (what.startsWith('='))
        f.answer = what.mid(1).toLatin1();
    f.status = what.toInt() ? what.toInt() : 200;
    f.cutShort = what == "cut" || what == "no length cut" ? 4 : 0;
    f.silent = what == "silent" || what == "cancel";
    f.noLength = what.startsWith("no length") || what == "endless" || what == "drip";
    f.trailingCrLf = what == "no length crlf";
    if (what == "endless" || what == "drip") {
        f.answer = endlessHead();
        f.padBytes = what == "drip" ? 100000 : kEndless;   // dripping: over half an hour
        f.pieceMs = what == "drip" ? 20 : 0;
    }
    return f;
}

void clickLater(QPushButton *button) { QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection); }

// The values of keys of group SETUP as the settings file holds them.
QStringList stored(const QStringList &keys)
{
    const QSettings ini(setup::filePath(), QSettings::IniFormat);
    QStringList out;
    for (const QString &k : keys)
        out << k + "=" + ini.value("SETUP/" + k, "<missing>").toString();
    return out;
}

// The colour a widget shows near its bottom left corner.
QColor background(QWidget *w)
{
    const QImage image = w->grab().toImage();
    return image.pixelColor(4, image.height() - 4);
}

// Counts the Enter keys that reach the object it watches.
struct EnterCounter : QObject {
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return)
            ++count;
        return false;
    }
};

void enterOnFocus() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

} // namespace

class TestDownload : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoPapersAndTheCountRunsDown()
    {
        Session s;
        s.user = "taro+news@example.jp";
        s.password = "p&w=1 #%+\t<|あ";   // あ is 82 A0 in code page 932
        s.env.server.addAccount(s.user, s.password, 2);
        QCOMPARE(letters(s.flow.buttons()), QString("TFTFF"));
        QVERIFY(s.connect());
        QCOMPARE(s.flow.rows(), QStringList({"住之江  >> ＳＧ 初日　　　(2002/03/05)", "住之江  >> ＳＧ 予選　　　(2002/03/06)"}));
        QCOMPARE(s.flow.count() + letters(s.flow.buttons()), QString("2TTTFT"));
        s.flow.List1_Click(1);
        QCOMPARE(s.flow.status(), s.archive(1));
        QVERIFY(s.download(1));
        QCOMPARE(s.flow.count() + s.flow.status(), "1" + s.archive(1) + "のダウンロードが完了しました...");
        s.flow.List1_Click(1);
        QCOMPARE(s.flow.status(), s.archive(1) + " （ダウンロード済み）");
        // Asked again for a paper that is there: No keeps it, Yes replaces it under the name it had.
        s.flow.cmddwld_Click();
        QVERIFY(writeFile(s.env.receive() + "/" + s.archive(0).toUpper(), "old"));
        s.box.answer(true);
        QVERIFY(s.download(0));
        QCOMPARE(s.box.texts(), QStringList(2, "そのデータは既にダウンロードされています\r\n再度ダウンロードしますか？"
                                               "\r\n\r\n再度ダウンロードした場合は利用可能回数が 1 減ります..."));
        QCOMPARE(s.flow.count() + letters(s.flow.buttons()), QString("0TFTFT"));
        const QString page = "/wckelmoni2.ASP?WCI=", user = "&KMUSR=taro%2Bnews@example.jp";
        QCOMPARE(s.env.server.requests(),
                 QStringList({page + "check" + user + "&KMPSS=p%26w%3D1%20%23%25%2B%09%3C%7C%82%A0", page + "dwldfile" + user + "&FNM=" + s.archive(1),
                              page + "K0001&FNM=" + s.archive(1), page + "delfile" + user,
                              page + "dwldfile" + user + "&FNM=" + s.archive(0), page + "K0002&FNM=" + s.archive(0),
                              page + "delfile" + user}));
        QCOMPARE(s.env.received(), QStringList({s.archive(0).toUpper(), s.archive(1)}));
        QCOMPARE(readFile(s.env.receive() + "/" + s.archive(0).toUpper()), s.env.papers.at(0).archive);
        // Listed again with nothing left: the papers show, but cannot be downloaded.
        QVERIFY(s.connect());
        QCOMPARE(s.flow.count() + letters(s.flow.buttons()), QString("0TFTFT"));
    }

    void faults_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("what");   // a server fault, or "no receive", "folder in the way"
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("left");   // what receive/ holds afterwards, ","-joined
        QTest::addColumn<int>("acknowledged");
        const auto row = [](const char *name, Step step, const QString &what, const QString &status,
                            const char *buttons, const QString &left = "", int acknowledged = 0) {
            QTest::newRow(name) << step << what << status << QString(buttons) << left << acknowledged;
        };
        const Step C = Step::Check, R = Step::Dwldfile, F = Step::Fetch, A = Step::Delfile;
        row("log-in: FALSE", C, "= FALSE ", "ユーザ名とパスワードが無効です...", "TFTFF");
        row("log-in: nON", C, "=  nON\t", "ケルモンデジタルサイトにデータが有りません...", "TFTFF");
        row("log-in: error", C, "=error\r\n", kSite, "TFTFF");
        row("log-in: blanks", C, "= \r\n ", kRetry, "TFTFF");
        row("log-in: count a word", C, "=a.lzh,b.lzh,x", kError, "TFTFF");
        row("log-in: count empty", C, "=a.lzh,", kError, "TFTFF");
        row("log-in: 500", C, "500", kCancelled, "TFTFT");
        row("log-in: never answers", C, "silent", kCancelled, "TFTFT");
        row("log-in: endless body", C, "endless", kCancelled, "TFTFT");
        row("log-in: drips", C, "drip", kCancelled, "TFTFT");
        row("log-in: cancelled", C, "cancel", kCancelled, "TFTFT");
        row("reserve: cancelled", R, "cancel", kCancelled, "TTTFT");
        row("reserve: eRROR", R, "=eRROR", kSite, "TFTFF");
        row("reserve: sub/x.lzh", R, "=%KEY%,sub/x.lzh", kError, "TFTFF", "sub");
        row("reserve: ..\\x.lzh", R, "=%KEY%,..\\x.lzh", kError, "TFTFF", "sub");
        row("reserve: .x.lzh", R, "=%KEY%,.x.lzh", kError, "TFTFF", "sub");
        row("reserve: :x.lzh", R, "=%KEY%,:x.lzh", kError, "TFTFF", "sub");
        row("reserve: x.exe", R, "=%KEY%,x.exe", kError, "TFTFF", "sub");
        row("reserve: no name", R, "=%KEY%", kError, "TFTFF", "sub");
        row("fetch: 404", F, "404", kCancelled, "TTTFT");
        row("fetch: cut short", F, "cut", kCancelled, "TTTFT");
        row("fetch: no length", F, "no length", kDone, "TTTFT", "%0", 1);
        row("fetch: no length, cut short", F, "no length cut", kRetry, "TTTFT");
        row("fetch: no length, bytes after the end", F, "no length crlf", kRetry, "TTTFT");
        row("fetch: endless body", F, "endless", kCancelled, "TTTFT");
        row("fetch: drips", F, "drip", kCancelled, "TTTFT");
        row("fetch: html page", F, "=<html><h1>Not here</h1></html>", kRetry, "TTTFT");
        row("fetch: cancelled", F, "cancel", kCancelled, "TTTFT");
        row("write: no receive folder", F, "no receive", kRetry, "TTTFT");
        row("write: folder in the way", F, "folder in the way", kRetry, "TTTFT", "%0");
        row("acknowledge: False", A, "=False", "受信データに誤りの可能性があります...", "TFTFF", "%0", 1);
        row("acknowledge: Error", A, "=Error", kSite, "TFTFF", "%0", 1);
        row("acknowledge: True alone", A, "=True", kError, "TFTFF", "%0", 1);
        row("acknowledge: true,7 CR LF", A, "=true,7\r\n", kDone, "TTTFT", "%0", 1);
        row("acknowledge: cancelled", A, "cancel", kCancelled, "TTTFT", "%0", 1);
    }

    void faults()
    {
        QFETCH(Step, step);
        QFETCH(QString, what);
        QFETCH(QString, status);
        QFETCH(QString, buttons);
        QFETCH(QString, left);
        QFETCH(int, acknowledged);
        Session s;
        if (step != Step::Check)
            QVERIFY(s.connect());
        if (left == "sub")
            QVERIFY(QDir().mkpath(s.env.receive() + "/sub"));
        PaperServer::Fault fault = serverFault(what);
        if (what == "no receive") {
            QVERIFY(QDir(s.env.receive()).removeRecursively());
        } else if (what == "folder in the way") {
            QVERIFY(QDir().mkpath(s.env.receive() + "/" + s.archive(0)));
        }
        s.env.server.setFault(step, fault);
        // A request that drips is given up by its deadline, a short one here.
        if (what == "drip") {
            s.flow.KmrDldCtl1.setDeadline(1000);
            s.flow.KmrDldCtl2.setDeadline(1000);
        }
        if (step == Step::Check)
            s.flow.cmdconect_Click();
        else
            s.flow.List1_Click(0), s.flow.cmddwld_Click();
        if (what == "cancel") {
            QVERIFY(waitFor([&] { return s.env.server.requestCount(step) == 1; }));   // the request is on its way
            const QString status = step == Step::Fetch ? s.archive(0) + "のダウンロードを開始します..." : "";
            QCOMPARE(letters(s.flow.buttons()) + s.flow.status().left(status.size()), "FFFTF" + status);
            // Closing is refused while a request runs, and allowed once it stopped.
            QVERIFY(!s.flow.queryUnload());
            QCOMPARE(s.box.texts(), QStringList{"デジタル紙面をダウンロード中のため終了出来ません"});
            s.flow.Command1_Click();
            QVERIFY(s.flow.queryUnload());
        }
        QVERIFY(s.idle());
        QCOMPARE(letters(s.flow.buttons()) + s.flow.status(), buttons + s.names(status));
        // A body without end is left long before its end (the limit plus what the network buffers).
        if (what == "endless")
            QVERIFY2(s.env.server.lastBodySent() < kEndless / 2, qPrintable(QString::number(s.env.server.lastBodySent())));
        QCOMPARE(s.flow.progressValue(), 0);
        QCOMPARE(s.env.received(), left.isEmpty() ? QStringList() : s.names(left).split(','));
        if (left == "sub")
            QCOMPARE(QDir(s.env.receive() + "/sub").entryList(QDir::Files), QStringList());
        if (left.startsWith('%') && what != "folder in the way")
            QCOMPARE(readFile(s.env.receive() + "/" + s.names(left)), s.env.papers.at(0).archive);
        QCOMPARE(s.env.server.requestCount(Step::Delfile), acknowledged);
        QCOMPARE(s.env.server.requestCount(Step::Fetch) > 0, step > Step::Dwldfile);   // a cut transfer may be asked again
        if (step == Step::Check)
            QCOMPARE(s.flow.count() + s.flow.rows().join(','), QString("?"));

        // The next download works.
        s.env.server.clearFaults();
        QDir(s.env.receive()).removeRecursively();
        QVERIFY(QDir().mkpath(s.env.receive()));
        if (!s.flow.buttons().download)
            QVERIFY(s.connect());
        QVERIFY(s.download(0));
        QCOMPARE(s.flow.status(), s.names(kDone));
        QCOMPARE(s.env.received(), QStringList{s.archive(0)});
        QCOMPARE(s.env.server.requestCount(Step::Delfile), acknowledged + 1);
    }

    // The control alone: a transfer ends in one event; a failure reports the
    // figures it ended at once, then the cancel; a user's cancel is the cancel
    // alone; a body beyond the control's limit fails, by its announced length
    // before any of it is read.
    void controlEvents()
    {
        DownloadEnv env(0);
        const QString url = env.server.baseUrl() + "wckelmoni2.ASP?WCI=check&KMUSR=tarnu&KMPSS=tarnu";
        kmrdldctl ctl;
        ctl.setSilence(300);
        QStringList events;
        connect(&ctl, &kmrdldctl::DownLoadProgress, this, [&](qint64 r, qint64 m) { events << QString("%1/%2").arg(r).arg(m); });
        connect(&ctl, &kmrdldctl::DownLoadCancel, this, [&] { events << "cancel"; });
        connect(&ctl, &kmrdldctl::DownLoadComplete, this, [&](const QByteArray &b) { events << "complete " + b; });
        const auto run = [&](const QString &what, qint64 maxBytes = kmrdldctl::kDefaultMaxBytes, bool noLength = false) {
            events.clear();
            PaperServer::Fault fault = serverFault(what);
            fault.noLength = fault.noLength || noLength;
            env.server.setFault(Step::Check, fault);
            ctl.setMaxBytes(maxBytes);
            const int before = env.server.requestCount(Step::Check);
            // A second start while one runs is refused.
            if (!ctl.DownLoad(url) || ctl.DownLoad(url))
                return QStringList{"refused"};
            if (what == "cancel" && waitFor([&] { return env.server.requestCount(Step::Check) > before; }))
                ctl.Cancel();
            if (!waitFor([&] { return !ctl.busy(); }))
                return QStringList{"still busy"};
            waitFor([] { return false; }, 50);   // nothing more comes
            return events;
        };
        QCOMPARE(run("=a.lzh,5"), QStringList({"7/7", "complete a.lzh,5"}));
        QCOMPARE(env.server.requestCount(Step::Check), 1);   // the refused start sent nothing
        QCOMPARE(run("="), QStringList({"complete "}));
        QCOMPARE(run("silent"), QStringList({"0/0", "cancel"}));
        QCOMPARE(run("cancel"), QStringList({"cancel"}));
        const QStringList notFound = run("404");
        QCOMPARE(notFound.size(), 2);
        QVERIFY2(notFound[0].startsWith("0/") && notFound[0] != "0/0" && notFound[1] == "cancel", qPrintable(notFound.join(' ')));
        QCOMPARE(run("=a.lzh,5", 6), QStringList({"0/7", "cancel"}));
        QCOMPARE(run("=a.lzh,5", 6, true), QStringList({"7/0", "cancel"}));
        QCOMPARE(run("=a.lzh,5", 7, true), QStringList({"7/0", "complete a.lzh,5"}));
    }

    // An archive that comes slowly, in pieces further apart in all than the
    // silence timeout: the status shows what came of how much was announced
    // (0 without a length), and it is kept when whole.
    void slowArchive_data()
    {
        QTest::addColumn<bool>("announced");
        QTest::newRow("with a length") << true;
        QTest::newRow("without a length") << false;
    }

    void slowArchive()
    {
        QFETCH(bool, announced);
        Session s;
        QVERIFY(s.connect());
        const QByteArray archive = s.env.papers.at(0).archive;
        PaperServer::Fault f;
        f.noLength = !announced;
        f.pieceBytes = int(archive.size() / 16 + 1);
        f.pieceMs = 100;
        s.env.server.setFault(Step::Fetch, f);
        s.flow.KmrDldCtl2.setSilence(1000);   // the whole takes 16 pieces 100 ms apart
        QStringList shown;
        connect(&s.flow, &DownloadFlow::changed, this, [&] {
            if (s.flow.KmrDldCtl2.busy() && s.flow.status().endsWith("B ダウンロード済み..."))
                shown << s.flow.status();
        });
        QVERIFY(s.download(0));
        QCOMPARE(s.flow.status(), s.names(kDone));
        QCOMPARE(readFile(s.env.receive() + "/" + s.archive(0)), archive);
        QVERIFY(shown.size() >= 2);
        const QString max = announced ? QString::number(archive.size()) : "0";
        for (const QString &text : shown) {
            const QStringList parts = text.section('B', 0, 1).split("B/");
            QCOMPARE(parts.value(1), max);
            QVERIFY(parts.value(0).toLongLong() > 0 && parts.value(0).toLongLong() <= archive.size());
        }
        QCOMPARE(shown.first(), QString("%1B/%2B ダウンロード済み...").arg(f.pieceBytes).arg(max));
    }

    // After the list comes and after each download the list has the focus, so
    // that Down and Enter reach the next paper.
    void listTakesTheFocus()
    {
        DownloadEnv env(2);
        ScriptedMessages box;
        setup::setValue("DSET", "True");
        setup::setValue("DCK", "1");
        frmdld d;
        d.flow.showLogin = [&] { d.flow.PForm_CloseWindow("tarnu", "tarnu", false); };
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.cmdconect->setFocus();
        d.cmdconect->click();
        QVERIFY(waitFor([&] { return !d.flow.transferring() && d.List1->count() == 2; }));
        QCOMPARE(QApplication::focusWidget(), d.List1);
        QCOMPARE(d.List1->currentRow(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(waitFor([&] { return !d.flow.transferring() && d.flow.status().endsWith("完了しました..."); }));
        QCOMPARE(env.received(), QStringList{env.papers.at(1).archiveName});
        QCOMPARE(QApplication::focusWidget(), d.List1);
    }

    // An archive's structure followed piece by piece: archives made by the lha
    // command and by the sample generator at every header level are whole only
    // with their last byte (the end mark), and broken by any byte after it.
    void archiveStructure_data()
    {
        QTest::addColumn<QByteArray>("archive");
        for (const char *name : {"paper_lh5.lzh", "paper_lh6.lzh", "paper_lh7.lzh"})
            QTest::newRow(name) << readFile(test::dataPath(name));
        for (int level = 0; level <= 2; ++level)
            QTest::addRow("generated, level %d", level)
                << makeSamplePaper({.venue = 3, .date = QDate(2002, 3, 5), .day = 1, .seed = 2, .lhaLevel = level}).archive;
    }

    void archiveStructure()
    {
        QFETCH(QByteArray, archive);
        QVERIFY(archive.size() > 100);
        const auto fed = [](const QByteArray &bytes, qsizetype piece) {
            protocol::LhaStructure structure;
            for (qsizetype at = 0; at < bytes.size(); at += piece)
                structure.feed(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
            return QString(structure.complete() ? "whole" : structure.broken() ? "broken" : "unfinished");
        };
        for (qsizetype piece : {qsizetype(1), qsizetype(7), archive.size()}) {
            QCOMPARE(fed(archive, piece), QString("whole"));
            QCOMPARE(fed(archive.chopped(1), piece), QString("unfinished"));
            QCOMPARE(fed(archive + '\0', piece), QString("broken"));
        }
        QCOMPARE(fed(archive.left(archive.size() / 2), 5), QString("unfinished"));
        QCOMPARE(fed("<html>" + archive, archive.size()), QString("broken"));
        QCOMPARE(fed(QByteArray(1, '\0'), 1), QString("unfinished"));   // an end mark alone holds nothing
    }

    void connectionOptions_data()
    {
        QTest::addColumn<QStringList>("settings");   // DSET, DCK, DNAME; "" = missing
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("message");   // "" = none
        QTest::addColumn<QStringList>("dialled");
        QTest::addColumn<QString>("asked");     // the options shown, then the list and its count read
        const QString choose = "接続設定で使用するダイヤルアップを選択して下さい";
        QTest::newRow("never set") << QStringList{"", "", ""} << false << "" << QStringList() << "options";
        QTest::newRow("connection up") << QStringList{"", "", ""} << true << "" << QStringList() << "server";
        QTest::newRow("no modem") << QStringList{"True", "1", ""} << false << "" << QStringList() << "server";
        QTest::newRow("dial without a name") << QStringList{"True", "0", ""} << false << choose << QStringList() << "";
        QTest::newRow("dial a vanished entry") << QStringList{"True", "0", "Old"} << false
                                               << "ダイヤルアップが変更されています\r\n\r\n" + choose << QStringList() << "";
        QTest::newRow("dial, other case") << QStringList{"true", "0", "office"} << false << "" << QStringList{"office"}
                                          << "server";
    }

    void connectionOptions()
    {
        QFETCH(QStringList, settings);
        QFETCH(bool, connected);
        QFETCH(QString, message);
        QFETCH(QStringList, dialled);
        QFETCH(QString, asked);
        Session s;
        const QStringList keys{"DSET", "DCK", "DNAME"};
        for (int i = 0; i < 3; ++i)
            settings[i].isEmpty() ? setup::remove(keys[i]) : setup::setValue(keys[i], settings[i]);
        ScriptedDialUp dial;
        dial.connected = connected;
        dial.entries = {"Home", "Office"};
        s.env.server.addAccount("tarnu", "tarnu", 19);
        QString shown;
        s.flow.showOptions = [&] { shown += "options"; };
        QVERIFY(s.connect());
        QCOMPARE(shown + (s.flow.count() == "19" ? "server" : ""), asked);
        QCOMPARE(s.box.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(dial.dialled, dialled);
        // Close offers to hang up only a connection that is up; No keeps it.
        s.box.clear();
        s.box.answer(false);
        s.flow.cmdclse_Click();
        s.box.answer(true);
        s.flow.cmdclse_Click();
        QCOMPARE(s.box.texts(), QStringList(connected ? 2 : 0, "インターネットの接続を切断しますか？"));
        QCOMPARE(dial.hangUps, connected ? 1 : 0);
    }

    void titles_data()
    {
        const QString bad = QString::fromUtf16(u"ファイル名が不正です...ダウンロードしないで下さい");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("first day, grade 1") << "023b0a11.lzh" << "桐　生  >> 一般 初日　　　(2002/03/11)";
        QTest::newRow("qualifying SG") << "12cv_X25" << "大　村  >> ＳＧ 予選　　　(2012/12/31)";
        QTest::newRow("last qualifying GI") << "02FA0i34.lzh" << "　津　  >> ＧⅠ 予選最終日(2002/15/10)";
        QTest::newRow("semi-final GII") << "990b0l43.lzh" << "住之江  >> ＧⅡ 準優　　　(2099/00/11)";
        QTest::newRow("last day GIII") << "0219xb52.lzh" << "戸　田  >> ＧⅢ 最終日　　(2002/01/09)";
        QTest::newRow("seven characters") << "023b0a1" << bad;
        QTest::newRow("month g") << "02gb0a11.lzh" << bad;
        QTest::newRow("day 0") << "02300a11.lzh" << bad;
        QTest::newRow("day w") << "023w0a11.lzh" << bad;
        QTest::newRow("venue y") << "023b0y11.lzh" << bad;
        QTest::newRow("day kind 6") << "023b0a61.lzh" << bad;
        QTest::newRow("grade 0") << "023b0a10.lzh" << bad;
        QTest::newRow("year with a sign") << "-23b0a11.lzh" << bad;
    }

    void titles()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QCOMPARE(comp_papertitle(name), title);
    }

    void newUserDownloadsAndRegisters()
    {
        DownloadEnv env(2, true);
        ScriptedMessages box;
        box.answer(true);   // "register now?"
        frmmainmenu w;
        w.firstActivation();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QStringList titles;   // the list when it came
        QString count;
        QList<QColor> colours;   // of the list and the count: grey without a list, white with one
        QWidget *handled = nullptr;
        int step = 0;   // in the download dialog: connect, the first paper, the second, close
        QTimer user;    // plays a new user through whatever modal dialog is on top
        user.callOnTimeout([&] {
            QWidget *top = QApplication::activeModalWidget();
            if (!top || top == handled)
                return;
            auto *d = qobject_cast<frmdld *>(top);
            if (auto *o = qobject_cast<frmdialoption *>(top)) {
                o->Check1->click();   // no dial-up entries here: only "no modem" can be saved
                clickLater(o->cmdok);
            } else if (auto *p = qobject_cast<frmpass *>(top)) {
                QTest::keyClicks(p->Text1, "tarnu");
                QTest::keyClicks(p->Text2, "tarnu");
                clickLater(p->Command2);
            } else if (auto *r = qobject_cast<frmdatabase *>(top)) {
                clickLater(r->cmddatabase);
            } else if (!d || d->flow.transferring() || !d->cmdclse->isEnabled()
                       || (step == 1 ? d->List1->count() < 2 : int(env.received().size()) < step - 1)) {
                return;
            } else if (step == 0) {
                colours << background(d->List1) << background(d->Label3);
                clickLater(d->cmdconect);
            } else if (step < 3) {
                for (int i = 0; step == 1 && i < d->List1->count(); ++i)
                    titles << d->List1->item(i)->text();
                count = d->Label3->text();
                colours << background(d->List1) << background(d->Label3);
                d->List1->setCurrentRow(step - 1);
                clickLater(d->cmddwld);
            } else {
                clickLater(d->cmdclse);
            }
            d ? void(++step) : void(handled = top);
        });
        user.start(5);
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier);

        QCOMPARE(count, QString("∞"));
        QCOMPARE(colours, QList<QColor>({0xc0c0c0, 0xc0c0c0, 0xffffff, 0xffffff, 0xffffff, 0xffffff}));
        QCOMPARE(titles, QStringList({"住之江  >> ＳＧ 初日　　　(2002/03/05)[ｻﾝﾌﾟﾙ]",
                                      "住之江  >> ＳＧ 予選　　　(2002/03/06)[ｻﾝﾌﾟﾙ]"}));
        QCOMPARE(env.server.requests().size(), 1 + 2 * 3);
        QCOMPARE(stored({"DSET", "DCK"}), QStringList({"DSET=True", "DCK=1"}));
        QCOMPARE(QFile::permissions(setup::filePath()),   // it holds a password: the owner's alone
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
        // Registered: both archives left receive/ for backup/.
        QCOMPARE(env.received(), QStringList());
        QCOMPARE(QDir(env.folder.file("backup")).entryList({"*.lzh"}, QDir::Files, QDir::Name),
                 QStringList({env.papers[0].archiveName, env.papers[1].archiveName}));
        QVERIFY(env.folder.exits().empty());
    }

    void logIn_data()
    {
        QTest::addColumn<QString>("user");       // as typed: blanks and "=" never enter the boxes
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("how");        // "ok", "cancel" or "close"
        QTest::addColumn<QString>("message");    // "" = none
        QTest::addColumn<QStringList>("kept");   // PCK, USR, PSS afterwards
        const QStringList old = kOldLogIn;
        const QString name = "ﾕｰｻﾞｰ名ｴﾗｰ: ";
        QTest::newRow("no user name") << " =" << "x" << true << "ok" << name + "ﾕｰｻﾞｰ名を入力して下さい。" << old;
        QTest::newRow("no address") << "ta ro" << "x" << true << "ok" << name + "ﾕｰｻﾞｰ名にはﾒｰﾙｱﾄﾞﾚｽを指定して下さい。" << old;
        QTest::newRow("no password") << "taro@example.jp" << "= " << true << "ok" << "ﾊﾟｽﾜｰﾄﾞｴﾗｰ: ﾊﾟｽﾜｰﾄﾞを入力して下さい。" << old;
        QTest::newRow("sample in capitals, kept") << "TAR=NU" << "TARNU" << true << "ok" << ""
                                                  << QStringList({"PCK=1", "USR=TARNU", "PSS=TARNU"});
        QTest::newRow("address, not kept any more") << "a@b" << "p&w =1" << false << "ok" << ""
                                                    << QStringList({"PCK=0", "USR=<missing>", "PSS=<missing>"});
        QTest::newRow("kept, title bar") << "a@b" << "p&w1" << true << "close" << ""
                                         << QStringList({"PCK=1", "USR=a@b", "PSS=p&w1"});
        QTest::newRow("cancelled") << "a@b" << "p" << false << "cancel" << "" << old;
    }

    void logIn()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, keep);
        QFETCH(QString, how);
        QFETCH(QString, message);
        QFETCH(QStringList, kept);
        DownloadEnv env(0);
        ScriptedMessages box;
        for (const QString &value : kOldLogIn)
            setup::setValue(value.section('=', 0, 0), value.section('=', 1));
        frmpass dialog;
        QCOMPARE(dialog.Text1->text() + "," + dialog.Text2->text() + "," + QString::number(dialog.Check1->isChecked()),
                 QString("old@example.jp,old,1"));
        QCOMPARE(dialog.Text2->echoMode(), QLineEdit::Password);
        QSignalSpy closed(&dialog, &frmpass::CloseWindow);
        dialog.open();
        dialog.Text1->clear();
        dialog.Text2->clear();
        QTest::keyClicks(dialog.Text1, user);
        QTest::keyClicks(dialog.Text2, password);
        dialog.Check1->setChecked(keep);
        how == "ok" ? dialog.Command2->click() : how == "cancel" ? dialog.Command1->click() : void(dialog.close());
        QStringList shown;
        for (const auto &m : box.shown())
            shown << m.title + ": " + m.text;
        QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(dialog.isVisible(), !message.isEmpty());
        QList<QVariantList> handed{{user.remove(' ').remove('='), password.remove(' ').remove('='), false}};
        if (how != "ok" || !message.isEmpty())
            handed = how == "cancel" ? QList<QVariantList>{{QString(), QString(), true}} : QList<QVariantList>();
        QCOMPARE(QList<QVariantList>(closed), handed);
        QCOMPARE(stored({"PCK", "USR", "PSS"}), kept);
    }

    // Enter walks from the user name to the password to OK and then presses
    // OK; on the check box it toggles the box and moves to OK without
    // pressing it, and the key goes on. The password shows only "*".
    void logInKeys()
    {
        DownloadEnv env(0);
        ScriptedMessages box;
        frmpass dialog;
        QSignalSpy closed(&dialog, &frmpass::CloseWindow);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.Text1);
        QTest::keyClicks(dialog.Text1, "tarnu");
        enterOnFocus();
        QCOMPARE(QApplication::focusWidget(), dialog.Text2);
        QTest::keyClicks(dialog.Text2, "pass=1 2");
        QCOMPARE(dialog.Text2->displayText(), QString("******"));
        enterOnFocus();
        QCOMPARE(QApplication::focusWidget(), dialog.Command2);
        QCOMPARE(closed.count(), 0);

        EnterCounter reached;
        dialog.installEventFilter(&reached);
        dialog.Check1->setFocus();
        enterOnFocus();
        QVERIFY(dialog.Check1->isChecked());
        QCOMPARE(QApplication::focusWidget(), dialog.Command2);
        QCOMPARE(reached.count, 1);   // not swallowed, and it pressed no button
        QCOMPARE(closed.count(), 0);
        dialog.Check1->setFocus();
        enterOnFocus();
        QVERIFY(!dialog.Check1->isChecked());
        dialog.Check1->setFocus();
        enterOnFocus();

        enterOnFocus();
        QCOMPARE(QList<QVariantList>(closed), (QList<QVariantList>{{"tarnu", "pass12", false}}));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(stored({"PCK", "USR", "PSS"}), QStringList({"PCK=1", "USR=tarnu", "PSS=pass12"}));
        QCOMPARE(box.texts(), QStringList());

        frmpass cancelled;
        QSignalSpy cancel(&cancelled, &frmpass::CloseWindow);
        cancelled.show();
        QTest::keyClick(cancelled.Command1, Qt::Key_Return);
        QCOMPARE(QList<QVariantList>(cancel), (QList<QVariantList>{{QString(), QString(), true}}));
    }

    // The rows of the disabled list (grey while nothing can be chosen) are
    // drawn dark enough to read.
    void disabledListReadable()
    {
        DownloadEnv env(0);
        frmdld dialog;
        QVERIFY(!dialog.List1->isEnabled());
        dialog.List1->addItem("住之江  >> ＳＧ 初日");
        dialog.show();
        const QRect row = dialog.List1->visualItemRect(dialog.List1->item(0)).translated(dialog.List1->viewport()->pos());
        const QImage image = dialog.List1->grab(row).toImage();
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                darkest = qMin(darkest, image.pixelColor(x, y).lightness());
        QCOMPARE(background(dialog.List1), QColor(0xc0c0c0));
        QVERIFY2(darkest < 0x60, qPrintable(QString::number(darkest)));
    }

    // The no-modem box disables the list and gives it the button face;
    // without it the list takes the window background. Enter presses only
    // the focused button.
    void connectionOptionsDialog()
    {
        DownloadEnv env(0);
        ScriptedMessages box;
        ScriptedDialUp dial;
        dial.entries = {"Home", "Office"};
        frmdialoption dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto listColour = [&] {
            const QImage image = dialog.Combo1->grab().toImage();
            return image.pixelColor(image.width() / 3, image.height() / 2);
        };
        const QPalette system = QApplication::palette();
        QVERIFY(dialog.Combo1->isEnabled());
        QCOMPARE(listColour(), system.color(QPalette::Base));
        dialog.Check1->click();
        QVERIFY(!dialog.Combo1->isEnabled());
        QCOMPARE(listColour(), system.color(QPalette::Button));
        dialog.Check1->click();
        QVERIFY(dialog.Combo1->isEnabled());
        QCOMPARE(listColour(), system.color(QPalette::Base));

        // No entry chosen: a button pressed by Enter here would warn.
        dialog.Combo1->setFocus();
        QTest::keyClick(dialog.Combo1, Qt::Key_Return);
        QTest::keyClick(dialog.Check1, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(box.texts(), QStringList());
        QCOMPARE(stored({"DSET"}), QStringList({"DSET=<missing>"}));
        dialog.Check1->setChecked(true);
        QVERIFY(!dialog.Combo1->isEnabled());
        QTest::keyClick(dialog.cmdok, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(stored({"DSET", "DCK", "DNAME"}), QStringList({"DSET=True", "DCK=1", "DNAME="}));
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
