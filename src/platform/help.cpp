#include "platform/help.h"

#include "common/programfolder.h"
#include "platform/messages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kelmon::help {

namespace {

UrlOpener currentOpener;

const QString kWarningTitle = QStringLiteral("警告です...");

// Opens a page in the desktop's browser. When nothing opened it (no browser
// or file opener set up on the desktop) the user is told which page it was,
// a file by its path, a web page by its address.
bool openWithDesktop(const QUrl &url)
{
    if (currentOpener ? currentOpener(url) : QDesktopServices::openUrl(url))
        return true;
    const QString target = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    messages().information(kWarningTitle,
                           QStringLiteral("次のページを開けませんでした\r\n\r\n") + target
                               + QStringLiteral("\r\n\r\nページを開くブラウザが設定されていない可能性が有ります"));
    return false;
}

bool holdsPages(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(QStringLiteral("index.html"))).isFile();
}

} // namespace

QUrl configuredUrl(const char *key, const char *fallback)
{
    QSettings settings(configPath(), QSettings::IniFormat);
    const QString value = settings.value(QStringLiteral("WEB/") + QLatin1String(key)).toString().trimmed();
    const QUrl url(value, QUrl::StrictMode);
    if (value.isEmpty() || !url.isValid() || url.scheme().isEmpty())
        return QUrl(QString::fromLatin1(fallback));
    return url;
}

void setUrlOpener(UrlOpener opener) { currentOpener = std::move(opener); }

QString helpFolder()
{
    QStringList candidates;
    if (QCoreApplication::instance())
        candidates << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
    candidates << kelmon::programPath(QStringLiteral("help"));
    for (const QString &folder : candidates) {
        if (holdsPages(folder))
            return QDir(folder).absolutePath();
    }
    return {};
}

QUrl topicUrl(int context)
{
    const QString folder = helpFolder();
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    if (context > 0) {
        const QString page = dir.filePath(QStringLiteral("topic%1.html").arg(context));
        if (QFileInfo(page).isFile())
            return QUrl::fromLocalFile(page);
    }
    return QUrl::fromLocalFile(dir.filePath(QStringLiteral("index.html")));
}

bool showHelp(int context)
{
    const QUrl url = topicUrl(context);
    if (!url.isValid()) {
        messages().information(kWarningTitle, QStringLiteral("ヘルプが見つかりません"));
        return false;
    }
    return openWithDesktop(url);
}

QString configPath() { return kelmon::programPath(QStringLiteral("kelmon.ini")); }

QUrl supportUrl() { return configuredUrl("support", kDefaultSupportUrl); }

QUrl homeUrl() { return configuredUrl("home", kDefaultHomeUrl); }

bool openSupportPage() { return openWithDesktop(supportUrl()); }

bool openHomePage() { return openWithDesktop(homeUrl()); }

} // namespace kelmon::help
