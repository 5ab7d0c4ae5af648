#include "lists/racerlist.h"

#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/gridmoves.h"

#include <array>

namespace kelmon::lists {

namespace {

constexpr const char16_t *kNow = u"現";
constexpr const char16_t *kMotor = u"モーター";
constexpr const char16_t *kBoat = u"ボート";
constexpr const char16_t *kRaces = u"出走予定";
constexpr const char16_t *kYear = u"最近1年間成績";
constexpr const char16_t *kMeeting = u"今節成績";
constexpr const char16_t *kAverages = u"今節平均値";

const ListColumn kColumns[kRacerListCols] = {
    {820, u"選手名", u"選手名", "sensyname", Cell::Name4, nullptr},
    {460, u"登番", u"登番", "tourokuno", Cell::Pattern, "0000"},
    {460, u"出身", u"出身", "adress", Cell::Pref, nullptr},
    {280, u"期", u"期", "tourokuki", Cell::Pattern, "@@"},
    {460, u"体重", u"体重", "Weight", Cell::Pattern, "@@"},
    {460, kNow, u"級別", "classcode_ge", Cell::Text, nullptr},
    {520, kNow, u"勝率", "syoritu_ge", Cell::Rate, nullptr},
    {540, kNow, u"2連率", "fukuritu_ge", Cell::Pattern, "@@@"},
    {280, kMotor, u"№", "motorno", Cell::Pattern, "@@"},
    {520, kMotor, u"勝率", "syoritu_mt", Cell::Rate, nullptr},
    {540, kMotor, u"2連率", "fukuritu_mt", Cell::Pattern, "@@@"},
    {540, kMotor, u"3連率", "fukuritu_mt_3", Cell::Pattern, "@@@"},
    {280, kBoat, u"№", "boatsno", Cell::Pattern, "@@"},
    {520, kBoat, u"勝率", "syoritu_bt", Cell::Rate, nullptr},
    {540, kBoat, u"2連率", "fukuritu_bt", Cell::Pattern, "@@@"},
    {540, kBoat, u"3連率", "fukuritu_bt_3", Cell::Pattern, "@@@"},
    {460, kRaces, u"前半", "hayami_1", Cell::Race, nullptr},
    {460, kRaces, u"後半", "hayami_2", Cell::Race, nullptr},
    {360, kYear, u"1着", "syuso_zk_1", Cell::Pattern, "@@@"},
    {360, kYear, u"2着", "syuso_zk_2", Cell::Pattern, "@@@"},
    {360, kYear, u"3着", "syuso_zk_3", Cell::Pattern, "@@@"},
    {360, kYear, u"4着", "syuso_zk_4", Cell::Pattern, "@@@"},
    {360, kYear, u"5着", "syuso_zk_5", Cell::Pattern, "@@@"},
    {360, kYear, u"6着", "syuso_zk_6", Cell::Pattern, "@@@"},
    {460, kYear, u"出走", "syuso_zk_all", Cell::Pattern, "@@@"},
    {520, kYear, u"勝率", "syoritu_zk", Cell::Rate, nullptr},
    {540, kYear, u"2連率", "fukuritu_zk", Cell::Pattern, "@@@"},
    {540, kYear, u"3連率", "fukuritu_zk_3", Cell::Pattern, "@@@"},
    {460, kYear, u"優出", "yusyu_zk", Cell::Pattern, "@@"},
    {460, kYear, u"優勝", "yusyo_zk", Cell::Pattern, "@@"},
    {360, kMeeting, u"1着", "syuso_ks_1", Cell::Pattern, "@@"},
    {360, kMeeting, u"2着", "syuso_ks_2", Cell::Pattern, "@@"},
    {360, kMeeting, u"3着", "syuso_ks_3", Cell::Pattern, "@@"},
    {360, kMeeting, u"4着", "syuso_ks_4", Cell::Pattern, "@@"},
    {360, kMeeting, u"5着", "syuso_ks_5", Cell::Pattern, "@@"},
    {360, kMeeting, u"6着", "syuso_ks_6", Cell::Pattern, "@@"},
    {460, kMeeting, u"出走", "syuso_ks_all", Cell::Pattern, "@@"},
    {540, kMeeting, u"2連率", "syuso_ks", Cell::PlaceRate2, nullptr},
    {540, kMeeting, u"3連率", "syuso_ks", Cell::PlaceRate3, nullptr},
    {420, kAverages, u"ST", "st_ks_avg", Cell::Pattern, "@@"},
    {460, kAverages, u"発順", "hj1_ks_avg", Cell::Pattern, "0.0"},
    {460, kAverages, u"展示", "tenji_ks_avg", Cell::Pattern, "0.00"},
    {820, kAverages, u"展示順位", "tenjun_ks_avg", Cell::Pattern, "0.0"},
    {0, u"", u"", "adress", Cell::Raw, nullptr},
};

// Heading colours by column range.
const HeadingTint kTints[] = {
    {5, 7, bgr(0xFFC0FF)},  {8, 11, bgr(0xC0C0FF)},  {12, 15, bgr(0xC0E0FF)},
    {18, 29, bgr(0xFFFFC0)}, {30, 42, bgr(0xFFC0C0)},
};

constexpr int kHeadingRows = 2;
constexpr int kMergedHeadings = 5;   // columns 0..4: one heading two rows high

} // namespace

std::span<const ListColumn> racerListColumns() { return kColumns; }

void set_racerlist_grid(GridModel &grid)
{
    grid.reset();
    grid.setCols(kRacerListCols);
    grid.setRows(kHeadingRows + 1);
    grid.setFixedCols(1);
    grid.setFixedRows(kHeadingRows);
    grid.setRows(kHeadingRows);
    for (int r = 0; r < kHeadingRows; ++r)
        grid.setRowHeight(r, 260);
    for (int c = 0; c < kRacerListCols; ++c) {
        grid.setColWidth(c, kColumns[c].width);
        grid.setColAlignment(c, c == kRacerListPrefKey ? GridAlign::LeftCenter : GridAlign::CenterCenter);
    }
    grid.setMergeMode(GridMerge::RestrictAll);
    grid.setMergeRow(0, true);
    for (int c = 0; c < kMergedHeadings; ++c)
        grid.setMergeCol(c, true);
    tintHeadings(grid, kTints, kHeadingRows);
    for (int c = 0; c < kRacerListCols; ++c) {
        grid.setText(0, c, QString::fromUtf16(kColumns[c].group));
        grid.setText(1, c, QString::fromUtf16(kColumns[c].heading));
    }
}

void disp_racerlist(GridModel &grid, const QString &setuscode, const QString &datescnt)
{
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select * from f_racer where setuscode = ? and datescnt = ? order by tourokuno"),
        {modkelmon::keyValue(setuscode), modkelmon::keyValue(datescnt)});
    grid.setRows(kHeadingRows);
    const ListRowReader reader(q, kColumns);
    reader.appendRows(grid, q);
    q.finish();
    startAtFirstDataRow(grid, 1);
}

std::optional<PopupItems> racerListPopup(const GridModel &grid)
{
    const int col = grid.col();
    if (grid.rows() <= kHeadingRows || col == 0)
        return std::nullopt;
    const bool raceColumn = col == 16 || col == 17;
    const bool noAverage = raceColumn || col == 2 || col == 5 || col == 8 || col == 12;
    const bool hasRace = raceColumn && !trimBlanks(grid.text(grid.row(), col)).isEmpty();
    return PopupItems{{0, !raceColumn}, {1, !raceColumn}, {2, !noAverage}, {5, hasRace}};
}

} // namespace kelmon::lists
