#pragma once
// The windows name the fonts of the system they were designed on. This table
// maps each of those names to fonts installed here; a name not in the table is
// passed through, and Qt's own font matching picks a substitute.

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <initializer_list>

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

// Half-width places a text takes in the fixed-pitch Gothic: one for a
// character of the single-byte range (ASCII, half-width kana), two for any
// other.
int textPlaces(const QString &text);

// The baseline, from the top of a height in pixels, of a line of the font
// centred there by the font's whole line as Qt centres a label's or a cell's
// line (the font's line is taller than its characters).
int centredBaseline(const QFontMetricsF &metrics, int height);

// A one-line label's box grown in height, about its centre, to the font's
// whole line. The font's line is taller than the characters' em, so a label
// as low as its em would cut the feet of its characters, a comma or a
// descender; grown this way, the label shows them and keeps its text where it was.
QRect wholeLineRect(const QRect &rect, const QFont &font);

// The largest of sizes (points, largest first) at which a one-line text
// fits a width in pixels: a full-width character takes the font's pixel
// size, a half-width one half of it rounded up, half-width blanks at the
// text's end no room (an ideographic space there is drawn as wide as a
// character). With a height in pixels (0: any), the text's ink in the Gothic
// must also lie inside that height when its line is centred there
// (centredBaseline): in a low box a comma or a descender may reach past the
// bottom. The last size when none fits.
double fittedPoints(const QString &text, int width, std::initializer_list<double> sizes, int height = 0);

// The same for the Gothic: its default size and the steps below it (8 and 7
// points).
double fittedPoints(const QString &text, int width, int height = 0);

} // namespace kelmon
