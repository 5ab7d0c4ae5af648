#include "settingsrow.h"

#include "common/modkelmon.h"

#include <QSqlQuery>
#include <QStringList>

namespace kelmon {

const int defaultSettingsRow[65] = {
    1,
    1, 2, 3, 4, 5, 12, 16, 19, 23, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    6, 8, 10, 12, 15, 17, 19, 21, 45, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 1, 0, 1,
};

namespace {

// A stored value as the 16-bit setting it stands for; out-of-range values give
// the default and are named in *replaced.
qint16 setting(const QSqlQuery &q, const char *name, int low, int high, qint16 fallback, QStringList *replaced)
{
    bool ok = false;
    const qlonglong v = q.value(QString::fromLatin1(name)).toLongLong(&ok);
    if (ok && v >= low && v <= high)
        return static_cast<qint16>(v);
    replaced->append(QString::fromLatin1(name));
    return fallback;
}

} // namespace

QString read_m_kanri()
{
    QSqlQuery q = modkelmon::exec(QStringLiteral("select * from m_kanri where kanricode = 1"));
    if (!q.next()) {
        q.finish();
        QVariantList values;
        QStringList marks;
        for (int v : defaultSettingsRow) {
            values << v;
            marks << QStringLiteral("?");
        }
        modkelmon::exec(QStringLiteral("insert into m_kanri values (%1)").arg(marks.join(QLatin1Char(','))), values);
        modkelmon::kyosocode = 0;
        modkelmon::checkflag = 1;
        modkelmon::regstflag = 0;
        modkelmon::downlflag = 1;
        return {};
    }
    QStringList replaced;
    modkelmon::kyosocode = setting(q, "kyosocode", 0, 24, 0, &replaced);
    modkelmon::checkflag = setting(q, "checkflag", -32768, 32767, 1, &replaced);
    modkelmon::regstflag = setting(q, "regstflag", -32768, 32767, 0, &replaced);
    modkelmon::downlflag = setting(q, "downlflag", -32768, 32767, 1, &replaced);
    return replaced.join(QLatin1String(", "));
}

void write_startup_settings()
{
    modkelmon::exec(QStringLiteral("update m_kanri set kyosocode = ?, checkflag = ?, regstflag = ?, downlflag = ? "
                                   "where kanricode = 1"),
                    {modkelmon::kyosocode, modkelmon::checkflag, modkelmon::regstflag, modkelmon::downlflag});
}

} // namespace kelmon
