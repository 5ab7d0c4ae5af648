#include "registration/archivenames.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "platform/archive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>

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

// Gives the written temporary file the target's name in one step. An earlier
// file of that name is exchanged with it (it then goes with the temporary
// file) rather than renamed over: on ext4 a rename over an existing file
// waits for the new file's data to be allocated, a thousand times the cost
// of the exchange.
bool putInPlace(QTemporaryFile &file, const QString &target)
{
    const QByteArray from = QFile::encodeName(file.fileName());
    const QByteArray to = QFile::encodeName(target);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0)
        return true;   // the earlier photo now has the temporary name and is removed with it
    if (errno != ENOENT && errno != EINVAL)
        return false;
    // No earlier photo, or a file system without exchange.
    if (::rename(from.constData(), to.constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

} // namespace

struct StagedPhotos::Photo {
    QString name;   // lower case
    QTemporaryFile file;
};

StagedPhotos::StagedPhotos(const QString &photoFolder) : folder_(photoFolder) {}

StagedPhotos::~StagedPhotos() = default;   // the temporary files remove themselves

bool StagedPhotos::begin(const QString &name, QString *error)
{
    if (!folderChecked_) {
        if (!QDir().mkpath(folder_)) {
            *error = QStringLiteral("フォルダを作成できません\r\n%1").arg(QDir::toNativeSeparators(folder_));
            return false;
        }
        folderChecked_ = true;
    }
    auto photo = std::make_unique<Photo>();
    photo->name = name.toLower();
    photo->file.setFileTemplate(QDir(folder_).filePath(QStringLiteral(".kelmon-photo-XXXXXX")));
    if (!photo->file.open()) {
        *error = QStringLiteral("写真ファイルをコピーできません\r\n%1")
                     .arg(QDir::toNativeSeparators(QDir(folder_).filePath(photo->name)));
        return false;
    }
    photo->file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                               | QFileDevice::ReadOther);
    // A later photo of the same name replaces the earlier one.
    std::erase_if(photos_, [&](const auto &p) { return p->name == photo->name; });
    photos_.push_back(std::move(photo));
    current_ = photos_.back().get();
    return true;
}

bool StagedPhotos::write(const char *bytes, qsizetype count, QString *error)
{
    if (current_->file.write(bytes, count) == count)
        return true;
    *error = QStringLiteral("写真ファイルをコピーできません\r\n%1")
                 .arg(QDir::toNativeSeparators(QDir(folder_).filePath(current_->name)));
    return false;
}

bool StagedPhotos::end(QString *error)
{
    const bool ok = current_->file.flush();
    current_->file.close();
    if (!ok)
        *error = QStringLiteral("写真ファイルをコピーできません\r\n%1")
                     .arg(QDir::toNativeSeparators(QDir(folder_).filePath(current_->name)));
    current_ = nullptr;
    return ok;
}

bool StagedPhotos::copy_photo(QString *error)
{
    const QDir to(folder_);
    // Earlier photos by lower-case name, listed only when a photo's own
    // lower-case name is not there (an older copy may differ in case).
    QHash<QString, QString> existing;
    bool listed = false;
    for (const auto &photo : photos_) {
        QString target = to.filePath(photo->name);
        if (!QFileInfo::exists(target)) {
            if (!listed) {
                for (const QString &name : to.entryList(QDir::Files | QDir::Hidden))
                    existing.insert(name.toLower(), name);
                listed = true;
            }
            target = to.filePath(existing.value(photo->name, photo->name));
        }
        if (!putInPlace(photo->file, target)) {
            *error = QStringLiteral("写真ファイルを置き換えられません\r\n%1").arg(QDir::toNativeSeparators(target));
            return false;
        }
    }
    photos_.clear();
    return true;
}

} // namespace kelmon
