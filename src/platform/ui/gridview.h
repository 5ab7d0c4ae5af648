#pragma once
// Paints a GridModel: the fixed rows and columns stay in place while the rest
// scrolls under them, merged ranges are painted once, pictures come from the
// picture lists. The view does not watch the model: a window fills the model
// and then calls modelChanged() once, so a fill costs one layout and one paint.
//
// A mouse press on a cell makes that cell current in the model and emits
// cellPressed. On a merged range the current cell is the range's top-left
// cell: the range shows as one cell, so which part of it was hit carries no
// meaning, and every press on it gives the same current cell. In a grid whose
// heading rows are only headings (setHeadingRowsKeepCurrent), a press on them
// leaves the current row where it is: a heading of one column (also one that
// spans several heading rows) makes its column current, a group heading over
// several columns leaves the column too, and the press is reported on the
// current cell as it then stands.
//
// The view takes the keyboard focus (click and Tab). With the focus, the
// current cell carries a dotted frame, and the arrow keys, Page Up, Page
// Down, Home and End (with Ctrl: the first and last cell) move it as
// moveCurrent() says, scroll it into view and emit currentCellMoved. The
// Menu key and Shift+F10 (or a context-menu request from the keyboard) act as
// a right press on the current cell: the cell is scrolled into view and
// cellPressed is emitted with the right button and a point inside the cell,
// so a window's popup opens there exactly as a right click would open it.

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QStringList>
#include <QHash>
#include <QSet>
#include <QVector>

namespace kelmon {

class GridModel;

// One line of cell text (no line breaks in it) broken into the lines that a
// cell width shows: breaks fall between characters of Japanese text and
// around a run of half-width letters and digits ("5R", "54", "6.25"), which
// stays whole unless it is wider than the cell by itself. Blanks at a line's
// end are dropped.
QStringList wrapCellLine(const QString &paragraph, const QFontMetrics &metrics, int width);

class GridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit GridView(QWidget *parent = nullptr);
    ~GridView() override;

    // The model is not owned; it must outlive the view or be replaced first.
    void setModel(GridModel *model);
    GridModel *model() const { return model_; }

    // Call after filling or changing the model: lays the grid out again and
    // repaints it once.
    void modelChanged();

    // Whether a press on a heading row (a fixed row) of a grid with
    // rows below its headings keeps the current row, for a grid whose popup
    // acts on the data row last chosen and on the column pointed at: a
    // heading of one column makes that column current (in that row), a group
    // heading over several columns changes nothing. The press is reported on
    // the current cell, so the popup offers and does what that cell asks.
    // Off by default: in a grid whose heading cells are cells the popup acts
    // on (the race card), a press makes them current as any other.
    void setHeadingRowsKeepCurrent(bool on) { headingRowsKeepCurrent_ = on; }
    bool headingRowsKeepCurrent() const { return headingRowsKeepCurrent_; }

    // The cell under a point of the viewport, or (-1, -1) when the point is
    // on no cell.
    QPoint cellAt(const QPoint &viewportPos) const;
    // Where a cell range (x = col, y = row) lies in the viewport now.
    QRect viewportRect(const QRect &range) const;

    // Default looks, used where a cell sets nothing.
    void setDefaultFont(const QFont &font);
    QFont defaultFont() const { return defaultFont_; }

    // Paints the whole grid, scrolled to the origin, into an image of the
    // grid's full size (for printing and tests), or with a painter whose
    // device is at least that size.
    QImage renderAll() const;
    void renderAll(QPainter &painter) const;
    QSize fullSize() const;

    QSize sizeHint() const override;

signals:
    // row and col are the new current cell; globalPos is where the pointer was.
    void cellPressed(int row, int col, Qt::MouseButton button, const QPoint &globalPos);
    // A key moved the current cell to row, col.
    void currentCellMoved(int row, int col);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Part;   // one of the four panes: fixed/fixed, fixed/scrolling, ...
    void layoutGrid();
    void updateScrollBars();
    void paintGrid(QPainter &p, const QRect &area, int scrollX, int scrollY) const;
    void paintPart(QPainter &p, const Part &part, int scrollX, int scrollY, QSet<quint64> &painted) const;
    void paintRange(QPainter &p, const QRect &range, const QRect &rect) const;
    const QFont &fontFor(const QString &name, double points, bool bold) const;
    int indexAt(const QVector<int> &edges, int from, int to, int pos) const;
    void scrollToCell(const QRect &range);
    // Makes the range holding a cell (x = col, y = row) current and emits
    // cellPressed for it: the one path of a mouse press and a keyboard popup.
    void pressCell(const QPoint &cell, Qt::MouseButton button, const QPoint &globalPos);
    void pressCurrentCell();

    GridModel *model_ = nullptr;
    QVector<int> colX_;        // left edge of every column in pixels, plus the right edge of the last
    QVector<int> rowY_;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    bool headingRowsKeepCurrent_ = false;
    QFont defaultFont_;
    mutable QHash<QString, QFont> fonts_;
    QColor fixedBack_{0xE4, 0xE4, 0xE4};
    QColor bodyBack_{Qt::white};
    QColor fixedLine_{0x80, 0x80, 0x80};
    QColor bodyLine_{0xC0, 0xC0, 0xC0};
    QColor emptyBack_{0x80, 0x80, 0x80};
};

} // namespace kelmon
