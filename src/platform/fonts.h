#pragma once
// The windows name the fonts of the system they were designed on. This table
// maps each of those names to fonts installed here; a name not in the table is
// passed through, and Qt's own font matching picks a substitute.

#include <QFont>
#include <QString>
#include <QStringList>

namespace kelmon {

// The font of grids and labels when a window names none.
inline const QString DefaultFontName = QStringLiteral("ＭＳ ゴシック");
inline constexpr double DefaultFontPoints = 9.0;

// Installed families to use for a font name, best first.
QStringList fontFamilies(const QString &name);

// A font for a name, a size in points and a weight. The size is set in pixels
// at 96 dpi so that text keeps its proportion to sizes given in twips.
// An empty name means DefaultFontName, a size of 0 DefaultFontPoints.
QFont makeFont(const QString &name, double points = 0, bool bold = false);

} // namespace kelmon
