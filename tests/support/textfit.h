#pragma once
// Whether the texts of a window can be read whole: every label, button, check
// box, combo box and grid cell is measured with the font it draws with, and
// the text's advance and ink must fit the rectangle the widget (or cell) gives
// it; a label's text must not run past its parent's edge nor lie under a
// widget stacked above it. Each problem is one line naming the window, the
// widget (or grid cell) and the text.

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <QStringList>

class QImage;
class QWidget;

namespace kelmon {
class GridView;
}

namespace kelmon::test {

// The rectangle a text's ink takes when laid out in box with a Qt alignment
// (lines split at '\n', or wrapped at the box's width), and whether every
// line's advance fits the box's width; with wholeInk, the pixels each line
// inks, drawn alone, its commas and descenders whole.
struct TextPlacement {
    QRect ink;
    bool fitsWidth = true;
    int lines = 0;
};
TextPlacement placeText(const QFont &font, const QRect &box, int alignment, const QString &text, bool wrap,
                        bool wholeInk = false);

// The ink of one line of text drawn with its baseline starting at origin:
// the characters' box (the tips of brackets and descenders below the
// ideographs may go, unless whole), and at least the line's advance across.
QRect glyphInk(const QFontMetrics &fm, const QString &line, QPoint origin, bool whole = false);

// The rectangle of an image's pixels more than half dark (fainter ones are
// the edge of the glyphs' smoothing); empty when there are none.
QRect darkPixels(const QImage &image);

// Problems of the labels, buttons, check boxes and combo boxes below root
// (root included), and of the cells of the grid views among them. Only
// widgets shown count (a hidden panel's texts are not read). With wholeInk,
// the labels' texts are measured by the pixels they ink.
QStringList textFitProblems(const QWidget *root, const QString &window, bool wholeInk = false);

// Problems of the cells of one grid: the whole grid is painted by the view
// into a recording device, and every run of text it draws must lie whole in
// its cell and in the clip the view gave it, and every character of a cell's
// text must be drawn; every cell of a column and row with a size counts,
// scrolled into view or not; with wholeInk, descenders' tips too.
QStringList gridFitProblems(const GridView *view, const QString &where, bool wholeInk = false);

// Problems of the texts a widget paints itself: each run of text, measured
// by the pixels it inks, must lie whole in the clip it was drawn with and in
// the widget.
QStringList paintedTextProblems(QWidget *widget, const QString &where);

// Labels whose text lies partly under a visible sibling stacked above them,
// or past their parent's edge (closer than 4 pixels to a window's edge). A
// sibling label with the same text is the label's shadow copy and does not
// count.
QStringList coveredLabels(const QWidget *root, const QString &window);

// Every problem of a window: its texts, labels' measured by the pixels they
// ink (commas and descenders whole), and its covered labels.
QStringList windowTextProblems(const QWidget *root, const QString &window);

} // namespace kelmon::test
