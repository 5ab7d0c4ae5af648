#include "registration/archivenames.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "platform/archive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelmon {

namespace {

const char16_t *const editionTexts[] = {u"初日版", u"予選版", u"予選最終日版", u"準優版", u"最終日版"};

// The numeric value of one character: a digit gives its value, anything else 0.
int digitValue(QChar c) { return c.isDigit() && c.unicode() < 0x80 ? c.unicode() - u'0' : 0; }

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

QString get_newspname(const QString &archiveName)
{
    const qsizetype dot = archiveName.lastIndexOf(u'.');
    const QString stem = dot < 0 ? archiveName : archiveName.left(dot);
    if (stem.size() < 8 || hexValue(stem.at(2)) < 0)
        return archiveName;

    // Positions below count from 0: 0-1 year, 2 month, 3 day, 5 venue letter,
    // 6 edition, 7 grade. The venue letter is taken as it stands (an upper-case
    // letter names no venue).
    const int venue = int(stem.at(5).unicode()) - 96;
    QString title = modkelmon::del_space(modkelmon::get_kyoso_name(venue)) + u' ';
    title += modkelmon::get_grade_name(digitValue(stem.at(7))) + u' ';
    const int edition = digitValue(stem.at(6));
    if (edition >= 1 && edition <= 5)
        title += QString::fromUtf16(editionTexts[edition - 1]);
    title += u'(' + stem.left(2) + u'/' + twoDigits(hexValue(stem.at(2))) + u'/';
    const QChar day = stem.at(3);
    if (day.unicode() >= u'0' && day.unicode() <= u'9')
        title += twoDigits(day.unicode() - u'0');
    else
        title += QString::number(int(day.toLower().unicode()) - 87);
    title += u')';
    return title;
}

namespace {

QString photoError(const char16_t *text, const QString &path)
{
    return QString::fromUtf16(text) + QStringLiteral("\r\n") + QDir::toNativeSeparators(path);
}

} // namespace

// One photo written under a temporary name in the photo folder; the file
// goes with the object unless it has been put in place.
struct StagedPhotos::Photo {
    QString name;      // lower case
    QByteArray path;   // the temporary file
    int fd = -1;
    bool spare = false;    // a replaced photo's file, written over from the start
    qint64 written = 0;
    bool placed = false;
    ~Photo()
    {
        if (fd >= 0)
            ::close(fd);
        if (!placed)
            ::unlink(path.constData());
    }
};

PhotoSpares::~PhotoSpares()
{
    for (const QByteArray &path : paths_)
        ::unlink(path.constData());
}

QByteArray PhotoSpares::take()
{
    if (paths_.empty())
        return {};
    QByteArray path = std::move(paths_.back());
    paths_.pop_back();
    return path;
}

void PhotoSpares::keep(QByteArray path) { paths_.push_back(std::move(path)); }

StagedPhotos::StagedPhotos(const QString &photoFolder, PhotoSpares *spares) : folder_(photoFolder), spares_(spares) {}

StagedPhotos::~StagedPhotos() = default;

bool StagedPhotos::begin(const QString &name, QString *error)
{
    if (!folderChecked_) {
        if (!QDir().mkpath(folder_)) {
            *error = photoError(u"フォルダを作成できません", folder_);
            return false;
        }
        folderChecked_ = true;
    }
    auto photo = std::make_unique<Photo>();
    photo->name = name.toLower();
    while (spares_ && photo->fd < 0) {
        photo->path = spares_->take();
        if (photo->path.isEmpty())
            break;
        // Not truncated on opening: ext4 writes a file truncated to nothing
        // out to the disk when it is closed. It is cut to its new length
        // once written. Only a regular file of no other name is written into
        // (a pipe would hold the registration, a second link or a link carry
        // the bytes elsewhere): anything else put at the spare's name is not
        // even opened (a device may act on being opened), and the open file,
        // opened without waiting, must be the one looked at. It is held while
        // written, as a new staging file is.
        struct stat named {};
        if (::lstat(photo->path.constData(), &named) == 0 && S_ISREG(named.st_mode) && named.st_nlink == 1)
            photo->fd = ::open(photo->path.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat st {};
        if (photo->fd >= 0
            && (::fstat(photo->fd, &st) != 0 || st.st_dev != named.st_dev || st.st_ino != named.st_ino
                || !S_ISREG(st.st_mode) || st.st_nlink != 1 || !holdStagingFile(photo->fd))) {
            ::close(photo->fd);
            photo->fd = -1;
        }
        if (photo->fd < 0)
            ::unlink(photo->path.constData());
        photo->spare = photo->fd >= 0;
    }
    if (photo->fd < 0) {
        // Without a spare: a new file, under a name of this process that is not taken.
        photo->fd = createStagingFile(folder_, photoStagingStem, &photo->path);
    }
    if (photo->fd < 0) {
        photo->placed = true;   // nothing to remove
        *error = photoError(u"写真ファイルをコピーできません", QDir(folder_).filePath(photo->name));
        return false;
    }
    // A later photo of the same name replaces the earlier one.
    std::erase_if(photos_, [&](const auto &p) { return p->name == photo->name; });
    photos_.push_back(std::move(photo));
    current_ = photos_.back().get();
    return true;
}

bool StagedPhotos::write(const char *bytes, qsizetype count, QString *error)
{
    while (count > 0) {
        const ssize_t n = ::write(current_->fd, bytes, size_t(count));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = photoError(u"写真ファイルをコピーできません", QDir(folder_).filePath(current_->name));
            return false;
        }
        bytes += n;
        count -= n;
        current_->written += n;
    }
    return true;
}

bool StagedPhotos::end(QString *error)
{
    const bool cut = !current_->spare || ::ftruncate(current_->fd, current_->written) == 0;
    const bool ok = ::close(current_->fd) == 0 && cut;
    current_->fd = -1;
    if (!ok)
        *error = photoError(u"写真ファイルをコピーできません", QDir(folder_).filePath(current_->name));
    current_ = nullptr;
    return ok;
}

bool StagedPhotos::copy_photo(QString *error)
{
    const QDir to(folder_);
    struct Target {
        QString path;
        QByteArray native;
        bool photoFile;   // a regular file stands at the name
    };
    std::vector<Target> targets;
    targets.reserve(photos_.size());
    // Earlier photos by lower-case name, listed only when a photo's own
    // lower-case name is not there (an older copy may differ in case).
    QHash<QString, QString> existing;
    bool listed = false;
    // Every photo's name is looked at before any photo is put in place: an
    // archive is registered wholly or not at all, so one photo that cannot
    // take its name (a folder there, or a folder path that is no folder)
    // leaves every earlier photo as it was.
    for (const auto &photo : photos_) {
        QString target = to.filePath(photo->name);
        QByteArray native = QFile::encodeName(target);
        struct stat st {};
        bool found = ::lstat(native.constData(), &st) == 0;
        if (!found && errno == ENOENT) {
            if (!listed) {
                for (const QString &name : to.entryList(QDir::Files | QDir::Hidden))
                    existing.insert(name.toLower(), name);
                listed = true;
            }
            target = to.filePath(existing.value(photo->name, photo->name));
            native = QFile::encodeName(target);
            found = ::lstat(native.constData(), &st) == 0;
        }
        if (found ? S_ISDIR(st.st_mode) : errno != ENOENT) {
            *error = photoError(u"写真ファイルを置き換えられません", target);
            return false;
        }
        targets.push_back({target, native, found && S_ISREG(st.st_mode)});
    }
    for (std::size_t i = 0; i < photos_.size(); ++i) {
        const auto &photo = photos_[i];
        const Target &target = targets[i];
        int rc = -1;
        bool renameOver = true;
        if (target.photoFile) {
            // An earlier photo is exchanged with the new one rather than
            // renamed over: on ext4 a rename over an existing file waits for
            // the new file's data to be allocated, a thousand times the cost
            // of the exchange. The earlier photo then has the temporary name.
            rc = ::renameat2(AT_FDCWD, photo->path.constData(), AT_FDCWD, target.native.constData(), RENAME_EXCHANGE);
            if (rc == 0) {
                if (spares_)
                    spares_->keep(photo->path);
                else
                    ::unlink(photo->path.constData());
            }
            // The photo gone meanwhile, or a file system without exchange.
            renameOver = rc != 0 && (errno == ENOENT || errno == EINVAL);
        }
        if (renameOver) {
            // No earlier photo, or something else at the name: a pipe,
            // device, socket or link gives up its name to the photo (nothing
            // is written into it and nothing of it stays behind).
            rc = ::rename(photo->path.constData(), target.native.constData());
        }
        if (rc != 0) {
            *error = photoError(u"写真ファイルを置き換えられません", target.path);
            return false;
        }
        photo->placed = true;
    }
    photos_.clear();
    return true;
}

} // namespace kelmon
