#include "registration/archivenames.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "platform/archive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

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

static bool sameContents(const QString &a, const QString &b)
{
    QFile fa(a);
    QFile fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    return fa.readAll() == fb.readAll();
}

bool copy_photo(const QString &fromFolder, const QString &photoFolder, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!QDir().mkpath(photoFolder))
        return fail(QStringLiteral("フォルダを作成できません\r\n%1").arg(QDir::toNativeSeparators(photoFolder)));

    const QDir from(fromFolder);
    const QDir to(photoFolder);
    // Existing photos by lower-case name, so that a photo is replaced whatever
    // the case of its earlier copy.
    QHash<QString, QString> existing;
    for (const QString &name : to.entryList(QDir::Files | QDir::Hidden))
        existing.insert(name.toLower(), name);

    for (const QString &name : from.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (!isPhotoName(name))
            continue;
        const QString target = to.filePath(existing.value(name.toLower(), name));
        // A racer's photo comes with every paper day: an identical copy stays.
        if (sameContents(from.filePath(name), target))
            continue;
        if (QFileInfo::exists(target) && !QFile::remove(target))
            return fail(QStringLiteral("写真ファイルを置き換えられません\r\n%1").arg(QDir::toNativeSeparators(target)));
        if (!QFile::copy(from.filePath(name), target))
            return fail(QStringLiteral("写真ファイルをコピーできません\r\n%1").arg(QDir::toNativeSeparators(target)));
    }
    return true;
}

} // namespace kelmon
