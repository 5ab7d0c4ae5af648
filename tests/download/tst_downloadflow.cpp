// The download against the loopback paper server: log-in and list, papers
// fetched and acknowledged, and every refusal and fault of the server or the
// network ending in its status text and button states, with nothing written
// or acknowledged that should not be, and the next download still working.

#include "download/dialup.h"
#include "download/downloadflow.h"
#include "download/setupregistry.h"
#include "helpers/downloadenv.h"
#include "platform/messages.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kelmon;
using Fault = PaperServer::Fault;
using Step = PaperServer::Step;

namespace {

const QString kCancelled = "ダウンロードがキャンセルされました...";
const QString kError = "エラーが発生しました...";
const QString kRetry = "エラーが発生しました...再試行して下さい...";
const QString kInvalid = "ユーザ名とパスワードが無効です...";
const QString kNone = "ケルモンデジタルサイトにデータが有りません...";
const QString kSite = "サイト側でエラーが発生しました...メールなどで連絡して下さい...";
const QString kDone = "%0のダウンロードが完了しました...";

QString letters(const DldButtons &b)
{
    QString s;
    for (bool on : {b.connect, b.download, b.close, b.cancel, b.list})
        s += on ? u'T' : u'F';
    return s;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One opening of the download dialog without its window.
struct Session {
    Session()
    {
        test::DownloadEnv::noModem();
        flow.showLogin = [this] { flow.PForm_CloseWindow(user, password, false); };
        flow.load();
    }
    bool idle() { return test::waitFor([this] { return !flow.transferring(); }, 15000); }
    bool connect()
    {
        flow.cmdconect_Click();
        return idle();
    }
    bool download(int row)
    {
        flow.List1_Click(row);
        flow.cmddwld_Click();
        return idle();
    }
    QString archive(int i) const { return env.papers.at(i).archiveName; }
    // "%0" and "%1" stand for the archive names, "%L" for the second in small letters.
    QString names(QString text) const
    {
        return text.replace("%0", archive(0)).replace("%1", archive(1)).replace("%L", archive(1).toLower());
    }
    QStringList inReceive() const
    {
        return QDir(env.receive()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    test::DownloadEnv env;
    ScriptedMessages box;
    DownloadFlow flow;
    QString user = "tarnu";
    QString password = "tarnu";
};

} // namespace

class TestDownloadFlow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoPapersAndTheCountRunsDown();
    void faults_data();
    void faults();
    void paperAlreadyReceived_data();
    void paperAlreadyReceived();
    void queryValuesReachTheServerIntact();
    void connectionOptions_data();
    void connectionOptions();
    void closeOffersHangUp();
};

void TestDownloadFlow::twoPapersAndTheCountRunsDown()
{
    Session s;
    s.user = "hanako@example.jp";
    s.env.server.addAccount(s.user, s.password, 2);
    QCOMPARE(letters(s.flow.buttons()), QString("TFTFF"));
    QVERIFY(s.connect());
    QCOMPARE(s.flow.rows().size(), 2);
    QCOMPARE(s.flow.count(), QString("2"));
    QCOMPARE(letters(s.flow.buttons()), QString("TTTFT"));
    s.flow.List1_Click(1);
    QCOMPARE(s.flow.status(), s.archive(1));
    QVERIFY(s.download(1));
    QCOMPARE(s.flow.status(), s.archive(1) + "のダウンロードが完了しました...");
    QCOMPARE(s.flow.count(), QString("1"));
    s.flow.List1_Click(1);
    QCOMPARE(s.flow.status(), s.archive(1) + " （ダウンロード済み）");
    QVERIFY(s.download(0));
    QCOMPARE(s.flow.count(), QString("0"));
    QCOMPARE(letters(s.flow.buttons()), QString("TFTFT"));
    const QString page = "/wckelmoni2.ASP?WCI=";
    QCOMPARE(s.env.server.requests(),
             QStringList({page + "check&KMUSR=hanako@example.jp&KMPSS=tarnu",
                          page + "dwldfile&KMUSR=hanako@example.jp&FNM=" + s.archive(1),
                          page + "K0001&FNM=" + s.archive(1), page + "delfile&KMUSR=hanako@example.jp",
                          page + "dwldfile&KMUSR=hanako@example.jp&FNM=" + s.archive(0),
                          page + "K0002&FNM=" + s.archive(0), page + "delfile&KMUSR=hanako@example.jp"}));
    QCOMPARE(s.inReceive(), QStringList({s.archive(0), s.archive(1)}));
    QCOMPARE(readFile(s.env.receive() + "/" + s.archive(1)), s.env.papers.at(1).archive);
    QCOMPARE(s.env.server.count(s.user), 0);
}

void TestDownloadFlow::faults_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("setup");       // "wrong password", "cancel", "X.LZH", "no receive", "folder in the way"
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QString>("left");        // what receive/ holds afterwards, ","-joined
    QTest::addColumn<int>("acknowledged");
    const auto answer = [](const QByteArray &body) {
        Fault f;
        f.answer = body;
        return f;
    };
    const auto http = [](int status, int cut = 0, bool silent = false, bool noLength = false) {
        Fault f;
        f.status = status;
        f.cutShort = cut;
        f.silent = silent;
        f.noLength = noLength;
        return f;
    };
    const Step C = Step::Check, R = Step::Dwldfile, F = Step::Fetch, A = Step::Delfile;
    QTest::newRow("log-in: wrong password") << C << Fault() << "wrong password" << kInvalid << "TFTFF" << "" << 0;
    QTest::newRow("log-in: FALSE") << C << answer(" FALSE ") << "" << kInvalid << "TFTFF" << "" << 0;
    QTest::newRow("log-in: nON") << C << answer("  nON\t") << "" << kNone << "TFTFF" << "" << 0;
    QTest::newRow("log-in: error") << C << answer("error\r\n") << "" << kSite << "TFTFF" << "" << 0;
    QTest::newRow("log-in: empty") << C << answer("") << "" << kRetry << "TFTFF" << "" << 0;
    QTest::newRow("log-in: blanks") << C << answer(" \r\n ") << "" << kRetry << "TFTFF" << "" << 0;
    QTest::newRow("log-in: count a word") << C << answer("a.lzh,b.lzh,x") << "" << kError << "TFTFF" << "" << 0;
    QTest::newRow("log-in: count negative") << C << answer("a.lzh,-1") << "" << kError << "TFTFF" << "" << 0;
    QTest::newRow("log-in: count empty") << C << answer("a.lzh,") << "" << kError << "TFTFF" << "" << 0;
    QTest::newRow("log-in: html page") << C << answer("<html><body>Busy</body></html>") << "" << kError << "TFTFF"
                                       << "" << 0;
    QTest::newRow("log-in: 500") << C << http(500) << "" << kCancelled << "TFTFT" << "" << 0;
    QTest::newRow("log-in: cut short") << C << http(200, 4) << "" << kCancelled << "TFTFT" << "" << 0;
    QTest::newRow("log-in: never answers") << C << http(200, 0, true) << "" << kCancelled << "TFTFT" << "" << 0;
    QTest::newRow("reserve: NON") << R << answer(" NON ") << "" << kNone << "TFTFF" << "" << 0;
    QTest::newRow("reserve: eRROR") << R << answer("eRROR") << "" << kSite << "TFTFF" << "" << 0;
    QTest::newRow("reserve: empty") << R << answer("\r\n") << "" << kRetry << "TFTFF" << "" << 0;
    QTest::newRow("reserve: ../x.lzh") << R << answer("%KEY%,../x.lzh") << "" << kError << "TFTFF" << "sub" << 0;
    QTest::newRow("reserve: /x.lzh") << R << answer("%KEY%,/x.lzh") << "" << kError << "TFTFF" << "sub" << 0;
    QTest::newRow("reserve: sub/x.lzh") << R << answer("%KEY%,sub/x.lzh") << "" << kError << "TFTFF" << "sub" << 0;
    QTest::newRow("reserve: ..\\x.lzh") << R << answer("%KEY%,..\\x.lzh") << "" << kError << "TFTFF" << "sub" << 0;
    QTest::newRow("reserve: .x.lzh") << R << answer("%KEY%,.x.lzh") << "" << kError << "TFTFF" << "sub" << 0;
    QTest::newRow("reserve: x.exe") << R << answer("%KEY%,x.exe") << "" << kError << "TFTFF" << "sub" << 0;
    QTest::newRow("reserve: no name") << R << answer("%KEY%") << "" << kError << "TFTFF" << "sub" << 0;
    QTest::newRow("reserve: X.LZH beside x.lzh") << R << Fault() << "X.LZH" << kDone << "TTTFT" << "%L" << 1;
    QTest::newRow("fetch: 404") << F << http(404) << "" << kCancelled << "TTTFT" << "" << 0;
    QTest::newRow("fetch: 500") << F << http(500) << "" << kCancelled << "TTTFT" << "" << 0;
    QTest::newRow("fetch: cut short") << F << http(200, 100) << "" << kCancelled << "TTTFT" << "" << 0;
    QTest::newRow("fetch: no length") << F << http(200, 0, false, true) << "" << kDone << "TTTFT" << "%0" << 1;
    QTest::newRow("fetch: html page") << F << answer("<html><h1>Not here</h1></html>") << "" << kRetry << "TTTFT"
                                      << "" << 0;
    QTest::newRow("fetch: empty") << F << answer("") << "" << kRetry << "TTTFT" << "" << 0;
    QTest::newRow("fetch: never answers") << F << http(200, 0, true) << "" << kCancelled << "TTTFT" << "" << 0;
    QTest::newRow("fetch: cancelled") << F << http(200, 0, true) << "cancel" << kCancelled << "TTTFT" << "" << 0;
    QTest::newRow("write: no receive folder") << F << Fault() << "no receive" << kRetry << "TTTFT" << "" << 0;
    QTest::newRow("write: folder in the way") << F << Fault() << "folder in the way" << kRetry << "TTTFT" << "%0"
                                              << 0;
    QTest::newRow("acknowledge: False") << A << answer("False") << "" << "受信データに誤りの可能性があります..."
                                        << "TFTFF" << "%0" << 1;
    QTest::newRow("acknowledge: Error") << A << answer("Error") << "" << kSite << "TFTFF" << "%0" << 1;
    QTest::newRow("acknowledge: True alone") << A << answer("True") << "" << kError << "TFTFF" << "%0" << 1;
    QTest::newRow("acknowledge: true,7 CR LF") << A << answer("true,7\r\n") << "" << kDone << "TTTFT" << "%0" << 1;
}

void TestDownloadFlow::faults()
{
    QFETCH(Step, step);
    QFETCH(Fault, fault);
    QFETCH(QString, setup);
    QFETCH(QString, status);
    QFETCH(QString, buttons);
    QFETCH(QString, left);
    QFETCH(int, acknowledged);
    Session s;
    if (setup == "wrong password")
        s.password = "tarnx";
    if (step != Step::Check)
        QVERIFY(s.connect());
    if (left == "sub")
        QVERIFY(QDir().mkpath(s.env.receive() + "/sub"));
    if (setup == "X.LZH") {
        // The reservation names, in capitals, a file that is there in small letters.
        QFile old(s.env.receive() + "/" + s.archive(1).toLower());
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        fault.answer = "%KEY%," + s.archive(1).toUpper().toLatin1();
    } else if (setup == "no receive") {
        QVERIFY(QDir(s.env.receive()).removeRecursively());
    } else if (setup == "folder in the way") {
        QVERIFY(QDir().mkpath(s.env.receive() + "/" + s.archive(0)));
    }
    s.env.server.setFault(step, fault);
    if (step == Step::Check) {
        s.flow.cmdconect_Click();
    } else {
        s.flow.List1_Click(0);
        s.flow.cmddwld_Click();
    }
    if (setup == "cancel") {
        QVERIFY(test::waitFor([&] { return s.flow.buttons().cancel; }));
        QCOMPARE(letters(s.flow.buttons()), QString("FFFTF"));
        QCOMPARE(s.flow.status(), s.archive(0) + "のダウンロードを開始します...");
        // Closing is refused while the archive comes, and allowed once it stopped.
        QVERIFY(!s.flow.queryUnload());
        QCOMPARE(s.box.texts(), QStringList{"デジタル紙面をダウンロード中のため終了出来ません"});
        s.flow.Command1_Click();
        QVERIFY(s.flow.queryUnload());
    }
    QVERIFY(s.idle());
    QTest::qWait(20);   // nothing more follows
    QCOMPARE(s.flow.status(), s.names(status));
    QCOMPARE(letters(s.flow.buttons()), buttons);
    QCOMPARE(s.flow.progressValue(), 0);
    QCOMPARE(s.inReceive(), left.isEmpty() ? QStringList() : s.names(left).split(','));
    if (left == "sub")
        QCOMPARE(QDir(s.env.receive() + "/sub").entryList(QDir::Files), QStringList());
    QVERIFY(!QFile::exists(s.env.folder.file("x.lzh")));
    if (left.startsWith('%') && setup != "folder in the way")
        QCOMPARE(readFile(s.env.receive() + "/" + s.names(left)), s.env.papers.at(0).archive);
    QCOMPARE(s.env.server.requestCount(Step::Delfile), acknowledged);
    if (step == Step::Check) {
        QCOMPARE(s.flow.rows(), QStringList());
        QCOMPARE(s.flow.count(), QString("?"));
        QCOMPARE(s.env.server.requests().size(), 1);
    } else if (step == Step::Dwldfile) {
        QCOMPARE(s.env.server.requestCount(Step::Fetch), acknowledged);
    }

    // The next download works.
    s.env.server.clearFaults();
    s.password = "tarnu";
    QDir(s.env.receive()).removeRecursively();
    QVERIFY(QDir().mkpath(s.env.receive()));
    if (!s.flow.buttons().download)
        QVERIFY(s.connect());
    QVERIFY(s.download(0));
    QCOMPARE(s.flow.status(), s.names(kDone));
    QCOMPARE(s.inReceive(), QStringList{s.archive(0)});
    QCOMPARE(s.env.server.requestCount(Step::Delfile), acknowledged + 1);
}

void TestDownloadFlow::paperAlreadyReceived_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    const QString asked = "そのデータは既にダウンロードされています\r\n再度ダウンロードしますか？";
    QTest::newRow("sample, no") << "tarnu" << false << asked;
    QTest::newRow("member, yes") << "hanako@example.jp" << true
                                 << asked + "\r\n\r\n再度ダウンロードした場合は利用可能回数が 1 減ります...";
}

