#include "download/kmrdldctl.h"

#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <QRegularExpression>
#include <QSslSocket>
#include <QTcpSocket>

namespace kelmon {

namespace {

int silenceMs = kmrdldctl::kDefaultSilenceMs;

// What is taken from the connection at a time; the socket buffers no more
// ahead of the control's own reading.
constexpr qint64 kReadPiece = 64 * 1024;

// The port of a proxy named without one: an HTTP proxy's as Qt's network
// access took it, a SOCKS proxy's registered port.
constexpr int kDefaultHttpProxyPort = 8080;
constexpr int kDefaultSocksPort = 1080;

// A variable's value: the lower-case name first, then the upper-case one.
QByteArray environment(const char *lowerName)
{
    const QByteArray value = qgetenv(lowerName).trimmed();
    return value.isEmpty() ? qgetenv(QByteArray(lowerName).toUpper()).trimmed() : value;
}

// Whether no_proxy names the host: entries separated by commas or blanks, "*"
// every host. A host that is an address matches an entry that is the same
// address ("::1" and "0:0::1" alike) or a range holding it ("192.0.2.0/24",
// "fd00::/8"); a name matches an entry that is the name itself or a domain it
// lies in ("example.com", ".example.com" and "*.example.com" alike), a final
// dot of either left out. Domains are for names only: "2.2" leaves 192.0.2.2 alone.
bool bypassed(const QString &host)
{
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QHostAddress address(host);
    QString name = u'.' + host.toLower();
    if (name.endsWith(u'.'))
        name.chop(1);
    for (QString entry : QString::fromLocal8Bit(environment("no_proxy")).split(separators, Qt::SkipEmptyParts)) {
        entry = entry.toLower();
        if (entry == u"*")
            return true;
        if (!address.isNull()) {
            if (entry.contains(u'/') ? address.isInSubnet(QHostAddress::parseSubnet(entry)) : address.isEqual(QHostAddress(entry)))
                return true;
            continue;
        }
        while (entry.startsWith(u'*') || entry.startsWith(u'.'))
            entry.remove(0, 1);
        if (entry.endsWith(u'.'))
            entry.chop(1);
        if (!entry.isEmpty() && name.endsWith(u'.' + entry))
            return true;
    }
    return false;
}

// The proxy a variable names, "[scheme://][user[:password]@]host[:port]", an
// HTTP proxy where the scheme is left out; none for one that cannot be spoken
// to. A SOCKS proxy resolves the server's name itself (socks5h and socks5 alike).
std::optional<QNetworkProxy> namedProxy(const QString &value)
{
    const QUrl url(value.contains(u"://") ? value : QStringLiteral("http://") + value);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    QNetworkProxy proxy;
    if (scheme == u"http")
        proxy = QNetworkProxy(QNetworkProxy::HttpProxy, url.host(), quint16(url.port(kDefaultHttpProxyPort)));
    else if (scheme == u"socks5" || scheme == u"socks5h")
        proxy = QNetworkProxy(QNetworkProxy::Socks5Proxy, url.host(), quint16(url.port(kDefaultSocksPort)));
    else
        return std::nullopt;
    proxy.setUser(url.userName(QUrl::FullyDecoded));
    proxy.setPassword(url.password(QUrl::FullyDecoded));
    return proxy;
}

} // namespace

// One rule for every scheme: loopback and the hosts no_proxy names go direct;
// else the proxy the environment names for the URL's scheme (https_proxy, then
// http_proxy, which Qt's network access took for https too), else all_proxy;
// where the environment names none, the desktop's settings.
std::optional<QNetworkProxy> kmrdldctl::proxyFor(const QUrl &url)
{
    const QString host = url.host();
    QHostAddress address;
    if (host == u"localhost" || (address.setAddress(host) && address.isLoopback()) || bypassed(host))
        return QNetworkProxy::NoProxy;
    QByteArray named = url.scheme() == u"https" ? environment("https_proxy") : QByteArray();
    for (const char *name : {"http_proxy", "all_proxy"})
        named = named.isEmpty() ? environment(name) : named;
    if (!named.isEmpty())
        return namedProxy(QString::fromLocal8Bit(named));
    QNetworkProxy proxy = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url)).value(0);
    if (proxy.type() != QNetworkProxy::HttpProxy && proxy.type() != QNetworkProxy::Socks5Proxy)
        return QNetworkProxy::NoProxy;
    if (proxy.port() == 0)
        proxy.setPort(proxy.type() == QNetworkProxy::HttpProxy ? kDefaultHttpProxyPort : kDefaultSocksPort);
    return proxy;
}

