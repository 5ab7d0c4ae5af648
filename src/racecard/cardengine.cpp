#include "racecard/cardengine.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/twips.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardtables.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace kelmon::racecard {

namespace {

constexpr int kFixedWidths[kFixedCols] = {300, 10, 270, 10, 1540, 10};
constexpr int kHeaderColor = 0;

void fixedHeader(GridModel &grid, int row, int col, const QString &text, bool bold = false)
{
    paintCell(grid, row, col, kHeaderColor);
    grid.setText(row, col, text);
    if (bold)
        grid.setFontBold(row, col, true);
}

} // namespace

void set_gridheader(GridModel &grid)
{
    grid.reset();
    grid.setCols(kFixedCols);
    grid.setRows(kGridRows);
    grid.setFixedCols(5);
    // The racer's own cells stay in view while the blocks scroll, and the
    // keys reach them as a click does: the popup for the racer opens there.
    grid.setKeysEnterFixedCols(true);
    grid.setFixedRows(kHeaderRows);
    grid.setMergeCells(true);
    for (int r = 0; r < kHeaderRows; ++r)
        grid.setMergeRow(r, true);
    for (int c : {0, 2, 4})
        grid.setMergeCol(c, true);
    for (int r = 0; r < kGridRows; ++r)
        grid.setRowHeight(r, (r % 5 == 4 && r > 0) ? 10 : 190);
    for (int c = 0; c < kFixedCols; ++c) {
        grid.setColWidth(c, kFixedWidths[c]);
        grid.setColAlignment(c, GridAlign::CenterCenter);
    }
    for (int r = 0; r < kHeaderRows; ++r) {
        fixedHeader(grid, r, 0, QStringLiteral("本　紙"), true);
        fixedHeader(grid, r, 2, QStringLiteral("連　番"));
    }
    fixedHeader(grid, 0, 4, QStringLiteral("登番ＦＬ進入　期"));
    fixedHeader(grid, 1, 4, QStringLiteral("選　手　名"), true);
    fixedHeader(grid, 2, 4, QStringLiteral("選　手　名"), true);
    fixedHeader(grid, 3, 4, QStringLiteral("出身年令血液体重"));
}

void disp_yosomark(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int frame = row.code("wakusno");
    const QString mark = modkelmon::get_mark_name(row.code("yososno"));
    for (int r = boatRow(k); r < boatRow(k) + 4; ++r) {
        paintCell(grid, r, col, frame);
        grid.setFontBold(r, col, true);
        grid.setText(r, col, mark);
    }
}

void disp_wakusno(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int frame = row.code("wakusno");
    const int top = boatRow(k);
    for (int r = top; r < top + 4; ++r) {
        paintCell(grid, r, col, frame);
        grid.setText(r, col, r < top + 2 ? modkelmon::get_circle_number(frame)
                                         : modkelmon::get_color_name(frame));
    }
}

double nameFontSize(const QString &name, int width)
{
    if (name.size() == 5)
        return 13.8;
    if (name.size() == 6)
        return 10.8;
    if (name.size() < 7)
        return 16.8;
    // A longer name at the largest of those sizes that holds it whole, or a
    // pixel at a time smaller, down to the 9 pixels of 7 points.
    return fittedPoints(name, width, {16.8, 13.8, 10.8, 9.75, 9.0, 8.25, 7.5, 6.75});
}

void disp_racer_profile(GridModel &grid, const BoatRow &row, int k, int col)
{
    const int top = boatRow(k);
    const int frame = row.code("wakusno");
    for (int r = top; r < top + 4; ++r)
        paintCell(grid, r, col, frame);

    auto count = [&row](const char *column) {
        const int n = row.code(column);
        return n == 0 ? QStringLiteral("  ") : modkelmon::get_circle_number(n);
    };
    putText(grid, top, col,
            format(row.num("tourokuno"), u"0000") + count("syuso_kk_f") + count("syuso_kk_l1")
                + modkelmon::get_sinyu_name(row.code("sinyu_k"))
                + format(row.num("tourokuki"), u"00") + QStringLiteral("期"),
            Align::Left);

    const QString name = trimBlanks(row.text("sensyname"));
    for (int r = top + 1; r <= top + 2; ++r) {
        grid.setFontName(r, col, QString::fromUtf8(kNameFont));
        grid.setFontBold(r, col, true);
        // The grid line takes a pixel of the column.
        grid.setFontSize(r, col, nameFontSize(name, twipsToPixels(grid.colWidth(col)) - 1));
        grid.setText(r, col, name);
    }

    putText(grid, top + 3, col,
            modkelmon::get_pref_name(row.code("adress")) + row.plain("age") + QStringLiteral("才")
                + modkelmon::get_blood_name(row.code("blood")) + QStringLiteral("型")
                + row.plain("Weight") + QStringLiteral("㎏"),
            Align::Left);
    keepTipsInRow(grid, top + 3, col, col);
}

