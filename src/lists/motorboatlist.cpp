#include "lists/motorboatlist.h"

#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/gridmoves.h"

namespace kelmon::lists {

namespace {

constexpr int kUserName = 14;
constexpr int kFirstHidden = 15;

const ListColumn kColumns[kMachineListCols] = {
    {460, u"№", nullptr, nullptr, Cell::Pattern, "@@"},   // the list's key
    {540, u"勝率", nullptr, "syoritu", Cell::Rate, nullptr},
    {760, u"2連対率", nullptr, "fukuritu", Cell::Pattern, "@@@"},
    {760, u"3連対率", nullptr, "fukuritu_3", Cell::Pattern, "@@@"},
    {840, u"最高時計", nullptr, "firsttime", Cell::RaceTime, nullptr},
    {360, u"1着", nullptr, "syuso_1", Cell::Pattern, "@@@"},
    {360, u"2着", nullptr, "syuso_2", Cell::Pattern, "@@@"},
    {360, u"3着", nullptr, "syuso_3", Cell::Pattern, "@@@"},
    {360, u"4着", nullptr, "syuso_4", Cell::Pattern, "@@@"},
    {360, u"5着", nullptr, "syuso_5", Cell::Pattern, "@@@"},
    {360, u"6着", nullptr, "syuso_6", Cell::Pattern, "@@@"},
    {450, u"出走", nullptr, "syuso_all", Cell::Pattern, "@@@"},
    {450, u"優出", nullptr, "yusyu", Cell::Pattern, "@@"},
    {450, u"優勝", nullptr, "yusyo", Cell::Pattern, "@@"},
    {840, u"使用選手", nullptr, "sensyname", Cell::Name4, nullptr},
    {0, u"", nullptr, "firsttime", Cell::Raw, nullptr},
    {0, u"", nullptr, "tourokuno", Cell::Raw, nullptr},
};

// Heading colours by column range.
const HeadingTint kTints[] = {{1, 4, bgr(0xC0C0FF)}, {5, 13, bgr(0xFFFFC0)}, {14, 14, bgr(0xFFC0C0)}};

} // namespace

std::vector<ListColumn> machineListColumns(const MachineList &list)
{
    std::vector<ListColumn> columns(std::begin(kColumns), std::end(kColumns));
    columns[0].field = list.key;
    return columns;
}

void set_machinelist_grid(GridModel &grid)
{
    grid.reset();
    grid.setCols(kMachineListCols);
    grid.setRows(2);
    grid.setFixedCols(0);
    grid.setFixedRows(1);
    grid.setRows(1);
    grid.setRowHeight(0, 260);
    for (int c = 0; c < kMachineListCols; ++c) {
        grid.setColWidth(c, kColumns[c].width);
        grid.setColAlignment(c, c < kFirstHidden ? GridAlign::CenterCenter : GridAlign::LeftCenter);
    }
    tintHeadings(grid, kTints, 1);
    for (int c = 0; c < kMachineListCols; ++c)
        grid.setText(0, c, QString::fromUtf16(kColumns[c].group));
}

void disp_machinelist(GridModel &grid, const MachineList &list, const QString &setuscode, const QString &datescnt)
{
    // Table and key come from the two fixed descriptors, never from data.
    QSqlQuery q = modkelmon::exec(QStringLiteral("select * from %1 where setuscode = ? and datescnt = ? order by %2")
                                      .arg(QLatin1String(list.table), QLatin1String(list.key)),
                                  {modkelmon::keyValue(setuscode), modkelmon::keyValue(datescnt)});
    grid.setRows(1);
    const std::vector<ListColumn> columns = machineListColumns(list);
    const ListRowReader reader(q, columns);
    reader.appendRows(grid, q);
    q.finish();
    startAtFirstDataRow(grid);
}

std::optional<PopupItems> machineListPopup(const GridModel &grid)
{
    if (grid.rows() <= 1)
        return std::nullopt;
    const int col = grid.col();
    const bool hasRacer = !trimBlanks(grid.text(grid.row(), kUserName)).isEmpty();
    return PopupItems{{2, col != 0 && col != kUserName}, {4, hasRacer}};
}

} // namespace kelmon::lists
