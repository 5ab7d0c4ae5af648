// The download control on the network: requests through the proxy the
// environment names (plain HTTP in absolute form, TLS through a CONNECT
// tunnel), direct for bypassed hosts and loopback, a proxy's refusal or broken
// answer ending the transfer as any failure does, in the dialog too; and TLS
// with a loopback server of the test's own: a download, a redirect to another
// TLS address followed and one to plain refused, a certificate not trusted.

#include "download/downloadflow.h"
#include "download/setupregistry.h"
#include "platform/messages.h"
#include "support/testenv.h"

#include <QHostInfo>
#include <QNetworkProxy>
#include <QSettings>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QtTest>

using namespace kelmon;

namespace {

// Sets proxy variables ("name=value") for its lifetime, with every other one unset.
struct ProxyEnvironment {
    explicit ProxyEnvironment(const QStringList &settings = {})
    {
        clear();
        for (const QString &s : settings)
            qputenv(s.section('=', 0, 0).toLatin1(), s.section('=', 1).toLocal8Bit());
    }
    ~ProxyEnvironment() { clear(); }
    static void clear()
    {
        for (const char *name : {"http_proxy", "https_proxy", "all_proxy", "no_proxy"})
            qunsetenv(name), qunsetenv(QByteArray(name).toUpper());
    }
};

const QByteArray kAnswer = "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\na.lzh,5";
const QByteArray k407 = "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"p\"\r\n"
                        "Content-Length: 0\r\n\r\n";
const QStringList kDone{"7/7", "complete a.lzh,5"}, kFailed{"0/0", "cancel"};

QSslCertificate certificate() { return QSslCertificate::fromPath(test::dataPath("tls_localhost.crt")).value(0); }

// Trusts the test certificate for its lifetime, through the default
// configuration every TLS socket starts from.
struct TrustTestCertificate {
    TrustTestCertificate()
    {
        QSslConfiguration trusting = before;
        trusting.addCaCertificate(certificate());
        QSslConfiguration::setDefaultConfiguration(trusting);
    }
    ~TrustTestCertificate() { QSslConfiguration::setDefaultConfiguration(before); }
    const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
};

// A loopback server that keeps the first line of each request and handles it
// by handle(connection, head), or answers `answer` (and closes, if closes).
class LoopbackServer : public QTcpServer {
public:
    explicit LoopbackServer(const QByteArray &answer = kAnswer, bool tls = false) : answer_(answer), tls_(tls)
    {
        setProxy(QNetworkProxy::NoProxy);
        listen(QHostAddress::LocalHost);
    }
    // TLS by the certificate's name; plain by address, as the proxies are
    // reached, so that TLS checked against a proxy's name fails.
    QString url() const
    {
        return QString(tls_ ? "https://localhost:%1/" : "http://127.0.0.1:%1/").arg(serverPort());
    }
    QStringList requests;
    std::function<void(QTcpSocket *, const QByteArray &)> handle;
    bool closes = true;

protected:
    void incomingConnection(qintptr fd) override
    {
        auto *socket = tls_ ? new QSslSocket(this) : new QTcpSocket(this);
        socket->setSocketDescriptor(fd);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, head = QByteArray()]() mutable {
            if (head.contains("\r\n\r\n"))
                return;   // handled: what follows is not a head
            head += socket->readAll();
            if (!head.contains("\r\n\r\n"))
                return;
            requests << QString::fromLatin1(head.left(head.indexOf("\r\n")));
            if (handle)
                return handle(socket, head);
            socket->write(answer_);
            if (closes)
                socket->disconnectFromHost();
        });
        if (auto *ssl = qobject_cast<QSslSocket *>(socket)) {
            QFile key(test::dataPath("tls_localhost.key"));
            key.open(QIODevice::ReadOnly);
            ssl->setPrivateKey(QSslKey(&key, QSsl::Ec));
            ssl->setLocalCertificate(certificate());
            ssl->startServerEncryption();
        }
    }

private:
    QByteArray answer_;
    bool tls_;
};

