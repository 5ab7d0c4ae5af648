#include "racecard/helpers/cardfixture.h"

#include "common/modkelmon.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"

#include <QStringList>

namespace cardtest {

using namespace kelmon::racecard;

void insertRow(const QString &table, const QVariantMap &values)
{
    const QStringList marks(values.size(), QStringLiteral("?"));
    modkelmon::exec(QStringLiteral("insert into %1 (%2) values (%3)")
                        .arg(table, values.keys().join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                    values.values());
}

void insertBoat(int frame, const QVariantMap &fields)
{
    QVariantMap row{
        {"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", kRace}, {"wakusno", frame},
        {"tourokuno", 4000 + frame}, {"sensyname", QStringLiteral("選手%1").arg(frame)}, {"tourokuki", 90 + frame},
        {"adress", 13}, {"age", 30 + frame}, {"blood", 1}, {"Weight", 52}, {"flag_ns", 2}, {"flag_nf", 4}, {"flag_nd", 4},
        {"classcode_2k", "A1"}, {"syoritu_2k", 6.5}, {"syoritu_ns", 5.43}, {"fukuritu_to", 33.3},
        {"syuso_zk_1", 10}, {"syuso_zk_2", 8}, {"syuso_zk_3", 7}, {"syuso_zk_all", 50},
        {"motorno", 10 + frame}, {"boatsno", 20 + frame},
    };
    row.insert(fields);
    insertRow(QStringLiteral("f_wakus"), row);
}

void insertSixBoats()
{
    for (int frame = 1; frame <= 6; ++frame)
        insertBoat(frame);
}

int fillBlocks(kelmon::GridModel &grid, const QList<int> &codes, int item, int order)
{
    RaceCardEngine card(grid);
    card.context = {"", QString::number(kSetus), QString::number(kDay), "", QString::number(kRace)};
    card.layout = CardLayout::fromCodes(QVector<int>(codes.begin(), codes.end()));
    card.item_no = item;
    card.disp_raceinfo(order);
    return card.boatCount();
}

QList<int> drawnFrames(const kelmon::GridModel &grid, int boats)
{
    QList<int> frames;
    for (int k = 1; k <= boats; ++k)
        frames << grid.text(boatRow(k), 4).left(4).toInt() - 4000;
    return frames;
}

QString columnTexts(const kelmon::GridModel &grid, int col, int first, int count)
{
    QStringList texts;
    for (int r = first; r < first + count; ++r)
        texts << grid.text(r, col);
    return texts.join(QLatin1Char('|'));
}

} // namespace cardtest
