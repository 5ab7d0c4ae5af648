#include "racecard/carditems.h"

#include "common/textforms.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardtables.h"

#include <algorithm>

namespace kelmon::racecard {

namespace {

// Cells of a block that carry an item: the columns col, col + step, ...
// (count of them) in rows rowFrom..rowTo; the item grows by rowInc per row
// and by colInc per column.
struct ItemRule {
    int code, col, step, count, rowFrom, rowTo, item, rowInc, colInc;
};

constexpr ItemRule kItemRules[] = {
    {1, 0, 0, 1, 0, 3, 2, 1, 0},
    {2, 0, 0, 1, 0, 3, 6, 1, 0},
    {3, 0, 0, 1, 0, 3, 10, 1, 0},
    {4, 0, 0, 1, 0, 1, 14, 0, 0}, {4, 0, 0, 1, 2, 3, 15, 0, 0}, {4, 1, 0, 1, 0, 3, 16, 1, 0},
    {5, 0, 0, 1, 0, 3, 20, 1, 0},
    {6, 0, 0, 1, 0, 1, 24, 0, 0}, {6, 0, 0, 1, 2, 3, 25, 0, 0}, {6, 1, 0, 1, 0, 3, 26, 1, 0},
    {7, 0, 0, 1, 0, 3, 30, 1, 0},
    {8, 0, 2, 3, 0, 3, 34, 0, 1},
    {9, 0, 0, 1, 0, 3, 37, 0, 0},
    {10, 0, 2, 3, 0, 3, 38, 0, 0},
    {11, 0, 2, 12, 0, 3, 39, 0, 0},
    {12, 0, 0, 1, 0, 1, 40, 0, 0}, {12, 0, 0, 1, 2, 2, 41, 0, 0}, {12, 0, 0, 1, 3, 3, 42, 0, 0},
    {13, 0, 0, 1, 0, 1, 43, 0, 0}, {13, 0, 0, 1, 2, 3, 44, 0, 0}, {13, 1, 0, 1, 0, 3, 45, 1, 0},
    {14, 0, 0, 1, 0, 2, 49, 0, 0}, {14, 0, 0, 1, 3, 3, 50, 0, 0},
    {15, 0, 2, 2, 0, 3, 51, 0, 1},
    {16, 0, 0, 1, 0, 1, 53, 0, 0}, {16, 0, 0, 1, 2, 2, 54, 0, 0}, {16, 0, 0, 1, 3, 3, 55, 0, 0},
    {17, 0, 0, 1, 0, 1, 56, 0, 0}, {17, 0, 0, 1, 2, 3, 57, 0, 0}, {17, 1, 0, 1, 0, 3, 58, 1, 0},
    {18, 0, 2, 2, 0, 3, 62, 0, 1},
    {19, 0, 2, 12, 0, 3, 64, 0, 1},
    {20, 0, 0, 1, 0, 3, 76, 0, 0},
    {21, 0, 2, 12, 0, 3, 77, 0, 0}, {21, 24, 0, 1, 0, 3, 78, 1, 0},
    {22, 0, 2, 6, 0, 3, 82, 0, 0}, {22, 12, 0, 1, 0, 1, 83, 0, 0},
    {22, 12, 0, 1, 2, 2, 84, 0, 0}, {22, 12, 0, 1, 3, 3, 85, 0, 0},
    {23, 0, 0, 1, 0, 3, 86, 0, 0},
    {24, 0, 0, 1, 0, 3, 87, 0, 0},
};

struct ItemRange {
    int from, to, value;
};

template <std::size_t N>
int lookup(const ItemRange (&table)[N], int item, int none)
{
    for (const auto &r : table)
        if (item >= r.from && item <= r.to)
            return r.value;
    return none;
}

enum PopupClass { NoClass, Fixed, Numeric, Number, Label, RunHistory, EarlyRace };

constexpr ItemRange kPopupClasses[] = {
    {1, 1, Fixed},
    {2, 9, Numeric}, {10, 10, Label}, {11, 19, Numeric}, {20, 20, Label}, {21, 29, Numeric},
    {30, 30, Label}, {31, 33, Numeric}, {34, 37, RunHistory}, {38, 39, Label}, {40, 40, Number},
    {41, 48, Numeric}, {49, 49, Label}, {50, 50, Numeric}, {51, 52, RunHistory}, {53, 53, Number},
    {54, 61, Numeric}, {62, 75, RunHistory}, {76, 78, Label}, {79, 81, Numeric}, {82, 83, Label},
    {84, 85, Numeric}, {86, 86, EarlyRace}, {87, 87, Label},
};

enum AverageKind { NoAverage, ClassRate, Plain, TrailingUnit, LabelledPair, RaceTime };

constexpr ItemRange kAverageKinds[] = {
    {2, 4, ClassRate}, {5, 5, Plain}, {6, 9, TrailingUnit}, {11, 13, TrailingUnit},
    {14, 15, LabelledPair}, {16, 19, Plain}, {21, 23, TrailingUnit}, {24, 25, LabelledPair},
    {26, 29, Plain}, {31, 33, TrailingUnit}, {41, 41, Plain}, {42, 42, TrailingUnit},
    {43, 44, LabelledPair}, {45, 48, Plain}, {50, 50, RaceTime}, {54, 54, Plain},
    {55, 55, TrailingUnit}, {56, 57, LabelledPair}, {58, 61, Plain}, {79, 81, Plain},
    {84, 85, Plain},
};

const char *const kPopupCaptions[kPopupEntries] = {
    "この項目を昇順(小→大)で並び替え",
    "この項目を降順(大→小)で並び替え",
    "この項目の平均値を計算",
    "",
    "この項目を非表示へ",
    "この項目の後にデータを追加",
    "",
    "この選手の情報を表示",
    "このレースの情報を表示",
    "このレースの結果を表示",
    "",
    "この項目に対してのヘルプを表示",
};

// Full-width digits to half-width, other characters as they are.
QString halfWidthDigits(const QString &text)
{
    QString out = text;
    for (QChar &ch : out)
        if (ch.unicode() >= 0xFF10 && ch.unicode() <= 0xFF19)
            ch = QChar(ch.unicode() - 0xFF10 + '0');
    return out;
}

bool isHeaderRow(int row)
{
    return row < kHeaderRows;
}

} // namespace

int blockItem(int code, int c, int r)
{
    if (r < 0 || r > 3)
        return 0;
    for (const auto &rule : kItemRules) {
        if (rule.code != code || r < rule.rowFrom || r > rule.rowTo)
            continue;
        for (int j = 0; j < rule.count; ++j)
            if (c == rule.col + j * rule.step)
                return rule.item + rule.rowInc * (r - rule.rowFrom) + rule.colInc * j;
    }
    return 0;
}

int get_cell_item(const CardLayout &layout, int row, int col)
{
    if (row < 0 || col < 0)
        return 0;
    if (col < kFixedCols)
        return 1;
    const int i = layout.blockAtColumn(col);
    if (i < 0)
        return 0;
    return blockItem(layout.ri(i), col - layout.rc(i), row % 5);
}

QString popupCaption(int entry)
{
    if (entry < 0 || entry >= kPopupEntries)
        return QString();
    return QString::fromUtf8(kPopupCaptions[entry]);
}

std::optional<ClickedRace> clickedRace(int item, int row, const QString &cellText)
{
    if (isHeaderRow(row) || row % 5 == 4)
        return std::nullopt;
    ClickedRace race;
    qsizetype mark = -1;
    if (item >= 64 && item <= 75) {
        race.day = (item - 64) / 2 + 1;
        mark = cellText.indexOf(QLatin1Char('R'));
    } else if (item == 86) {
        mark = cellText.indexOf(QStringLiteral("Ｒ"));
    } else {
        return std::nullopt;
    }
    if (mark <= 0)
        return std::nullopt;
    const QString number = trimBlanks(halfWidthDigits(cellText.left(mark)));
    bool ok = false;
    const int value = number.toInt(&ok);
    if (!ok || value < 1 || value > 12)
        return std::nullopt;
    race.race = value;
    return race;
}

PopupState set_popup_menu(const CardLayout &layout, int item, int row,
                          const QString &racerText, const QString &cellText)
{
    PopupState state;
    state.enabled.fill(true);
    for (int menu = 0; menu < kAddMenuEntries; ++menu) {
        const int code = blockCodeOfMenu(menu);
        state.addEnabled[std::size_t(menu)] = code != 0 && !layout.contains(code);
    }
    auto set = [&state](std::initializer_list<bool> flags) {
        const int entries[] = {SortAscending, SortDescending, Average, Hide, Add,
                               ShowRacer, ShowRace, ShowResult};
        int i = 0;
        for (bool on : flags)
            state.enabled[std::size_t(entries[i++])] = on;
    };
    // A header row holds no boat: nothing there names a race of today.
    const bool boatRowClicked = !isHeaderRow(row);
    switch (lookup(kPopupClasses, item, NoClass)) {
    case Fixed:
        set({true, true, false, false, true, true, false, false});
        break;
    case Numeric:
        set({true, true, true, true, true, false, false, false});
        break;
    case Number:
        set({true, true, false, true, true, false, false, false});
        break;
    case Label:
        set({false, false, false, true, true, false, false, false});
        break;
    case RunHistory: {
        // Previous runs open for a header cell too (for no racer); a result
        // of this meeting needs the race written in a boat's cell.
        bool result = !trimBlanks(racerText).isEmpty();
        if (item >= 64 && item <= 75)
            result = result && clickedRace(item, row, cellText).has_value();
        set({false, false, false, true, true, false, false, result});
        break;
    }
    case EarlyRace: {
        const bool race = boatRowClicked && racerText != QStringLiteral("本日一回")
                          && clickedRace(item, row, cellText).has_value();
        set({false, false, false, true, true, false, race, false});
        break;
    }
    default:
        break;
    }
    return state;
}

int disp_help_context(int item)
{
    if (item == 1)
        return 1010;
    const int code = blockCodeOfItem(item);
    return code ? 1010 + 10 * code : 0;
}

AverageResult comp_average(const GridModel &grid, int item, int row, int col, int boats)
{
    AverageResult result;
    const int kind = lookup(kAverageKinds, item, NoAverage);
    const int r = ((row % 5) + 5) % 5;
    boats = std::clamp(boats, 0, kMaxBoats);
    for (int k = 1; k <= boats && kind != NoAverage; ++k) {
        const int at = boatRow(k) + r;
        QString text = grid.text(at, col);
        if (trimBlanks(text).isEmpty())
            continue;   // no value for this boat
        double value = 0;
        switch (kind) {
        case ClassRate:
            if (text.contains(QStringLiteral("－")) || text.contains(QStringLiteral("と"))
                || text.contains(QStringLiteral("ま")) || text.contains(QStringLiteral("や")))
                continue;
            value = val(text.mid(2));
            break;
        case Plain:
            value = val(text);
            break;
        case TrailingUnit:
            value = val(text.left(text.size() - 1));
            break;
        case LabelledPair:
            if (text.contains(QStringLiteral("優")))
                text = grid.text(at + 1, col);
            value = val(text);
            break;
        case RaceTime:
            if (!text.contains(QLatin1Char('.')))
                continue;
            value = val(text.mid(0, 1)) * 1000 + val(text.mid(2, 2)) * 10 + val(text.mid(5, 1));
            break;
        }
        result.count += 1;
        result.sum += value;
    }
    return gridpopup::averageMessage(result.sum, result.count);
}

} // namespace kelmon::racecard
