// The download against the loopback paper server: log-in and list, one paper
// fetched and acknowledged, and every refusal and fault of the server or the
// network ending in its status text and button states, with nothing written
// or acknowledged that should not be, and the next download still working.

#include "download/dialup.h"
#include "download/downloadflow.h"
#include "download/papertitle.h"
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
    explicit Session(int papers = 2) : env(papers)
    {
        test::DownloadEnv::noModem();
        flow.showLogin = [this] { flow.PForm_CloseWindow(user, password, false); };
        QObject::connect(&flow, &DownloadFlow::beep, [this] { ++beeps; });
        flow.load();
    }
    bool idle() { return test::waitFor([this] { return !flow.transferring(); }, 5000); }
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
    QString dwldfile(int i) const { return "/wckelmoni2.ASP?WCI=dwldfile&KMUSR=" + user + "&FNM=" + archive(i); }
    QString delfile() const { return "/wckelmoni2.ASP?WCI=delfile&KMUSR=" + user; }

    test::DownloadEnv env;
    ScriptedMessages box;
    DownloadFlow flow;
    QString user = "tarnu";
    QString password = "tarnu";
    int beeps = 0;
};

} // namespace

class TestDownloadFlow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listAfterLogIn_data();
    void listAfterLogIn();
    void checkRefused_data();
    void checkRefused();
    void downloadsAndAcknowledges();
    void countRunsDown();
    void looseButWholeAnswers();
    void reservationRefused_data();
    void reservationRefused();
    void fetchFails_data();
    void fetchFails();
    void acknowledgementRefused_data();
    void acknowledgementRefused();
    void cancelDuringFetch();
    void closingRefusedWhileRequesting();
    void paperAlreadyReceived_data();
    void paperAlreadyReceived();
    void nameInOtherCaseReplacesTheFile();
    void writeFailures_data();
    void writeFailures();
    void passwordGoesIntact();
    void connectionOptions_data();
    void connectionOptions();
    void closeOffersHangUp();
};

void TestDownloadFlow::listAfterLogIn_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("buttons");
    QTest::newRow("sample account") << "tarnu" << PaperServer::kUnlimited << "∞" << "[ｻﾝﾌﾟﾙ]" << "TTTFT";
    QTest::newRow("sample in capitals") << "TARNU" << PaperServer::kUnlimited << "∞" << "[ｻﾝﾌﾟﾙ]" << "TTTFT";
    QTest::newRow("five left") << "hanako@example.jp" << 5 << "5" << "" << "TTTFT";
    QTest::newRow("none left") << "hanako@example.jp" << 0 << "0" << "" << "TFTFT";
}

void TestDownloadFlow::listAfterLogIn()
{
    QFETCH(QString, user);
    QFETCH(int, count);
    QFETCH(QString, shown);
    QFETCH(QString, suffix);
    QFETCH(QString, buttons);
    Session s;
    s.user = user;
    s.password = user.toLower() == "tarnu" ? "tarnu" : "secret";
    s.env.server.addAccount(user, s.password, count);
    QCOMPARE(letters(s.flow.buttons()), QString("TFTFF"));
    QVERIFY(s.connect());
    QCOMPARE(s.flow.rows(), QStringList({comp_papertitle(s.archive(0)) + suffix, comp_papertitle(s.archive(1)) + suffix}));
    QVERIFY(s.flow.rows().first().startsWith("住之江  >> "));
    QCOMPARE(s.flow.count(), shown);
    QCOMPARE(letters(s.flow.buttons()), buttons);
    QCOMPARE(s.flow.selectedRow(), 0);
    QCOMPARE(s.flow.status(), QString());
    QCOMPARE(s.env.server.requests(),
             QStringList{"/wckelmoni2.ASP?WCI=check&KMUSR=" + user + "&KMPSS=" + s.password});
    QVERIFY(s.box.shown().empty());
    // A click on a row names its file.
    s.flow.List1_Click(1);
    QCOMPARE(s.flow.status(), s.archive(1));
}

