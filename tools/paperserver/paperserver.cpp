#include "paperserver/paperserver.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace kelmon {

namespace {

const QString kSampleUser = QStringLiteral("tarnu");

QString fromCp932(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

QByteArray errorPage(int status)
{
    return "<html><head><title>" + reason(status) + "</title></head><body><h1>" + QByteArray::number(status) + " "
        + reason(status) + "</h1></body></html>";
}

} // namespace

QByteArray toCp932(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    return encoder.encode(text);
}

PaperServer::PaperServer(QObject *parent) : QObject(parent), server_(new QTcpServer(this))
{
    addAccount(kSampleUser, kSampleUser, kUnlimited);
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = server_->nextPendingConnection()) {
            pending_.insert(socket, QByteArray());
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                pending_.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

PaperServer::~PaperServer() = default;

bool PaperServer::listen(quint16 port) { return server_->listen(QHostAddress::LocalHost, port); }

QString PaperServer::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(server_->serverPort()); }

void PaperServer::addAccount(const QString &user, const QString &password, int count)
{
    accounts_[user.toLower()] = {password, count};
}

int PaperServer::count(const QString &user) const { return accounts_.value(user.toLower()).count; }

void PaperServer::addArchive(const QString &name, const QByteArray &data) { archives_.append({name, data}); }

int PaperServer::addFolder(const QString &folder)
{
    const QDir dir(folder);
    int added = 0;
    for (const QString &name : dir.entryList({QStringLiteral("*.lzh")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            addArchive(name, file.readAll());
            ++added;
        }
    }
    return added;
}

QStringList PaperServer::archiveNames() const
{
    QStringList names;
    for (const auto &a : archives_)
        names << a.first;
    return names;
}

int PaperServer::requestCount(Step step) const
{
    static const char *const words[] = {"check", "dwldfile", nullptr, "delfile"};
    int n = 0;
    for (const QString &target : requests_) {
        const QString wci = target.section(u'?', 1).section(u'&', 0, 0).section(u'=', 1);
        const bool known = wci == u"check" || wci == u"dwldfile" || wci == u"delfile";
        if (step == Step::Fetch ? !known : wci == QLatin1String(words[int(step)]))
            ++n;
    }
    return n;
}

PaperServer::Account *PaperServer::account(const QString &user)
{
    auto it = accounts_.find(user.toLower());
    return it == accounts_.end() ? nullptr : &it.value();
}

void PaperServer::readRequest(QTcpSocket *socket)
{
    QByteArray &buffer = pending_[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> line = buffer.left(buffer.indexOf("\r\n")).split(' ');
    lastRequestHead_ = buffer.left(end);
    buffer.clear();
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    const QString target = line.size() >= 2 ? QString::fromLatin1(line.at(1)) : QString();
    requests_ << target;
    Step step = Step::Fetch;
    QString key;
    Reply reply = line.value(0) == "GET" ? answer(target, &step, &key) : Reply{405, errorPage(405), "text/html"};
    const Fault fault = faults_.value(step);
    if (fault.answer)
        reply.body = QByteArray(*fault.answer).replace("%KEY%", key.toLatin1());
    if (fault.status != 200) {
        reply.status = fault.status;
        if (!fault.answer && fault.status >= 300) {   // other 2xx keep the body
            reply.body = errorPage(fault.status);
            reply.type = "text/html";
        }
    }
    if (fault.trailingCrLf)
        reply.body += "\r\n";
    if (fault.silent)
        return;
    if (fault.delayMs > 0)
        QTimer::singleShot(fault.delayMs, socket, [this, socket, reply, fault] { send(socket, reply, fault); });
    else
        send(socket, reply, fault);
}

void PaperServer::send(QTcpSocket *socket, Reply reply, const Fault &fault)
{
    using Endless = Fault::Endless;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " " + reason(reply.status) + "\r\n";
    head += "Content-Type: " + reply.type + "\r\n";
    if (fault.deflate) {
        reply.body = qCompress(reply.body).mid(4);   // a zlib stream, without Qt's length prefix
        head += "Content-Encoding: deflate\r\n";
    }
    if (fault.chunked || fault.endless == Endless::ChunkSizeLine)
        head += "Transfer-Encoding: chunked\r\n";
    else if (!fault.noLength)
        head += "Content-Length: " + QByteArray::number(fault.length.value_or(reply.body.size())) + "\r\n";
    if (!fault.location.isEmpty())
        head += "Location: " + fault.location + "\r\n";
    head += "Cache-Control: no-cache\r\nConnection: close\r\n\r\n";
    QByteArray body = reply.body.left(std::max<qsizetype>(0, reply.body.size() - fault.cutShort));
    char pad = '\0';
    switch (fault.endless) {
    case Endless::None: break;
    case Endless::StatusLine: head = "HTTP/1.1 200 "; break;
    case Endless::HeaderLine: head = "HTTP/1.1 200 OK\r\nX-Note: "; break;
    case Endless::ChunkSizeLine: head += "1"; break;
    }
    if (fault.endless != Endless::None) {
        body.clear();
        pad = fault.endless == Endless::ChunkSizeLine ? '0' : 'a';
    }
    // In chunks, each piece is one chunk and the last chunk follows the rest.
    const bool chunks = fault.chunked && fault.endless == Endless::None;
    const auto encoded = [chunks](const QByteArray &piece, bool last) {
        if (!chunks)
            return piece;
        QByteArray out = piece.isEmpty() ? QByteArray() : QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
        return last ? out + "0\r\n\r\n" : out;
    };
    lastBodySent_ = 0;
    if (fault.pieceMs <= 0 && fault.padBytes == 0 && !chunks) {
        socket->write(head + body);
        lastBodySent_ = body.size();
        if (!fault.holdOpen)
            socket->disconnectFromHost();
        return;
    }
    // The body and its padding go out piece by piece, until all is sent or
    // the client leaves (the socket, and with it the timer, is then deleted).
    socket->write(head);
    const qint64 total = body.size() + fault.padBytes;
    auto at = std::make_shared<qint64>(0);
    auto write = [this, socket, body, total, at, pad, encoded, end = !fault.holdOpen](qint64 most) {
        const qint64 n = std::min(most, total - *at);
        QByteArray piece = body.mid(*at, n);
        piece.append(n - piece.size(), pad);
        *at += n;
        socket->write(encoded(piece, *at == total && end));
        lastBodySent_ = *at;
        if (*at == total && end)
            socket->disconnectFromHost();
        return *at < total;
    };
    if (fault.pieceMs > 0) {
        auto *timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [write, timer, bytes = fault.pieceBytes] {
            if (!write(bytes))
                timer->stop();
        });
        timer->start(fault.pieceMs);
        return;
    }
    // As fast as the client reads: topped up whenever little is left to write.
    const qint64 chunk = chunks ? fault.pieceBytes : 64 * 1024;
    auto topUp = [socket, write, chunk] {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 4 * 64 * 1024)
            if (!write(chunk))
                break;
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, topUp);
    topUp();
}

PaperServer::Reply PaperServer::answer(const QString &target, Step *step, QString *key)
{
    const QString path = target.section(u'?', 0, 0);
    if (!path.endsWith(u"/wckelmoni2.ASP", Qt::CaseInsensitive))
        return {404, errorPage(404), "text/html"};
    QMap<QString, QString> query;
    for (const QString &pair : target.section(u'?', 1).split(u'&')) {
        const QString name = pair.section(u'=', 0, 0);
        const QByteArray value = QByteArray::fromPercentEncoding(pair.section(u'=', 1).toLatin1());
        query.insert(name, fromCp932(value));
    }
    const QString wci = query.value(QStringLiteral("WCI"));
    if (wci == u"check") {
        *step = Step::Check;
        return check(query);
    }
    if (wci == u"dwldfile") {
        *step = Step::Dwldfile;
        return dwldfile(query, key);
    }
    if (wci == u"delfile") {
        *step = Step::Delfile;
        return delfile(query);
    }
    *step = Step::Fetch;
    return fetch(query);
}

PaperServer::Reply PaperServer::check(const QMap<QString, QString> &query)
{
    const Account *a = account(query.value(QStringLiteral("KMUSR")));
    if (!a || a->password != query.value(QStringLiteral("KMPSS")))
        return {200, "False"};
    if (archives_.isEmpty())
        return {200, "Non"};
    QStringList elements = archiveNames();
    elements << (a->count == kUnlimited ? QStringLiteral("∞") : QString::number(a->count));
    return {200, toCp932(elements.join(u','))};
}

PaperServer::Reply PaperServer::dwldfile(const QMap<QString, QString> &query, QString *key)
{
    const QString user = query.value(QStringLiteral("KMUSR"));
    const Account *a = account(user);
    if (!a)
        return {200, "False"};
    const QString file = query.value(QStringLiteral("FNM"));
    if (!archiveNames().contains(file) || a->count == 0)
        return {200, "Non"};
    *key = QStringLiteral("K%1").arg(nextKey_++, 4, 10, QLatin1Char('0'));
    reservations_.insert(*key, {user.toLower(), file, false});
    return {200, toCp932(*key + u',' + file)};
}

PaperServer::Reply PaperServer::fetch(const QMap<QString, QString> &query)
{
    auto it = reservations_.find(query.value(QStringLiteral("WCI")));
    if (it == reservations_.end())
        return {404, errorPage(404), "text/html"};
    for (const auto &a : archives_) {
        if (a.first == it->file) {
            it->fetched = true;
            return {200, a.second, "application/octet-stream"};
        }
    }
    return {404, errorPage(404), "text/html"};
}

PaperServer::Reply PaperServer::delfile(const QMap<QString, QString> &query)
{
    const QString user = query.value(QStringLiteral("KMUSR")).toLower();
    Account *a = account(user);
    if (!a)
        return {200, "False"};
    for (auto it = reservations_.begin(); it != reservations_.end(); ++it) {
        if (it->user == user && it->fetched) {
            reservations_.erase(it);
            if (a->count != kUnlimited && a->count > 0)
                --a->count;
            return {200, toCp932(QStringLiteral("True,")
                                 + (a->count == kUnlimited ? QStringLiteral("∞") : QString::number(a->count)))};
        }
    }
    return {200, "False"};
}

} // namespace kelmon