int fillCard(GridModel &grid, const CardLayout &layout, const QVector<BoatRow> &boats)
{
    const int drawn = int(std::min<qsizetype>(boats.size(), kMaxBoats));
    const int blocks = layout.count();
    QVector<int> start(blocks, 0);
    for (int k = 1; k <= drawn; ++k) {
        const BoatRow &row = boats[k - 1];
        disp_yosomark(grid, row, k, 0);
        disp_wakusno(grid, row, k, 2);
        disp_racer_profile(grid, row, k, 4);
        for (int i = 0; i < blocks; ++i) {
            const BlockInfo *info = blockInfo(layout.ri(i));
            if (!info)
                continue;
            const BlockBuilder *builder = info->builder;
            if (k == 1) {
                // The block's columns follow the grid's current last column.
                start[i] = grid.cols();
                grid.setCols(start[i] + info->width);
                for (int j = 0; j < info->width; ++j) {
                    int width = (j == info->width - 1) ? 10 : -1;
                    if (!builder)
                        width = 0;   // a block kind without a builder stays hidden
                    else if (j < int(builder->widths.size()))
                        width = builder->widths[std::size_t(j)];
                    if (width >= 0)
                        grid.setColWidth(start[i] + j, width);
                }
                if (builder && builder->header)
                    builder->header(grid, row, start[i]);
            }
            if (builder && builder->data)
                builder->data(grid, row, k, start[i]);
        }
    }
    return drawn;
}

QVector<BoatRow> queryBoats(const CardContext &context, int item, int order)
{
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select * from f_wakus where setuscode = ? and datescnt = ? and racesno = ? order by ")
            + get_orderby(item, order),
        {modkelmon::keyValue(context.setuscode), modkelmon::keyValue(context.datescnt), modkelmon::keyValue(context.racesno)});
    QVector<BoatRow> boats;
    while (boats.size() < kMaxBoats && q.next())
        boats.append(BoatRow(q.record()));
    return boats;
}

void RaceCardEngine::disp_raceinfo(int order)
{
    set_gridheader(grid_);
    const QVector<BoatRow> boats = queryBoats(context, item_no, order);
    boats_ = fillCard(grid_, layout, boats);
    frames_.clear();
    for (int k = 0; k < boats_; ++k)
        frames_.append(boats[k].code("wakusno"));
}

void RaceCardEngine::sort_by_item(int order)
{
    const int col = grid_.col();
    const int row = grid_.row();
    disp_raceinfo(order);
    grid_.setCol(col);
    grid_.setRow(row);
}

RaceCardEngine::CellAnchor RaceCardEngine::currentAnchor() const
{
    CellAnchor a;
    a.row = grid_.row();
    a.col = grid_.col();
    const int k = a.row / 5;   // boat position; rows 0..4 are the header and its separator
    if (k >= 1 && k <= frames_.size())
        a.frame = frames_[k - 1];
    if (a.col >= kFixedCols) {
        a.block = layout.blockAtColumn(a.col);
        if (a.block >= 0) {
            a.code = layout.ri(a.block);
            a.offset = a.col - layout.rc(a.block);
        }
    }
    return a;
}

void RaceCardEngine::restoreCurrent(const CellAnchor &anchor, bool sameRace)
{
    int row = anchor.row;
    const int k = row / 5;
    if (k >= 1) {
        const int inBoat = row % 5;
        const int position = sameRace ? int(frames_.indexOf(anchor.frame)) + 1 : k;
        if (position >= 1 && position <= boats_)
            row = boatRow(position) + inBoat;
        else
            row = boatRow(1);
    }
    int col = anchor.col;
    if (anchor.block >= 0) {
        const int blocks = layout.count();
        const int now = layout.indexOf(anchor.code);
        if (now >= 0)
            col = layout.rc(now) + anchor.offset;
        else if (blocks > 0)
            col = layout.rc(std::min(anchor.block, blocks - 1));
        else
            col = kFixedCols - 2;   // the racer's profile
    }
    grid_.setRow(row);
    grid_.setCol(col);
}

// Changes the layout and refills the card in frame order; the current cell
// is read in the layout it was on.
template <typename F> void RaceCardEngine::relayout(F &&change)
{
    const CellAnchor anchor = currentAnchor();
    change();
    item_no = 1;
    disp_raceinfo(0);
    restoreCurrent(anchor, true);
}

void RaceCardEngine::set_normalgrid()
{
    relayout([this] { layout.set_normalgrid(); });
}

void RaceCardEngine::set_allgrid()
{
    relayout([this] { layout.set_allgrid(); });
}

void RaceCardEngine::add_column(int menu)
{
    relayout([this, menu] { layout.add_column(menu, item_no); });
}

void RaceCardEngine::del_column()
{
    relayout([this] { layout.del_column(item_no); });
}

int RaceCardEngine::get_cell_item(int row, int col) const
{
    return racecard::get_cell_item(layout, row, col);
}

int RaceCardEngine::set_popup_menu(int row, int col, PopupState *state)
{
    const int item = get_cell_item(row, col);
    if (item == 0)
        return 0;
    item_no = item;
    if (state)
        *state = racecard::set_popup_menu(layout, item, row, grid_.text(row - row % 5, col),
                                          grid_.text(row, col));
    return item;
}

AverageResult RaceCardEngine::comp_average() const
{
    return racecard::comp_average(grid_, item_no, grid_.row(), grid_.col(), boats_);
}

void RaceCardEngine::show_average() const
{
    const AverageResult result = comp_average();
    messages().information(result.title, result.text);
}

} // namespace kelmon::racecard
