#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // The per-user data location named after the program ($XDG_DATA_HOME/kelmon,
    // by default ~/.local/share/kelmon), whichever program asks.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kelmon");
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

namespace {

// A readable name for raw name bytes that are not valid UTF-8.
QByteArray readableName(const QByteArray &raw)
{
    QByteArray out;
    for (const char c : raw) {
        if (quint8(c) >= 0x80)
            out += '%' + QByteArray::number(quint8(c), 16).toUpper();
        else
            out += c;
    }
    return out;
}

} // namespace

QStringList filesWithSuffix(const QString &folder, const QString &suffix, bool *readable)
{
    // The folder is read with the system's own calls: Qt's listing leaves out
    // names that are no valid text.
    const QByteArray dirPath = QFile::encodeName(folder);
    const QByteArray ending = '.' + suffix.toLatin1().toLower();
    QStringList names;
    if (readable)
        *readable = true;
    DIR *dir = opendir(dirPath.constData());
    if (!dir) {
        // A missing folder holds no files; any other failure is the folder's.
        if (readable)
            *readable = errno == ENOENT;
        return names;
    }
    QList<QByteArray> raws;
    while (const dirent *e = readdir(dir)) {
        const QByteArray raw(e->d_name);
        if (raw.size() > ending.size() && raw.right(ending.size()).toLower() == ending)
            raws << raw;
    }
    closedir(dir);

    for (const QByteArray &raw : raws) {
        QByteArray name = raw;
        struct stat st {};
        if (stat((dirPath + '/' + raw).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (!QByteArrayView(raw).isValidUtf8()) {
            // A free readable name: the escaped bytes, numbered on a clash.
            name = readableName(raw);
            for (int n = 1; QFile::exists(QFile::decodeName(dirPath + '/' + name)); ++n)
                name = readableName(raw.left(raw.size() - ending.size())) + '-' + QByteArray::number(n) + ending;
            if (std::rename((dirPath + '/' + raw).constData(), (dirPath + '/' + name).constData()) != 0)
                continue;
        }
        names << QFile::decodeName(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes)
{
    // Opened without waiting (a named pipe without a writer would block an
    // ordinary open), then checked on the open file itself, so that what is
    // checked is what is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> out;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxBytes) {
        QByteArray data(qsizetype(st.st_size) + 1, Qt::Uninitialized);
        qsizetype got = 0;
        ssize_t n = 0;
        // One byte more than the size tells a file that grew meanwhile.
        while (got < data.size() && (n = ::read(fd, data.data() + got, size_t(data.size() - got))) > 0)
            got += n;
        if (n >= 0 && got <= st.st_size) {
            data.truncate(got);
            out = data;
        }
    }
    ::close(fd);
    return out;
}

int createStagingFile(const QString &folder, const QString &stem, QByteArray *path)
{
    static unsigned serial = 0;
    const QByteArray start = QFile::encodeName(QDir(folder).filePath(stem + QStringLiteral("%1-").arg(::getpid())));
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        *path = start + QByteArray::number(++serial);
        fd = ::open(path->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        path->clear();
    return fd;
}

namespace {

// The files this process has open, by device and inode.
QSet<QPair<dev_t, ino_t>> openFiles()
{
    QSet<QPair<dev_t, ino_t>> files;
    DIR *dir = opendir("/proc/self/fd");
    if (!dir)
        return files;
    while (const dirent *e = readdir(dir)) {
        struct stat st {};
        if (e->d_name[0] != '.' && ::fstat(std::atoi(e->d_name), &st) == 0)
            files.insert({st.st_dev, st.st_ino});
    }
    closedir(dir);
    return files;
}

} // namespace

void removeStagingLeftovers(const QString &folder, const QString &stem)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({stem + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    if (names.isEmpty())
        return;
    const QSet<QPair<dev_t, ino_t>> open = openFiles();
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || S_ISDIR(st.st_mode))
            continue;
        // stem, process id, "-", serial: a live process other than this one
        // may still be writing it, and this one only while it has it open.
        bool ok = false;
        const qint64 pid = name.mid(stem.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&ok);
        const bool otherAlive = ok && pid > 0 && pid != ::getpid() && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        if (!otherAlive && !open.contains({st.st_dev, st.st_ino}))
            ::unlink(path.constData());
    }
}

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
