#pragma once
// The download control: fetches one URL over HTTP at a time and hands back
// the body, with progress reports and a cancel path. Every control shares one
// network manager without a cache; redirects are followed.
//
// A transfer ends in exactly one of two events: DownLoadComplete with the
// body, or DownLoadCancel when it was cancelled or failed. A failure raises
// one DownLoadProgress with the figures it ended at, then DownLoadCancel; a
// Cancel raises DownLoadCancel alone. Failure covers network errors, an HTTP
// error status, a body that is shorter or longer than its announced length, a
// body beyond the control's size limit, silence (no bytes for the silence
// timeout) and a transfer that has not ended by the control's deadline.
//
// The body is either held (at most the size limit) and handed whole to
// DownLoadComplete, or, streaming, handed on piece by piece through
// DownLoadData as it arrives and never held; DownLoadComplete then carries an
// empty array.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

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
    // Whether the running or last transfer announced the length of its body.
    bool lengthAnnounced() const { return announced_ >= 0; }

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

    // The one network manager of the program.
    static QNetworkAccessManager *manager();

Q_SIGNALS:
    void DownLoadCancel();
    void DownLoadComplete(const QByteArray &body);
    void DownLoadProgress(qint64 BytesRead, qint64 BytesMax);
    // Streaming only: the next piece of the body.
    void DownLoadData(const QByteArray &piece);

private:
    void headers();
    void readBody();
    void finished();
    void fail();
    void drop();

    QPointer<QNetworkReply> reply_;
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
};

} // namespace kelmon
