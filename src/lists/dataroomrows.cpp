// The data rows of the data room's three grids.

#include "lists/dataroom.h"

#include "common/modkelmon.h"
#include "common/textforms.h"
#include "lists/dataroomrates.h"
#include "lists/listcells.h"
#include "lists/listcolumns.h"
#include "platform/gridmoves.h"

#include <QSqlQuery>

namespace kelmon::lists {

namespace {

// The rows of a day's table in the order of `order`.
QSqlQuery dayRows(const char *table, const char *order, const DayKey &key)
{
    return modkelmon::exec(QStringLiteral("select * from %1 where setuscode = ? and datescnt = ? order by %2")
                               .arg(QLatin1String(table), QLatin1String(order)),
                           {modkelmon::keyValue(key.setuscode), modkelmon::keyValue(key.datescnt)});
}

// Appends a data row and makes it current; writes name and registration number.
int appendRacer(GridModel &grid, const QSqlQuery &q)
{
    const int row = grid.rows();
    grid.setRows(row + 1);
    grid.setRow(row);
    grid.setText(row, 0, shortName(q.value(QStringLiteral("sensyname")).toString()));
    grid.setText(row, 1, registrationText(fieldNumber(q, "tourokuno")));
    return row;
}

// Drops the data rows, keeping the two heading rows.
void clearRows(GridModel &grid) { grid.setRows(std::min(grid.rows(), 2)); }

} // namespace

void disp_lunks(const DayKey &key, const QString &title, GridModel &ranking)
{
    clearRows(ranking);
    const bool points = title == QString::fromUtf16(kPointsTitle);
    const bool semiFinal = isSemiFinalTitle(title);
    QSqlQuery q = dayRows("f_lunks", "lunkscode", key);
    while (q.next()) {
        const int row = appendRacer(ranking, q);
        auto set = [&](int col, const QString &text) { ranking.setText(row, col, text); };
        const double all = fieldNumber(q, "syuso_all");
        const double first = fieldNumber(q, "syuso_1");
        if (points) {
            set(2, alignedNumber(fieldNumber(q, "lunkscode"), "@@"));
            set(3, alignedNumber(all, "@@@"));
            set(4, alignedNumber(first, "@@"));
            if (fieldNumber(q, "syotnflag") == 0)
                set(5, rateCell(fieldNumber(q, "tokuritu_ks")));
            set(6, raceCell(fieldNumber(q, "hayami_1")));
            set(7, raceCell(fieldNumber(q, "hayami_2")));
            continue;
        }
        const double second = fieldNumber(q, "syuso_2");
        const double third = fieldNumber(q, "syuso_3");
        set(2, alignedNumber(first, "@@"));
        set(3, alignedNumber(second, "@@"));
        set(4, alignedNumber(third, "@@"));
        set(5, alignedNumber(all - (first + second + third), "@@"));
        set(6, alignedNumber(fieldNumber(q, "fukuritu"), "@@@"));
        set(7, alignedNumber(fieldNumber(q, "fukuritu_3"), "@@@"));
        set(8, raceCell(fieldNumber(q, "hayami_1")));
        set(9, semiFinal ? frameCell(fieldNumber(q, "hayami_2")) : raceCell(fieldNumber(q, "hayami_2")));
    }
    startAtFirstDataRow(ranking);
}

void disp_cyakukai(const DayKey &key, GridModel &places)
{
    clearRows(places);
    static const char *const counts[6] = {"syuso_zk_1", "syuso_zk_2", "syuso_zk_3",
                                          "syuso_zk_4", "syuso_zk_5", "syuso_zk_6"};
    QSqlQuery q = dayRows("f_racer", "tourokuno", key);
    while (q.next()) {
        const int row = appendRacer(places, q);
        const double starts = fieldNumber(q, "syuso_zk_all");
        if (starts > 0)
            for (int k = 0; k < 6; ++k)
                places.setText(row, k + 2, finishPlaceCell(fieldNumber(q, counts[k]), starts));
        places.setText(row, 8, raceCell(fieldNumber(q, "hayami_1")));
        places.setText(row, 9, raceCell(fieldNumber(q, "hayami_2")));
    }
    startAtFirstDataRow(places);
}

void disp_kaisyu(const DayKey &key, GridModel &returns)
{
    clearRows(returns);
    QSqlQuery q = dayRows("f_kasyu", "tourokuno", key);
    while (q.next()) {
        const int row = appendRacer(returns, q);
        auto set = [&](int col, const QString &text) { returns.setText(row, col, text); };
        set(2, alignedNumber(fieldNumber(q, "syuso_2t"), "@@@"));
        set(3, alignedNumber(fieldNumber(q, "syure_2t"), "@@@"));
        set(4, returnRateCell(fieldNumber(q, "kaisyuritu_2t")));
        set(5, alignedNumber(fieldNumber(q, "syuso_3t"), "@@@"));
        set(6, alignedNumber(fieldNumber(q, "syure_3t"), "@@@"));
        set(7, returnRateCell(fieldNumber(q, "kaisyuritu_3t")));
        set(8, raceCell(fieldNumber(q, "hayami_1")));
        set(9, raceCell(fieldNumber(q, "hayami_2")));
    }
    startAtFirstDataRow(returns);
}

} // namespace kelmon::lists