void TestDownloadFlow::paperAlreadyReceived()
{
    QFETCH(QString, user);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    Session s;
    s.user = user;
    s.env.server.addAccount(user, "tarnu", 9);
    QVERIFY(s.connect());
    QFile old(s.env.receive() + "/" + s.archive(0).toUpper());
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    s.box.answer(yes);
    QVERIFY(s.download(0));
    QCOMPARE(s.box.texts(), QStringList{question});
    QCOMPARE(s.env.server.requestCount(Step::Dwldfile), yes ? 1 : 0);
    // One file either way, under the name it had; replaced by the paper on Yes.
    QCOMPARE(s.inReceive(), QStringList{s.archive(0).toUpper()});
    QCOMPARE(readFile(old.fileName()), yes ? s.env.papers.at(0).archive : QByteArray("old"));
}

void TestDownloadFlow::queryValuesReachTheServerIntact()
{
    Session s;
    s.user = "taro+news@example.jp";
    s.password = "p&w=1 #%+\t<|あ";
    s.env.server.addAccount(s.user, s.password, 3);
    QVERIFY(s.connect());
    QCOMPARE(s.flow.count(), QString("3"));   // the server read the password back as it was typed
    // あ is 82 A0 in code page 932.
    QCOMPARE(s.env.server.requests(),
             QStringList{"/wckelmoni2.ASP?WCI=check&KMUSR=taro%2Bnews@example.jp"
                         "&KMPSS=p%26w%3D1%20%23%25%2B%09%3C%7C%82%A0"});
    QVERIFY(s.download(0));
    QCOMPARE(s.flow.count(), QString("2"));
    QCOMPARE(s.box.shown().size(), size_t(0));
    QVERIFY(!s.flow.status().contains("p&w"));
}

