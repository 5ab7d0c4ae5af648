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

QString startupSettingCaption(StartupSetting setting)
{
    switch (setting) {
    case StartupSetting::Venue: return QStringLiteral("指定の競走場を開く");
    case StartupSetting::SizeCheck: return QStringLiteral("データベースのサイズとパフォーマンスを検査する");
    case StartupSetting::RegistrationOffer: return QStringLiteral("未登録のデータが有ったときに登録画面を起動する");
    case StartupSetting::AfterDownload: return QStringLiteral("ダウンロード後の設定");
    }
    return {};
}

namespace {

// A stored value as the 16-bit setting it stands for; out-of-range values give
// the default and are named in *replaced by the settings dialog's caption.
qint16 setting(const QSqlQuery &q, const char *name, StartupSetting which, int low, int high, qint16 fallback,
               QStringList *replaced)
{
    bool ok = false;
    const qlonglong v = q.value(QString::fromLatin1(name)).toLongLong(&ok);
    if (ok && v >= low && v <= high)
        return static_cast<qint16>(v);
    replaced->append(startupSettingCaption(which));
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
    modkelmon::kyosocode = setting(q, "kyosocode", StartupSetting::Venue, 0, 24, 0, &replaced);
    modkelmon::checkflag = setting(q, "checkflag", StartupSetting::SizeCheck, -32768, 32767, 1, &replaced);
    modkelmon::regstflag = setting(q, "regstflag", StartupSetting::RegistrationOffer, -32768, 32767, 0, &replaced);
    modkelmon::downlflag = setting(q, "downlflag", StartupSetting::AfterDownload, -32768, 32767, 1, &replaced);
    return replaced.join(QLatin1String("\r\n"));
}

void write_startup_settings()
{
    modkelmon::exec(QStringLiteral("update m_kanri set kyosocode = ?, checkflag = ?, regstflag = ?, downlflag = ? "
                                   "where kanricode = 1"),
                    {modkelmon::kyosocode, modkelmon::checkflag, modkelmon::regstflag, modkelmon::downlflag});
}

} // namespace kelmon
