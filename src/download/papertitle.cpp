#include "download/papertitle.h"

#include "common/codetables.h"

namespace kelmon {

namespace {

const QString kError = QStringLiteral("ER");

// The value of one "1".."5" character, else 0.
int codeOneToFive(const QString &digit)
{
    if (digit.size() != 1)
        return 0;
    const char16_t u = digit.at(0).unicode();
    return u >= u'1' && u <= u'5' ? u - u'0' : 0;
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

QString get_venuename(const QString &letter)
{
    if (letter.size() != 1)
        return kError;
    const int code = int(letter.toLower().at(0).unicode()) - 97 + 1;
    const QString name = modkelmon::get_kyoso_name(code);
    if (name.isEmpty())
        return kError;
    // Every name takes three characters; the one-character name stands in the middle.
    return name.size() == 1 ? QStringLiteral("　") + name + QStringLiteral("　") : name;
}

QString get_dayname(const QString &digit)
{
    static const char16_t *const names[] = {u"初日　　　", u"予選　　　", u"予選最終日", u"準優　　　", u"最終日　　"};
    const int code = codeOneToFive(digit);
    return code ? QString::fromUtf16(names[code - 1]) : kError;
}

QString get_gradename(const QString &digit)
{
    const int code = codeOneToFive(digit);
    return code ? modkelmon::get_grade_name(code) : kError;
}

int get_daynumber(const QString &character)
{
    if (character.size() != 1)
        return 0;
    const char16_t u = character.at(0).toLower().unicode();
    int day = 0;
    if (u >= u'0' && u <= u'9')
        day = u - u'0';
    else if (u < 0x80)
        day = int(u) - 87;
    return day >= 1 && day <= 31 ? day : 0;
}

QString comp_papertitle(const QString &fileName)
{
    const QString invalid = QString::fromUtf16(kInvalidPaperName);
    if (fileName.size() < 8)
        return invalid;
    bool ok = false;
    const QString yy = fileName.left(2);
    const int year = yy.trimmed().toInt(&ok);
    if (!ok || yy.contains(u'+') || yy.contains(u'-'))
        return invalid;
    const int month = fileName.mid(2, 1).toInt(&ok, 16);
    if (!ok)
        return invalid;
    const int day = get_daynumber(fileName.mid(3, 1));
    if (day < 1)
        return invalid;
    const QString dayName = get_dayname(fileName.mid(6, 1));
    const QString grade = get_gradename(fileName.mid(7, 1));
    const QString venue = get_venuename(fileName.mid(5, 1));
    if (dayName == kError || grade == kError || venue == kError)
        return invalid;
    return venue + QStringLiteral("  >> ") + grade + u' ' + dayName + u'(' + QString::number(2000 + year) + u'/'
        + twoDigits(month) + u'/' + twoDigits(day) + u')';
}

} // namespace kelmon