void TestDownloadFlow::checkRefused_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("buttons");
    auto answer = [](const QByteArray &body) {
        Fault f;
        f.answer = body;
        return f;
    };
    const QString invalid = "ユーザ名とパスワードが無効です...";
    const QString none = "ケルモンデジタルサイトにデータが有りません...";
    const QString site = "サイト側でエラーが発生しました...メールなどで連絡して下さい...";
    QTest::newRow("wrong password") << "tarnx" << Fault() << invalid << "TFTFF";
    QTest::newRow("false in capitals") << "tarnu" << answer(" FALSE ") << invalid << "TFTFF";
    QTest::newRow("Non") << "tarnu" << answer("Non") << none << "TFTFF";
    QTest::newRow("nON with blanks") << "tarnu" << answer("  nON\t") << none << "TFTFF";
    QTest::newRow("Error") << "tarnu" << answer("Error") << site << "TFTFF";
    QTest::newRow("error with CR LF") << "tarnu" << answer("error\r\n") << site << "TFTFF";
    QTest::newRow("empty") << "tarnu" << answer("") << kRetry << "TFTFF";
    QTest::newRow("blanks") << "tarnu" << answer("   ") << kRetry << "TFTFF";
    QTest::newRow("count not a number") << "tarnu" << answer("a.lzh,b.lzh,x") << kError << "TFTFF";
    QTest::newRow("html page") << "tarnu" << answer("<html><body>Service Unavailable</body></html>") << kError
                               << "TFTFF";
    Fault status500;
    status500.status = 500;
    QTest::newRow("500") << "tarnu" << status500 << kCancelled << "TFTFT";
    Fault cut;
    cut.cutShort = 4;
    QTest::newRow("cut short") << "tarnu" << cut << kCancelled << "TFTFT";
    Fault silent;
    silent.silent = true;
    QTest::newRow("never answers") << "tarnu" << silent << kCancelled << "TFTFT";
}

void TestDownloadFlow::checkRefused()
{
    QFETCH(QString, password);
    QFETCH(Fault, fault);
    QFETCH(QString, status);
    QFETCH(QString, buttons);
    Session s;
    s.password = password;
    s.env.server.setFault(Step::Check, fault);
    QVERIFY(s.connect());
    QCOMPARE(s.flow.status(), status);
    QCOMPARE(letters(s.flow.buttons()), buttons);
    QCOMPARE(s.flow.rows(), QStringList());
    QCOMPARE(s.flow.count(), QString("?"));
    QCOMPARE(s.beeps, 1);
    QCOMPARE(s.env.server.requests().size(), 1);
    QCOMPARE(s.env.received(), QStringList());

    // The next log-in works.
    s.env.server.clearFaults();
    s.password = "tarnu";
    QVERIFY(s.connect());
    QCOMPARE(s.flow.rows().size(), 2);
    QCOMPARE(letters(s.flow.buttons()), QString("TTTFT"));
    QCOMPARE(s.flow.status(), QString());
}

void TestDownloadFlow::downloadsAndAcknowledges()
{
    Session s;
    QVERIFY(s.connect());
    QVERIFY(s.download(1));
    QCOMPARE(s.env.requestsSince(1), QStringList({s.dwldfile(1), "/wckelmoni2.ASP?WCI=K0001&FNM=" + s.archive(1),
                                                  s.delfile()}));
    QCOMPARE(s.env.received(), QStringList{s.archive(1)});
    QCOMPARE(readFile(s.env.receive() + "/" + s.archive(1)), s.env.papers.at(1).archive);
    QCOMPARE(s.flow.status(), s.archive(1) + "のダウンロードが完了しました...");
    QCOMPARE(letters(s.flow.buttons()), QString("TTTFT"));
    QCOMPARE(s.flow.count(), QString("∞"));
    QCOMPARE(s.flow.selectedRow(), 1);
    QCOMPARE(s.flow.progressValue(), 0);
    // Now the row tells that its paper is there.
    s.flow.List1_Click(1);
    QCOMPARE(s.flow.status(), s.archive(1) + " （ダウンロード済み）");
    // The other paper follows without a new log-in.
    QVERIFY(s.download(0));
    QCOMPARE(s.env.received(), QStringList({s.archive(0), s.archive(1)}));
    QCOMPARE(s.env.server.requestCount(Step::Check), 1);
    QCOMPARE(s.env.server.requestCount(Step::Delfile), 2);
}

