#include "platform/ui/gridview.h"

#include "platform/fonts.h"
#include "platform/gridmodel.h"
#include "platform/gridmoves.h"
#include "platform/pictures.h"
#include "platform/twips.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <algorithm>
#include <optional>

namespace kelmon {

// One pane of the grid: a block of rows and columns, the part of the viewport
// it is drawn in, and whether it follows the scroll bars.
struct GridView::Part {
    int row0, row1, col0, col1;   // half-open index ranges
    QRect clip;
    bool scrollsX, scrollsY;
};

namespace {

Qt::Alignment toQt(GridAlign a, bool number)
{
    static const Qt::Alignment table[] = {
        Qt::AlignLeft | Qt::AlignTop,     Qt::AlignLeft | Qt::AlignVCenter,     Qt::AlignLeft | Qt::AlignBottom,
        Qt::AlignHCenter | Qt::AlignTop,  Qt::AlignHCenter | Qt::AlignVCenter,  Qt::AlignHCenter | Qt::AlignBottom,
        Qt::AlignRight | Qt::AlignTop,    Qt::AlignRight | Qt::AlignVCenter,    Qt::AlignRight | Qt::AlignBottom,
    };
    if (a == GridAlign::General)
        return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    return table[int(a)];
}

QPoint placed(const QRect &box, const QSize &size, Qt::Alignment a)
{
    int x = box.left();
    if (a & Qt::AlignHCenter)
        x = box.left() + (box.width() - size.width()) / 2;
    else if (a & Qt::AlignRight)
        x = box.right() + 1 - size.width();
    int y = box.top();
    if (a & Qt::AlignVCenter)
        y = box.top() + (box.height() - size.height()) / 2;
    else if (a & Qt::AlignBottom)
        y = box.bottom() + 1 - size.height();
    return {x, y};
}

quint64 rangeKey(const QRect &range)
{
    return (quint64(quint32(range.y())) << 32) | quint32(range.x());
}

} // namespace

GridView::GridView(QWidget *parent)
    : QAbstractScrollArea(parent), defaultFont_(makeFont(DefaultFontName, DefaultFontPoints))
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    layoutGrid();
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(13);
}

GridView::~GridView() = default;

void GridView::setModel(GridModel *model)
{
    model_ = model;
    modelChanged();
}

void GridView::modelChanged()
{
    layoutGrid();
    updateScrollBars();
    viewport()->update();
}

void GridView::setDefaultFont(const QFont &font)
{
    defaultFont_ = font;
    fonts_.clear();
    viewport()->update();
}

void GridView::layoutGrid()
{
    colX_ = {0};
    rowY_ = {0};
    fixedCols_ = fixedRows_ = 0;
    if (!model_)
        return;
    const int cols = model_->cols();
    const int rows = model_->rows();
    colX_.resize(cols + 1);
    rowY_.resize(rows + 1);
    for (int c = 0; c < cols; ++c)
        colX_[c + 1] = colX_[c] + twipsToPixels(model_->colWidth(c));
    for (int r = 0; r < rows; ++r)
        rowY_[r + 1] = rowY_[r] + twipsToPixels(model_->rowHeight(r));
    fixedCols_ = model_->fixedCols();
    fixedRows_ = model_->fixedRows();
}

void GridView::updateScrollBars()
{
    const QSize vp = viewport()->size();
    const int fixedW = colX_[fixedCols_];
    const int fixedH = rowY_[fixedRows_];
    QScrollBar *h = horizontalScrollBar();
    QScrollBar *v = verticalScrollBar();
    h->setRange(0, std::max(0, colX_.last() - vp.width()));
    h->setPageStep(std::max(1, vp.width() - fixedW));
    v->setRange(0, std::max(0, rowY_.last() - vp.height()));
    v->setPageStep(std::max(1, vp.height() - fixedH));
}

void GridView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void GridView::scrollContentsBy(int, int)
{
    viewport()->update();
}

QSize GridView::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return QSize(std::min(colX_.last(), 800) + frame, std::min(rowY_.last(), 600) + frame);
}

