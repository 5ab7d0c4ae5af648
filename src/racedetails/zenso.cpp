#include "racedetails/zenso.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/resultcodes.h"
#include "common/textforms.h"
#include "common/timeforms.h"
#include "racecard/boatrow.h"

#include <QSqlQuery>

namespace kelmon::racedetails {

namespace {

using modkelmon::keyValue;

// Which columns of f_wakus a panel reads.
enum class PanelKind { Meeting, Local, Motor, Boat };
struct PanelColumns {
    PanelKind kind;
    const char *seiseki;
    const char *grade;       // Meeting, Local
    const char *label;       // Meeting: racesdisp; Motor, Boat: sensyname
    const char *note;        // Meeting: ketujyo; Local, Boat: s_date; Motor: classcode
    const char *tourokuno;   // Motor, Boat
    const char *weight;      // Motor
    const char *firsttime;   // Motor
    const char16_t *noRecord;
};

const PanelColumns kPanels[8] = {
    {PanelKind::Meeting, "seiseki_z3", "gradecode_z3", "racesdisp_z3", "ketujyo_z3", nullptr, nullptr, nullptr, nullptr},
    {PanelKind::Meeting, "seiseki_z2", "gradecode_z2", "racesdisp_z2", "ketujyo_z2", nullptr, nullptr, nullptr, nullptr},
    {PanelKind::Meeting, "seiseki_z1", "gradecode_z1", "racesdisp_z1", "ketujyo_z1", nullptr, nullptr, nullptr, nullptr},
    {PanelKind::Local, "seiseki_zt", "gradecode_zt", nullptr, "s_date_zt", nullptr, nullptr, nullptr,
     u"初出走のため 前回当地成績は有りません"},
    {PanelKind::Motor, "seiseki_m2", nullptr, "sensyname_m2", "classcode_m2", "tourokuno_m2", "weight_m2",
     "firsttime_m2", u"新機のため 前々回成績は有りません"},
    {PanelKind::Motor, "seiseki_m1", nullptr, "sensyname_m1", "classcode_m1", "tourokuno_m1", "weight_m1",
     "firsttime_m1", u"新機のため 前回成績は有りません"},
    {PanelKind::Boat, "seiseki_b2", nullptr, "sensyname_b2", "s_date_b2", "tourokuno_b2", nullptr, nullptr,
     u"新艇のため 前々回成績は有りません"},
    {PanelKind::Boat, "seiseki_b1", nullptr, "sensyname_b1", "s_date_b1", "tourokuno_b1", nullptr, nullptr,
     u"新艇のため 前回成績は有りません"},
};

QString description(const racecard::BoatRow &r, const PanelColumns &p)
{
    switch (p.kind) {
    case PanelKind::Meeting:
        return modkelmon::get_grade_name(r.code(p.grade)) + QLatin1Char(' ')
            + modkelmon::del_space(trimBlanks(r.text(p.label))) + QLatin1Char(' ')
            + modkelmon::del_space(trimBlanks(r.text(p.note)));
    case PanelKind::Local: {
        const QString date = r.text(p.note);
        if (trimBlanks(date).isEmpty())
            return QString::fromUtf16(p.noRecord);
        return modkelmon::get_grade_name(r.code(p.grade)) + QLatin1Char(' ') + date.mid(0, 2) + QStringLiteral("年")
            + date.mid(2, 2) + QStringLiteral("月 ");
    }
    case PanelKind::Motor: {
        if (r.num(p.tourokuno) == 0)
            return QString::fromUtf16(p.noRecord);
        QString text = r.text(p.label) + QLatin1Char(' ') + r.text(p.note) + QStringLiteral("級 ") + r.plain(p.weight)
            + QStringLiteral("㎏  ");
        const QString best = modkelmon::race_time(r.num(p.firsttime));
        if (!best.isEmpty())
            text += QStringLiteral("節間最高時計 ") + best;
        return text;
    }
    case PanelKind::Boat: {
        if (r.num(p.tourokuno) == 0)
            return QString::fromUtf16(p.noRecord);
        const QString date = r.text(p.note);
        return r.text(p.label) + QLatin1Char(' ') + date.mid(0, 2) + QStringLiteral("月") + date.mid(2, 2)
            + QStringLiteral("日");
    }
    }
    return QString();
}

} // namespace

ZensoPanel zensoPanel(const QSqlRecord &wakus, int flag)
{
    ZensoPanel panel;
    if (flag < 1 || flag > 8)
        return panel;
    const PanelColumns &p = kPanels[flag - 1];
    const racecard::BoatRow r(wakus);
    panel.comment = description(r, p);
    // Unit k holds run k: day k / 2 + 1, first or second run of the day. A
    // trailing fragment of two characters is a unit with a one-character
    // code; one of a single character is ignored.
    const QString units = trimBlanks(r.text(p.seiseki));
    const int last = std::min(cint(double(units.size()) / 3.0 - 1.0), kZensoCells - 1);
    for (int k = 0; k <= last; ++k) {
        const int kind = int(val(units.mid(3 * k, 1)));
        if (kind <= 0)
            continue;
        ZensoCell &cell = panel.cells[std::size_t(k)];
        if (const auto color = modkelmon::seiseki_class_color(kind))
            cell.color = QRgb(*color);
        cell.text = modkelmon::result_code(trimBlanks(units.mid(3 * k + 1, 2)));
    }
    return panel;
}

std::optional<ZensoPanel> disp_zenso(const ZensoKey &key, int flag)
{
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select * from f_wakus where setuscode = ? and datescnt = ? and racesno = ? and wakusno = ?"),
        {keyValue(key.setuscode), keyValue(key.datescnt), keyValue(key.racesno), keyValue(key.wakusno)});
    if (!q.next())
        return std::nullopt;
    return zensoPanel(q.record(), flag);
}

} // namespace kelmon::racedetails
