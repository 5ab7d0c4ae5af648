#pragma once
// A stand-in for the publisher's paper server: answers the four requests of
// the download (check, dwldfile, the archive fetch, delfile) over HTTP on the
// loopback interface, with accounts, remaining counts, reservations and
// archives. It records every request target in order and has knobs for the
// faults a real server or network shows.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QTcpServer;
class QTcpSocket;

namespace kelmon {

class PaperServer : public QObject {
    Q_OBJECT
public:
    enum class Step { Check, Dwldfile, Fetch, Delfile };

    // What to do differently when answering one kind of request. The server
    // still acts on the request (logs in, reserves, serves, counts down);
    // the knobs change only what goes back.
    struct Fault {
        std::optional<QByteArray> answer;   // body sent instead; "%KEY%" stands for the reservation's key
        int status = 200;                   // HTTP status
        int delayMs = 0;                    // wait before answering
        bool silent = false;                // never answer
        int cutShort = 0;                   // bytes left out of the announced length
        bool noLength = false;              // no Content-Length; the end of the body closes the connection
        bool trailingCrLf = false;          // CR LF after the body
        int pieceMs = 0;                    // the body sent in pieces, one every pieceMs
        int pieceBytes = 1;                 // the size of those pieces
        qint64 padBytes = 0;                // zero bytes sent after the body, as fast as the client takes them
        std::optional<qint64> length;       // Content-Length announced instead of the body's own
        bool chunked = false;               // the body in chunks of pieceBytes, no Content-Length
        bool deflate = false;               // the body compressed, "Content-Encoding: deflate"
        QByteArray location;                // a Location field (with a 3xx status: a redirect)
        bool holdOpen = false;              // the connection kept open after the body (and no last chunk)
        // A head that never ends: after the start of the status line, of a
        // header line or of the first chunk-size line, padBytes more of that
        // line, as fast as the client takes them.
        enum class Endless { None, StatusLine, HeaderLine, ChunkSizeLine } endless = Endless::None;
    };

    explicit PaperServer(QObject *parent = nullptr);
    ~PaperServer() override;

    // Listens on 127.0.0.1 (port 0: any free port).
    bool listen(quint16 port = 0);
    QString baseUrl() const;   // "http://127.0.0.1:port/"

    static constexpr int kUnlimited = -1;   // the count shown as "∞"
    // The sample account tarnu/tarnu with an unlimited count is always there.
    void addAccount(const QString &user, const QString &password, int count);
    int count(const QString &user) const;
    // Archives offered to every account, in the order added.
    void addArchive(const QString &name, const QByteArray &data);
    // Adds every *.lzh of a folder; returns how many.
    int addFolder(const QString &folder);
    QStringList archiveNames() const;

    void setFault(Step step, const Fault &fault) { faults_[step] = fault; }
    void clearFaults() { faults_.clear(); }

    // Request targets ("/wckelmoni2.ASP?WCI=check&...") in the order received.
    const QStringList &requests() const { return requests_; }
    void clearRequests() { requests_.clear(); }
    // Requests of one kind among them (by the WCI value: check, dwldfile, delfile; others are fetches).
    int requestCount(Step step) const;
    // Bytes of the last answer's body (padding included) handed to the network so far.
    qint64 lastBodySent() const { return lastBodySent_; }
    // Connections the clients have open (the server closes its side only after answering).
    int openConnections() const { return pending_.size(); }
    // The head of the last request, request line and fields.
    const QByteArray &lastRequestHead() const { return lastRequestHead_; }

private:
    struct Account {
        QString password;
        int count = 0;
    };
    struct Reservation {
        QString user;
        QString file;
        bool fetched = false;
    };
    struct Reply {
        int status = 200;
        QByteArray body;
        QByteArray type = "text/plain; charset=Shift_JIS";
    };

    void readRequest(QTcpSocket *socket);
    Reply answer(const QString &target, Step *step, QString *key);
    Reply check(const QMap<QString, QString> &query);
    Reply dwldfile(const QMap<QString, QString> &query, QString *key);
    Reply fetch(const QMap<QString, QString> &query);
    Reply delfile(const QMap<QString, QString> &query);
    Account *account(const QString &user);
    void send(QTcpSocket *socket, Reply reply, const Fault &fault);

    QTcpServer *server_;
    QMap<QString, Account> accounts_;   // by lower-case user name
    QList<QPair<QString, QByteArray>> archives_;
    QHash<QString, Reservation> reservations_;
    QHash<Step, Fault> faults_;
    QStringList requests_;
    QHash<QTcpSocket *, QByteArray> pending_;
    int nextKey_ = 1;
    qint64 lastBodySent_ = 0;
    QByteArray lastRequestHead_;
};

// Text in code page 932, as the server's answers are.
QByteArray toCp932(const QString &text);

} // namespace kelmon
