// The download: the flow against a loopback paper server (log-in and list,
// papers fetched and acknowledged, every refusal and fault of the server or
// the network ending in its status text and button states, with nothing
// written or acknowledged that should not be, and the next download still
// working), the list titles read from archive names, the dialogs from the main
// window as a new user meets them, and the log-in and connection options
// dialogs alone: what they accept, keep in the settings and hand back.
// Also: endless, dripping and cancelled requests, the control's own events, a
// slow archive's progress, archive structure, the list's focus, Enter keys.

#include "app/ui/frmmainmenu.h"
#include "common/programfolder.h"
#include "download/dialup.h"
#include "download/httpreader.h"
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
#include <QStatusBar>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtEndian>
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

// A body without end: an LHA header whose entry claims 2 GB, then zeros.
constexpr qint64 kEndless = 64 * 1024 * 1024;   // what the server gives up after

// What the server does differently: "=text" answers text, a number is the HTTP
// status, "cut" leaves bytes out of the announced length, "silent" and "cancel"
// never answer, "no length" announces none ("no length cut": and stops early,
// "no length crlf": and adds CR LF), "endless" sends a body without end,
// "drip" the same one byte at a time, "206" the body under that status,
// "padded" zero bytes after the body inside the length, "lying length" the
// body cut with a length that matches the cut, "chunked" in chunks, "deflate"
// compressed whatever was asked, "endless status line", "endless header line"
// and "endless chunk-size line" a head without end.
PaperServer::Fault serverFault(const QString &what, qsizetype bodySize = 0)
{
    PaperServer::Fault f;
    if (what == "padded")
        f.padBytes = 16, f.length = bodySize + 16;
    if (what == "lying length")
        f.cutShort = int(bodySize / 3), f.length = bodySize - bodySize / 3;
    f.chunked = what == "chunked";
    f.pieceBytes = what == "chunked" ? 1000 : 1;
    f.deflate = what == "deflate";
    const auto head = QStringList{"endless status line", "endless header line", "endless chunk-size line"}.indexOf(what);
    f.endless = PaperServer::Fault::Endless(head + 1);   // None when not found
    if (head >= 0)
        f.padBytes = kEndless;
    if (what.startsWith('='))
        f.answer = what.mid(1).toLatin1();
    f.status = what.toInt() ? what.toInt() : 200;
    f.cutShort = what == "cut" || what == "no length cut" ? 4 : 0;
    f.silent = what == "silent" || what == "cancel";
    f.noLength = what.startsWith("no length") || what == "endless" || what == "drip";
    f.trailingCrLf = what == "no length crlf";
    if (what == "endless" || what == "drip") {
        f.answer = QByteArray::fromHex("16002d6c68352dffffff7f").leftJustified(24, '\0');
        f.padBytes = what == "drip" ? 100000 : kEndless;   // dripping: over half an hour
        f.pieceMs = what == "drip" ? 20 : 0;
    }
    return f;
}

void clickLater(QPushButton *button) { QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection); }

// Hands the bytes on in pieces of the given size, the last one shorter.
void inPieces(QByteArrayView bytes, qsizetype piece, const std::function<void(QByteArrayView)> &take)
{
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        take(bytes.sliced(at, std::min(piece, bytes.size() - at)));
}

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

struct EnterCounter : QObject {   // the Enter keys that reach what it watches
    int count = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        count += e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Return;
        return false;
    }
};

// The download dialog, logging in as tarnu without asking.
struct DialogSession {
    explicit DialogSession(int papers) : env(papers)
    {
        setup::setValue("DSET", "True");   // "no modem": Connect goes straight to log-in
        setup::setValue("DCK", "1");
        d.flow.showLogin = [this] { d.flow.PForm_CloseWindow("tarnu", "tarnu", false); };
    }
    DownloadEnv env;
    ScriptedMessages box;
    frmdld d;
};

struct StyleCounter : QObject {   // style sheets applied to what it watches
    int count = 0;
    bool eventFilter(QObject *, QEvent *e) override { return count += e->type() == QEvent::StyleChange, false; }
};