int GridView::indexAt(const QVector<int> &edges, int from, int to, int pos) const
{
    // The index i in [from, to) with edges[i] <= pos < edges[i + 1], or -1.
    if (from >= to || pos < edges[from] || pos >= edges[to])
        return -1;
    auto it = std::upper_bound(edges.begin() + from, edges.begin() + to + 1, pos);
    return int(it - edges.begin()) - 1;
}

QPoint GridView::cellAt(const QPoint &pos) const
{
    if (!model_ || pos.x() < 0 || pos.y() < 0)
        return {-1, -1};
    const int fixedW = colX_[fixedCols_];
    const int fixedH = rowY_[fixedRows_];
    const int col = pos.x() < fixedW
        ? indexAt(colX_, 0, fixedCols_, pos.x())
        : indexAt(colX_, fixedCols_, int(colX_.size()) - 1, pos.x() + horizontalScrollBar()->value());
    const int row = pos.y() < fixedH
        ? indexAt(rowY_, 0, fixedRows_, pos.y())
        : indexAt(rowY_, fixedRows_, int(rowY_.size()) - 1, pos.y() + verticalScrollBar()->value());
    if (row < 0 || col < 0)
        return {-1, -1};
    return {col, row};
}

QRect GridView::viewportRect(const QRect &range) const
{
    if (!model_ || range.isEmpty() || range.right() + 1 >= colX_.size() || range.bottom() + 1 >= rowY_.size()
        || range.left() < 0 || range.top() < 0)
        return {};
    const int sx = range.left() >= fixedCols_ ? horizontalScrollBar()->value() : 0;
    const int sy = range.top() >= fixedRows_ ? verticalScrollBar()->value() : 0;
    return QRect(QPoint(colX_[range.left()] - sx, rowY_[range.top()] - sy),
                 QPoint(colX_[range.right() + 1] - sx - 1, rowY_[range.bottom() + 1] - sy - 1));
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    const QPoint cell = cellAt(event->position().toPoint());
    event->accept();
    if (cell.x() < 0)
        return;
    // A heading is no row to act on: the current data row stays, so that a
    // popup opened by this press or later by the keyboard acts on a data row.
    // A heading of one column names that column, which becomes current; a
    // group heading over several columns names none, and the column stays.
    const bool heading = cell.y() < model_->fixedRows() && model_->rows() > model_->fixedRows();
    if (headingRowsKeepCurrent_ && heading) {
        const QRect range = model_->mergedRange(cell.y(), cell.x());
        if (range.width() == 1) {
            model_->setCol(range.left());
            viewport()->update();
        }
        emit cellPressed(model_->row(), model_->col(), event->button(), event->globalPosition().toPoint());
        return;
    }
    pressCell(cell, event->button(), event->globalPosition().toPoint());
}

void GridView::pressCell(const QPoint &cell, Qt::MouseButton button, const QPoint &globalPos)
{
    const QRect range = model_->mergedRange(cell.y(), cell.x());
    model_->setRow(range.top());
    model_->setCol(range.left());
    viewport()->update();
    emit cellPressed(range.top(), range.left(), button, globalPos);
}

void GridView::pressCurrentCell()
{
    // A popup already open has the keyboard; a second request (the Menu key
    // arrives as a key and as a context-menu request) opens nothing more.
    if (!model_ || model_->rows() <= 0 || model_->cols() <= 0 || QApplication::activePopupWidget())
        return;
    const QRect range = model_->mergedRange(model_->row(), model_->col());
    scrollToCell(range);
    // The middle of the part of the cell in view, as a click would be; a
    // hidden cell (no size) gives its edge.
    QRect rect = viewportRect(range);
    rect = rect.isValid() ? rect.intersected(viewport()->rect()) : QRect(rect.topLeft(), QSize(1, 1));
    const QPoint at(std::clamp(rect.center().x(), 0, std::max(0, viewport()->width() - 1)),
                    std::clamp(rect.center().y(), 0, std::max(0, viewport()->height() - 1)));
    pressCell({model_->col(), model_->row()}, Qt::RightButton, viewport()->mapToGlobal(at));
}

void GridView::contextMenuEvent(QContextMenuEvent *event)
{
    // A right press has already been handled as a press; only a request
    // from the keyboard opens the popup here.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        QAbstractScrollArea::contextMenuEvent(event);
        return;
    }
    event->accept();
    pressCurrentCell();
}

