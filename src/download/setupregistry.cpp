#include "download/setupregistry.h"

#include "common/textforms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace kelmon::setup {

namespace {

QString overridePath;

QString key(const QString &name) { return QStringLiteral("SETUP/") + name; }

QSettings open() { return QSettings(filePath(), QSettings::IniFormat); }

// The file exists as the owner's alone before anything is written into it,
// so no password is ever readable by others, not even for a moment (a
// rewrite keeps the permissions of the file it replaces).
QSettings openForWriting()
{
    const QString path = filePath();
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return QSettings(path, QSettings::IniFormat);
}

void closeWritten(QSettings &settings)
{
    settings.sync();
    QFile::setPermissions(settings.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

QString filePath()
{
    if (!overridePath.isEmpty())
        return overridePath;
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KELMONI"), QStringLiteral("KELMONI"))
        .fileName();
}

void setFilePath(const QString &path) { overridePath = path; }

QString value(const QString &name, const QString &fallback)
{
    const QSettings settings = open();
    const QVariant v = settings.value(key(name));
    return v.isValid() ? v.toString() : fallback;
}

int number(const QString &name, int fallback)
{
    const QSettings settings = open();
    const QVariant v = settings.value(key(name));
    return v.isValid() ? cint(val(v.toString())) : fallback;
}

bool isTrue(const QString &name) { return value(name).trimmed().compare(u"True", Qt::CaseInsensitive) == 0; }

void setValue(const QString &name, const QString &text)
{
    QSettings settings = openForWriting();
    settings.setValue(key(name), text);
    closeWritten(settings);
}

void remove(const QString &name)
{
    QSettings settings = openForWriting();
    settings.remove(key(name));
    closeWritten(settings);
}

} // namespace kelmon::setup
