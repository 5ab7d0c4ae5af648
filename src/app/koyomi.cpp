#include "app/koyomi.h"
#include "common/timeforms.h"

#include "common/modkelmon.h"
#include "common/textforms.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <array>
#include <cmath>

namespace kelmon {

namespace {

struct YusyuSystem {
    const char *count;
    const char *system;
};

constexpr std::array<YusyuSystem, 4> kYusyuSystems{{
    {"18", "準優三戦制"},
    {"6", "完全得点制"},
    {"12", "準優二戦制"},
    {"12", "Ｗ準優制"},
}};

QString textOf(const QSqlQuery &query, const char *column)
{
    return query.value(QLatin1String(column)).toString();
}

bool nonZero(const QSqlQuery &query, const char *column)
{
    bool ok = false;
    const double value = query.value(QLatin1String(column)).toDouble(&ok);
    return ok && value != 0.0;
}

} // namespace

void yusyu_texts(const QVariant &yusyuflag, QString *count, QString *system)
{
    count->clear();
    system->clear();
    bool ok = false;
    const double value = yusyuflag.toDouble(&ok);
    if (!ok || yusyuflag.isNull() || value != std::floor(value) || value < 0 || value >= kYusyuSystems.size())
        return;
    const YusyuSystem &entry = kYusyuSystems[static_cast<std::size_t>(value)];
    *count = QString::fromUtf8(entry.count);
    *system = QString::fromUtf8(entry.system);
}

Koyomi load_koyomi(const QString &kyosocode, const QString &setuscode, const QString &datescnt)
{
    Koyomi out;
    const QVariant venue = modkelmon::keyValue(kyosocode);
    const QVariant meeting = modkelmon::keyValue(setuscode);
    const QVariant day = modkelmon::keyValue(datescnt);

    QSqlQuery setus = modkelmon::exec(QStringLiteral("select yusyuflag from f_setus where setuscode = ?"),
                                      {meeting});
    if (setus.next())
        yusyu_texts(setus.value(0), &out.yusyuCount, &out.yusyuSystem);
    setus.finish();

    QSqlQuery setfg = modkelmon::exec(
        QStringLiteral("select kyuse, rokki, zikkan, eto, time_08, time_10, mtnewflag, btnewflag from f_setfg "
                       "where kyosocode = ? and setuscode = ? and datescnt = ?"),
        {venue, meeting, day});
    if (setfg.next()) {
        out.kyuse = textOf(setfg, "kyuse");
        out.rokki = textOf(setfg, "rokki");
        out.zikkan = textOf(setfg, "zikkan");
        out.eto = textOf(setfg, "eto");
        out.time08 = modkelmon::hhmm_time(textOf(setfg, "time_08"));
        out.time10 = modkelmon::hhmm_time(textOf(setfg, "time_10"));
        out.mtnew = nonZero(setfg, "mtnewflag");
        out.btnew = nonZero(setfg, "btnewflag");
    }
    return out;
}

} // namespace kelmon
