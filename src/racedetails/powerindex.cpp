#include "racedetails/powerindex.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/gridmoves.h"
#include "platform/pictures.h"

#include <QSqlQuery>

namespace kelmon::racedetails {

namespace {

// The indices in column order 1..8.
constexpr const char *kIndexFields[kPowerIndices] = {"giryosisu", "sryoksisu", "kryoksisu", "toutisisu",
                                                     "kikyosisu", "wakussisu", "ninnisisu", "totalsisu"};
constexpr const char16_t *kHeadings[kPowerIndices] = {u"技量", u"Ｓ力", u"機力", u"当地",
                                                      u"近況", u"枠番", u"--",  u"総合"};
constexpr const char16_t *kDayHeadings[5] = {u"初日", u"準優", u"最終日", u"選抜", u"優勝"};

// The predictions window is 360 twips wider than its panel's first design,
// and its grid with it; the columns share that room in their proportions, so
// they still fill the grid.
constexpr int kNameWidth = 920;
constexpr int kBarWidth = 720;
constexpr int kHeaderHeight = 260;

QVariantList raceKeys(const QString &setuscode, const QString &datescnt, const QString &racesno)
{
    return {modkelmon::keyValue(setuscode), modkelmon::keyValue(datescnt), modkelmon::keyValue(racesno)};
}

} // namespace

int powerBand(const QString &value)
{
    const QString text = trimBlanks(value);
    if (text.isEmpty() || text == QLatin1String("--"))
        return 0;
    const double n = val(text);
    if (n >= 0 && n <= 10)
        return 1;
    if (n >= 95 && n <= 99)
        return 23;
    for (int k = 2; k <= 22; ++k)
        if (n >= 4 * k + 3 && n <= 4 * k + 6)
            return k;
    return 0;
}

QString powerDayHeading(int flag_ss)
{
    return flag_ss >= 1 && flag_ss <= 5 ? QString::fromUtf16(kDayHeadings[flag_ss - 1]) : QStringLiteral("--");
}

void set_mfgf_point(GridModel &grid, const QString &setuscode, const QString &datescnt, const QString &racesno)
{
    grid.setCols(kPowerCols);
    grid.setRows(kPowerRows);
    grid.setFixedCols(0);
    grid.setFixedRows(1);
    grid.setRowHeight(0, kHeaderHeight);
    for (int c = 0; c < kPowerCols; ++c) {
        grid.setColWidth(c, c == 0 ? kNameWidth : c <= kPowerIndices ? kBarWidth : 0);
        grid.setColAlignment(c, c <= kPowerIndices ? GridAlign::CenterCenter : GridAlign::LeftCenter);
    }
    grid.setText(0, 0, QStringLiteral("選手名"));
    for (int c = 1; c <= kPowerIndices; ++c)
        grid.setText(0, c, QString::fromUtf16(kHeadings[c - 1]));
    QSqlQuery q = modkelmon::exec(QStringLiteral("select flag_ss from f_wakus where setuscode = ? and datescnt = ? "
                                                 "and racesno = ? order by wakusno limit 1"),
                                  raceKeys(setuscode, datescnt, racesno));
    if (q.next()) {
        const double flag = q.value(0).toDouble();
        if (flag == int(flag))
            grid.setText(0, 7, powerDayHeading(int(flag)));
    }
}

void disp_powp(GridModel &grid, const QString &setuscode, const QString &datescnt, const QString &racesno)
{
    // A refill starts from empty rows, so a frame missing from this race
    // never shows the boat of the race shown before.
    grid.setRows(1);
    set_mfgf_point(grid, setuscode, datescnt, racesno);
    QSqlQuery q = modkelmon::exec(QStringLiteral("select * from f_wakus where setuscode = ? and datescnt = ? "
                                                 "and racesno = ? order by wakusno"),
                                  raceKeys(setuscode, datescnt, racesno));
    while (q.next()) {
        const double frame = q.value(QStringLiteral("wakusno")).toDouble();
        if (!(frame >= 1 && frame <= 6) || frame != int(frame))
            continue;
        const int row = int(frame);
        grid.setCellAlignment(row, 0, GridAlign::LeftCenter);
        if (const auto tint = modkelmon::get_wakucolor(row))
            grid.setBackColor(row, 0, *tint);
        grid.setText(row, 0, trimBlanks(q.value(QStringLiteral("sensyname")).toString()).left(4));
        for (int c = 1; c <= kPowerIndices; ++c) {
            const QString raw = q.value(QString::fromLatin1(kIndexFields[c - 1])).toString();
            const int band = powerBand(raw);
            grid.setPicture(row, c, band ? GridPicture{imlyosodisp1, pictures::powerBar(band)} : GridPicture{});
            grid.setPictureAlignment(row, c, GridAlign::LeftCenter);
            grid.setText(row, c + 10, raw);
        }
        grid.setText(row, kPowerRacerNoCol, plainNumber(q.value(QStringLiteral("tourokuno")).toDouble()));
        grid.setText(row, kPowerFrameCol, QString::number(row));
    }
    startAtFirstDataRow(grid);
}

} // namespace kelmon::racedetails
