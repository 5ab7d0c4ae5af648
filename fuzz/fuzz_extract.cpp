// Fuzz target: archive extraction, streamed as registration takes it and into
// a fresh folder.
//
// Input: the archive. A finding is an entry beyond the size limits, one that
// is not a paper file or photo under its lower-case name, entries out of
// order; and in the folder form any file opened for writing outside the folder
// (the open calls of the process are watched while extraction runs), anything
// left beside the archive or the folder, and anything in the folder that is
// not a regular file under the name of a paper file or photo that the result
// lists, within the limits.

#include "fuzzsupport.h"

#include "platform/archive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <atomic>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>

using namespace kelmon;

namespace {

// While set, opening a file for writing is allowed only for a plain name
// directly inside this folder (absolute path, ending in '/').
std::atomic<bool> watching{false};
QByteArray allowedFolder;

bool writes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND)) != 0; }

void checkOpen(const char *path, int flags)
{
    if (!watching.load() || !writes(flags))
        return;
    const std::size_t n = std::size_t(allowedFolder.size());
    const char *rest = std::strncmp(path, allowedFolder.constData(), n) == 0 ? path + n : nullptr;
    if (!rest || !*rest || std::strchr(rest, '/') || !std::strcmp(rest, ".") || !std::strcmp(rest, "..")) {
        watching = false;
        fuzz::finding(QStringLiteral("extraction opened %1 for writing").arg(QString::fromLocal8Bit(path)));
    }
}

// The C library's own function of that name.
template <typename Function> Function next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
using Open = int (*)(const char *, int, ...);
using OpenAt = int (*)(int, const char *, int, ...);

QString archivePath;
QString folder;

void checkName(const QString &name)
{
    if (!isPaperEntryName(name) || name != name.toLower())
        fuzz::finding(QStringLiteral("not a paper file or photo: %1").arg(name));
}

// Checks what extraction hands over: names, order and sizes.
class CheckingSink : public ExtractSink {
public:
    bool begin(const QString &name, qint64, QString *) override
    {
        if (open_)
            fuzz::finding(QStringLiteral("%1 begun inside %2").arg(name, name_));
        checkName(name);
        open_ = true;
        name_ = name;
        size_ = 0;
        return true;
    }
    bool data(const char *, qsizetype count, QString *) override
    {
        if (!open_)
            fuzz::finding(QStringLiteral("data outside an entry"));
        size_ += count;
        total_ += count;
        if (size_ > entryLimit(name_) || total_ > maxArchiveBytes)
            fuzz::finding(QStringLiteral("%1 taken beyond the limits: %2 bytes, %3 in all")
                              .arg(name_).arg(size_).arg(total_));
        return true;
    }
    bool end(QString *) override
    {
        if (!open_)
            fuzz::finding(QStringLiteral("end outside an entry"));
        open_ = false;
        return true;
    }

private:
    bool open_ = false;
    QString name_;
    qint64 size_ = 0;
    qint64 total_ = 0;
};

} // namespace

// The open calls of the whole process pass here first. The mode argument is
// there only when a file may be created.
#define KELMON_MODE_ARGUMENT(flags)                                                                    \
    mode_t mode = 0;                                                                                   \
    if ((flags) & (O_CREAT | O_TMPFILE)) {                                                             \
        va_list args;                                                                                  \
        va_start(args, flags);                                                                         \
        mode = mode_t(va_arg(args, int));                                                              \
        va_end(args);                                                                                  \
    }                                                                                                  \
    checkOpen(path, flags)

extern "C" {
int open(const char *path, int flags, ...)
{
    KELMON_MODE_ARGUMENT(flags);
    return next<Open>("open")(path, flags, mode);
}
int open64(const char *path, int flags, ...)
{
    KELMON_MODE_ARGUMENT(flags);
    return next<Open>("open64")(path, flags, mode);
}
int openat(int dir, const char *path, int flags, ...)
{
    KELMON_MODE_ARGUMENT(flags);
    return next<OpenAt>("openat")(dir, path, flags, mode);
}
int openat64(int dir, const char *path, int flags, ...)
{
    KELMON_MODE_ARGUMENT(flags);
    return next<OpenAt>("openat64")(dir, path, flags, mode);
}
int creat(const char *path, mode_t mode) { return open(path, O_CREAT | O_WRONLY | O_TRUNC, mode); }
int creat64(const char *path, mode_t mode) { return open64(path, O_CREAT | O_WRONLY | O_TRUNC, mode); }
}
#undef KELMON_MODE_ARGUMENT

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::initialize(argc, argv);
    archivePath = QDir(fuzz::scratch()).filePath(QStringLiteral("paper.lzh"));
    folder = QDir(fuzz::scratch()).filePath(QStringLiteral("work"));
    allowedFolder = QFile::encodeName(folder) + '/';
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::writeBytes(archivePath, data, size);
    if (!QDir().mkpath(folder))
        fuzz::finding(QStringLiteral("cannot make %1").arg(folder));

    CheckingSink sink;
    const ExtractResult streamed = extractArchive(archivePath, sink);
    if (streamed.ok() && streamed.files.isEmpty())
        fuzz::finding(QStringLiteral("streamed nothing, reported success"));

    watching = true;
    const ExtractResult result = extractArchive(archivePath, folder);
    watching = false;

    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QStringList beside = QDir(fuzz::scratch()).entryList(all, QDir::Name);
    if (beside != QStringList{QStringLiteral("paper.lzh"), QStringLiteral("work")})
        fuzz::finding(QStringLiteral("left beside the folder: %1").arg(beside.join(u' ')));
    qint64 total = 0;
    for (const QFileInfo &f : QDir(folder).entryInfoList(all)) {
        const QString name = f.fileName();
        if (f.isSymLink() || !f.isFile())
            fuzz::finding(QStringLiteral("not a regular file: %1").arg(name));
        checkName(name);
        total += f.size();
        if (f.size() > entryLimit(name) || total > maxArchiveBytes)
            fuzz::finding(QStringLiteral("%1 written beyond the limits: %2 bytes, %3 in all")
                              .arg(name).arg(f.size()).arg(total));
        if (result.ok() && !result.files.contains(name))
            fuzz::finding(QStringLiteral("written but not listed: %1").arg(name));
    }
    if (result.status != streamed.status)
        fuzz::finding(QStringLiteral("the two forms disagree: %1 and %2").arg(streamed.status).arg(result.status));
    if (result.ok() && result.files.isEmpty())
        fuzz::finding(QStringLiteral("extracted nothing, reported success"));
    if (!QDir(folder).removeRecursively())
        fuzz::finding(QStringLiteral("cannot remove %1").arg(folder));
    return 0;
}
