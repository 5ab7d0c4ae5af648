#include "platform/gridmodel.h"

#include "platform/fonts.h"
#include "platform/twips.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>
#include <vector>

namespace kelmon {

namespace {

struct Cell {
    QString text;
    QString fontName;
    QRgb back = 0;
    QRgb fore = 0;
    float fontSize = 0;
    GridPicture picture;
    GridAlign align = GridAlign::General;
    GridAlign pictureAlign = GridAlign::LeftCenter;
    bool hasBack = false;
    bool hasFore = false;
    bool hasAlign = false;
    bool bold = false;
};

struct RowFormat {
    int height = -1;
    bool merge = false;
};

struct ColFormat {
    int width = -1;
    GridAlign align = GridAlign::General;
    bool merge = false;
};

// The merged layout, computed from the texts and merge flags when first asked
// for after a change.
struct MergeLayout {
    quint64 revision = ~quint64(0);
    int cols = 0;
    std::vector<int> rangeOf;        // per cell: index into ranges, -1 for a single cell
    std::vector<QRect> ranges;
};

} // namespace

struct GridModel::Impl {
    int fixedRows = 0;
    int fixedCols = 0;
    bool keysEnterFixedCols = false;
    int row = 0;
    int col = 0;
    GridMerge mergeMode = GridMerge::Never;
    std::vector<std::vector<Cell>> cells;   // [row][col]
    std::vector<RowFormat> rowFormats;
    std::vector<ColFormat> colFormats;
    quint64 revision = 0;
    quint64 mergeRevision = 0;              // changes that can move merged ranges
    mutable MergeLayout layout;

    int rows() const { return int(rowFormats.size()); }
    int cols() const { return int(colFormats.size()); }
    bool valid(int r, int c) const { return r >= 0 && c >= 0 && r < rows() && c < cols(); }
    bool validRow(int r) const { return r >= 0 && r < rows(); }
    bool validCol(int c) const { return c >= 0 && c < cols(); }

    void changed(bool affectsMerging = false)
    {
        ++revision;
        if (affectsMerging)
            ++mergeRevision;
    }

    Cell *cell(int r, int c) { return valid(r, c) ? &cells[size_t(r)][size_t(c)] : nullptr; }
    const Cell *cell(int r, int c) const { return valid(r, c) ? &cells[size_t(r)][size_t(c)] : nullptr; }

    void clampCurrent()
    {
        row = std::clamp(row, 0, std::max(0, rows() - 1));
        col = std::clamp(col, 0, std::max(0, cols() - 1));
    }

