#include "racecard/blockcatalogue.h"

#include "racecard/cardtables.h"
#include "racecard/courseblock.h"
#include "racecard/meetingblocks.h"
#include "racecard/motorboatblocks.h"
#include "racecard/noteblocks.h"
#include "racecard/racerblocks.h"
#include "racecard/thismeetingblocks.h"
#include "platform/gridmodel.h"
#include "platform/twips.h"

#include <array>

namespace kelmon::racecard {

namespace {

// Register a block kind's builder here; nullptr entries draw nothing.
const std::array<BlockInfo, kBlockCodes> kCatalogue = {{
    {1, "選手の勝率", 0, 2, 2, 5, &disp_col_syoritu},
    {2, "選手の２連対率", 1, 2, 6, 9, &disp_col_fukuritu},
    {3, "選手の３連対率", 2, 2, 10, 13, &disp_racer_fukuritu3},
    {4, "選手の全国勝利度数", 3, 3, 14, 19, &disp_col_syuso_zk},
    {5, "選手の全国着回数率", 4, 2, 20, 23, &disp_col_syurt_zk},
    {6, "選手の当地勝利度数", 5, 3, 24, 29, &disp_col_syuso_nd},
    {7, "選手の当地着回数率", 6, 2, 30, 33, &disp_col_syurt_nd},
    {8, "選手の前走３場所成績", 7, 6, 34, 36, &disp_col_zenso3},
    {9, "選手の前回当地成績", 8, 2, 37, 37, &disp_col_zentou},
    {10, "選手の次回斡旋予定", 9, 6, 38, 38, &disp_racer_assen},
    {11, "選手のコース別実績", 10, 24, 39, 39, &disp_course},
    {12, "モーターの基本情報", 12, 2, 40, 42, &disp_col_syoritu_mt},
    {13, "モーターの勝利度数", 13, 3, 43, 48, &disp_col_syuso_mt},
    {14, "モーターの最高時計", 14, 2, 49, 50, &disp_col_kryok},
    {15, "モーターの前回成績", 15, 4, 51, 52, &disp_col_motor_prev},
    {16, "ボートの基本情報", 17, 2, 53, 55, &disp_col_syoritu_bt},
    {17, "ボートの勝利度数", 18, 3, 56, 61, &disp_boats_syuso},
    {18, "ボートの前回成績", 19, 4, 62, 63, &disp_col_boats_prev},
    {19, "今節の成績(着順)", 21, 24, 64, 75, &disp_col_seiseki_ks},
    {20, "今節の成績(得点状況)", 22, 2, 76, 76, &disp_tokuten},
    {21, "今節の成績(コース・ＳＴ)", 23, 26, 77, 81, &disp_starttiming},
    {22, "今節の成績(展示タイム)", 24, 14, 82, 85, &disp_tenjitime},
    {23, "早見", 26, 2, 86, 86, &disp_hayami},
    {24, "お知らせ", 27, 2, 87, 87, &disp_memo},
}};

GridAlign toGrid(Align align)
{
    switch (align) {
    case Align::Right: return GridAlign::RightCenter;
    case Align::Left: return GridAlign::LeftCenter;
    case Align::Center: break;
    }
    return GridAlign::CenterCenter;
}

} // namespace

std::span<const BlockInfo> blockCatalogue()
{
    return kCatalogue;
}

const BlockInfo *blockInfo(int code)
{
    if (code < 1 || code > kBlockCodes)
        return nullptr;
    return &kCatalogue[std::size_t(code - 1)];
}

int blockCodeOfMenu(int menu)
{
    for (const auto &b : kCatalogue)
        if (b.menu == menu)
            return b.code;
    return 0;
}

int blockCodeOfItem(int item)
{
    for (const auto &b : kCatalogue)
        if (item >= b.firstItem && item <= b.lastItem)
            return b.code;
    return 0;
}

QString addMenuCaption(int menu)
{
    const BlockInfo *b = blockInfo(blockCodeOfMenu(menu));
    return b ? QString::fromUtf8(b->title) : QString();
}

GridAlign gridAlign(Align align)
{
    return toGrid(align);
}

void paintCell(GridModel &grid, int row, int col, int colorIndex)
{
    if (const auto rgb = get_color(colorIndex))
        grid.setBackColor(row, col, *rgb);
}

void paintText(GridModel &grid, int row, int col, int colorIndex)
{
    if (const auto rgb = get_color(colorIndex))
        grid.setForeColor(row, col, *rgb);
}

void putFittedText(GridModel &grid, int row, int col, const QString &text, Align align)
{
    grid.setCellAlignment(row, col, toGrid(align));
    setFittedText(grid, row, col, text);
}

void keepTipsInRow(GridModel &grid, int row, int first, int last)
{
    constexpr double kTipsPoints = 7;
    for (int c = first; c <= last; ++c)
        grid.setFontSize(row, c, kTipsPoints);
}

void putText(GridModel &grid, int row, int col, const QString &text, std::optional<Align> align)
{
    if (align)
        grid.setCellAlignment(row, col, toGrid(*align));
    grid.setText(row, col, text);
}

} // namespace kelmon::racecard
