#include "download/kmrdldctl.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace kelmon {

namespace {

int silenceMs = kmrdldctl::kDefaultSilenceMs;

// What the network layer may buffer ahead of the control's own reading.
constexpr qint64 kReadBuffer = 64 * 1024;

} // namespace

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

QNetworkAccessManager *kmrdldctl::manager()
{
    static QPointer<QNetworkAccessManager> shared;
    if (!shared) {
        shared = new QNetworkAccessManager(QCoreApplication::instance());
        shared->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        shared->setCache(nullptr);
    }
    return shared;
}

bool kmrdldctl::DownLoad(const QString &urlStr)
{
    if (busy_)
        return false;
    QNetworkRequest request{QUrl::fromEncoded(urlStr.toUtf8())};
    // Every answer of the server changes with each call: never from a cache.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    body_.clear();
    received_ = 0;
    announced_ = -1;
    reply_ = manager()->get(request);
    // The body is taken as it arrives, so that only what the limit allows is
    // ever held.
    reply_->setReadBufferSize(kReadBuffer);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &kmrdldctl::headers);
    connect(reply_, &QNetworkReply::readyRead, this, &kmrdldctl::readBody);
    connect(reply_, &QNetworkReply::finished, this, &kmrdldctl::finished);
    busy_ = true;
    silence_.start(silenceMs_);
    deadline_.start(deadlineMs_);
    return true;
}

void kmrdldctl::drop()
{
    silence_.stop();
    deadline_.stop();
    body_.clear();
    if (reply_) {
        QNetworkReply *reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
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

void kmrdldctl::headers()
{
    if (!reply_)
        return;
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid())
        announced_ = length.toLongLong();
    // An error page is not read, nor a body announced beyond the limit.
    if (reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400 || announced_ > maxBytes_)
        fail();
}

void kmrdldctl::readBody()
{
    const QPointer<QNetworkReply> reply = reply_;
    while (reply && reply == reply_ && reply->bytesAvailable() > 0) {
        // One byte beyond the limit tells a body that is too long.
        const QByteArray piece = reply->read(std::min(reply->bytesAvailable(), maxBytes_ - received_ + 1));
        if (piece.isEmpty())
            return;
        received_ += piece.size();
        if (received_ > maxBytes_)
            return fail();
        silence_.start(silenceMs_);
        if (streaming_)
            emit DownLoadData(piece);
        else
            body_ += piece;
        // A handler may have cancelled the transfer.
        if (reply == reply_)
            emit DownLoadProgress(received_, std::max<qint64>(announced_, 0));
    }
}

void kmrdldctl::finished()
{
    QNetworkReply *reply = reply_;
    if (!reply || sender() != reply)
        return;
    readBody();
    if (reply_ != reply)
        return;   // failed or cancelled while reading the rest
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    bool failed = reply->error() != QNetworkReply::NoError || status < 200 || status > 299;
    // A transfer cut short (or overrun) of its announced length is not a body.
    if (announced_ >= 0 && announced_ != received_)
        failed = true;
    if (failed)
        return fail();
    silence_.stop();
    deadline_.stop();
    reply_ = nullptr;
    reply->deleteLater();
    const QByteArray body = std::exchange(body_, QByteArray());
    busy_ = false;
    emit DownLoadComplete(body);
}

} // namespace kelmon