void TestDownloadFlow::connectionOptions_data()
{
    QTest::addColumn<QString>("dset");   // "" = missing
    QTest::addColumn<QString>("dck");
    QTest::addColumn<QString>("dname");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("optionsShown");
    QTest::addColumn<QString>("message");   // "" = none
    QTest::addColumn<QStringList>("dialled");
    const QString choose = "接続設定で使用するダイヤルアップを選択して下さい";
    QTest::newRow("never set") << "" << "" << "" << false << 1 << "" << QStringList();
    QTest::newRow("connection up") << "" << "" << "" << true << 0 << "" << QStringList();
    QTest::newRow("no modem") << "True" << "1" << "" << false << 0 << "" << QStringList();
    QTest::newRow("dial without a name") << "True" << "0" << "" << false << 0 << choose << QStringList();
    QTest::newRow("dial a vanished entry") << "True" << "0" << "Old" << false << 0
                                           << "ダイヤルアップが変更されています\r\n\r\n" + choose << QStringList();
    QTest::newRow("dial, other case") << "true" << "0" << "office" << false << 0 << "" << QStringList{"office"};
}

void TestDownloadFlow::connectionOptions()
{
    QFETCH(QString, dset);
    QFETCH(QString, dck);
    QFETCH(QString, dname);
    QFETCH(bool, connected);
    QFETCH(int, optionsShown);
    QFETCH(QString, message);
    QFETCH(QStringList, dialled);
    Session s;
    setup::remove("DSET");
    setup::remove("DCK");
    for (const auto &[key, value] : std::initializer_list<std::pair<QString, QString>>{
             {"DSET", dset}, {"DCK", dck}, {"DNAME", dname}})
        if (!value.isEmpty())
            setup::setValue(key, value);
    ScriptedDialUp dial;
    dial.connected = connected;
    dial.entries = {"Home", "Office"};
    int options = 0;
    s.flow.showOptions = [&] { ++options; };
    QVERIFY(s.connect());
    QCOMPARE(options, optionsShown);
    QCOMPARE(s.box.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(dial.dialled, dialled);
    const bool loggedIn = connected || (dset != "" && message.isEmpty());
    QCOMPARE(s.env.server.requests().size(), loggedIn ? 1 : 0);
}

void TestDownloadFlow::closeOffersHangUp()
{
    Session s;
    ScriptedDialUp dial;
    s.flow.cmdclse_Click();
    QVERIFY(s.box.shown().empty());
    dial.connected = true;
    s.box.answer(false);
    s.box.answer(true);
    s.flow.cmdclse_Click();
    QCOMPARE(dial.hangUps, 0);
    s.flow.cmdclse_Click();
    QCOMPARE(dial.hangUps, 1);
    QCOMPARE(s.box.texts(), QStringList(2, "インターネットの接続を切断しますか？"));
}

QTEST_GUILESS_MAIN(TestDownloadFlow)
#include "tst_downloadflow.moc"