kmrdldctl::kmrdldctl(QObject *parent) : QObject(parent), silenceMs_(silenceMs)
{
    silence_.setSingleShot(true);
    deadline_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, &kmrdldctl::fail);
    connect(&deadline_, &QTimer::timeout, this, &kmrdldctl::fail);
}

kmrdldctl::~kmrdldctl() { drop(); }

void kmrdldctl::setSilenceTimeout(int ms) { silenceMs = ms > 0 ? ms : kDefaultSilenceMs; }

int kmrdldctl::silenceTimeout() { return silenceMs; }

bool kmrdldctl::DownLoad(const QString &urlStr)
{
    if (busy_)
        return false;
    body_.clear();
    received_ = 0;
    announced_ = -1;
    redirects_ = 0;
    busy_ = true;
    silence_.start(silenceMs_);
    deadline_.start(deadlineMs_);
    open(QUrl::fromEncoded(urlStr.toUtf8()));
    return true;
}

void kmrdldctl::open(const QUrl &url)
{
    url_ = url;
    reader_ = HttpReader();
    tunnel_ = false;
    const bool tls = url.scheme().compare(u"https", Qt::CaseInsensitive) == 0;
    const std::optional<QNetworkProxy> proxy = proxyFor(url);
    if ((!tls && url.scheme().compare(u"http", Qt::CaseInsensitive) != 0) || url.host().isEmpty()
        || (tls && !QSslSocket::supportsSsl()) || !proxy) {
        // Reported from the event loop, as every other end of a transfer.
        QTimer::singleShot(0, this, [this, url] {
            if (busy_ && !socket_ && url_ == url)
                fail();
        });
        return;
    }
    QTcpSocket *socket = tls ? new QSslSocket(this) : new QTcpSocket(this);
    socket_ = socket;
    socket->setReadBufferSize(kReadPiece);
    // An HTTP proxy is spoken to here; any other (SOCKS) the socket speaks to itself.
    const bool httpProxy = proxy->type() == QNetworkProxy::HttpProxy;
    socket->setProxy(httpProxy ? QNetworkProxy(QNetworkProxy::NoProxy) : *proxy);
    // The credentials of an HTTP proxy go on each request to it, never to the
    // server; a password alone counts ("http://:pw@host" sends ":pw").
    QByteArray login;
    if (httpProxy && !(proxy->user().isEmpty() && proxy->password().isEmpty()))
        login = "Proxy-Authorization: Basic " + (proxy->user() + u':' + proxy->password()).toUtf8().toBase64() + "\r\n";
    // Every answer of the server changes with each call: nothing from a cache
    // on the way. The body is asked for as it stands, without content coding.
    QByteArray target = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (!target.startsWith('/'))
        target.prepend('/');
    const int defaultPort = tls ? 443 : 80;
    const quint16 port = quint16(url.port(defaultPort));
    const QByteArray hostName = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveUserInfo | QUrl::RemovePath
                                              | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemovePort)
                                    .mid(2);
    const QByteArray hostPort = hostName + ':' + QByteArray::number(port);
    const QByteArray host = port == defaultPort ? hostName : hostPort;
    // Plain HTTP goes to a proxy as the whole URL; TLS through a tunnel to the server.
    if (httpProxy && !tls)
        target.prepend("http://" + host);
    const QByteArray request = "GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\n" + (tls ? QByteArray() : login)
        + "Accept-Encoding: identity\r\nCache-Control: no-cache\r\nPragma: no-cache\r\nConnection: close\r\n\r\n";
    connect(socket, &QTcpSocket::readyRead, this, &kmrdldctl::read);
    connect(socket, &QTcpSocket::disconnected, this, &kmrdldctl::finished);
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError error) {
        if (socket != socket_)
            return;
        // The server closing the connection ends a body without length.
        if (error == QAbstractSocket::RemoteHostClosedError)
            finished();
        else
            fail();
    });
    const QString peer = httpProxy ? proxy->hostName() : url.host();
    const quint16 peerPort = httpProxy ? proxy->port() : port;
    tunnel_ = tls && httpProxy;
    if (tls) {
        auto *ssl = static_cast<QSslSocket *>(socket);
        ssl->setPeerVerifyName(url.host());
        connect(ssl, &QSslSocket::encrypted, this, [ssl, request] { ssl->write(request); });
        if (!tunnel_)
            return ssl->connectToHostEncrypted(peer, peerPort);
    }
    const QByteArray first = tunnel_ ? "CONNECT " + hostPort + " HTTP/1.1\r\nHost: " + hostPort + "\r\n" + login + "\r\n" : request;
    connect(socket, &QTcpSocket::connected, this, [socket, first] { socket->write(first); });
    socket->connectToHost(peer, peerPort);
}

