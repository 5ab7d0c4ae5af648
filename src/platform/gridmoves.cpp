#include "platform/gridmoves.h"

#include "platform/twips.h"

#include <functional>

namespace kelmon {

namespace {

// A row or column drawn one pixel thin (a 10-twip separator between blocks)
// is a line, not a place the current cell can be seen in: moves pass over it
// as over a hidden one. It stays a cell: a click still lands on it.
bool holdsCurrent(int twips)
{
    return twipsToPixels(twips) > 1;
}

// The rows or the columns of a grid as a move sees them: the fixed ones at
// the start, and a size per index (0 for a hidden one).
struct Line {
    int count;
    int fixed;
    std::function<int(int)> size;

    int first() const
    {
        for (int i = fixed; i < count; ++i)
            if (holdsCurrent(size(i)))
                return i;
        return -1;
    }
    int last() const
    {
        for (int i = count - 1; i >= fixed; --i)
            if (holdsCurrent(size(i)))
                return i;
        return -1;
    }
    // The body index that can hold the current cell reached from `from` in
    // direction dir: the first one, and further ones while the sizes passed
    // (thin lines included), at the whole pixels they are drawn in, together
    // fit into budget; -1 where none lies that way.
    int walk(int from, int dir, int budget) const
    {
        int landed = -1;
        int used = 0;
        for (int i = from + dir; i >= fixed && i < count; i += dir) {
            const int s = size(i);
            // A row takes the whole pixels it is drawn in, a separator line
            // one: the page is filled as the view shows it.
            used += pixelsToTwips(twipsToPixels(s));
            if (!holdsCurrent(s))
                continue;
            if (landed >= 0 && used > budget)
                break;
            landed = i;
        }
        return landed;
    }
    // A move of the current index `at`, whose merged range spans lo..hi.
    int move(int at, int lo, int hi, int dir, int budget) const
    {
        if (at < fixed)
            return dir > 0 ? walk(fixed - 1, dir, budget) : first();
        return walk(dir > 0 ? hi : lo, dir, budget);
    }
    // The other coordinate of a move: kept, unless it lies in the fixed part
    // (then the first shown body one) or is hidden or a thin line (then the
    // nearest one before it that can hold the current cell, or else after it).
    int keep(int at) const
    {
        if (at < fixed)
            return first();
        if (at < count && holdsCurrent(size(at)))
            return at;
        const int before = walk(at, -1, 0);
        return before >= 0 ? before : walk(at, 1, 0);
    }
};

// The columns as the keys see them: the fixed ones stay out of reach unless
// the grid lets keys enter them.
Line columnsOf(const GridModel &grid)
{
    return {grid.cols(), grid.keysEnterFixedCols() ? 0 : grid.fixedCols(),
            [&grid](int c) { return grid.colWidth(c); }};
}

} // namespace

bool moveCurrent(GridModel &grid, GridMove move, int pageTwips)
{
    const Line rows{grid.rows(), grid.fixedRows(), [&grid](int r) { return grid.rowHeight(r); }};
    const Line cols = columnsOf(grid);
    const int row = grid.row();
    const int col = grid.col();
    const QRect range = grid.mergedRange(row, col);
    int r = rows.keep(row);
    int c = cols.keep(col);
    switch (move) {
    case GridMove::Up:
    case GridMove::Down:
    case GridMove::PageUp:
    case GridMove::PageDown: {
        const int dir = move == GridMove::Up || move == GridMove::PageUp ? -1 : 1;
        const int budget = move == GridMove::PageUp || move == GridMove::PageDown ? pageTwips : 0;
        r = rows.move(row, range.top(), range.bottom(), dir, budget);
        break;
    }
    case GridMove::Left:
    case GridMove::Right:
        c = cols.move(col, range.left(), range.right(), move == GridMove::Left ? -1 : 1, 0);
        break;
    case GridMove::RowStart:
        c = cols.first();
        break;
    case GridMove::RowEnd:
        c = cols.last();
        break;
    case GridMove::First:
        r = rows.first();
        c = cols.first();
        break;
    case GridMove::Last:
        r = rows.last();
        c = cols.last();
        break;
    }
    if (r < 0 || c < 0 || (r == row && c == col))
        return false;
    grid.setRow(r);
    grid.setCol(c);
    return true;
}

void startAtFirstDataRow(GridModel &grid, int col)
{
    const Line rows{grid.rows(), grid.fixedRows(), [&grid](int r) { return grid.rowHeight(r); }};
    const int row = rows.first();
    if (row < 0)
        return;
    const int reachable = columnsOf(grid).keep(col);
    grid.setRow(row);
    grid.setCol(reachable >= 0 ? reachable : col);
}

} // namespace kelmon
