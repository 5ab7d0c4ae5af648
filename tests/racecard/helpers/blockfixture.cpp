#include "racecard/helpers/blockfixture.h"

#include "racecard/cardengine.h"
#include "racecard/helpers/cardfixture.h"

namespace cardtest {

using namespace kelmon::racecard;

QVariantMap blockFields(int frame, const QVariantMap &fields)
{
    QVariantMap row{
        // Previous meetings, last meeting here, next assignments.
        {"gradecode_z1", 5}, {"racesdisp_z1", " 住之江ＳＧ "}, {"ketujyo_z1", "準優"}, {"seiseki_z1", "101102203"},
        {"gradecode_z2", 1}, {"racesdisp_z2", "桐生一般"}, {"ketujyo_z2", "  "}, {"seiseki_z2", "1S0104"},
        {"gradecode_z3", 4}, {"racesdisp_z3", "福岡ＧⅠ"}, {"ketujyo_z3", ""}, {"seiseki_z3", ""},
        {"gradecode_zt", 2}, {"s_date_zt", "0409"}, {"seiseki_zt", "105106"},
        {"gradecode_a1", 4}, {"s_date_a1", "20050312"}, {"racesdisp_a1", "若松ＧⅠ"},
        {"gradecode_a2", 1}, {"s_date_a2", "  "}, {"racesdisp_a2", "多摩川"},
        {"gradecode_a3", 5}, {"s_date_a3", "20050501"}, {"racesdisp_a3", " "},
        // Course data.
        {"flag_c1", 1}, {"flag_c2", 4},
        {"syuso_c1_1", 12}, {"syuso_c1_2", 0}, {"syuso_c1_3", 25}, {"syuso_c1_4", 35}, {"syuso_c1_5", 5},
        {"syuso_c1_6", 200},
        {"syure_c1_1", 5}, {"syure_c1_2", 0}, {"syure_c1_3", 8}, {"syure_c1_4", 9}, {"syure_c1_5", 1},
        {"syure_c1_6", 50},
        {"syuso_c2_1", 12}, {"syuso_c2_2", 3}, {"syuso_c2_3", 0}, {"syuso_c2_4", 7}, {"syuso_c2_5", 58},
        {"syuso_c2_6", 1},
        {"syure_c2_1", 5}, {"syure_c2_2", 1}, {"syure_c2_3", 0}, {"syure_c2_4", 2}, {"syure_c2_5", 20},
        {"syure_c2_6", 0},
        // Motor.
        {"syoritu_mt", 5.5}, {"fukuritu_mt", 38.5}, {"yusyu_mt", 2}, {"yusyo_mt", 1},
        {"syuso_mt_1", 6}, {"syuso_mt_2", 5}, {"syuso_mt_3", 4}, {"syuso_mt_all", 30},
        {"kryok_de", 1}, {"kryok_nb", 7}, {"firsttime_mt", 1496},
        {"sensyname_m2", "山田太郎一"}, {"classcode_m2", "A1"}, {"weight_m2", 52}, {"seiseki_m2", "101103112102101"},
        {"firsttime_m2", 1496},
        {"sensyname_m1", "鈴木"}, {"classcode_m1", "B"}, {"weight_m1", 50.5}, {"seiseki_m1", "101"},
        {"firsttime_m1", 0},
        // Boat.
        {"syoritu_bt", 5}, {"fukuritu_bt", 31}, {"yusyu_bt", 1}, {"yusyo_bt", 0},
        {"syuso_bt_1", 5}, {"syuso_bt_2", 6}, {"syuso_bt_3", 7}, {"syuso_bt_all", 40},
        {"sensyname_b2", " "}, {"s_date_b2", "0401"}, {"seiseki_b2", "101"},
        {"sensyname_b1", "佐藤花子"}, {"s_date_b1", "0512"}, {"seiseki_b1", "101102103104105106101102103"},
        // This meeting.
        {"seiseki_ks", "0510011496" "1200070000" "          " "0301100000" "0810620000" "02200111  "},
        {"syotnflag", 0}, {"syuso_hj", 2}, {"hituten_ks", 3}, {"tokujun_ks", 5}, {"tokuritu_ks", 6.5},
        {"st_ks", "031015117" "051145105" "071126208" "091142   " "         " "111010115"},
        {"sinyu_s", 1}, {"sinyu_e", 3}, {"st_avg", 0.17}, {"hj1_ks_avg", 2.25}, {"st_ks_avg", 0.16},
        {"tenjitime_ks", "05785" "11802" "00000" "09683"}, {"tenji_ks_avg", 6.75}, {"tenjun_ks_avg", 2.5},
        // Quick view and notice.
        {"hayami_r", frame == 1 ? 0 : 8 + frame}, {"hayami_w", frame}, {"Memo", "  前検一番時計  "},
    };
    const QVariantMap base = boatFields(frame, row);
    QVariantMap out = base;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        out.insert(it.key(), it.value());
    return out;
}

void insertBlockBoat(int frame, const QVariantMap &fields)
{
    insertRow(QStringLiteral("f_wakus"), blockFields(frame, fields));
}

int fillBlocks(kelmon::GridModel &grid, const QList<int> &codes, int item, int order)
{
    RaceCardEngine card(grid);
    card.context.setuscode = QString::number(kSetus);
    card.context.datescnt = QString::number(kDay);
    card.context.racesno = QString::number(kRace);
    card.layout = CardLayout::fromCodes(QVector<int>(codes.begin(), codes.end()));
    card.item_no = item;
    card.disp_raceinfo(order);
    return card.boatCount();
}

QString columnTexts(const kelmon::GridModel &grid, int col, int first, int count)
{
    QStringList texts;
    for (int r = first; r < first + count; ++r)
        texts << grid.text(r, col);
    return texts.join(QLatin1Char('|'));
}

} // namespace cardtest