// The proxy's answer to CONNECT, read with the same bounds as a server's head:
// only a success with nothing after its head opens the tunnel, in which TLS
// with the server begins; anything else fails the transfer.
void kmrdldctl::readTunnel()
{
    while (socket_ && socket_->bytesAvailable() > 0 && !reader_.headRead()) {
        const QByteArray piece = reader_.feed(socket_->read(kReadPiece));
        if (reader_.state() == HttpReader::State::Failed || !piece.isEmpty())
            return fail();
    }
    if (!socket_ || !reader_.headRead())
        return;
    if (reader_.status() / 100 != 2 || socket_->bytesAvailable() > 0)
        return fail();
    tunnel_ = false;
    reader_ = HttpReader();
    static_cast<QSslSocket *>(socket_.data())->startClientEncryption();
}

void kmrdldctl::drop()
{
    silence_.stop();
    deadline_.stop();
    body_.clear();
    closeSocket();
}

void kmrdldctl::closeSocket()
{
    if (socket_) {
        QTcpSocket *socket = socket_;
        socket_ = nullptr;
        socket->disconnect(this);
        // Closes the connection at once: nothing more is read from it.
        socket->abort();
        socket->deleteLater();
    }
}

void kmrdldctl::Cancel()
{
    drop();
    busy_ = false;
    emit DownLoadCancel();
}

void kmrdldctl::fail()
{
    if (!busy_)
        return;
    const qint64 read = received_, max = std::max<qint64>(announced_, 0);
    drop();
    busy_ = false;
    emit DownLoadProgress(read, max);
    emit DownLoadCancel();
}

bool kmrdldctl::headers()
{
    const int status = reader_.status();
    if (status >= 300 && status < 400 && status != 304 && !reader_.location().isEmpty()) {
        const QUrl next = url_.resolved(QUrl::fromEncoded(reader_.location()));
        // Never from TLS to plain, and not round and round.
        const bool lessSafe = url_.scheme().compare(u"https", Qt::CaseInsensitive) == 0
            && next.scheme().compare(u"https", Qt::CaseInsensitive) != 0;
        if (++redirects_ > kMaxRedirects || lessSafe || !next.isValid()) {
            fail();
            return false;
        }
        closeSocket();
        open(next);
        return false;
    }
    announced_ = reader_.contentLength();
    // Only a 200 carries the body asked for; an error page is not read, nor a
    // body announced beyond the limit.
    if (status != 200 || announced_ > maxBytes_) {
        fail();
        return false;
    }
    return true;
}

void kmrdldctl::read()
{
    if (tunnel_)
        return readTunnel();
    const QPointer<QTcpSocket> socket = socket_;
    while (socket && socket == socket_ && socket->bytesAvailable() > 0) {
        const bool head = !reader_.headRead();
        // One byte beyond the limit tells a body that is too long.
        const qint64 most = head ? kReadPiece : std::min(kReadPiece, maxBytes_ - received_ + 1);
        const QByteArray bytes = socket->read(most);
        QByteArray piece = reader_.feed(bytes);
        if (reader_.state() == HttpReader::State::Failed)
            return fail();
        if (head && reader_.headRead() && !headers())
            return;
        if (!piece.isEmpty()) {
            received_ += piece.size();
            if (received_ > maxBytes_)
                return fail();
            silence_.start(silenceMs_);
            if (streaming_)
                emit DownLoadData(piece);
            else
                body_ += piece;
            if (socket != socket_)
                return;   // a handler cancelled the transfer
            emit DownLoadProgress(received_, std::max<qint64>(announced_, 0));
            if (socket != socket_)
                return;
        }
        if (reader_.state() == HttpReader::State::Done)
            return finished();
    }
}

void kmrdldctl::finished()
{
    if (!socket_)
        return;
    if (reader_.state() != HttpReader::State::Done) {
        // Whatever the connection still holds belongs to the answer.
        read();
        if (!socket_ || reader_.state() == HttpReader::State::Done)
            return;   // ended there
        reader_.end();
        if (reader_.state() != HttpReader::State::Done)
            return fail();
    }
    const QByteArray body = std::exchange(body_, QByteArray());
    drop();
    busy_ = false;
    emit DownLoadComplete(body);
}

} // namespace kelmon
