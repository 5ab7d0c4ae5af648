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
    void reset();                      // rows = cols = 0, fixed = 0, no merging, current cell 0,0

    // Text of a cell; may hold line breaks. Out-of-range reads give "".
    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);

    // Sizes in twips; 0 hides the column or row. -1 = default.
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
    GridAlign pictureAlignment(int row, int col) const;
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
    QRect mergedRange(int row, int col) const;

    // Current cell.
    int row() const;
    int col() const;
    void setRow(int row);
    void setCol(int col);

    // Stable sort of the non-fixed rows by the text of one column: numbers as
    // numbers (before texts), otherwise text. Whole rows move with their
    // formats and pictures; fixed rows stay.
    void sort(int col, bool ascending = true);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace kelmon
