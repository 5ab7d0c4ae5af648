#pragma once
// The download control: fetches one URL over HTTP at a time and hands back
// the whole body, with progress reports and a cancel path. Every control
// shares one network manager without a cache; redirects are followed.
//
// A transfer ends in exactly one of two events: DownLoadComplete with the
// body, or DownLoadCancel when it was cancelled or failed. Failure covers
// network errors, an HTTP error status, a body that is shorter or longer than
// its announced length, and silence: no bytes for the silence timeout.

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

    // Milliseconds without any byte after which a transfer counts as failed.
    static constexpr int kDefaultSilenceMs = 60000;
    // The timeout of controls created from now on (tests shorten it); 0 restores the default.
    static void setSilenceTimeout(int ms);
    static int silenceTimeout();

    // The one network manager of the program.
    static QNetworkAccessManager *manager();

Q_SIGNALS:
    void DownLoadCancel();
    void DownLoadComplete(const QByteArray &body);
    void DownLoadProgress(qint64 BytesRead, qint64 BytesMax);

private:
    void finished();
    void progress(qint64 read, qint64 total);
    void silence();
    void drop();

    QPointer<QNetworkReply> reply_;
    QTimer silence_;
    bool busy_ = false;
};

} // namespace kelmon