    void buildLayout() const;
};

void GridModel::Impl::buildLayout() const
{
    const int R = rows();
    const int C = cols();
    layout.revision = mergeRevision;
    layout.cols = C;
    layout.ranges.clear();
    layout.rangeOf.assign(size_t(R) * size_t(C), -1);
    if (mergeMode == GridMerge::Never || R == 0 || C == 0)
        return;
    const bool restrict = mergeMode == GridMerge::RestrictAll;
    auto at = [C](int r, int c) { return size_t(r) * size_t(C) + size_t(c); };
    auto text = [this](int r, int c) -> const QString & { return cells[size_t(r)][size_t(c)].text; };

    // Across: runEnd[cell] is the last column of the run the cell belongs to,
    // runStart[cell] its first.
    std::vector<int> runStart(size_t(R) * size_t(C));
    std::vector<int> runEnd(size_t(R) * size_t(C));
    std::vector<char> linkRight(size_t(R) * size_t(C), 0);
    for (int r = 0; r < R; ++r) {
        for (int c = 0; c + 1 < C; ++c) {
            if (!rowFormats[size_t(r)].merge)
                break;
            if (c + 1 == fixedCols)
                continue;   // never across the fixed boundary
            const QString &t = text(r, c);
            if (t.isEmpty() || t != text(r, c + 1))
                continue;
            if (restrict && r > 0 && !linkRight[at(r - 1, c)])
                continue;
            linkRight[at(r, c)] = 1;
        }
        int start = 0;
        for (int c = 0; c < C; ++c) {
            runStart[at(r, c)] = start;
            if (!linkRight[at(r, c)]) {
                for (int k = start; k <= c; ++k)
                    runEnd[at(r, k)] = c;
                start = c + 1;
            }
        }
    }

    // Down: whole runs of equal extent, column by column from the left so that
    // the restricted mode can look at the column before.
    std::vector<char> linkDown(size_t(R) * size_t(C), 0);
    for (int c = 0; c < C; ++c) {
        for (int r = 0; r + 1 < R; ++r) {
            if (r + 1 == fixedRows)
                continue;
            if (runStart[at(r, c)] != c)
                continue;
            const int end = runEnd[at(r, c)];
            if (runStart[at(r + 1, c)] != c || runEnd[at(r + 1, c)] != end)
                continue;
            const QString &t = text(r, c);
            if (t.isEmpty() || t != text(r + 1, c))
                continue;
            bool marked = true;
            for (int k = c; k <= end && marked; ++k)
                marked = colFormats[size_t(k)].merge;
            if (!marked)
                continue;
            if (restrict && c > 0 && !linkDown[at(r, c - 1)])
                continue;
            for (int k = c; k <= end; ++k)
                linkDown[at(r, k)] = 1;
        }
    }

    for (int c = 0; c < C; ++c) {
        for (int r = 0; r < R; ++r) {
            if (runStart[at(r, c)] != c || (r > 0 && linkDown[at(r - 1, c)]))
                continue;
            const int end = runEnd[at(r, c)];
            int bottom = r;
            while (linkDown[at(bottom, c)])
                ++bottom;
            if (end == c && bottom == r)
                continue;
            const int id = int(layout.ranges.size());
            layout.ranges.emplace_back(c, r, end - c + 1, bottom - r + 1);
            for (int rr = r; rr <= bottom; ++rr)
                for (int cc = c; cc <= end; ++cc)
                    layout.rangeOf[at(rr, cc)] = id;
        }
    }
}

GridModel::GridModel() : d(std::make_unique<Impl>()) {}
GridModel::~GridModel() = default;

int GridModel::rows() const { return d->rows(); }
int GridModel::cols() const { return d->cols(); }

void GridModel::setRows(int rows)
{
    rows = std::max(0, rows);
    if (rows == 0) {
        d->cells.clear();
        d->rowFormats.clear();
    } else {
        d->cells.resize(size_t(rows), std::vector<Cell>(size_t(d->cols())));
        d->rowFormats.resize(size_t(rows));
    }
    d->fixedRows = std::min(d->fixedRows, rows);
    d->clampCurrent();
    d->changed(true);
}

void GridModel::setCols(int cols)
{
    cols = std::max(0, cols);
    if (cols == 0) {
        for (auto &r : d->cells)
            r.clear();
        d->colFormats.clear();
    } else {
        for (auto &r : d->cells)
            r.resize(size_t(cols));
        d->colFormats.resize(size_t(cols));
    }
    d->fixedCols = std::min(d->fixedCols, cols);
    d->clampCurrent();
    d->changed(true);
}

int GridModel::fixedRows() const { return d->fixedRows; }
int GridModel::fixedCols() const { return d->fixedCols; }

void GridModel::setFixedRows(int n)
{
    d->fixedRows = std::clamp(n, 0, d->rows());
    d->changed(true);
}

void GridModel::setFixedCols(int n)
{
    d->fixedCols = std::clamp(n, 0, d->cols());
    d->changed(true);
}

bool GridModel::keysEnterFixedCols() const { return d->keysEnterFixedCols; }

void GridModel::setKeysEnterFixedCols(bool on)
{
    d->keysEnterFixedCols = on;
    d->changed();
}

void GridModel::reset()
{
    const quint64 revision = d->revision;
    const quint64 mergeRevision = d->mergeRevision;
    d = std::make_unique<Impl>();
    d->revision = revision + 1;
    d->mergeRevision = mergeRevision + 1;
}

QString GridModel::text(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    return c ? c->text : QString();
}

void GridModel::setText(int row, int col, const QString &text)
{
    if (Cell *c = d->cell(row, col)) {
        c->text = text;
        d->changed(true);
    }
}

int GridModel::colWidth(int col) const
{
    if (!d->validCol(col))
        return 0;
    const int w = d->colFormats[size_t(col)].width;
    return w < 0 ? DefaultColWidth : w;
}

void GridModel::setColWidth(int col, int twips)
{
    if (d->validCol(col)) {
        d->colFormats[size_t(col)].width = std::max(-1, twips);
        d->changed();
    }
}

int GridModel::rowHeight(int row) const
{
    if (!d->validRow(row))
        return 0;
    const int h = d->rowFormats[size_t(row)].height;
    return h < 0 ? DefaultRowHeight : h;
}

void GridModel::setRowHeight(int row, int twips)
{
    if (d->validRow(row)) {
        d->rowFormats[size_t(row)].height = std::max(-1, twips);
        d->changed();
    }
}

GridAlign GridModel::colAlignment(int col) const
{
    return d->validCol(col) ? d->colFormats[size_t(col)].align : GridAlign::General;
}

void GridModel::setColAlignment(int col, GridAlign align)
{
    if (d->validCol(col)) {
        d->colFormats[size_t(col)].align = align;
        d->changed();
    }
}

std::optional<QRgb> GridModel::backColor(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    if (!c || !c->hasBack)
        return std::nullopt;
    return c->back;
}

void GridModel::setBackColor(int row, int col, QRgb rgb)
{
    if (Cell *c = d->cell(row, col)) {
        c->back = rgb & 0xFFFFFFu;
        c->hasBack = true;
        d->changed();
    }
}

std::optional<QRgb> GridModel::foreColor(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    if (!c || !c->hasFore)
        return std::nullopt;
    return c->fore;
}

void GridModel::setForeColor(int row, int col, QRgb rgb)
{
    if (Cell *c = d->cell(row, col)) {
        c->fore = rgb & 0xFFFFFFu;
        c->hasFore = true;
        d->changed();
    }
}

std::optional<GridAlign> GridModel::cellAlignment(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    if (!c || !c->hasAlign)
        return std::nullopt;
    return c->align;
}

void GridModel::setCellAlignment(int row, int col, GridAlign align)
{
    if (Cell *c = d->cell(row, col)) {
        c->align = align;
        c->hasAlign = true;
        d->changed();
    }
}

QString GridModel::fontName(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    return c ? c->fontName : QString();
}

void GridModel::setFontName(int row, int col, const QString &name)
{
    if (Cell *c = d->cell(row, col)) {
        c->fontName = name;
        d->changed();
    }
}

double GridModel::fontSize(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    return c ? double(c->fontSize) : 0.0;
}

void GridModel::setFontSize(int row, int col, double points)
{
    if (Cell *c = d->cell(row, col)) {
        c->fontSize = float(std::max(0.0, points));
        d->changed();
    }
}

bool GridModel::fontBold(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    return c && c->bold;
}

void GridModel::setFontBold(int row, int col, bool bold)
{
    if (Cell *c = d->cell(row, col)) {
        c->bold = bold;
        d->changed();
    }
}

GridPicture GridModel::picture(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    return c ? c->picture : GridPicture{};
}

void GridModel::setPicture(int row, int col, GridPicture picture)
{
    if (Cell *c = d->cell(row, col)) {
        c->picture = picture.isNull() ? GridPicture{} : picture;
        d->changed();
    }
}

GridAlign GridModel::pictureAlignment(int row, int col) const
{
    const Cell *c = d->cell(row, col);
    return c ? c->pictureAlign : GridAlign::LeftCenter;
}

void GridModel::setPictureAlignment(int row, int col, GridAlign align)
{
    if (Cell *c = d->cell(row, col)) {
        c->pictureAlign = align;
        d->changed();
    }
}

bool GridModel::mergeCells() const { return d->mergeMode != GridMerge::Never; }

void GridModel::setMergeCells(bool on) { setMergeMode(on ? GridMerge::Free : GridMerge::Never); }

GridMerge GridModel::mergeMode() const { return d->mergeMode; }

void GridModel::setMergeMode(GridMerge mode)
{
    d->mergeMode = mode;
    d->changed(true);
}

bool GridModel::mergeRow(int row) const
{
    return d->validRow(row) && d->rowFormats[size_t(row)].merge;
}

void GridModel::setMergeRow(int row, bool on)
{
    if (d->validRow(row)) {
        d->rowFormats[size_t(row)].merge = on;
        d->changed(true);
    }
}

bool GridModel::mergeCol(int col) const
{
    return d->validCol(col) && d->colFormats[size_t(col)].merge;
}

void GridModel::setMergeCol(int col, bool on)
{
    if (d->validCol(col)) {
        d->colFormats[size_t(col)].merge = on;
        d->changed(true);
    }
}

QRect GridModel::mergedRange(int row, int col) const
{
    const QRect single(col, row, 1, 1);
    if (!d->valid(row, col) || d->mergeMode == GridMerge::Never)
        return single;
    if (d->layout.revision != d->mergeRevision)
        d->buildLayout();
    const int id = d->layout.rangeOf[size_t(row) * size_t(d->layout.cols) + size_t(col)];
    return id < 0 ? single : d->layout.ranges[size_t(id)];
}

int GridModel::row() const { return d->row; }
int GridModel::col() const { return d->col; }

void GridModel::setRow(int row)
{
    d->row = row;
    d->clampCurrent();
    d->changed();
}

void GridModel::setCol(int col)
{
    d->col = col;
    d->clampCurrent();
    d->changed();
}

std::optional<double> GridModel::numberValue(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(?:\\d{1,3}(?:,\\d{3})+|\\d+)?(?:\\.\\d+)?$"));
    const QString t = text.trimmed();
    if (t.isEmpty() || !number.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = QString(t).remove(u',').toDouble(&ok);
    if (!ok)
        return std::nullopt;   // a sign or a point without digits
    return v;
}

void GridModel::sort(int col, bool ascending)
{
    if (!d->validCol(col) || d->rows() - d->fixedRows < 2)
        return;
    struct Key {
        int row;
        std::optional<double> number;
        QString text;
    };
    std::vector<Key> keys;
    for (int r = d->fixedRows; r < d->rows(); ++r) {
        const QString &t = d->cells[size_t(r)][size_t(col)].text;
        keys.push_back({r, numberValue(t), t});
    }
    // Numbers come before texts and compare by value; texts compare as texts.
    auto less = [](const Key &a, const Key &b) {
        if (a.number && b.number)
            return *a.number < *b.number;
        if (a.number || b.number)
            return bool(a.number);
        return QString::compare(a.text, b.text) < 0;
    };
    if (ascending)
        std::stable_sort(keys.begin(), keys.end(), less);
    else
        std::stable_sort(keys.begin(), keys.end(), [&](const Key &a, const Key &b) { return less(b, a); });

    std::vector<std::vector<Cell>> cells;
    std::vector<RowFormat> formats;
    cells.reserve(keys.size());
    formats.reserve(keys.size());
    for (const Key &k : keys) {
        cells.push_back(std::move(d->cells[size_t(k.row)]));
        formats.push_back(d->rowFormats[size_t(k.row)]);
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        d->cells[size_t(d->fixedRows) + i] = std::move(cells[i]);
        d->rowFormats[size_t(d->fixedRows) + i] = formats[i];
    }
    d->changed(true);
}

quint64 GridModel::revision() const { return d->revision; }

void setFittedText(GridModel &grid, int row, int col, const QString &text)
{
    // The grid line takes a pixel of the column.
    const double points = fittedPoints(text, twipsToPixels(grid.colWidth(col)) - 1);
    grid.setFontSize(row, col, points == DefaultFontPoints ? 0 : points);
    grid.setText(row, col, text);
}

} // namespace kelmon
