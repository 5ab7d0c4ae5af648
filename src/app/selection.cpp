#include "selection.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"

#include <QSqlQuery>
#include <cmath>

namespace kelmon {

qlonglong fieldNumber(const QString &field)
{
    const double v = val(field);
    if (!std::isfinite(v) || std::fabs(v) > 9e15)
        return 0;
    return static_cast<qlonglong>(v);
}

Selection::Outcome Selection::selectVenue(int index)
{
    const int venue = index + 1;
    fields_.kyosocode = QString::number(venue);
    header_.kyosoName = modkelmon::get_kyoso_name(venue);
    QSqlQuery q = modkelmon::exec(QStringLiteral("select setuscode, \"Date\", datescnt from f_setfg where kyosocode = ? "
                                                 "order by setuscode desc, datescnt desc limit 1"),
                                  {venue});
    if (!q.next()) {
        clear();
        return Outcome::NoPaper;
    }
    showDay(q);
    hasPaper_ = true;
    return Outcome::Selected;
}

Selection::Outcome Selection::moveDay(int index)
{
    if (trimBlanks(fields_.kyosocode).isEmpty() || trimBlanks(fields_.date).isEmpty())
        return Outcome::Ignored;
    const QString sql = index == 1
        ? QStringLiteral("select setuscode, \"Date\", datescnt from f_setfg where kyosocode = ? and \"Date\" > ? "
                         "order by \"Date\" limit 1")
        : QStringLiteral("select setuscode, \"Date\", datescnt from f_setfg where kyosocode = ? and \"Date\" < ? "
                         "order by \"Date\" desc limit 1");
    QSqlQuery q = modkelmon::exec(sql, {fieldNumber(fields_.kyosocode), fields_.date});
    if (!q.next())
        return index == 1 ? Outcome::NoLater : Outcome::NoEarlier;
    showDay(q);
    return Outcome::Selected;
}

void Selection::clear()
{
    fields_ = SelectionFields();
    header_ = SelectionHeader();
    hasPaper_ = false;
}

QString Selection::warningText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::NoPaper: return QStringLiteral("指定された競走場のデジタル紙面は有りません");
    case Outcome::NoEarlier: return QStringLiteral("それ以前のデジタル紙面は有りません");
    case Outcome::NoLater: return QStringLiteral("それ以降のデジタル紙面は有りません");
    default: return QString();
    }
}

void Selection::showDay(QSqlQuery &row)
{
    fields_.setuscode = plainNumber(row.value(0).toDouble());
    fields_.date = row.value(1).toString();
    fields_.datescnt = plainNumber(row.value(2).toDouble());
    row.finish();
    header_.date = modkelmon::shortDate(fields_.date);
    header_.weekday = modkelmon::weekdayText(fields_.date);
    header_.datescnt = fields_.datescnt + QStringLiteral("日目");
    showMeeting();
}

void Selection::showMeeting()
{
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select kyosocode, gradecode, racesword from f_setus where setuscode = ?"),
        {fieldNumber(fields_.setuscode)});
    if (!q.next()) {
        header_.kyosoName.clear();
        header_.gradeName.clear();
        header_.racesword.clear();
        header_.racesTip.clear();
        return;
    }
    const int venue = static_cast<int>(fieldNumber(q.value(0).toString()));
    fields_.kyosocode = QString::number(venue);
    header_.kyosoName = modkelmon::get_kyoso_name(venue);
    header_.gradeName = modkelmon::get_grade_name(static_cast<int>(fieldNumber(q.value(1).toString())));
    const QString title = trimBlanks(q.value(2).toString());
    header_.racesword = QStringLiteral(" ") + title;
    header_.racesTip = title;
}

} // namespace kelmon
