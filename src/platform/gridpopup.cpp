#include "platform/gridpopup.h"

#include "common/textforms.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kelmon::gridpopup {

namespace {

using C = Command;
const std::vector<Command> kSortAverageRacer = {C::SortAscending, C::SortDescending, C::Average, C::None,
                                                C::RacerDetail};
const std::vector<Command> kSortAverageRacerCard = {C::SortAscending, C::SortDescending, C::Average, C::None,
                                                    C::RacerDetail, C::RaceCard};
const std::vector<Command> kSortAverageResult = {C::SortAscending, C::SortDescending, C::Average, C::None,
                                                 C::RaceResult};

// The outcomes and the lists sort formatted columns by hidden raw values; the
// list of a member is tried in order on the current column.
const Member kMembers[] = {
    // Outcomes of earlier days: payouts by their raw amounts.
    {"mnudm", kSortAverageResult, 1, {{3, 8}, {6, 9}}, 0, {{3, 8}, {6, 9}}, {}, false, -1, -1, false},
    // Race result: finish, mark, race time and tilt by their raw values.
    {"mnurr", kSortAverageRacer, 1, {{0, 11}, {1, 10}, {4, 12}, {7, 13}}, 0, {{4, 12}}, {12}, true, 14, 3, false},
    // Power indices: every column by the column ten to its right.
    {"mnury", {C::SortAscending, C::SortDescending, C::None, C::RacerDetail}, 1, {}, 10, {}, {}, false, 9, 0, false},
    // Motor and boat lists: best time and user by their raw values.
    {"mnumt", kSortAverageRacer, 1, {{4, 15}, {14, 16}}, 0, {{4, 15}}, {15}, false, 16, 14, false},
    {"mnubt", kSortAverageRacer, 1, {{4, 15}, {14, 16}}, 0, {{4, 15}}, {15}, false, 16, 14, false},
    // Racer list: prefecture by its code; two header rows.
    {"mnurs", kSortAverageRacerCard, 2, {{2, 43}}, 0, {}, {}, false, 1, 0, false},
    // Racer detail: result words, race time and tilt sort by their raw
    // values; the average reads the current column itself (the window offers
    // it on the start timing and the exhibition time only).
    {"mnurd", kSortAverageResult, 1, {{3, 10}, {4, 11}, {7, 12}}, 0, {}, {}, true, -1, -1, false},
    // Data room grids: two header rows, no substitution.
    {"mnul1", kSortAverageRacerCard, 2, {}, 0, {}, {}, false, 1, 0, false},
    {"mnul2", kSortAverageRacerCard, 2, {}, 0, {}, {}, false, 1, 0, true},
    {"mnucr", kSortAverageRacerCard, 2, {}, 0, {}, {}, false, 1, 0, false},
    {"mnuks", kSortAverageRacerCard, 2, {}, 0, {}, {}, false, 1, 0, false},
};

int keyColumn(const std::vector<KeyColumn> &keys, int col)
{
    for (const KeyColumn &k : keys)
        if (k.from == col)
            return k.to;
    return col;
}

bool isDataRow(const GridModel &grid, int row, int firstDataRow)
{
    return row >= std::max(firstDataRow, grid.fixedRows()) && row < grid.rows();
}

// A race time stored as one number (minutes, two digits of seconds, tenths)
// in tenths of a second: 1493 is 1 min 49.3 s, 1093 tenths.
qint64 raceTimeTenths(qint64 time)
{
    return time / 1000 * 600 + (time / 10 % 100) * 10 + time % 10;
}

// Tenths of a second shown as minutes.seconds.tenths ("1.49.3").
QString tenthsText(qint64 tenths)
{
    return QString::number(tenths / 600) + u'.' + QStringLiteral("%1").arg(tenths % 600 / 10, 2, 10, QLatin1Char('0'))
        + u'.' + QString::number(tenths % 10);
}

const QString kWarningTitle = QStringLiteral("警告です...");

} // namespace

const Member *member(const QString &menu)
{
    for (const Member &m : kMembers)
        if (menu == QLatin1String(m.menu))
            return &m;
    return nullptr;
}

Command command(const Member &m, int index)
{
    return index >= 0 && index < int(m.items.size()) ? m.items[std::size_t(index)] : Command::None;
}

bool currentCellUsable(const GridModel &grid)
{
    const int col = grid.col();
    return grid.rows() > 0 && col >= 0 && col < grid.cols() && grid.colWidth(col) > 0;
}

bool sort(GridModel &grid, const Member &m, bool ascending)
{
    if (!currentCellUsable(grid))
        return false;
    const int col = grid.col();
    const int row = grid.row();
    const int key = m.sortOffset > 0 ? col + m.sortOffset : keyColumn(m.sortKeys, col);
    if (key < 0 || key >= grid.cols())
        return false;
    grid.sort(key, ascending);
    grid.setRow(row);
    grid.setCol(col);
    return true;
}