void TestDownloadFlow::countRunsDown()
{
    Session s;
    s.user = "hanako@example.jp";
    s.password = "pw";
    s.env.server.addAccount(s.user, s.password, 2);
    QVERIFY(s.connect());
    QCOMPARE(s.flow.count(), QString("2"));
    QVERIFY(s.download(0));
    QCOMPARE(s.flow.count(), QString("1"));
    QCOMPARE(letters(s.flow.buttons()), QString("TTTFT"));
    QVERIFY(s.download(1));
    QCOMPARE(s.flow.count(), QString("0"));
    QCOMPARE(letters(s.flow.buttons()), QString("TFTFT"));
    QCOMPARE(s.env.server.count(s.user), 0);
}

void TestDownloadFlow::looseButWholeAnswers()
{
    // Late answers without a length, the text answers with a line break after them.
    Session s;
    Fault loose;
    loose.noLength = true;
    loose.delayMs = 20;
    s.env.server.setFault(Step::Fetch, loose);
    loose.trailingCrLf = true;
    for (Step step : {Step::Check, Step::Dwldfile, Step::Delfile})
        s.env.server.setFault(step, loose);
    QVERIFY(s.connect());
    QCOMPARE(s.flow.count(), QString("∞"));
    QVERIFY(s.download(1));
    QCOMPARE(s.flow.status(), s.archive(1) + "のダウンロードが完了しました...");
    QCOMPARE(readFile(s.env.receive() + "/" + s.archive(1)), s.env.papers.at(1).archive);
    QCOMPARE(s.flow.count(), QString("∞"));
}

void TestDownloadFlow::reservationRefused_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("status");
    QTest::newRow("False") << QByteArray("False") << "ユーザ名とパスワードが無効です...";
    QTest::newRow("non in capitals") << QByteArray(" NON ") << "ケルモンデジタルサイトにデータが有りません...";
    QTest::newRow("Error") << QByteArray("eRROR") << "サイト側でエラーが発生しました...メールなどで連絡して下さい...";
    QTest::newRow("empty") << QByteArray("\r\n") << kRetry;
    QTest::newRow("parent folder") << QByteArray("%KEY%,../x.lzh") << kError;
    QTest::newRow("absolute") << QByteArray("%KEY%,/x.lzh") << kError;
    QTest::newRow("sub folder") << QByteArray("%KEY%,sub/x.lzh") << kError;
    QTest::newRow("backslash") << QByteArray("%KEY%,..\\x.lzh") << kError;
    QTest::newRow("leading dot") << QByteArray("%KEY%,.x.lzh") << kError;
    QTest::newRow("other extension") << QByteArray("%KEY%,x.exe") << kError;
    QTest::newRow("no name") << QByteArray("%KEY%") << kError;
}

void TestDownloadFlow::reservationRefused()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, status);
    Session s;
    QDir().mkpath(s.env.receive() + "/sub");
    QVERIFY(s.connect());
    Fault f;
    f.answer = answer;
    s.env.server.setFault(Step::Dwldfile, f);
    QVERIFY(s.download(0));
    QCOMPARE(s.flow.status(), status);
    QCOMPARE(letters(s.flow.buttons()), QString("TFTFF"));
    QCOMPARE(s.env.requestsSince(1), QStringList{s.dwldfile(0)});
    QCOMPARE(s.env.received(), QStringList());
    QCOMPARE(QDir(s.env.receive() + "/sub").entryList(QDir::Files), QStringList());
    QVERIFY(!QFile::exists(s.env.folder.file("x.lzh")));
    QVERIFY(!QFile::exists(s.env.receive() + "/.x.lzh"));

    // A new log-in and the paper comes.
    s.env.server.clearFaults();
    QVERIFY(s.connect());
    QVERIFY(s.download(0));
    QCOMPARE(s.env.received(), QStringList{s.archive(0)});
}

