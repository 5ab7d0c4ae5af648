#pragma once
// Labels placed by their design rectangle in twips, in the font and colour
// the window gives them.

#include <QFont>
#include <QList>
#include <QRect>
#include <QRgb>
#include <QString>
#include <optional>

class QLabel;
class QWidget;

namespace kelmon::lists {

// A label at rect (pixels) in the parent. A label designed for one line
// widens to its text; a taller one wraps its text and grows downwards where
// the font's lines need more height than the design gives them, so no text
// is clipped.
QLabel *placeLabel(QWidget *parent, const QString &text, const QRect &rect, const QFont &font,
                   std::optional<QRgb> color = std::nullopt, std::optional<QRgb> background = std::nullopt);

// The width of a one-line label: its design width, or more where the text
// in its font (its advance, or its ink where an italic leans further) is wider.
int oneLineWidth(const QFont &font, const QString &text, int designWidth);
// Writes a one-line label's text and widens the label where the text needs it.
void setOneLineText(QLabel *label, const QString &text, int designWidth);

// Moves rows of widgets (each row side by side from left to right, the rows
// top to bottom) down where a row above has grown into them, and a widget
// right where its left neighbour in the row has grown into it.
void stackLabels(const QList<QList<QWidget *>> &rows);

} // namespace kelmon::lists
