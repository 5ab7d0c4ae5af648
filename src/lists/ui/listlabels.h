#pragma once
// Labels placed by their design rectangle in twips, in the font and colour
// the window gives them.

#include <QFont>
#include <QRect>
#include <QRgb>
#include <QString>
#include <optional>

class QLabel;
class QWidget;

namespace kelmon::lists {

// A label at rect (pixels) in the parent. A text wider than the rectangle
// wraps; the rectangle grows downwards where the text needs more height than
// the design gives it, so no text is clipped.
QLabel *placeLabel(QWidget *parent, const QString &text, const QRect &rect, const QFont &font,
                   std::optional<QRgb> color = std::nullopt, std::optional<QRgb> background = std::nullopt);

} // namespace kelmon::lists