void TestDownloadFlow::fetchFails_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("status");
    Fault f404;
    f404.status = 404;
    QTest::newRow("404") << f404 << kCancelled;
    Fault f500;
    f500.status = 500;
    QTest::newRow("500") << f500 << kCancelled;
    Fault cut;
    cut.cutShort = 100;
    QTest::newRow("cut short") << cut << kCancelled;
    Fault html;
    html.answer = "<html><body><h1>Not here</h1></body></html>";
    QTest::newRow("html page") << html << kRetry;
    Fault empty;
    empty.answer = "";
    QTest::newRow("empty body") << empty << kRetry;
    Fault word;
    word.answer = "Error";
    QTest::newRow("a word") << word << kRetry;
    Fault silent;
    silent.silent = true;
    QTest::newRow("never answers") << silent << kCancelled;
}

void TestDownloadFlow::fetchFails()
{
    QFETCH(Fault, fault);
    QFETCH(QString, status);
    Session s;
    QVERIFY(s.connect());
    s.env.server.setFault(Step::Fetch, fault);
    QVERIFY(s.download(0));
    QCOMPARE(s.flow.status(), status);
    QCOMPARE(letters(s.flow.buttons()), QString("TTTFT"));
    QCOMPARE(s.env.received(), QStringList());
    // The network layer may send a fetch that broke off once more by itself.
    QVERIFY(s.env.server.requestCount(Step::Fetch) >= 1);
    QCOMPARE(s.env.server.requestCount(Step::Delfile), 0);
    QCOMPARE(s.flow.progressValue(), 0);

    // The list stays: the same paper again, reserved anew.
    s.env.server.clearFaults();
    QVERIFY(s.download(0));
    QCOMPARE(s.env.received(), QStringList{s.archive(0)});
    QCOMPARE(s.env.server.requestCount(Step::Dwldfile), 2);
    QCOMPARE(s.env.server.requestCount(Step::Delfile), 1);
}

void TestDownloadFlow::acknowledgementRefused_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("buttons");
    QTest::newRow("False") << QByteArray("False") << "受信データに誤りの可能性があります..." << "TFTFF";
    QTest::newRow("Non") << QByteArray("Non") << "受信データに誤りの可能性があります..." << "TFTFF";
    QTest::newRow("Error") << QByteArray("Error") << "サイト側でエラーが発生しました...メールなどで連絡して下さい..." << "TFTFF";
    QTest::newRow("empty") << QByteArray("") << kRetry << "TFTFF";
    QTest::newRow("True without count") << QByteArray("True") << kError << "TFTFF";
    QTest::newRow("true with CR LF") << QByteArray("true,7\r\n") << "" << "TTTFT";
}

void TestDownloadFlow::acknowledgementRefused()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, status);
    QFETCH(QString, buttons);
    Session s;
    QVERIFY(s.connect());
    Fault f;
    f.answer = answer;
    s.env.server.setFault(Step::Delfile, f);
    QVERIFY(s.download(0));
    if (status.isEmpty()) {
        QCOMPARE(s.flow.count(), QString("7"));
        status = s.archive(0) + "のダウンロードが完了しました...";
    } else {
        QCOMPARE(s.flow.count(), QString("∞"));   // the count shown before
    }
    QCOMPARE(s.flow.status(), status);
    QCOMPARE(letters(s.flow.buttons()), buttons);
    // The archive came whole and stays for registration.
    QCOMPARE(readFile(s.env.receive() + "/" + s.archive(0)), s.env.papers.at(0).archive);
    QCOMPARE(s.env.server.requestCount(Step::Delfile), 1);
}

