#include "racecard/thismeetingblocks.h"

#include "common/codetables.h"
#include "common/resultcodes.h"
#include "common/textforms.h"
#include "racecard/blockhelpers.h"
#include "racecard/cardtables.h"

namespace kelmon::racecard {

namespace {

constexpr int kResultLength = 10;   // seiseki_ks
constexpr int kStartLength = 9;     // st_ks
constexpr int kTenjiLength = 5;     // tenjitime_ks
constexpr int kDays = 6;

// A result's colour digit d above 0 takes background index d + 15.
constexpr int kColourDigitBase = 15;

QString dayName(int day)
{
    return QString::number(day) + QStringLiteral("日目");
}

// Rows 0..3 of the record columns of blocks 19 and 21: title, subtitle, a
// blank row and the days, each day over its two race columns.
void recordsHeader(GridModel &grid, int col, const QString &title, const QString &subtitle)
{
    const int last = col + 2 * kMeetingRecords - 2;
    headerSpan(grid, 0, col, last, title);
    headerSpan(grid, 1, col, last, subtitle);
    keepTipsInRow(grid, 1, col, last);
    headerSpan(grid, 2, col, last, QStringLiteral(" "));
    for (int d = 1; d <= kDays; ++d) {
        const int first = col + 4 * (d - 1);
        headerSpan(grid, 3, first, first + 2, dayName(d));
    }
}

// Merging down for the columns col..col + count - 1 and centring for every
// column from col to the grid's last.
void recordColumns(GridModel &grid, int col, int count)
{
    for (int c = col; c < col + count; ++c)
        grid.setMergeCol(c, true);
    for (int c = col; c < grid.cols(); ++c)
        grid.setColAlignment(c, GridAlign::CenterCenter);
}

// Block 19: the meeting's results.
void seisekiHeader(GridModel &grid, const BoatRow &, int col)
{
    recordColumns(grid, col, 2 * kMeetingRecords);
    recordsHeader(grid, col, QStringLiteral("今 節 成 績"), QStringLiteral("(レース№・着順・タイム)"));
    for (int c = col; c <= col + 2 * kMeetingRecords - 2; ++c)
        grid.setFontBold(0, c, true);
}

void seisekiData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const QString field = row.text("seiseki_ks");
    for (int j = 0; j < kMeetingRecords; ++j)
        disp_cell_seiseki_ks(grid, PackedRecord(field, kResultLength, j).text(), boatRow(k), col + 2 * j);
}

// Block 20: the points standing.
void tokutenHeader(GridModel &grid, const BoatRow &, int col)
{
    formatColumns(grid, col, col, true, GridAlign::CenterCenter);
    headerCell(grid, 0, col, QStringLiteral("準出条件"));
    headerCell(grid, 1, col, QStringLiteral("準出条件"));
    headerCell(grid, 2, col, QStringLiteral("得点状況"));
    headerCell(grid, 3, col, QStringLiteral("得点状況"));
}

void tokutenData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    paintBoat(grid, top, col, kWhite);
    if (row.num("syotnflag") > 0) {
        grid.setText(top + 1, col, QStringLiteral("賞典除外"));
        return;
    }
    putText(grid, top, col, QStringLiteral("本日") + row.plain("syuso_hj") + QStringLiteral("走"), Align::Left);
    const double needed = row.num("hituten_ks");
    QString status;
    if (needed == 0)
        status = QStringLiteral("当確");
    else if (needed == 99)
        status = QStringLiteral("圏外");
    else
        status = plainNumber(needed) + QStringLiteral("点 必要");
    putText(grid, top + 1, col, status, Align::Right);
    putText(grid, top + 3, col,
            format(row.plain("tokujun_ks"), "@@") + QStringLiteral("位")
                + format(format(row.num("tokuritu_ks"), "0.00"), "@@@@@@"),
            Align::Right);
}