namespace {

// The move a key makes: arrows (Shift changes nothing: the grid has one
// current cell and no selection), Page Up and Down, Home and End, with Ctrl
// the first and last cell.
std::optional<GridMove> keyMove(const QKeyEvent *event)
{
    static const struct {
        int key;
        bool ctrl;
        GridMove move;
    } keys[] = {
        {Qt::Key_Left, false, GridMove::Left},      {Qt::Key_Right, false, GridMove::Right},
        {Qt::Key_Up, false, GridMove::Up},          {Qt::Key_Down, false, GridMove::Down},
        {Qt::Key_PageUp, false, GridMove::PageUp},  {Qt::Key_PageDown, false, GridMove::PageDown},
        {Qt::Key_Home, false, GridMove::RowStart},  {Qt::Key_End, false, GridMove::RowEnd},
        {Qt::Key_Home, true, GridMove::First},      {Qt::Key_End, true, GridMove::Last},
    };
    const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods != Qt::NoModifier && mods != Qt::ControlModifier)
        return std::nullopt;
    for (const auto &k : keys)
        if (k.key == event->key() && k.ctrl == (mods == Qt::ControlModifier))
            return k.move;
    return std::nullopt;
}

// The keys that ask for the popup of the current cell: the Menu key, and
// Shift+F10.
bool popupKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Menu && mods == Qt::NoModifier)
        || (event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier);
}

} // namespace

void GridView::keyPressEvent(QKeyEvent *event)
{
    if (model_ && popupKey(event)) {
        event->accept();
        pressCurrentCell();
        return;
    }
    const std::optional<GridMove> move = keyMove(event);
    if (!model_ || !move) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    const int before = model_->row();
    const int page = std::max(0, viewport()->height() - rowY_[fixedRows_]);
    if (!moveCurrent(*model_, *move, pixelsToTwips(page)))
        return;
    const int row = model_->row();
    const int laidOut = int(rowY_.size()) - 1;
    // A page scrolls with the current row, which keeps its place in the view.
    if ((move == GridMove::PageUp || move == GridMove::PageDown) && before >= fixedRows_ && before < laidOut
        && row < laidOut)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + rowY_[row] - rowY_[before]);
    scrollToCell(model_->mergedRange(row, model_->col()));
    viewport()->update();
    emit currentCellMoved(row, model_->col());
}

void GridView::scrollToCell(const QRect &range)
{
    if (range.left() < 0 || range.top() < 0 || range.right() + 1 >= colX_.size() || range.bottom() + 1 >= rowY_.size())
        return;
    // A scrolling cell is shown where the bar's value lies between its far
    // edge less the pane and its near edge (both from the start of the
    // scrolling part); a fixed cell is always shown.
    const auto bring = [](QScrollBar *bar, const QVector<int> &edges, int fixed, int first, int last, int extent) {
        if (first < fixed)
            return;
        const int nearEdge = edges[first] - edges[fixed];
        const int farEdge = edges[last + 1] - edges[fixed];
        const int pane = extent - edges[fixed];
        int value = bar->value();
        if (farEdge - value > pane)
            value = farEdge - pane;
        if (nearEdge < value)
            value = nearEdge;
        bar->setValue(value);
    };
    bring(horizontalScrollBar(), colX_, fixedCols_, range.left(), range.right(), viewport()->width());
    bring(verticalScrollBar(), rowY_, fixedRows_, range.top(), range.bottom(), viewport()->height());
}

void GridView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void GridView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

const QFont &GridView::fontFor(const QString &name, double points, bool bold) const
{
    const QString key = name + u'|' + QString::number(points) + (bold ? u'B' : u'N');
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        QFont font = defaultFont_;
        if (!name.isEmpty())
            font.setFamilies(fontFamilies(name));
        if (points > 0)
            font.setPixelSize(pointsToPixels(points));
        font.setBold(bold);
        it = fonts_.insert(key, font);
    }
    return *it;
}