// A list row that counts the reads of its texts.
struct CountedItem : QListWidgetItem {
    using QListWidgetItem::QListWidgetItem;
    QVariant data(int role) const override { return ++reads, QListWidgetItem::data(role); }
    static inline int reads = 0;
};

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
        QTest::addColumn<QString>("what");   // a server fault, or "no receive", "folder in the way", "clean-up"
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
        row("log-in: cancelled", C, "cancel", kCancelled, "TFTFT");
        row("reserve: cancelled", R, "cancel", kCancelled, "TTTFT");
        row("reserve: eRROR", R, "=eRROR", kSite, "TFTFF");
        row("reserve: sub/x.lzh", R, "=%KEY%,sub/x.lzh", kError, "TFTFF", "sub");
        row("reserve: ..\\x.lzh", R, "=%KEY%,..\\x.lzh", kError, "TFTFF", "sub");
        row("reserve: .x.lzh", R, "=%KEY%,.x.lzh", kError, "TFTFF", "sub");
        row("reserve: :x.lzh", R, "=%KEY%,:x.lzh", kError, "TFTFF", "sub");
        row("reserve: x.exe", R, "=%KEY%,x.exe", kError, "TFTFF", "sub");
        row("reserve: no name", R, "=%KEY%", kError, "TFTFF", "sub");
        row("log-in: endless status line", C, "endless status line", kCancelled, "TFTFT");
        row("log-in: endless header line", C, "endless header line", kCancelled, "TFTFT");
        row("log-in: endless chunk-size line", C, "endless chunk-size line", kCancelled, "TFTFT");
        row("fetch: 404", F, "404", kCancelled, "TTTFT");
        row("fetch: 206", F, "206", kCancelled, "TTTFT");
        row("fetch: cut, with a length that matches", F, "lying length", kRetry, "TTTFT");
        row("fetch: padded inside its length", F, "padded", kDone, "TTTFT", "%0", 1);
        row("fetch: compressed", F, "deflate", kRetry, "TTTFT");
        row("fetch: chunked", F, "chunked", kDone, "TTTFT", "%0", 1);
        row("fetch: cut short", F, "cut", kCancelled, "TTTFT");
        row("fetch: no length", F, "no length", kDone, "TTTFT", "%0", 1);
        row("fetch: no length, cut short", F, "no length cut", kRetry, "TTTFT");
        row("fetch: no length, bytes after the end", F, "no length crlf", kDone, "TTTFT", "%0", 1);
        row("fetch: endless body", F, "endless", kCancelled, "TTTFT");
        row("fetch: drips", F, "drip", kCancelled, "TTTFT");
        row("fetch: html page", F, "=<html><h1>Not here</h1></html>", kRetry, "TTTFT");
        row("fetch: cancelled", F, "cancel", kCancelled, "TTTFT");
        row("write: no receive folder", F, "no receive", kRetry, "TTTFT");
        row("write: folder in the way", F, "folder in the way", kRetry, "TTTFT", "%0");
        row("write: clean-up beside it", F, "clean-up", kDone, "TTTFT", "%0", 1);
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
        PaperServer::Fault fault = serverFault(what, s.env.papers.at(0).archive.size());
        if (what == "no receive") {
            QVERIFY(QDir(s.env.receive()).removeRecursively());
        } else if (what == "folder in the way") {
            QVERIFY(QDir().mkpath(s.env.receive() + "/" + s.archive(0)));
        } else if (what == "clean-up") {
            // Another run's clean-up, just after the archive's file is made
            // and again just before the archive takes its name.
            const auto cleanUp = [] { removeStagingLeftovers(receiveFolder(), downloadStagingStem); };
            setStagingHook([cleanUp, first = true]() mutable {
                if (std::exchange(first, false))
                    cleanUp();
            });
            s.flow.beforePlacing = cleanUp;
        }
        const auto unhook = qScopeGuard([] { setStagingHook({}); });
        s.env.server.setFault(step, fault);
        if (what == "drip")   // given up by its deadline, a short one here
            s.flow.KmrDldCtl2.setDeadline(1000);
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
        // Whatever the request came to, no connection is left open.
        QVERIFY(waitFor([&] { return s.env.server.openConnections() == 0; }));
        if (what.startsWith("endless"))   // left long before its end
            QVERIFY2(s.env.server.lastBodySent() < kEndless / 2, qPrintable(QString::number(s.env.server.lastBodySent())));
        QCOMPARE(s.flow.progressValue(), 0);
        QCOMPARE(s.env.received(), left.isEmpty() ? QStringList() : s.names(left).split(','));
        if (left == "sub")
            QCOMPARE(QDir(s.env.receive() + "/sub").entryList(QDir::Files), QStringList());
        if (left.startsWith('%') && what != "folder in the way")   // the bytes as they came
            QCOMPARE(readFile(s.env.receive() + "/" + s.names(left)),
                     s.env.papers.at(0).archive + QByteArray(fault.padBytes, '\0') + (fault.trailingCrLf ? "\r\n" : ""));
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

    // The control alone: one event at the end, a failure's figures then the
    // cancel, a user's cancel alone, a second start refused, and a body past
    // the limit failed (by its announced length before any of it is read).
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
        const auto run = [&](const QString &what, qint64 maxBytes = kmrdldctl::kDefaultMaxBytes, bool noLength = false,
                             const QByteArray &location = {}) {
            events.clear();
            PaperServer::Fault fault = serverFault(what);
            fault.noLength |= noLength;
            fault.location = location;
            env.server.setFault(Step::Check, fault);
            ctl.setMaxBytes(maxBytes);
            const int before = env.server.requestCount(Step::Check);
            if (!ctl.DownLoad(url) || ctl.DownLoad(url))   // a second start is refused
                return QStringList{"refused"};
            if (what == "cancel" && waitFor([&] { return env.server.requestCount(Step::Check) > before; }))
                ctl.Cancel();
            waitFor([&] { return !ctl.busy(); });
            waitFor([] { return false; }, 50);   // nothing more comes
            return events;
        };
        QCOMPARE(run("=a.lzh,5"), QStringList({"7/7", "complete a.lzh,5"}));
        QCOMPARE(env.server.requestCount(Step::Check), 1);   // the refused start sent nothing
        QCOMPARE(run("="), QStringList({"complete "}));
        QCOMPARE(run("silent"), QStringList({"0/0", "cancel"}));
        QCOMPARE(run("cancel"), QStringList({"cancel"}));
        QVERIFY(QRegularExpression("^0/[1-9][0-9]* cancel$").match(run("404").join(' ')).hasMatch());
        QCOMPARE(run("=a.lzh,5", 6), QStringList({"0/7", "cancel"}));
        QCOMPARE(run("=a.lzh,5", 6, true), QStringList({"7/0", "cancel"}));
        QCOMPARE(run("=a.lzh,5", 7, true), QStringList({"7/0", "complete a.lzh,5"}));
        // The body is asked for without content coding.
        QVERIFY(env.server.lastRequestHead().toLower().contains("\r\naccept-encoding: identity\r\n"));
        // Redirects are followed, not for ever.
        const QString ack = "/wckelmoni2.ASP?WCI=delfile&KMUSR=tarnu";
        QCOMPARE(run("302", 100, false, ack.mid(1).toLatin1()), QStringList({"5/5", "complete False"}));
        QCOMPARE(env.server.requests().mid(env.server.requests().size() - 2), QStringList({url.mid(url.indexOf("/wck")), ack}));
        const int before = env.server.requestCount(Step::Check);
        QCOMPARE(run("302", 100, false, url.toLatin1()), QStringList({"0/0", "cancel"}));
        QCOMPARE(env.server.requestCount(Step::Check) - before, 1 + 10);
        // A refused connection ends the transfer at once, not by silence.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        ctl.setSilence(60000);
        events.clear();
        QVERIFY(ctl.DownLoad(QString("http://127.0.0.1:%1/").arg(port)));
        QVERIFY(waitFor([&] { return !ctl.busy(); }));
        QCOMPARE(events, QStringList({"0/0", "cancel"}));
    }

    // Answers read at every split: the body, and whether the answer was whole,
    // cut or unreadable; the head and a chunk-size line at their bounds and one
    // byte past them.
    void httpAnswers_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("closed");   // the connection ends after the bytes
        QTest::addColumn<QString>("result");
        const QByteArray ok = "HTTP/1.1 200 OK\r\n";
        const auto row = [](const char *name, const QByteArray &answer, bool closed, const QString &result) {
            QTest::newRow(name) << answer << closed << result;
        };
        row("length, more after it", ok + "Content-Length: 5\r\n\r\nhelloEXTRA", false, "done hello");
        row("length, cut", ok + "Content-Length: 6\r\n\r\nhello", true, "failed hello");
        row("length twice, same", ok + "Content-length: 2\r\nCONTENT-LENGTH:2\r\n\r\nab", false, "done ab");
        row("length twice, differing", ok + "Content-Length: 2\r\nContent-Length: 3\r\n\r\nabc", false, "failed ");
        row("length not a number", ok + "Content-Length: -2\r\n\r\nab", false, "failed ");
        row("no length", "\r\nHTTP/1.0 200 OK\nX: y\n\nabc", true, "done abc");
        row("no length, still open", ok + "\r\nabc", false, "body abc");
        row("chunks and trailer",
            ok + "Transfer-Encoding: Chunked\r\nContent-Length: 99\r\n\r\n5;x=1\r\nhello\r\nA\r\n0123456789\r\n0\r\nT: 1\r\n\r\nX",
            false, "done hello0123456789");
        row("chunks, cut", ok + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n", true, "failed hello");
        row("chunk without its end", ok + "Transfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n0\r\n\r\n", false, "failed ab");
        row("chunk size not hex", ok + "Transfer-Encoding: chunked\r\n\r\n-1\r\n", false, "failed ");
        row("other transfer coding", ok + "Transfer-Encoding: gzip\r\n\r\nab", true, "failed ");
        row("interim answer first", "HTTP/1.1 100 Continue\r\n\r\n" + ok + "Content-Length: 1\r\n\r\nx", false, "done x");
        row("no content", "HTTP/1.1 204 No Content\r\n\r\nab", false, "done ");
        row("status line of another protocol", "ICY 200 OK\r\n\r\nab", true, "failed ");
        row("status without digits", "HTTP/1.1 2x0 OK\r\n\r\nab", true, "failed ");
        row("HTTP/2 status line", "HTTP/2 200\r\n\r\nab", true, "failed ");
        row("field without a name", ok + ": x\r\n\r\nab", true, "failed ");
        // Head of exactly 16384 bytes: status line 17, "X: " 3, the value, CR LF 2, CR LF 2.
        const QByteArray value(16384 - 17 - 3 - 2 - 2, 'v');
        row("head at its bound", ok + "X: " + value + "\r\n\r\nab", true, "done ab");
        row("head one byte past", ok + "X: " + value + "w\r\n\r\nab", true, "failed ");
        const QByteArray head = ok + "X: " + value.left(value.size() - 10) + "\r\n";
        row("interim and final head past it together", "HTTP/1.1 100 Continue\r\n\r\n" + head + "\r\nab", true, "failed ");
        // A chunk-size line of exactly 1024 bytes: "1;", the extension, CR LF.
        const QByteArray ext(1024 - 2 - 2, 'e');
        const QByteArray chunked = ok + "Transfer-Encoding: chunked\r\n\r\n";
        row("chunk line at its bound", chunked + "1;" + ext + "\r\nz\r\n0\r\n\r\n", false, "done z");
        row("chunk line one byte past", chunked + "1;" + ext + "e\r\nz\r\n0\r\n\r\n", false, "failed ");
        row("trailer past the bound", chunked + "1\r\nz\r\n0\r\nT: " + QByteArray(16384, 't'), false, "failed z");
        // Codings are a list over one field or more ("|" a second field): only chunks alone are read.
        const QByteArray te = ok + "Transfer-Encoding: ", chunks = "\r\n\r\n2\r\nab\r\n0\r\n\r\n";
        row("chunked, other case and blanks", te + " CHUNKED " + chunks, false, "done ab");
        row("an empty element, then chunked", te + ", chunked" + chunks, false, "done ab");
        for (const char *codings : {"xchunked", "gzip, chunked", "gzip|chunked", "chunked, chunked", "chunked|chunked", "chunked;q=1"})
            row(codings, te + QByteArray(codings).replace("|", "\r\nTransfer-Encoding: ") + chunks, true, "failed ");
        const QByteArray x = ok + "Content-Length: 1\r\n\r\nx";   // after an interim answer
        row("early hints first", "HTTP/1.1 103 Early Hints\r\nLink: </a.css>; rel=preload\r\n\r\n" + x, false, "done x");
        row("switching protocols", "HTTP/1.1 101 Switching Protocols\r\nUpgrade: h2c\r\n\r\n" + x, false, "failed ");
    }

    void httpAnswers()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, closed);
        QFETCH(QString, result);
        for (const qsizetype piece : {answer.size(), qsizetype(1), qsizetype(7), qsizetype(1000)}) {
            HttpReader reader;
            QByteArray body;
            qsizetype held = 0;
            inPieces(answer, piece, [&](QByteArrayView bytes) {
                body += reader.feed(bytes);
                held = std::max(held, reader.held());
            });
            if (closed)
                reader.end();
            const char *states[] = {"head", "body", "done", "failed"};
            QCOMPARE(states[int(reader.state())] + QString(" ") + body, result);
            QVERIFY(held <= HttpReader::kMaxHeadBytes);
        }
    }

    // An archive in pieces further apart in all than the silence timeout: the
    // status shows what came of what was announced (0 without), and it is kept.
    void slowArchive()
    {
        for (const bool announced : {true, false}) {
            Session s;
            QVERIFY(s.connect());
            const QByteArray archive = s.env.papers.at(0).archive;
            PaperServer::Fault f;
            f.noLength = !announced;
            f.pieceBytes = int(archive.size() / 16 + 1);
            f.pieceMs = 100;
            s.env.server.setFault(Step::Fetch, f);
            s.flow.KmrDldCtl2.setSilence(1000);
            QStringList shown;
            connect(&s.flow, &DownloadFlow::changed, this, [&] {
                if (s.flow.KmrDldCtl2.busy() && s.flow.status().endsWith("B ダウンロード済み..."))
                    shown << s.flow.status();
            });
            QVERIFY(s.download(0));
            QCOMPARE(s.flow.status(), s.names(kDone));
            QCOMPARE(readFile(s.env.receive() + "/" + s.archive(0)), archive);
            const QString text = QString("%1B/") + (announced ? QString::number(archive.size()) : "0") + "B ダウンロード済み...";
            QCOMPARE(shown.value(0), text.arg(f.pieceBytes));
            QCOMPARE(shown.value(shown.size() - 1), text.arg(archive.size()));
        }
    }

    // The rows of the disabled (grey) list are dark enough to read; after the
    // list comes and after each download the list has the focus. While a
    // request runs Cancel has it, so that Enter cancels rather than opening
    // the options; after a cancel or failure Enter tries again, from the list
    // when it shows papers, else by asking anew.
    void listReadableAndFocused()
    {
        DialogSession s(2);
        auto &[env, box, d] = s;
        d.List1->addItem("住之江  >> ＳＧ 初日");
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        const QRect row = d.List1->visualItemRect(d.List1->item(0)).translated(d.List1->viewport()->pos());
        const QImage image = d.List1->grab(row).toImage();
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                darkest = std::min(darkest, image.pixelColor(x, y).lightness());
        QVERIFY2(!d.List1->isEnabled() && darkest < 0x60, qPrintable(QString::number(darkest)));
        int options = 0;
        d.flow.showOptions = [&] { ++options; };
        // Enter on the focus, then the name of what has the focus once a
        // request of a step runs, or has run, or the running one has stopped.
        const auto enter = [&](const std::function<bool()> &until) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            waitFor(until);
            return QApplication::focusWidget()->objectName();
        };
        const auto sent = [&](Step step, bool running) {
            return [&, step, running, before = env.server.requestCount(step)] {
                return env.server.requestCount(step) > before && d.flow.transferring() == running;
            };
        };
        const auto stopped = [&] { return !d.flow.transferring(); };
        env.server.setFault(Step::Check, serverFault("silent"));
        d.cmdconect->setFocus();
        QCOMPARE(enter(sent(Step::Check, true)), "Command1");
        QCOMPARE(enter(stopped) + d.flow.status(), "cmdconect" + kCancelled);   // the list empty
        env.server.clearFaults();
        QCOMPARE(enter(sent(Step::Check, false)), "List1");
        QTest::keyClick(d.List1, Qt::Key_Down);
        QCOMPARE(enter(sent(Step::Delfile, false)), "List1");
        QCOMPARE(env.received(), QStringList{env.papers.at(1).archiveName});
        env.server.setFault(Step::Fetch, serverFault("silent"));
        QTest::keyClick(d.List1, Qt::Key_Up);
        QCOMPARE(enter(sent(Step::Fetch, true)), "Command1");
        QCOMPARE(enter(stopped) + d.flow.status(), "List1" + kCancelled);
        env.server.setFault(Step::Dwldfile, serverFault("=Error"));
        QCOMPARE(enter(sent(Step::Dwldfile, false)) + d.flow.status(), "cmdconect" + kSite);   // the list off
        QCOMPARE(options, 0);
    }

    // A progress report neither applies the style sheets again nor reads the
    // list's rows: with thousands of rows and a report per kilobyte, that
    // work took fifty times as long as the transfer.
    void progressReportsAreCheap()
    {
        DialogSession s(0);
        auto &[env, box, d] = s;
        d.show();
        env.server.setFault(Step::Check, serverFault("=" + QStringList(300, "023b0a11.lzh").join(',') + ",7"));
        d.cmdconect->click();
        QVERIFY(waitFor([&] { return !d.flow.transferring() && d.List1->count() == 300; }));
        for (int i = 0; i < d.List1->count(); ++i) {
            const QSignalBlocker quiet(d.List1);
            const std::unique_ptr<QListWidgetItem> shown(d.List1->takeItem(i));
            d.List1->insertItem(i, new CountedItem(shown->text()));
            d.List1->setCurrentRow(d.flow.selectedRow());
        }
        QCoreApplication::processEvents();   // the list lays out its new rows
        StyleCounter styles;
        d.List1->installEventFilter(&styles);
        d.Label3->installEventFilter(&styles);
        CountedItem::reads = 0;
        for (int i = 1; i <= 64; ++i)
            emit d.flow.KmrDldCtl2.DownLoadProgress(i * 1024, 64 * 1024);
        QCOMPARE(d.StatusBar1->currentMessage(), QString("65536B/65536B ダウンロード済み..."));
        QCOMPARE(styles.count + CountedItem::reads, 0);
        env.server.setFault(Step::Check, serverFault("silent"));
        d.cmdconect->click();   // a change of state still greys the list
        QCOMPARE(background(d.List1), QColor(0xc0c0c0));
        d.Command1->click();
    }

    // Archives by the lha command and the generator at every header level are
    // whole only with their end mark, in any pieces, whatever follows it.
    void archiveStructure()
    {
        QList<QByteArray> archives;
        for (const char *name : {"paper_lh5.lzh", "paper_lh6.lzh", "paper_lh7.lzh"})
            archives << readFile(test::dataPath(name));
        for (int level = 0; level <= 2; ++level)
            archives << makeSamplePaper({.venue = 3, .date = QDate(2002, 3, 5), .day = 1, .seed = 2, .lhaLevel = level}).archive;
        const auto fed = [](const QByteArray &bytes, qsizetype piece) {
            protocol::LhaStructure structure;
            inPieces(bytes, piece, [&](QByteArrayView b) { structure.feed(b); });
            return QString(structure.complete() ? "whole" : structure.broken() ? "broken" : "unfinished");
        };
        for (const QByteArray &archive : archives) {
            for (qsizetype piece : {qsizetype(1), qsizetype(7), archive.size()})
                QCOMPARE(QStringList({fed(archive, piece), fed(archive.chopped(1), piece), fed(archive + '\0', piece)}),
                         QStringList({"whole", "unfinished", "whole"}));
            QCOMPARE(fed("<html>" + archive, archive.size()), QString("broken"));
        }
        QCOMPARE(fed(QByteArray(1, '\0'), 1), QString("unfinished"));   // an end mark alone holds nothing
    }

    // An archive is kept and acknowledged only when registration reads it whole (up to its end
    // mark, every file with its checksum and within the limits), with what follows the end mark
    // as it came; else no file and no lower count. A body that cannot begin an archive is refused
    // at its first bytes, its connection closed though the server holds it open.
    void archivesKeptAsRegistrationReadsThem_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("sent");   // "length", "no length", "held open" or "held open in chunks"
        QTest::addColumn<bool>("kept");
        const auto row = [](const char *name, const QByteArray &body, const char *sent, bool kept) {
            QTest::newRow(name) << body << QString(sent) << kept;
        };
        const QByteArray paper = makeSamplePaper({.venue = 12, .date = QDate(2002, 3, 5), .day = 1, .seed = 3, .lhaLevel = 0}).archive;
        QByteArray changed = paper;
        for (qsizetype i = paper.size() / 2 - 32; i < paper.size() / 2 + 32; ++i)
            changed[i] = char(changed[i] ^ 0x5a);
        row("64 bytes changed in the middle", changed, "length", false);
        row("64 bytes changed in the middle, no length", changed, "no length", false);
        row("text after the end mark, no length", paper + "\r\n<!-- served in 0.02 s -->\r\n", "no length", true);
        row("zeros after the end mark", paper + QByteArray(100, '\0'), "length", true);
        // Level 0: the header's size after its first two bytes, the packed size at offset 7, the packed data after it.
        const qsizetype firstEntry = 2 + uchar(paper.at(0)) + qFromLittleEndian<quint32>(paper.constData() + 7);
        row("first entry alone, without end mark", paper.left(firstEntry), "length", false);
        for (const char *name : {"paper_lh5.lzh", "paper_lh6.lzh", "paper_lh7.lzh", "badcrc.lzh", "unsupported.lzh", "nopaper.lzh",
                                 "oversize.lzh", "toomuch.lzh", "truncated.lzh", "cut10.lzh", "notarchive.lzh"})
            row(name, readFile(test::dataPath(name)), "length", QByteArray(name).startsWith("paper_"));
        row("Error", "Error", "held open", false);
        row("<html> in chunks", "<html>", "held open in chunks", false);
        row("end mark before any entry", QByteArray("\0<h1>", 5), "held open", false);
    }

    void archivesKeptAsRegistrationReadsThem()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, sent);
        QFETCH(bool, kept);
        QVERIFY(!body.isEmpty());
        Session s;
        s.user = "hanako", s.password = "pw";
        s.env.server.addAccount(s.user, s.password, 5);
        QVERIFY(s.connect());
        PaperServer::Fault fault;
        fault.answer = body, fault.noLength = sent != "length", fault.holdOpen = sent.startsWith("held");
        fault.chunked = sent.endsWith("chunks");
        s.env.server.setFault(Step::Fetch, fault);
        s.flow.KmrDldCtl2.setSilence(120000);   // no timeout ends a body held open within the wait
        QVERIFY(s.download(0));
        QCOMPARE(letters(s.flow.buttons()) + s.flow.count() + s.flow.status(), kept ? "TTTFT4" + s.names(kDone) : "TTTFT5" + kRetry);
        QCOMPARE(s.env.received(), kept ? QStringList{s.archive(0)} : QStringList());
        if (kept)
            QCOMPARE(readFile(s.env.receive() + "/" + s.archive(0)), body);
        QVERIFY(waitFor([&] { return s.env.server.openConnections() == 0; }));
    }

    // A link at the archive's name gives the name up; the file it points to is left as it was.
    void linkInReceiveReplaced()
    {
        Session s;
        QVERIFY(s.connect());
        const QString outside = s.env.folder.file("outside.txt"), path = s.env.receive() + "/" + s.archive(0);
        QVERIFY(writeFile(outside, "not a paper") && QFile::link(outside, path));
        s.box.answer(true);   // downloaded again over what has the name
        QVERIFY(s.download(0));
        QCOMPARE(readFile(outside) + '|' + readFile(path), "not a paper|" + s.env.papers.at(0).archive);
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

    // Log-in: Enter walks from the name to the password to OK, then presses it;
    // on the box it toggles it and moves to OK, the key going on. The password
    // shows "*". Escape cancels. Options: Enter presses only the focused button (none chosen:
    // OK would warn); the no-modem box greys the list to the button face.
    void logInAndOptionsDialogs()
    {
        DownloadEnv env(0);
        ScriptedMessages box;
        frmpass dialog;
        QSignalSpy closed(&dialog, &frmpass::CloseWindow);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
        QTest::keyClicks(dialog.Text1, "tarnu");
        enter();
        QTest::keyClicks(dialog.Text2, "pass=1 2");
        QCOMPARE(dialog.Text2->displayText(), QString("******"));
        enter();
        QCOMPARE(QApplication::focusWidget(), dialog.Command2);
        EnterCounter reached;
        dialog.installEventFilter(&reached);
        for (const bool checked : {true, false, true}) {
            dialog.Check1->setFocus();
            enter();
            QCOMPARE(dialog.Check1->isChecked(), checked);
            QCOMPARE(QApplication::focusWidget(), dialog.Command2);
        }
        QCOMPARE(reached.count, 3);
        enter();
        QCOMPARE(QList<QVariantList>(closed), (QList<QVariantList>{{"tarnu", "pass12", false}}));
        QCOMPARE(stored({"PCK", "USR", "PSS"}), QStringList({"PCK=1", "USR=tarnu", "PSS=pass12"}));
        // Cancel and Escape give up alike: nothing typed is kept, nor the previous log-in used.
        for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
            dialog.show();
            QTest::keyClicks(dialog.Text1, "x");
            QTest::keyClick(dialog.Command1, key);
            QCOMPARE(closed.last(), (QVariantList{QString(), QString(), true}));
        }
        QCOMPARE(closed.size(), 3);
        QCOMPARE(stored({"PCK", "USR", "PSS"}), QStringList({"PCK=1", "USR=tarnu", "PSS=pass12"}));

        ScriptedDialUp dial;
        dial.entries = {"Home", "Office"};
        frmdialoption options;
        options.show();
        QVERIFY(QTest::qWaitForWindowActive(&options));
        options.Combo1->setFocus();
        QTest::keyClick(options.Combo1, Qt::Key_Return);
        QTest::keyClick(options.Check1, Qt::Key_Return);
        QVERIFY(options.isVisible());
        QCOMPARE(box.texts(), QStringList());
        for (const bool noModem : {false, true, false, true}) {
            options.Check1->setChecked(noModem);
            const QImage image = options.Combo1->grab().toImage();
            QCOMPARE(image.pixelColor(image.width() / 3, image.height() / 2),
                     QApplication::palette().color(noModem ? QPalette::Button : QPalette::Base));
            QCOMPARE(options.Combo1->isEnabled(), !noModem);
        }
        QTest::keyClick(options.cmdok, Qt::Key_Return);
        QCOMPARE(stored({"DSET", "DCK", "DNAME"}), QStringList({"DSET=True", "DCK=1", "DNAME="}));
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