// Block 21: start timings.
void startHeader(GridModel &grid, const BoatRow &, int col)
{
    recordColumns(grid, col, 2 * kMeetingRecords);
    recordsHeader(grid, col, QStringLiteral("スタートタイミング"), QStringLiteral("(枠番・コース・発順・ＳＴ)"));
    const int summary = col + 2 * kMeetingRecords;
    const QString texts[4] = {QStringLiteral("多用 ｺｰｽ"), QStringLiteral("平均ＳＴ"), QStringLiteral("今節発順"),
                              QStringLiteral("今節ＳＴ")};
    for (int r = 0; r < 4; ++r)
        headerCell(grid, r, summary, texts[r]);
}

void startData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    const QString field = row.text("st_ks");
    for (int j = 0; j < kMeetingRecords; ++j)
        edit_st_cell(grid, PackedRecord(field, kStartLength, j).text(), top, col + 2 * j);
    const int summary = col + 2 * kMeetingRecords;
    paintBoat(grid, top, summary, kWhite);
    const QString first = row.plain("sinyu_s");
    const QString last = row.plain("sinyu_e");
    const QString texts[4] = {first == last ? first : first + QStringLiteral("～") + last,
                              row.plain("st_avg"), format(row.num("hj1_ks_avg"), "0.0"),
                              row.plain("st_ks_avg")};
    for (int r = 0; r < 4; ++r)
        putText(grid, top + r, summary, texts[r], Align::Right);
}

// Block 22: exhibition times and ranks.
void tenjiHeader(GridModel &grid, const BoatRow &, int col)
{
    recordColumns(grid, col, 2 * kDays + 1);
    const int last = col + 2 * kDays - 2;
    headerSpan(grid, 0, col, last, QStringLiteral("展示タイム"));
    headerSpan(grid, 1, col, last, QStringLiteral("(展示時計・展示順位)"));
    keepTipsInRow(grid, 1, col, last);
    headerSpan(grid, 2, col, last, QStringLiteral(" "));
    for (int d = 1; d <= kDays; ++d)
        headerCell(grid, 3, col + 2 * (d - 1), dayName(d));
    const int summary = col + 2 * kDays;
    const QString average = QStringLiteral("平") + kLineBreak + QStringLiteral("均");
    headerCell(grid, 0, summary, average);
    headerCell(grid, 1, summary, average);
    headerCell(grid, 2, summary, QStringLiteral("時計"));
    headerCell(grid, 3, summary, QStringLiteral("順位"));
}

void tenjiData(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    const QString field = row.text("tenjitime_ks");
    for (int d = 1; d <= kDays; ++d) {
        const int c = col + 2 * (d - 1);
        edit_tenji_cell(grid, PackedRecord(field, kTenjiLength, 2 * (d - 1)).text(), top, c, 0);
        edit_tenji_cell(grid, PackedRecord(field, kTenjiLength, 2 * (d - 1) + 1).text(), top, c, 1);
    }
    const int summary = col + 2 * kDays;
    paintBoat(grid, top, summary, kWhite);
    const QString texts[4] = {QStringLiteral(" "), QStringLiteral(" "), format(row.num("tenji_ks_avg"), "0.00"),
                              format(row.num("tenjun_ks_avg"), "0.0")};
    for (int r = 0; r < 4; ++r)
        putText(grid, top + r, summary, texts[r], Align::Right);
}

// Records come trimmed from PackedRecord; a record handed in by a caller is
// trimmed the same way before its characters are counted.
PackedRecord record(const QString &text, int length)
{
    return PackedRecord(text, length, 0);
}

constexpr int kRecordsWidths[] = {330, 10, 330, 10, 330, 10, 330, 10, 330, 10, 330, 10,
                                  330, 10, 330, 10, 330, 10, 330, 10, 330, 10, 330, 10};
constexpr int kTokutenWidths[] = {1000, 10};
constexpr int kStartWidths[] = {460, 10, 460, 10, 460, 10, 460, 10, 460, 10, 460, 10, 460,
                                10,  460, 10, 460, 10, 460, 10, 460, 10, 460, 10, 810, 10};
