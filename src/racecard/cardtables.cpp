#include "racecard/cardtables.h"

#include <array>

namespace kelmon::racecard {

namespace {

constexpr std::array<QRgb, 23> kColors = {
    0xFFE0C0,                                           // 0 header cells
    0xFFFFFF, 0xC0C0C0, 0xFFC0C0, 0xC0C0FF, 0xFFFFC0, 0xC0FFC0,   // 1..6 frame tints
    0xFFFFC0, 0xC0FFC0, 0xC0C0FF, 0xFFC0C0,             // 7..10
    0xC0FFC0, 0xC0C0FF, 0xE0E0E0, 0xC0C0FF, 0xC0FFC0,   // 11..15
    0xFFC0C0, 0xE0E0E0, 0xC0C0FF, 0xE0E0E0, 0x000000,   // 16..20
    0xFFFFFF, 0xC0C0C0,                                 // 21, 22
};

constexpr std::array<int, kBlockCodes + 1> kWidths = {
    0,
    2, 2, 2, 3, 2, 3, 2, 6, 2, 6,      // 1..10
    24, 2, 3, 2, 4, 2, 3, 4, 24, 2,    // 11..20
    26, 14, 2, 2,                      // 21..24
};

struct SortColumn {
    int item;
    const char *column;
};

constexpr SortColumn kSortColumns[] = {
    {1, "wakusno"},
    {2, "syoritu_2k"}, {3, "syoritu_1k"}, {4, "syoritu_ge"}, {5, "syoritu_ns"},
    {6, "syuso_to_all"}, {7, "fukuritu_to"}, {8, "fukuritu_ge"}, {9, "fukuritu_nf"},
    {11, "fukuritu_to_3"}, {12, "fukuritu_ge_3"}, {13, "fukuritu_nf_3"},
    {14, "yusyu_zk"}, {15, "yusyo_zk"},
    {16, "syuso_zk_1"}, {17, "syuso_zk_2"}, {18, "syuso_zk_3"},
    {19, "syuso_zk_all-(syuso_zk_1+syuso_zk_2+syuso_zk_3)"},
    {21, "syurt_zk_1"}, {22, "syurt_zk_2"}, {23, "syurt_zk_3"},
    {24, "yusyu_ny"}, {25, "yusyo_ny"},
    {26, "syuso_nd_1"}, {27, "syuso_nd_2"}, {28, "syuso_nd_3"},
    {29, "syuso_nd_all-(syuso_nd_1+syuso_nd_2+syuso_nd_3)"},
    {31, "syurt_nd_1"}, {32, "syurt_nd_2"}, {33, "syurt_nd_3"},
    {40, "motorno"}, {41, "syoritu_mt"}, {42, "fukuritu_mt"},
    {43, "yusyu_mt"}, {44, "yusyo_mt"},
    {45, "syuso_mt_1"}, {46, "syuso_mt_2"}, {47, "syuso_mt_3"},
    {48, "syuso_mt_all-(syuso_mt_1+syuso_mt_2+syuso_mt_3)"},
    {50, "firsttime_mt"},
    {53, "boatsno"}, {54, "syoritu_bt"}, {55, "fukuritu_bt"},
    {56, "yusyu_bt"}, {57, "yusyo_bt"},
    {58, "syuso_bt_1"}, {59, "syuso_bt_2"}, {60, "syuso_bt_3"},
    {61, "syuso_bt_all-(syuso_bt_1+syuso_bt_2+syuso_bt_3)"},
    {79, "st_avg"}, {80, "hj1_ks_avg"}, {81, "st_ks_avg"},
    {84, "tenji_ks_avg"}, {85, "tenjun_ks_avg"},
};

const char *sortColumn(int item)
{
    for (const auto &s : kSortColumns)
        if (s.item == item)
            return s.column;
    return nullptr;
}

} // namespace

std::optional<QRgb> get_color(int index)
{
    if (index < 0 || index >= int(kColors.size()))
        return std::nullopt;
    return kColors[std::size_t(index)];
}

int get_colcount(int code)
{
    if (code < 1 || code > kBlockCodes)
        return 0;
    return kWidths[std::size_t(code)];
}

bool has_sort_column(int item)
{
    return sortColumn(item) != nullptr;
}

QString get_orderby(int item, int order)
{
    const char *column = sortColumn(item);
    // An item without a sort column never reaches a sort from the popup; a
    // stray one sorts by frame rather than producing an invalid statement.
    if (!column)
        item = 1;
    QString text = QString::fromLatin1(column ? column : "wakusno");
    if (order == 1)
        text += QLatin1String(" desc");
    if (item > 1)
        text += QLatin1String(",wakusno");
    return text;
}

} // namespace kelmon::racecard