Average averageMessage(double sum, double count)
{
    Average a;
    a.sum = sum;
    a.count = count;
    if (count == 0) {
        a.title = kWarningTitle;
        a.text = QStringLiteral("件数が 0 の為、平均値の計算は出来ません");
        return a;
    }
    a.title = QStringLiteral("平均値を計算しました...");
    a.text = QStringLiteral("平均値は ") + format(sum / count, u"0.00") + QStringLiteral(" です...\r\n\r\n合計 ")
        + plainNumber(sum) + QStringLiteral("    件数 ") + plainNumber(count) + QStringLiteral("件");
    return a;
}

std::optional<Average> average(const GridModel &grid, const Member &m)
{
    if (!currentCellUsable(grid) || command(m, 2) != Command::Average)
        return std::nullopt;
    const int col = keyColumn(m.averageKeys, grid.col());
    if (col < 0 || col >= grid.cols())
        return std::nullopt;
    const bool times = std::find(m.timeColumns.begin(), m.timeColumns.end(), col) != m.timeColumns.end();
    double sum = 0;
    double count = 0;
    for (int r = std::max(m.firstDataRow, grid.fixedRows()); r < grid.rows(); ++r) {
        const QString text = trimBlanks(grid.text(r, col));
        if (text.isEmpty() || (m.skipDash && text == QLatin1String("-")))
            continue;
        double value = val(text);
        if (times) {
            // A time of 0 is no time; anything beyond a plausible race time is
            // no time either (it cannot be a paper's value).
            if (!(value > 0) || value >= 100000)
                continue;
            value = double(raceTimeTenths(qint64(value)));
        }
        sum += value;
        count += 1;
    }
    if (!times || count == 0)
        return averageMessage(sum, count);
    Average a;
    a.sum = sum;
    a.count = count;
    a.title = QStringLiteral("平均値を計算しました...");
    a.text = QStringLiteral("平均値は ") + tenthsText(qint64(std::llround(sum / count)))
        + QStringLiteral(" です...\r\n\r\n合計 ") + tenthsText(qint64(sum)) + QStringLiteral("    件数 ")
        + plainNumber(count) + QStringLiteral("件");
    return a;
}

std::optional<Racer> racer(const GridModel &grid, const Member &m)
{
    if (m.racerNoCol < 0 || !currentCellUsable(grid) || !isDataRow(grid, grid.row(), m.firstDataRow))
        return std::nullopt;
    const double number = std::round(val(grid.text(grid.row(), m.racerNoCol)));
    if (!(number >= 1 && number <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return Racer{QString::number(qint64(number)), grid.text(grid.row(), m.racerNameCol)};
}

std::optional<int> race(const GridModel &grid, const Member &m)
{
    if (!currentCellUsable(grid) || !isDataRow(grid, grid.row(), m.firstDataRow))
        return std::nullopt;
    int col = grid.col();
    QString text = grid.text(grid.row(), col);
    if (m.frameCellLeft && text.contains(u'枠') && col > 0)
        text = grid.text(grid.row(), --col);
    if (!text.contains(u'R') && !text.contains(u'Ｒ'))
        return std::nullopt;
    const double number = val(text.left(2));
    if (!(number >= 1 && number <= 12) || number != std::trunc(number))
        return std::nullopt;
    return int(number);
}

namespace {

// The day of a day cell ("3日目"): the value of its first character.
int dayOf(const QString &cell)
{
    const double day = val(cell.left(1));
    return day >= 1 ? int(day) : 0;
}

} // namespace

std::optional<ResultRow> outcomeResult(const GridModel &grid, int openerRace)
{
    if (!currentCellUsable(grid) || !isDataRow(grid, grid.row(), 1))
        return std::nullopt;
    const int day = dayOf(grid.text(grid.row(), 0));
    if (day == 0 || openerRace < 1 || openerRace > 12)
        return std::nullopt;
    return ResultRow{day, openerRace, QString()};
}

std::optional<ResultRow> racerResult(const GridModel &grid)
{
    if (!currentCellUsable(grid) || !isDataRow(grid, grid.row(), 1))
        return std::nullopt;
    const int row = grid.row();
    const int day = dayOf(grid.text(row, 0));
    const double raceNo = val(grid.text(row, 1));
    const QString date = grid.text(row, 13);
    if (day == 0 || !(raceNo >= 1 && raceNo <= 12) || date.size() != 8)
        return std::nullopt;
    return ResultRow{day, int(raceNo), date};
}

} // namespace kelmon::gridpopup