// An HTTP proxy on loopback: opens a CONNECT tunnel to 127.0.0.1 at the port
// asked for; sends a request in absolute form on, in origin form, to
// 127.0.0.1 at its URL's port; relays the rest both ways.
struct RelayingProxy : LoopbackServer {
    RelayingProxy()
    {
        handle = [](QTcpSocket *client, QByteArray head) {
            const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
            const bool tunnel = words.value(0) == "CONNECT";
            const QUrl to = QUrl::fromEncoded(tunnel ? "//" + words.value(1) : words.value(1));
            head.replace(0, head.indexOf(' ', words.value(0).size() + 1),
                         words.value(0) + ' ' + to.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority));
            auto *server = new QTcpSocket(client);
            server->setProxy(QNetworkProxy::NoProxy);
            connect(server, &QTcpSocket::connected, client, [=] {
                tunnel ? client->write("HTTP/1.1 200 Connection established\r\n\r\n") : server->write(head);
                connect(client, &QTcpSocket::readyRead, server, [=] { server->write(client->readAll()); });
            });
            connect(server, &QTcpSocket::readyRead, client, [=] { client->write(server->readAll()); });
            connect(server, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
            server->connectToHost(QHostAddress::LocalHost, quint16(to.port()));
        };
    }
};

// One transfer to its end: the control's events ("read/max", "cancel", "complete body").
QStringList transfer(const QString &url)
{
    kmrdldctl ctl;
    ctl.setSilence(60000);   // a failure must come from the fault itself
    QStringList events;
    QObject::connect(&ctl, &kmrdldctl::DownLoadProgress, [&](qint64 r, qint64 m) { events << QString("%1/%2").arg(r).arg(m); });
    QObject::connect(&ctl, &kmrdldctl::DownLoadCancel, [&] { events << "cancel"; });
    QObject::connect(&ctl, &kmrdldctl::DownLoadComplete, [&](const QByteArray &b) { events << "complete " + b; });
    if (!ctl.DownLoad(url) || !QTest::qWaitFor([&] { return !ctl.busy(); }, 30000))
        events << "not ended";
    return events;
}

// A name of this machine that resolves to loopback only: not exempt from
// proxies as loopback is, yet reaching nothing but this machine.
QString loopbackName()
{
    const QString name = QHostInfo::localHostName();
    const QList<QHostAddress> addresses = QHostInfo::fromName(name).addresses();
    const bool loopback = std::all_of(addresses.begin(), addresses.end(), [](const QHostAddress &a) { return a.isLoopback(); });
    return !addresses.isEmpty() && loopback && !name.startsWith("localhost") ? name : QString();
}

} // namespace

