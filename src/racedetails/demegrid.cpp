#include "racedetails/demegrid.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/gridmoves.h"

#include <QSqlQuery>
#include <QStringList>

namespace kelmon::racedetails {

namespace {

struct Column {
    const char16_t *header;
    int width;
};
// A payout column holds a seven-digit payout with its separators
// (1,234,560); a race name too long for its column is drawn a step smaller.
constexpr Column kColumns[kDemeCols] = {
    {u"日程", 540},  {u"レース名", 1540}, {u"2連単", 560}, {u"配当金", 855}, {u"人気度", 640},
    {u"3連単", 560}, {u"配当金", 855},    {u"人気度", 640}, {u"", 0},       {u"", 0},
};
constexpr int kHeaderHeight = 260;

// The columns of one bet type: combination, payout, popularity, raw payout.
struct BetColumns {
    const char *flag;
    const char *renban;
    const char *haikin;
    const char *ninkido;
    int places;
    int combination;
    int rawPayout;
};
constexpr BetColumns kBets[2] = {
    {"seiriflag_2t", "renban_2ta", "haikin_2ta", "ninkido_2ta", 2, 2, kDemeExactaPayRaw},
    {"seiriflag_3t", "renban_3ta", "haikin_3ta", "ninkido_3ta", 3, 5, kDemeTrifectaPayRaw},
};

} // namespace

QString demeCombination(const QString &renban, int places)
{
    if (renban.size() < places)
        return QString();
    QStringList boats;
    for (int i = 0; i < places; ++i)
        boats << renban.mid(i, 1);
    return boats.join(u'-');
}

QString demePayout(double yen) { return format(format(yen, u"#,0"), u"@@@@@@@"); }

QString demePopularity(double order) { return format(plainNumber(order), u"@@@"); }

void set_mfgf_resta(GridModel &grid)
{
    grid.setCols(kDemeCols);
    grid.setRows(2);
    grid.setFixedCols(0);
    grid.setFixedRows(1);
    grid.setRows(1);
    grid.setMergeCells(true);
    grid.setMergeCol(0, true);
    grid.setRowHeight(0, kHeaderHeight);
    for (int c = 0; c < kDemeCols; ++c) {
        grid.setColWidth(c, kColumns[c].width);
        grid.setColAlignment(c, GridAlign::CenterCenter);
        grid.setText(0, c, QString::fromUtf16(kColumns[c].header));
    }
}

void disp_f_resta(GridModel &grid, const QString &setuscode, const QString &racesno, const QString &datescnt)
{
    QSqlQuery q = modkelmon::exec(QStringLiteral("select * from f_resta where setuscode = ? and racesno = ? "
                                                 "and datescnt < ? order by datescnt"),
                                  {modkelmon::keyValue(setuscode), modkelmon::keyValue(racesno),
                                   modkelmon::keyValue(datescnt)});
    grid.setRows(1);
    auto number = [&q](const char *name) { return q.value(QString::fromLatin1(name)).toDouble(); };
    while (q.next()) {
        const int row = grid.rows();
        grid.setRows(row + 1);
        grid.setRow(row);
        grid.setText(row, 0, plainNumber(number("datescnt")) + QStringLiteral("日目"));
        setFittedText(grid, row, 1, trimBlanks(q.value(QStringLiteral("racesname")).toString()));
        grid.setCellAlignment(row, 1, GridAlign::LeftCenter);
        if (number("seiriflag") != 0)
            continue;
        for (const BetColumns &bet : kBets) {
            if (number(bet.flag) != 0)
                continue;
            const double payout = number(bet.haikin);
            grid.setText(row, bet.combination,
                         demeCombination(q.value(QString::fromLatin1(bet.renban)).toString(), bet.places));
            grid.setText(row, bet.combination + 1, demePayout(payout));
            grid.setText(row, bet.combination + 2, demePopularity(number(bet.ninkido)));
            grid.setText(row, bet.rawPayout, plainNumber(payout));
        }
    }
    startAtFirstDataRow(grid);
}

} // namespace kelmon::racedetails