void TestDownloadFlow::cancelDuringFetch()
{
    Session s;
    QVERIFY(s.connect());
    Fault slow;
    slow.silent = true;
    s.env.server.setFault(Step::Fetch, slow);
    s.flow.List1_Click(0);
    s.flow.cmddwld_Click();
    QVERIFY(test::waitFor([&] { return s.flow.buttons().cancel; }, 5000));
    QCOMPARE(letters(s.flow.buttons()), QString("FFFTF"));
    QCOMPARE(s.flow.status(), s.archive(0) + "のダウンロードを開始します...");
    QVERIFY(!s.flow.queryUnload());
    QCOMPARE(s.box.texts(), QStringList{"デジタル紙面をダウンロード中のため終了出来ません"});
    s.flow.Command1_Click();
    QCOMPARE(s.flow.status(), kCancelled);
    QCOMPARE(letters(s.flow.buttons()), QString("TTTFT"));
    QVERIFY(s.flow.queryUnload());
    QTest::qWait(50);
    QCOMPARE(s.env.received(), QStringList());
    QCOMPARE(s.env.server.requestCount(Step::Delfile), 0);

    s.env.server.clearFaults();
    QVERIFY(s.download(0));
    QCOMPARE(s.env.received(), QStringList{s.archive(0)});
}

void TestDownloadFlow::closingRefusedWhileRequesting()
{
    Session s;
    Fault silent;
    silent.silent = true;
    s.env.server.setFault(Step::Check, silent);
    s.flow.cmdconect_Click();
    QCOMPARE(letters(s.flow.buttons()), QString("FFFFF"));
    QCOMPARE(s.flow.progressValue(), 0);
    QVERIFY(!s.flow.queryUnload());
    QCOMPARE(s.box.texts(), QStringList{"デジタル紙面をダウンロード中のため終了出来ません"});
    // Silence ends the request; the dialog can close then.
    QVERIFY(s.idle());
    QCOMPARE(s.flow.status(), kCancelled);
    QVERIFY(s.flow.queryUnload());
}

void TestDownloadFlow::paperAlreadyReceived_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    const QString asked = "そのデータは既にダウンロードされています\r\n再度ダウンロードしますか？";
    const QString more = "\r\n\r\n再度ダウンロードした場合は利用可能回数が 1 減ります...";
    QTest::newRow("sample, no") << "tarnu" << false << asked;
    QTest::newRow("sample, yes") << "Tarnu" << true << asked;
    QTest::newRow("member, yes") << "hanako@example.jp" << true << asked + more;
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
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    s.box.answer(yes);
    QVERIFY(s.download(0));
    QCOMPARE(s.box.shown().size(), size_t(1));
    QCOMPARE(s.box.shown()[0].kind, ScriptedMessages::Shown::Question);
    QCOMPARE(s.box.shown()[0].title, QString("ダウンロードの確認です..."));
    QCOMPARE(s.box.shown()[0].text, question);
    QCOMPARE(s.env.server.requestCount(Step::Dwldfile), yes ? 1 : 0);
    // One file either way, under the name it had; replaced by the paper on Yes.
    QCOMPARE(s.env.received(), QStringList{s.archive(0).toUpper()});
    QCOMPARE(readFile(old.fileName()), yes ? s.env.papers.at(0).archive : QByteArray("old"));
}

void TestDownloadFlow::nameInOtherCaseReplacesTheFile()
{
    Session s;
    QVERIFY(s.connect());
    const QString lower = s.archive(0).toLower();
    QFile old(s.env.receive() + "/" + lower);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    // The paper is listed under another name; its reservation names the file in capitals.
    Fault f;
    f.answer = "%KEY%," + s.archive(0).toUpper().toLatin1();
    s.env.server.setFault(Step::Dwldfile, f);
    QVERIFY(s.download(1));
    QCOMPARE(s.box.shown().size(), size_t(0));
    QCOMPARE(s.env.received(), QStringList{lower});
    QCOMPARE(readFile(old.fileName()), s.env.papers.at(1).archive);
    QCOMPARE(s.env.server.requestCount(Step::Delfile), 1);
}

