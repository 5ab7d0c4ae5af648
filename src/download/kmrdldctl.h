#pragma once
// The download control: fetches one URL over HTTP at a time and hands back
// the body, with progress reports and a cancel path. Each transfer has a
// connection of its own (plain or TLS), closed as soon as the transfer ends
// in any way, so that nothing is read after a cancel or a failure. No cache
// is involved; redirects are followed unless they lead from TLS to plain.
// Each request goes through the proxy the environment names for its URL (the
// desktop's where it names none), or direct: plain HTTP to an HTTP proxy as
// the whole URL, TLS through a tunnel the proxy opens (CONNECT), with the
// credentials of the proxy's URL on each; a SOCKS proxy the socket speaks to.
// A proxy that cannot be spoken to, or its refusal, its asking for
// credentials (407) among them, fails the transfer.
// The body is asked for and handed on as it stands, without content coding.
//
// A transfer ends in exactly one of two events: DownLoadComplete with the
// body, or DownLoadCancel when it was cancelled or failed. A failure raises
// one DownLoadProgress with the figures it ended at, then DownLoadCancel; a
// Cancel raises DownLoadCancel alone. Failure covers network errors, any final
// status but 200, an answer that cannot be read as HTTP or whose head passes
// its bound (HttpReader), a body that is shorter than its announced length, a
// body beyond the control's size limit, silence (no body bytes for the silence
// timeout) and a transfer that has not ended by the control's deadline.
//
// The body is either held (at most the size limit) and handed whole to
// DownLoadComplete, or, streaming, handed on piece by piece through
// DownLoadData as it arrives and never held; DownLoadComplete then carries an
// empty array.

#include "download/httpreader.h"

#include <QByteArray>
#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <optional>

class QTcpSocket;

namespace kelmon {

class kmrdldctl : public QObject {
    Q_OBJECT
public:
    explicit kmrdldctl(QObject *parent = nullptr);
    ~kmrdldctl() override;

    // Starts fetching urlStr; false (and nothing started) while a transfer runs.
    bool DownLoad(const QString &urlStr);
    // Stops the running transfer and raises DownLoadCancel.
    void Cancel();
    // Whether a transfer runs.
    bool busy() const { return busy_; }

    // What one transfer may take; each applies from the next DownLoad.
    void setMaxBytes(qint64 bytes) { maxBytes_ = bytes; }
    void setDeadline(int ms) { deadlineMs_ = ms; }
    void setSilence(int ms) { silenceMs_ = ms; }
    void setStreaming(bool on) { streaming_ = on; }
    qint64 maxBytes() const { return maxBytes_; }

    // The defaults fit a short text answer: the whole of it within a minute
    // and 16 KiB (a list of more than a thousand archive names).
    static constexpr qint64 kDefaultMaxBytes = 16 * 1024;
    static constexpr int kDefaultDeadlineMs = 60000;
    // Milliseconds without any byte after which a transfer counts as failed.
    static constexpr int kDefaultSilenceMs = 60000;
    // The silence timeout of controls created from now on (tests shorten it); 0 restores the default.
    static void setSilenceTimeout(int ms);
    static int silenceTimeout();
    // Redirects followed within one transfer.
    static constexpr int kMaxRedirects = 10;

    // The proxy a request for url goes through (NoProxy: direct); none when
    // the proxy named for it cannot be spoken to, which fails the transfer.
    static std::optional<QNetworkProxy> proxyFor(const QUrl &url);

Q_SIGNALS:
    void DownLoadCancel();
    void DownLoadComplete(const QByteArray &body);
    void DownLoadProgress(qint64 BytesRead, qint64 BytesMax);
    // Streaming only: the next piece of the body.
    void DownLoadData(const QByteArray &piece);

private:
    void open(const QUrl &url);
    void read();
    void readTunnel();
    bool headers();
    void finished();
    void fail();
    void drop();
    void closeSocket();

    QPointer<QTcpSocket> socket_;
    HttpReader reader_;
    QUrl url_;
    int redirects_ = 0;
    QTimer silence_;
    QTimer deadline_;
    QByteArray body_;
    qint64 received_ = 0;
    qint64 announced_ = -1;
    qint64 maxBytes_ = kDefaultMaxBytes;
    int deadlineMs_ = kDefaultDeadlineMs;
    int silenceMs_;
    bool streaming_ = false;
    bool busy_ = false;
    bool tunnel_ = false;   // waiting for a proxy to open the tunnel to the server
};

} // namespace kelmon
