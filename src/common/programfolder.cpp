#include "programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelmon {

namespace {
QString overridden;
}

QString programFolder()
{
    if (!overridden.isEmpty())
        return overridden;
    const QString env = qEnvironmentVariable("KELMON_HOME");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void setProgramFolder(const QString &folder) { overridden = folder.isEmpty() ? QString() : QDir::cleanPath(folder); }

QString pathInFolder(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    // The name as written is the usual case; only a miss lists the folder.
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(name);
}

QString programPath(const QString &name) { return pathInFolder(programFolder(), name); }

QString databasePath() { return programPath(QStringLiteral("kelmon.mdb")); }
QString receiveFolder() { return programPath(QStringLiteral("receive")); }
QString photoFolder() { return programPath(QStringLiteral("photo")); }
QString backupFolder() { return programPath(QStringLiteral("backup")); }

bool ensureProgramFolder(QString *error)
{
    const QString folder = programFolder();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("プログラムフォルダを作成できません\r\n%1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    for (const char *sub : {"receive", "photo", "backup"}) {
        const QString path = programPath(QString::fromLatin1(sub));
        if (QFileInfo(path).isDir())
            continue;
        if (!QDir().mkpath(path)) {
            if (error)
                *error = QStringLiteral("フォルダを作成できません\r\n%1").arg(QDir::toNativeSeparators(path));
            return false;
        }
    }
    return true;
}

} // namespace kelmon
