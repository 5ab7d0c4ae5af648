#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdio>
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

namespace {

// True when path names the file open under fd, a link there not followed.
bool namesOpenFile(const QByteArray &path, int fd)
{
    struct stat named {}, open {};
    return ::lstat(path.constData(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev
        && named.st_ino == open.st_ino;
}

// A lock of the open file description, not of the process: it goes with the
// last descriptor of that opening, and another opening of the same file
// conflicts with it, in this process too.
bool lockOpenFile(int fd, short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

} // namespace

bool holdStagingFile(int fd)
{
    // On a file system that keeps no locks the file is written unheld: the
    // clean-up cannot lock it either and leaves it.
    return lockOpenFile(fd, F_WRLCK) || (errno != EAGAIN && errno != EACCES);
}

namespace {
std::function<void()> stagingHook;
}

void setStagingHook(std::function<void()> hook) { stagingHook = std::move(hook); }

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
        if (fd >= 0 && stagingHook)
            stagingHook();
        // A clean-up that looked at the new file before it was held removes
        // it: the name must still be the held file's.
        if (fd >= 0 && !(holdStagingFile(fd) && namesOpenFile(*path, fd))) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0)
        path->clear();
    return fd;
}

void removeStagingLeftovers(const QString &folder, const QString &stem)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({stem + QLatin1Char('*')}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || S_ISDIR(st.st_mode))
            continue;
        // A link goes whatever it points to, and is never followed. A file
        // stays while its writer, in this process or another, holds it: a
        // lock on it then cannot be had. It goes only when the lock could be
        // had, or when it is gone (a link put at its name goes as a link):
        // one that cannot be opened (no descriptor left, no right to read
        // it) may be held, and stays.
        if (S_ISREG(st.st_mode)) {
            const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            const bool unheld = fd >= 0 ? lockOpenFile(fd, F_RDLCK) && namesOpenFile(path, fd)
                                        : errno == ENOENT || errno == ELOOP;
            if (unheld)
                ::unlink(path.constData());
            if (fd >= 0)
                ::close(fd);
        } else {
            ::unlink(path.constData());
        }
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
