#include "racedetails/restresult.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/gridmoves.h"
#include "racecard/boatrow.h"

#include <QSqlQuery>

namespace kelmon::racedetails {

namespace {

using modkelmon::keyValue;

struct ColumnLayout {
    const char16_t *header;
    int width;
    GridAlign align;
};

// A name too long for its column is drawn a step smaller (fill_restb).
constexpr GridAlign C = GridAlign::CenterCenter;
constexpr GridAlign L = GridAlign::LeftCenter;
constexpr ColumnLayout kColumns[RestbColumns] = {
    {u"着順", 740, C}, {u"予想", 460, C}, {u"枠", 280, C},  {u"選手名", 880, C}, {u"タイム", 660, C},
    {u"進入", 460, C}, {u"ST", 300, C},   {u"チルト", 640, C}, {u"展示", 450, C}, {u"減点", 1160, L},
    {u"", 0, L},       {u"", 0, L},       {u"", 0, L},      {u"", 0, L},        {u"", 0, L},
};

constexpr int kTintedColumns = ColPenalty + 1;

// A payout: the yen sign, a blank and the amount with separators in seven places.
QString payout(double yen)
{
    return QStringLiteral("\u00A5 ") + format(format(yen, "#,0"), "@@@@@@@");
}

QString popularity(double position)
{
    return QStringLiteral("人気 ") + format(plainNumber(position), "@@@") + QStringLiteral("番");
}

} // namespace

QString get_racedate(const QString &setuscode, const QString &datescnt)
{
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select \"Date\" from f_resta where setuscode = ? and datescnt = ? limit 1"),
        {keyValue(setuscode), keyValue(datescnt)});
    if (!q.next())
        return QStringLiteral("00000000");
    return q.value(0).toString();
}

RaceResultHeader raceResultHeader(const QSqlRecord &resta)
{
    const racecard::BoatRow r(resta);
    RaceResultHeader h;
    h.racesname = r.text("racesname");
    const bool exacta = r.num("seiriflag_2t") == 0;
    const bool trifecta = r.num("seiriflag_3t") == 0;
    if (trifecta) {
        const QString boats = r.text("renban_3ta");
        for (int k = 0; k < 3; ++k)
            h.renban[std::size_t(k)] = boats.mid(k, 1);
    } else if (exacta) {
        const QString boats = r.text("renban_2ta");
        for (int k = 0; k < 2; ++k)
            h.renban[std::size_t(k)] = boats.mid(k, 1);
    }
    if (exacta) {
        h.haikin_2ta = payout(r.num("haikin_2ta"));
        h.ninkido_2ta = popularity(r.num("ninkido_2ta"));
    }
    if (trifecta) {
        h.haikin_3ta = payout(r.num("haikin_3ta"));
        h.ninkido_3ta = popularity(r.num("ninkido_3ta"));
    }
    h.kazemuki = r.text("kazemuki");
    h.kazesoku = r.plain("kazesoku") + QStringLiteral("ｍ");
    h.nami = r.plain("nami") + QStringLiteral("㎝");
    h.kimarite = r.text("kimarite");
    h.tenkai = r.text("tenkai");
    return h;
}

std::optional<RaceResultHeader> load_raceresult(const RaceKey &key)
{
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select * from f_resta where setuscode = ? and datescnt = ? and racesno = ?"),
        {keyValue(key.setuscode), keyValue(key.datescnt), keyValue(key.racesno)});
    if (!q.next())
        return std::nullopt;
    return raceResultHeader(q.record());
}

void set_mfgf_restb(GridModel &grid)
{
    grid.reset();
    grid.setCols(RestbColumns);
    grid.setRows(7);
    grid.setFixedCols(0);
    grid.setFixedRows(1);
    grid.setRowHeight(0, 260);
    for (int c = 0; c < RestbColumns; ++c) {
        grid.setColWidth(c, kColumns[c].width);
        grid.setColAlignment(c, kColumns[c].align);
        grid.setText(0, c, QString::fromUtf16(kColumns[c].header));
    }
}

QList<RestbRow> load_restb(const RaceKey &key)
{
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select * from f_restb where setuscode = ? and datescnt = ? and racesno = ? "
                       "order by cyakucode, wakusno"),
        {keyValue(key.setuscode), keyValue(key.datescnt), keyValue(key.racesno)});
    QList<RestbRow> rows;
    while (q.next())
        rows << RestbRow::fromRecord(q.record());
    return rows;
}

void fill_restb(GridModel &grid, const QList<RestbRow> &rows)
{
    grid.setRows(1);
    for (const RestbRow &r : rows) {
        const int row = grid.rows();
        grid.setRows(row + 1);
        grid.setRow(row);
        if (const auto tint = modkelmon::get_wakucolor(r.wakusno))
            for (int c = 0; c < kTintedColumns; ++c)
                grid.setBackColor(row, c, *tint);
        const QString cells[RestbColumns] = {
            resultText(r), markText(r),       QString::number(r.wakusno), r.sensyname, raceTimeText(r),
            courseText(r), startText(r),      tiltText(r),       exhibitionText(r),  penaltyText(r),
            rawMark(r),    rawResult(r),      rawRaceTime(r),    signedTilt(r),      rawTourokuno(r),
        };
        for (int c = 0; c < RestbColumns; ++c)
            grid.setText(row, c, cells[c]);
        setFittedText(grid, row, ColName, r.sensyname);
    }
    startAtFirstDataRow(grid);
}

} // namespace kelmon::racedetails