constexpr int kTenjiWidths[] = {460, 10, 460, 10, 460, 10, 460, 10, 460, 10, 460, 10, 460, 10};

} // namespace

const BlockBuilder disp_col_seiseki_ks{kRecordsWidths, seisekiHeader, seisekiData};
const BlockBuilder disp_tokuten{kTokutenWidths, tokutenHeader, tokutenData};
const BlockBuilder disp_starttiming{kStartWidths, startHeader, startData};
const BlockBuilder disp_tenjitime{kTenjiWidths, tenjiHeader, tenjiData};

void disp_cell_seiseki_ks(GridModel &grid, const QString &text, int top, int col)
{
    paintBoat(grid, top, col, kWhite);
    const PackedRecord rec = record(text, kResultLength);
    const int race = rec.number(1, 2);
    if (race == 0) {
        fillBoat(grid, top, col, QString());
        return;
    }
    // Digits 8 and 9 index past the colour table and draw black.
    const int digit = rec.number(3, 1);
    const int back = digit > 0 ? digit + kColourDigitBase : kWhite;
    QString cell = QString::number(race) + QLatin1Char('R');
    if (rec.number(4, 1) == 1) {
        cell += QStringLiteral("不成立");
    } else {
        const int code = rec.number(5, 2);
        if (code >= 1 && code <= 4) {
            cell += modkelmon::get_circle_number(code);
            if (rec.number(7, 4) == 0)
                cell += QStringLiteral("\u3000\u3000");
            else
                cell += QString::number(rec.number(8, 2)) + kLineBreak + QString::number(rec.number(10, 1));
        } else {
            cell += modkelmon::result_cell(code);
        }
    }
    paintBoatReadable(grid, top, col, back);
    fillBoat(grid, top, col, cell);
}

void edit_st_cell(GridModel &grid, const QString &text, int top, int col)
{
    paintBoat(grid, top, col, kWhite);
    const PackedRecord rec = record(text, kStartLength);
    if (rec.number(1, 2) == 0) {
        fillBoat(grid, top, col, QString());
        return;
    }
    QString cell = QString::number(rec.number(3, 1)) + QStringLiteral(" 枠") + kLineBreak;
    const int code = rec.number(4, 2);
    if (code == 14 || code == 64) {
        cell += kLineBreak + kLineBreak + QStringLiteral("欠場");
    } else if (code == 15 || code == 65) {
        cell += kLineBreak + kLineBreak + QStringLiteral("返還");
    } else {
        cell += QString::number(rec.number(6, 1)) + QStringLiteral("ｺｰｽ") + kLineBreak;
        if (code == 12 || code == 62)
            cell += kLineBreak + QStringLiteral("Ｆ");
        else if (code == 13 || code == 63)
            cell += kLineBreak + QStringLiteral("Ｌ");
        else
            cell += QString::number(rec.number(7, 1)) + kLineBreak + rec.chars(8, 2);
    }
    for (int r = top; r < top + 4; ++r)
        paintText(grid, r, col, kBlackText);
    fillBoat(grid, top, col, cell);
}

void edit_tenji_cell(GridModel &grid, const QString &text, int top, int col, int half)
{
    const int r = top + 2 * half;
    paintCell(grid, r, col, kWhite);
    paintCell(grid, r + 1, col, kWhite);
    const PackedRecord rec = record(text, kTenjiLength);
    const int rank = rec.number(5, 1);
    if (rec.number(1, 2) <= 0 || rank <= 0) {
        grid.setText(r, col, QString());
        grid.setText(r + 1, col, QString());
        return;
    }
    putText(grid, r, col, QStringLiteral("6.") + rec.chars(3, 2), Align::Right);
    paintText(grid, r, col, kBlackText);
    putText(grid, r + 1, col, QString::number(rank) + QStringLiteral("位"), Align::Right);
    paintText(grid, r + 1, col, kBlackText);
}

} // namespace kelmon::racecard
