#include "racecard/helpers/cardfixture.h"

#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "common/settingsrow.h"

#include <QStandardPaths>
#include <QStringList>

namespace cardtest {

FixtureFolder::FixtureFolder()
{
    QStandardPaths::setTestModeEnabled(true);
    if (!dir_.isValid())
        return;
    kelmon::setProgramFolder(dir_.path());
    QString error;
    if (!kelmon::ensureProgramFolder(&error))
        return;
    modkelmon::open_db();
    kelmon::read_m_kanri();
    ok_ = true;
}

FixtureFolder::~FixtureFolder()
{
    if (modkelmon::is_open())
        modkelmon::close_db();
    kelmon::setProgramFolder(QString());
}

void insertRow(const QString &table, const QVariantMap &values)
{
    QStringList names;
    QStringList marks;
    QVariantList bound;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        names << it.key();
        marks << QStringLiteral("?");
        bound << it.value();
    }
    modkelmon::exec(QStringLiteral("insert into %1 (%2) values (%3)")
                        .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                    bound);
}

QVariantMap boatFields(int frame, const QVariantMap &fields)
{
    QVariantMap row{
        {"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", kRace}, {"wakusno", frame},
        {"tourokuno", 4000 + frame}, {"yososno", frame}, {"sensyname", QStringLiteral("選手名%1").arg(frame).left(4)},
        {"tourokuki", 90 + frame}, {"adress", 13}, {"age", 30 + frame}, {"blood", 1}, {"Weight", 52},
        {"sinyu_k", 1}, {"syuso_kk_f", 0}, {"syuso_kk_l1", 0}, {"flag_ns", 2},
        {"classcode_2k", "A1"}, {"syoritu_2k", 6.5}, {"classcode_1k", "A2"}, {"syoritu_1k", 5.25},
        {"classcode_ge", "B1"}, {"syoritu_ge", 4.0}, {"syoritu_ns", 5.43}, {"syoritu_ms", 0},
        {"fukuritu_ms", 0}, {"flag_nf", 4}, {"syuso_to_all", 40}, {"fukuritu_to", 33.3},
        {"fukuritu_ge", 40}, {"fukuritu_nf", 25}, {"fukuritu_to_3", 50}, {"fukuritu_ge_3", 55.5},
        {"fukuritu_nf_3", 60}, {"yusyu_zk", 3}, {"yusyo_zk", 1}, {"syuso_zk_1", 10},
        {"syuso_zk_2", 8}, {"syuso_zk_3", 7}, {"syuso_zk_all", 50}, {"syurt_zk_1", 20},
        {"syurt_zk_2", 16}, {"syurt_zk_3", 14}, {"flag_nd", 4}, {"yusyu_ny", 2}, {"yusyo_ny", 0},
        {"syuso_nd_1", 3}, {"syuso_nd_2", 2}, {"syuso_nd_3", 0}, {"syuso_nd_all", 12},
        {"syurt_nd_1", 25}, {"syurt_nd_2", 16.7}, {"syurt_nd_3", 0},
        {"motorno", 10 + frame}, {"boatsno", 20 + frame},
    };
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        row.insert(it.key(), it.value());
    return row;
}

void insertBoat(int frame, const QVariantMap &fields)
{
    insertRow(QStringLiteral("f_wakus"), boatFields(frame, fields));
}

void insertSixBoats()
{
    for (int frame = 1; frame <= 6; ++frame)
        insertBoat(frame);
}

} // namespace cardtest