namespace {

// A half-width letter or digit, or a point or comma between digits: parts of
// one word ("5R", "54", "6.25") that a line never breaks.
bool isWordChar(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
        return true;
    auto digit = [&](qsizetype j) { return j >= 0 && j < text.size() && text[j].isDigit(); };
    return (c == u'.' || c == u',') && digit(i - 1) && digit(i + 1);
}

} // namespace

QStringList wrapCellLine(const QString &paragraph, const QFontMetrics &metrics, int width)
{
    // The parts a reader keeps whole: each run of half-width letters and
    // digits, and each other character on its own (Japanese text breaks
    // between any two characters, a circled number included).
    QStringList parts;
    for (qsizetype i = 0; i < paragraph.size();) {
        qsizetype end = i + 1;
        if (isWordChar(paragraph, i))
            while (end < paragraph.size() && isWordChar(paragraph, end))
                ++end;
        else if (paragraph[i].isHighSurrogate() && end < paragraph.size())
            ++end;
        parts << paragraph.mid(i, end - i);
        i = end;
    }
    QStringList lines;
    QString line;
    auto fits = [&](const QString &text) { return metrics.horizontalAdvance(text) <= width; };
    for (const QString &part : parts) {
        if (fits(line + part)) {
            line += part;
            continue;
        }
        // Blanks at the end of a line hang past the cell's edge.
        if (part == QLatin1String(" ") || part == QString(QChar(0x3000))) {
            line += part;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line = part;
        // A part wider than the cell is broken where the cell ends.
        while (line.size() > 1 && !fits(line)) {
            qsizetype n = line.size() - 1;
            while (n > 1 && !fits(line.left(n)))
                --n;
            lines << line.left(n);
            line = line.mid(n);
        }
    }
    lines << line;
    for (QString &l : lines)
        while (!l.isEmpty() && (l.back() == QLatin1Char(' ') || l.back() == QChar(0x3000)))
            l.chop(1);
    // Blanks that wrapped past the text take no lines of their own.
    while (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Cell text: one line clipped to the cell, or, where the text holds line
// breaks or is too wide for a cell tall enough for two lines, lines broken at
// the breaks and between the parts of the text at the cell's width
// (wrapCellLine), at a pitch of the font's pixel size (as the paper's narrow
// multi-line cells expect).
static void drawCellText(QPainter &p, const QRect &inner, Qt::Alignment align, const QString &text)
{
    const QFontMetrics metrics = p.fontMetrics();
    const int pitch = std::max(1, p.font().pixelSize() > 0 ? p.font().pixelSize() + 1 : metrics.height());
    const bool breaks = text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    const bool tooWide = metrics.horizontalAdvance(text) > inner.width() - 2;
    if (!breaks && !(tooWide && inner.height() >= 2 * pitch)) {
        // A text that only just fits uses the padding too.
        const QRect box = tooWide ? inner : inner.adjusted(1, 0, -1, 0);
        if (!(align & Qt::AlignVCenter) || metrics.height() <= inner.height()) {
            p.drawText(box, int(align), text);
            return;
        }
        // The font's line is taller than the cell: centred by its line, the
        // ink of a descender (the g of ㎏) may run under the grid line. The
        // baseline, put where the centring puts it, is lifted by what the ink
        // needs, as far as the ink's top has room. The text is drawn at that
        // baseline: centred in a moved rectangle, it can land a pixel lower.
        const QFontMetricsF exact(p.font(), p.device());
        int baseline = inner.top() + centredBaseline(exact, inner.height());
        const QRect ink = metrics.tightBoundingRect(text);
        const int below = baseline + ink.bottom() - inner.bottom();
        const int room = baseline + ink.top() - inner.top();
        if (below > 0 && room > 0)
            baseline -= std::min(below, room);
        const qreal advance = exact.horizontalAdvance(text);
        qreal left = box.left();
        if (align & Qt::AlignHCenter)
            left += (box.width() - advance) / 2;
        else if (align & Qt::AlignRight)
            left += box.width() - advance;
        p.save();
        p.setClipRect(inner, Qt::IntersectClip);
        p.drawText(QPointF(left, baseline), text);
        p.restore();
        return;
    }
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    auto layOut = [&](const QFont &font) {
        const QFontMetrics fm(font, p.device());
        QStringList lines;
        for (const QString &paragraph : plain.split(QLatin1Char('\n'))) {
            if (paragraph.isEmpty())
                lines << QString();
            else
                lines << wrapCellLine(paragraph, fm, inner.width());
        }
        return lines;
    };
    // Lines that the natural pitch would push past the cell close up, down
    // to the height of the font's characters. Where even that is too high,
    // the font goes down a pixel at a time (to 9 pixels, 7 points), so the
    // last line shows whole.
    QFont font = p.font();
    QStringList lines = layOut(font);
    while (font.pixelSize() > 9 && int(lines.size()) * font.pixelSize() > inner.height()) {
        font.setPixelSize(font.pixelSize() - 1);
        lines = layOut(font);
    }
    const int lineCount = std::max(1, int(lines.size()));
    const int fitted = std::max(font.pixelSize() > 0 ? font.pixelSize() : 1, inner.height() / lineCount);
    const int linePitch = std::min(font.pixelSize() > 0 ? font.pixelSize() + 1 : pitch, fitted);
    const int total = lineCount * linePitch;
    int y = inner.top();
    if (align & Qt::AlignVCenter)
        y += (inner.height() - total) / 2;
    else if (align & Qt::AlignBottom)
        y += inner.height() - total;
    const Qt::Alignment horizontal = (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    p.save();
    p.setFont(font);
    p.setClipRect(inner, Qt::IntersectClip);
    for (const QString &line : lines) {
        p.drawText(QRect(inner.left(), y, inner.width(), linePitch), int(horizontal), line);
        y += linePitch;
    }
    p.restore();
}

void GridView::paintRange(QPainter &p, const QRect &range, const QRect &rect) const
{
    const int row = range.top();
    const int col = range.left();
    const bool fixed = row < fixedRows_ || col < fixedCols_;

    const std::optional<QRgb> back = model_->backColor(row, col);
    p.fillRect(rect, back ? QColor(*back) : (fixed ? fixedBack_ : bodyBack_));

    // The grid line takes the last pixel column and row of the cell.
    const QRect inner(rect.left(), rect.top(), rect.width() - 1, rect.height() - 1);

    QRect shownPicture;
    const GridPicture picture = model_->picture(row, col);
    if (!picture.isNull()) {
        const QPixmap pm = pictures::pixmap(picture);
        if (!pm.isNull()) {
            const QRect at(placed(inner, pm.size(), toQt(model_->pictureAlignment(row, col), false)), pm.size());
            p.save();
            p.setClipRect(inner, Qt::IntersectClip);
            p.drawPixmap(at, pm);
            p.restore();
            shownPicture = at.intersected(inner);
        }
    }

    const QString text = model_->text(row, col);
    if (!text.isEmpty() && inner.width() > 2) {
        const GridAlign align = model_->cellAlignment(row, col).value_or(model_->colAlignment(col));
        const bool number = align == GridAlign::General && GridModel::numberValue(text).has_value();
        const std::optional<QRgb> fore = model_->foreColor(row, col);
        p.setFont(fontFor(model_->fontName(row, col), model_->fontSize(row, col), model_->fontBold(row, col)));
        const Qt::Alignment at = toQt(align, number);
        // A picture that covers only part of the text (a short bar under its
        // count) would run its edge through the glyphs: the text gets an
        // outline of the cell's colour, so it reads whole on either side.
        const QRect textBox = p.fontMetrics().boundingRect(inner, int(at), text).intersected(inner);
        if (shownPicture.intersects(textBox) && !shownPicture.contains(textBox)) {
            p.setPen(back ? QColor(*back) : (fixed ? fixedBack_ : bodyBack_));
            for (const QPoint step : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
                drawCellText(p, inner.translated(step), at, text);
        }
        p.setPen(fore ? QColor(*fore) : QColor(Qt::black));
        drawCellText(p, inner, at, text);
    }

    p.setPen(fixed ? fixedLine_ : bodyLine_);
    p.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    p.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
}

void GridView::paintPart(QPainter &p, const Part &part, int scrollX, int scrollY, QSet<quint64> &painted) const
{
    if (part.clip.isEmpty() || part.row0 >= part.row1 || part.col0 >= part.col1)
        return;
    const int sx = part.scrollsX ? scrollX : 0;
    const int sy = part.scrollsY ? scrollY : 0;
    int c0 = indexAt(colX_, part.col0, part.col1, part.clip.left() + sx);
    int r0 = indexAt(rowY_, part.row0, part.row1, part.clip.top() + sy);
    if (c0 < 0 || r0 < 0)
        return;
    int c1 = indexAt(colX_, part.col0, part.col1, part.clip.right() + sx);
    int r1 = indexAt(rowY_, part.row0, part.row1, part.clip.bottom() + sy);
    c1 = c1 < 0 ? part.col1 - 1 : c1;
    r1 = r1 < 0 ? part.row1 - 1 : r1;

    const QRect laidOut(0, 0, int(colX_.size()) - 1, int(rowY_.size()) - 1);
    p.save();
    p.setClipRect(part.clip);
    for (int r = r0; r <= r1; ++r) {
        if (rowY_[r + 1] == rowY_[r])
            continue;
        for (int c = c0; c <= c1; ++c) {
            if (colX_[c + 1] == colX_[c])
                continue;
            // The model may have changed since the last layout; never reach
            // past the columns and rows laid out.
            const QRect range = model_->mergedRange(r, c).intersected(laidOut);
            if (range.width() > 1 || range.height() > 1) {
                const quint64 key = rangeKey(range);
                if (painted.contains(key))
                    continue;
                painted.insert(key);
            }
            const QRect rect(QPoint(colX_[range.left()] - sx, rowY_[range.top()] - sy),
                             QPoint(colX_[range.right() + 1] - sx - 1, rowY_[range.bottom() + 1] - sy - 1));
            paintRange(p, range, rect);
        }
    }
    p.restore();
}

void GridView::paintGrid(QPainter &p, const QRect &area, int scrollX, int scrollY) const
{
    p.fillRect(area, emptyBack_);
    if (!model_ || colX_.size() < 2 || rowY_.size() < 2)
        return;
    const int rows = int(rowY_.size()) - 1;
    const int cols = int(colX_.size()) - 1;
    const int fixedW = std::min(colX_[fixedCols_], area.width());
    const int fixedH = std::min(rowY_[fixedRows_], area.height());
    const Part parts[] = {
        {0, fixedRows_, 0, fixedCols_, QRect(0, 0, fixedW, fixedH), false, false},
        {0, fixedRows_, fixedCols_, cols, QRect(fixedW, 0, area.width() - fixedW, fixedH), true, false},
        {fixedRows_, rows, 0, fixedCols_, QRect(0, fixedH, fixedW, area.height() - fixedH), false, true},
        {fixedRows_, rows, fixedCols_, cols, QRect(fixedW, fixedH, area.width() - fixedW, area.height() - fixedH),
         true, true},
    };
    QSet<quint64> painted;
    for (const Part &part : parts)
        paintPart(p, part, scrollX, scrollY, painted);
}

void GridView::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    paintGrid(p, viewport()->rect(), horizontalScrollBar()->value(), verticalScrollBar()->value());
    if (model_ && hasFocus() && model_->rows() > 0 && model_->cols() > 0) {
        const QRect range = model_->mergedRange(model_->row(), model_->col());
        const QRect cell = viewportRect(range);
        if (!cell.isEmpty()) {
            // Keep the mark of a scrolled cell off the frozen panes.
            QRect pane = viewport()->rect();
            if (range.left() >= fixedCols_)
                pane.setLeft(colX_[fixedCols_]);
            if (range.top() >= fixedRows_)
                pane.setTop(rowY_[fixedRows_]);
            p.setClipRect(pane);
            QPen pen(Qt::black, 1, Qt::DotLine);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(cell.adjusted(0, 0, -2, -2));
        }
    }
}

QImage GridView::renderAll() const
{
    QImage image(fullSize(), QImage::Format_RGB32);
    QPainter p(&image);
    renderAll(p);
    return image;
}

QSize GridView::fullSize() const
{
    return {std::max(1, colX_.last()), std::max(1, rowY_.last())};
}

void GridView::renderAll(QPainter &painter) const
{
    paintGrid(painter, QRect(QPoint(0, 0), fullSize()), 0, 0);
}

} // namespace kelmon