class TestDownloadNet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(QSslSocket::supportsSsl()); }

    // In the texts, %P is the proxy's URL, %p its port, %S and %T the ports
    // of the plain and the TLS server, %H a loopback name of this machine.
    // A proxy answer of "relay" relays, any other is sent back and the
    // connection left open unless the row says it closes.
    void throughProxy_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QByteArray>("proxyAnswer");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("proxySaw");
        QTest::addColumn<bool>("proxyCloses");
        const auto row = [](const char *name, const QStringList &env, const char *url, const QStringList &events,
                            const QStringList &saw, const QByteArray &answer = "relay", bool closes = false) {
            QTest::newRow(name) << env << QString(url) << answer << events << saw << closes;
        };
        const QStringList get{"GET http://papers.invalid:%S/list?a=1 HTTP/1.1"}, tunnel{"CONNECT papers.invalid:%T HTTP/1.1"};
        const char *http = "http://papers.invalid:%S/list?a=1", *https = "https://papers.invalid:%T/list";
        row("http by http_proxy", {"http_proxy=%P"}, http, kDone, get);
        row("http by all_proxy without scheme", {"all_proxy=127.0.0.1:%p"}, http, kDone, get);
        row("https by https_proxy", {"https_proxy=%P"}, https, kDone, tunnel);
        row("https by http_proxy", {"http_proxy=%P"}, https, kDone, tunnel);
        row("https by ALL_PROXY", {"ALL_PROXY=%P"}, https, kDone, tunnel);
        row("host in no_proxy", {"http_proxy=%P", "no_proxy=example.com, %H"}, "http://%H:%S/", kDone, {});
        row("host in NO_PROXY, all_proxy", {"all_proxy=%P", "NO_PROXY=%H"}, "http://%H:%S/", kDone, {});
        row("domain in no_proxy, all_proxy", {"all_proxy=%P", "no_proxy=.invalid"}, http, kFailed, {});
        row("*.domain in no_proxy, all_proxy", {"all_proxy=%P", "no_proxy=*.invalid"}, https, kFailed, {});
        row("no_proxy names others", {"all_proxy=%P", "no_proxy=apers.invalid,invalid.example"}, http, kDone, get);
        row("loopback never", {"http_proxy=%P"}, "http://127.0.0.1:%S/", kDone, {});
        row("credentials asked for http", {"http_proxy=%P"}, http, kFailed, get, k407);
        row("credentials asked for CONNECT", {"https_proxy=%P"}, https, kFailed, tunnel, k407);
        row("CONNECT refused with a body", {"https_proxy=%P"}, https, kFailed, tunnel,
            "HTTP/1.1 403 Forbidden\r\nContent-Length: 6\r\n\r\ndenied");
        row("CONNECT answered, then closed", {"https_proxy=%P"}, https, kFailed, tunnel, "HTTP/1.1 200 OK\r\n\r\n", true);
        row("CONNECT answer's head without end", {"https_proxy=%P"}, https, kFailed, tunnel,
            "HTTP/1.1 200 OK\r\nX: " + QByteArray(1 << 20, 'x'));
    }

    void throughProxy()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, url);
        QFETCH(QByteArray, proxyAnswer);
        QFETCH(QStringList, events);
        QFETCH(QStringList, proxySaw);
        QFETCH(bool, proxyCloses);
        TrustTestCertificate trust;
        LoopbackServer server, tlsServer(kAnswer, true);
        std::unique_ptr<LoopbackServer> proxy(proxyAnswer == "relay" ? new RelayingProxy : new LoopbackServer(proxyAnswer));
        proxy->closes = proxyCloses;
        const QString host = loopbackName();
        if (url.contains("%H") && host.isEmpty())
            QSKIP("this machine's name does not resolve to loopback alone");
        const auto fill = [&](QStringList texts) {
            return texts.replaceInStrings("%P", proxy->url().chopped(1)).replaceInStrings("%p", QString::number(proxy->serverPort()))
                .replaceInStrings("%S", QString::number(server.serverPort()))
                .replaceInStrings("%T", QString::number(tlsServer.serverPort())).replaceInStrings("%H", host);
        };
        ProxyEnvironment env(fill(environment));
        QCOMPARE(transfer(fill({url}).first()), events);
        QCOMPARE(proxy->requests, fill(proxySaw));
    }

    // A proxy asking for credentials ends the log-in as any failed request
    // does: the status says cancelled, and the dialog is ready again.
    void proxyCredentialsInTheDialog()
    {
        test::ProgramFolder folder(false);
        setup::setFilePath(folder.file("setup.ini"));
        DownloadFlow::resetRunState();
        setup::setValue("DSET", "True");
        setup::setValue("DCK", "1");
        QSettings(folder.file("kelmon.ini"), QSettings::IniFormat).setValue("WEB/baseurl", "http://papers.invalid:1/");
        LoopbackServer proxy(k407);
        ProxyEnvironment env({"http_proxy=" + proxy.url()});
        ScriptedMessages box;
        DownloadFlow flow;
        flow.showLogin = [&] { flow.PForm_CloseWindow("tarnu", "tarnu", false); };
        flow.load();
        flow.cmdconect_Click();
        QVERIFY(QTest::qWaitFor([&] { return !flow.transferring(); }, 30000));
        setup::setFilePath(QString());
        QCOMPARE(flow.status(), "ダウンロードがキャンセルされました...");
        QCOMPARE(flow.buttons(), (DldButtons{true, false, true, false, true}));
        QCOMPARE(proxy.requests.size(), 1);
        QVERIFY(proxy.requests.first().startsWith("GET http://papers.invalid:1/wckelmoni2.ASP?WCI=check&"));
    }

    // TLS with a trusted certificate: a download, a redirect to another TLS
    // address followed, one to plain HTTP refused before anything is sent in
    // clear; without the trust, the server is refused before any request.
    void tls()
    {
        ProxyEnvironment none;
        LoopbackServer plain, secure(kAnswer, true);
        {
            TrustTestCertificate trust;
            QCOMPARE(transfer(secure.url() + "a"), kDone);
            LoopbackServer onward("HTTP/1.1 302 Found\r\nLocation: " + secure.url().toLatin1() + "b\r\n\r\n", true);
            QCOMPARE(transfer(onward.url()), kDone);
            LoopbackServer downgrade("HTTP/1.1 301 Moved\r\nLocation: " + plain.url().toLatin1() + "c\r\n\r\n", true);
            QCOMPARE(transfer(downgrade.url()), kFailed);
            QCOMPARE(downgrade.requests, QStringList{"GET / HTTP/1.1"});
        }
        QCOMPARE(transfer(secure.url() + "d"), kFailed);
        QCOMPARE(secure.requests, QStringList({"GET /a HTTP/1.1", "GET /b HTTP/1.1"}));
        QVERIFY(plain.requests.isEmpty());
    }
};

QTEST_MAIN(TestDownloadNet)
#include "tst_downloadnet.moc"
