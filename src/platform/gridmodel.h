#pragma once
// Headless grid: the one grid model behind every grid window (race card, lists,
// data room, results, deletion dialog). Windows fill it; GridView paints it;
// tests read it directly. Sizes are in twips (15 twips = 1 pixel at 96 dpi).

#include <QColor>
#include <QRect>
#include <QString>
#include <QVector>
#include <memory>
#include <optional>

namespace kelmon {

// A picture is named, not held: list id and 1-based index into a picture list
// (see pictures.h). list 0 means no picture.
struct GridPicture {
    int list = 0;
    int index = 0;
    bool isNull() const { return list == 0 || index <= 0; }
    friend bool operator==(const GridPicture &, const GridPicture &) = default;
};

// The nine positions, plus General (text left, numbers right) for columns.
enum class GridAlign {
    LeftTop, LeftCenter, LeftBottom,
    CenterTop, CenterCenter, CenterBottom,
    RightTop, RightCenter, RightBottom,
    General
};

// How equal neighbours merge. Free: every marked row and column merges on its
// own. RestrictAll: a row merges two cells only where the row above merged
// the same two cells (the first row is free), and a column merges two cells
// only where the column to its left merged the same two rows (the first
// column is free), so merging follows a hierarchy of headings.
enum class GridMerge { Never, Free, RestrictAll };

class GridModel {
public:
    GridModel();
    ~GridModel();
    GridModel(const GridModel &) = delete;
    GridModel &operator=(const GridModel &) = delete;

    // Shape. Setting rows and columns to 0 discards every cell and format.
    int rows() const;
    int cols() const;
    void setRows(int rows);            // keeps existing cells of kept rows
    void setCols(int cols);            // keeps existing cells of kept columns
    int fixedRows() const;
    int fixedCols() const;
    void setFixedRows(int n);
    void setFixedCols(int n);
    // Whether the keys may move the current cell into the fixed columns (as
    // into body columns), for a grid whose fixed columns are cells a user
    // acts on; off by default, and reset() turns it off. Fixed rows stay out
    // of the keys' reach either way.
    bool keysEnterFixedCols() const;
    void setKeysEnterFixedCols(bool on);
    void reset();                      // rows = cols = 0, fixed = 0, no merging, current cell 0,0

    // Text of a cell; may hold line breaks. Out-of-range reads give "".
    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);

    // Sizes in twips; 0 hides the column or row. Setting -1 restores the
    // default; the getters always give the size in force.
    static constexpr int DefaultColWidth = 960;
    static constexpr int DefaultRowHeight = 240;
    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    GridAlign colAlignment(int col) const;
    void setColAlignment(int col, GridAlign align);

    // Per-cell formats; unset values fall back to the view's defaults.
    std::optional<QRgb> backColor(int row, int col) const;
    void setBackColor(int row, int col, QRgb rgb);
    std::optional<QRgb> foreColor(int row, int col) const;
    void setForeColor(int row, int col, QRgb rgb);
    std::optional<GridAlign> cellAlignment(int row, int col) const;
    void setCellAlignment(int row, int col, GridAlign align);
    QString fontName(int row, int col) const;       // "" = default
    void setFontName(int row, int col, const QString &name);
    double fontSize(int row, int col) const;        // 0 = default, points
    void setFontSize(int row, int col, double points);
    bool fontBold(int row, int col) const;
    void setFontBold(int row, int col, bool bold);
    GridPicture picture(int row, int col) const;
    void setPicture(int row, int col, GridPicture picture);
    GridAlign pictureAlignment(int row, int col) const;    // LeftCenter unless set
    void setPictureAlignment(int row, int col, GridAlign align);

    // Free merging: equal, non-empty neighbouring texts merge along rows marked
    // with setMergeRow and along columns marked with setMergeCol, never across
    // the fixed/non-fixed boundary.
    bool mergeCells() const;
    void setMergeCells(bool on);
    bool mergeRow(int row) const;
    void setMergeRow(int row, bool on);
    bool mergeCol(int col) const;
    void setMergeCol(int col, bool on);
    // The merged range holding (row, col): a 1x1 rectangle when not merged.
    // QRect(x = col, y = row, width = columns, height = rows).
    //
    // Where a marked row and a marked column meet, ranges stay rectangular:
    // cells first merge across within their row; two such runs, one above the
    // other, then merge down when they cover the same columns, hold the same
    // text and every column they cover is marked. A range is drawn once, with
    // the text, formats and picture of its top-left cell.
    QRect mergedRange(int row, int col) const;
    GridMerge mergeMode() const;
    void setMergeMode(GridMerge mode);   // setMergeCells(true) is Free

    // Current cell. Out-of-range values are clamped into the grid.
    int row() const;
    int col() const;
    void setRow(int row);
    void setCol(int col);

    // Stable sort of the non-fixed rows by the text of one column: numbers as
    // numbers (before texts), otherwise text. Whole rows move with their
    // formats and pictures (row height and row merge mark included); fixed
    // rows stay. Descending reverses the whole order (texts, then numbers from
    // the largest); equal keys keep their order either way.
    void sort(int col, bool ascending = true);

    // The value of a text as the sort and the General alignment see it: the
    // whole text, blanks around it ignored, read as a decimal number (an
    // optional sign, thousands commas, a fraction); nothing otherwise.
    static std::optional<double> numberValue(const QString &text);

    // Grows with every change, so a view can tell whether it is up to date.
    quint64 revision() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Sets a one-line text in a cell of the default Gothic. A text wider than its
// column gets the Gothic a step smaller, or two steps where one is not
// enough (fittedPoints), so it shows whole.
void setFittedText(GridModel &grid, int row, int col, const QString &text);

} // namespace kelmon