void TestDownloadFlow::writeFailures_data()
{
    QTest::addColumn<bool>("folderMissing");
    QTest::newRow("receive folder gone") << true;
    QTest::newRow("a folder in the way") << false;
}

void TestDownloadFlow::writeFailures()
{
    QFETCH(bool, folderMissing);
    Session s;
    QVERIFY(s.connect());
    if (folderMissing)
        QVERIFY(QDir(s.env.receive()).removeRecursively());
    else
        QVERIFY(QDir().mkpath(s.env.receive() + "/" + s.archive(0)));
    QVERIFY(s.download(0));
    QCOMPARE(s.flow.status(), kRetry);
    QCOMPARE(letters(s.flow.buttons()), QString("TTTFT"));
    QCOMPARE(s.env.server.requestCount(Step::Delfile), 0);
    QStringList left = QDir(s.env.receive()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(left, folderMissing ? QStringList() : QStringList{s.archive(0)});
    QVERIFY(!QFileInfo(s.env.receive() + "/" + s.archive(0)).isFile());
}

void TestDownloadFlow::passwordGoesIntact()
{
    Session s;
    s.user = "taro+news@example.jp";
    s.password = "p&w=1 #%+あ";
    s.env.server.addAccount(s.user, s.password, 3);
    QVERIFY(s.connect());
    QCOMPARE(s.flow.count(), QString("3"));
    QCOMPARE(s.env.server.requests(),
             QStringList{"/wckelmoni2.ASP?WCI=check&KMUSR=taro%2Bnews@example.jp&KMPSS=p%26w%3D1%20%23%25%2B%82%A0"});
    QVERIFY(s.download(0));
    QCOMPARE(s.flow.count(), QString("2"));
    for (const auto &m : s.box.shown())
        QVERIFY(!m.text.contains(s.password));
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
    QTest::addColumn<bool>("loggedIn");
    const QString choose = "接続設定で使用するダイヤルアップを選択して下さい";
    QTest::newRow("never set: options, still not set") << "" << "" << "" << false << 1 << "" << QStringList() << false;
    QTest::newRow("connection up: nothing asked") << "" << "" << "" << true << 0 << "" << QStringList() << true;
    QTest::newRow("no modem") << "True" << "1" << "" << false << 0 << "" << QStringList() << true;
    QTest::newRow("dial without a name") << "True" << "0" << "" << false << 0 << choose << QStringList() << false;
    QTest::newRow("dial a vanished entry") << "True" << "0" << "Old" << false << 0
                                           << "ダイヤルアップが変更されています\r\n\r\n" + choose << QStringList()
                                           << false;
    QTest::newRow("dial, other case") << "true" << "0" << "office" << false << 0 << "" << QStringList{"office"}
                                      << true;
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
    QFETCH(bool, loggedIn);
    Session s;
    setup::remove("DSET");
    setup::remove("DCK");
    if (!dset.isEmpty())
        setup::setValue("DSET", dset);
    if (!dck.isEmpty())
        setup::setValue("DCK", dck);
    if (!dname.isEmpty())
        setup::setValue("DNAME", dname);
    ScriptedDialUp dial;
    dial.connected = connected;
    dial.entries = {"Home", "Office"};
    int options = 0;
    s.flow.showOptions = [&] { ++options; };
    QVERIFY(s.connect());
    QCOMPARE(options, optionsShown);
    QCOMPARE(s.box.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(dial.dialled, dialled);
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
    s.flow.cmdclse_Click();
    QCOMPARE(dial.hangUps, 0);
    s.box.answer(true);
    s.flow.cmdclse_Click();
    QCOMPARE(dial.hangUps, 1);
    QCOMPARE(s.box.texts(), QStringList(2, "インターネットの接続を切断しますか？"));
}

QTEST_GUILESS_MAIN(TestDownloadFlow)
#include "tst_downloadflow.moc"
