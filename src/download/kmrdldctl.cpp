#include "download/kmrdldctl.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace kelmon {

namespace {

int silenceMs = kmrdldctl::kDefaultSilenceMs;

} // namespace

kmrdldctl::kmrdldctl(QObject *parent) : QObject(parent)
{
    silence_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, &kmrdldctl::silence);
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
    reply_ = manager()->get(request);
    connect(reply_, &QNetworkReply::finished, this, &kmrdldctl::finished);
    connect(reply_, &QNetworkReply::downloadProgress, this, &kmrdldctl::progress);
    busy_ = true;
    silence_.start(silenceMs);
    return true;
}

void kmrdldctl::drop()
{
    silence_.stop();
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

void kmrdldctl::silence()
{
    if (busy_)
        Cancel();
}

void kmrdldctl::progress(qint64 read, qint64 total)
{
    silence_.start(silenceMs);
    emit DownLoadProgress(read, total > 0 ? total : 0);
}

void kmrdldctl::finished()
{
    QNetworkReply *reply = reply_;
    if (!reply || sender() != reply)
        return;
    silence_.stop();
    reply_ = nullptr;
    reply->deleteLater();
    const QByteArray body = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    bool failed = reply->error() != QNetworkReply::NoError || status < 200 || status > 299;
    // A transfer cut short (or overrun) of its announced length is not a body.
    if (length.isValid() && length.toLongLong() != body.size())
        failed = true;
    busy_ = false;
    if (failed)
        emit DownLoadCancel();
    else
        emit DownLoadComplete(body);
}

} // namespace kelmon
