#include "support/textfit.h"

#include "platform/fonts.h"
#include "platform/gridmodel.h"
#include "platform/pictures.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace kelmon::test {

namespace {

// The lines a box shows of a text: split at line breaks and, when wrapping,
// at the box's width as Qt's own text drawing breaks them.
QStringList layoutLines(const QFont &font, int width, const QString &text, bool wrap)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = plain.split(QLatin1Char('\n'));
    if (!wrap)
        return paragraphs;
    QStringList lines;
    for (const QString &paragraph : paragraphs) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            lines << QString();
    }
    return lines;
}

QString trimmedEnd(QString s)
{
    while (!s.isEmpty() && (s.back() == QLatin1Char(' ') || s.back() == QChar(0x3000)))
        s.chop(1);
    return s;
}

// The text a button or label shows: "&&" is one ampersand, a single '&' marks
// the mnemonic and is not drawn.
QString shownText(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

QString nameOf(const QObject *o)
{
    if (!o->objectName().isEmpty())
        return o->objectName();
    const QObject *parent = o->parent();
    const int index = parent ? int(parent->children().indexOf(const_cast<QObject *>(o))) : 0;
    return QStringLiteral("%1#%2").arg(QString::fromLatin1(o->metaObject()->className())).arg(index);
}

QString problem(const QString &window, const QString &widget, const QString &what, const QString &text)
{
    const QString at = widget.startsWith(u'[') ? window + widget : window + u'/' + widget;
    QString oneLine = text;
    oneLine.replace(QLatin1Char('\n'), QLatin1String("\\n")).replace(QLatin1Char('\r'), QString());
    return QStringLiteral("%1: %2 \"%3\"").arg(at, what, oneLine);
}

// "needs WxH, has WxH" for a text placed in a box.
QString sizes(const TextPlacement &t, const QRect &box)
{
    return QStringLiteral("ink %1,%2 %3x%4 in box %5,%6 %7x%8")
        .arg(t.ink.left()).arg(t.ink.top()).arg(t.ink.width()).arg(t.ink.height())
        .arg(box.left()).arg(box.top()).arg(box.width()).arg(box.height());
}

bool shown(const QWidget *w, const QWidget *root)
{
    for (const QWidget *p = w; p; p = p->parentWidget()) {
        if (p->isHidden())
            return false;
        if (p == root)
            return true;
    }
    return true;
}

// A problem when the text does not fit its box, else empty.
QString fitProblem(const QFont &font, const QRect &box, int align, const QString &text, bool wrap)
{
    if (trimmedEnd(text).isEmpty())
        return {};
    const TextPlacement t = placeText(font, box, align, text, wrap);
    if (!t.fitsWidth)
        return QStringLiteral("too wide, ") + sizes(t, box);
    // The outermost row and column of pixels around a glyph is the faint
    // edge of its smoothing; losing it loses nothing of the shape.
    if (!box.adjusted(-1, -1, 1, 1).contains(t.ink))
        return QStringLiteral("cut, ") + sizes(t, box);
    return {};
}

Qt::Alignment qtAlignment(GridAlign align, bool number)
{
    if (align == GridAlign::General)
        return Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft);
    static const Qt::Alignment table[] = {
        Qt::AlignLeft | Qt::AlignTop,    Qt::AlignLeft | Qt::AlignVCenter,    Qt::AlignLeft | Qt::AlignBottom,
        Qt::AlignHCenter | Qt::AlignTop, Qt::AlignHCenter | Qt::AlignVCenter, Qt::AlignHCenter | Qt::AlignBottom,
        Qt::AlignRight | Qt::AlignTop,   Qt::AlignRight | Qt::AlignVCenter,   Qt::AlignRight | Qt::AlignBottom,
    };
    return table[int(align)];
}

} // namespace

TextPlacement placeText(const QFont &font, const QRect &box, int alignment, const QString &text, bool wrap)
{
    const QFontMetrics fm(font);
    TextPlacement out;
    const QStringList lines = layoutLines(font, box.width(), text, wrap);
    out.lines = int(lines.size());
    const int lineHeight = fm.height();
    const int spacing = fm.lineSpacing();
    const int block = (out.lines - 1) * spacing + lineHeight;
    int top = box.top();
    // As Qt centres: half a pixel left over goes up.
    if (alignment & Qt::AlignVCenter)
        top += int(std::floor((box.height() - block) / 2.0));
    else if (alignment & Qt::AlignBottom)
        top += box.height() - block;
    QRect ink;
    for (int i = 0; i < out.lines; ++i) {
        const QString line = trimmedEnd(lines[i]);
        if (line.isEmpty())
            continue;
        const int advance = fm.horizontalAdvance(line);
        if (advance > box.width())
            out.fitsWidth = false;
        int left = box.left();
        if (alignment & Qt::AlignHCenter)
            left += (box.width() - advance) / 2;
        else if (alignment & Qt::AlignRight)
            left += box.width() - advance;
        const int baseline = top + i * spacing + fm.ascent();
        QRect glyphs = fm.tightBoundingRect(line).translated(left, baseline);
        // Brackets and descenders that reach below the ideographs' box may
        // lose their tips in a low row; the box of the characters must show.
        const QRect em = fm.tightBoundingRect(QStringLiteral("国優勝")).translated(left, baseline);
        glyphs.setTop(std::max(glyphs.top(), em.top()));
        glyphs.setBottom(std::min(glyphs.bottom(), em.bottom()));
        // The advance, not the ink, is what a neighbour may start at.
        glyphs.setLeft(std::min(glyphs.left(), left));
        glyphs.setRight(std::max(glyphs.right(), left + advance - 1));
        ink |= glyphs;
    }
    out.ink = ink;
    return out;
}

QStringList gridFitProblems(const GridView *view, const QString &where)
{
    QStringList out;
    const GridModel *m = view->model();
    if (!m)
        return out;
    QVector<int> x{0}, y{0};
    for (int c = 0; c < m->cols(); ++c)
        x << x.last() + twipsToPixels(m->colWidth(c));
    for (int r = 0; r < m->rows(); ++r)
        y << y.last() + twipsToPixels(m->rowHeight(r));
    const QFont base = view->defaultFont();
    for (int r = 0; r < m->rows(); ++r) {
        for (int c = 0; c < m->cols(); ++c) {
            const QRect range = m->mergedRange(r, c);
            if (range.top() != r || range.left() != c)
                continue;
            const int right = std::min(range.right() + 1, m->cols());
            const int bottom = std::min(range.bottom() + 1, m->rows());
            // The grid line takes the last pixel column and row of a cell.
            const QRect inner(0, 0, x[right] - x[c] - 1, y[bottom] - y[r] - 1);
            const QString text = m->text(r, c);
            if (inner.width() <= 2 || inner.height() <= 0 || trimmedEnd(text).trimmed().isEmpty())
                continue;
            QFont font = base;
            if (!m->fontName(r, c).isEmpty())
                font.setFamilies(fontFamilies(m->fontName(r, c)));
            if (m->fontSize(r, c) > 0)
                font.setPixelSize(pointsToPixels(m->fontSize(r, c)));
            font.setBold(m->fontBold(r, c));
            const QFontMetrics fm(font);
            const GridAlign align = m->cellAlignment(r, c).value_or(m->colAlignment(c));
            const int qtAlign = qtAlignment(align, GridModel::numberValue(text).has_value());
            const QString cell = QStringLiteral("[%1,%2]").arg(r).arg(c);
            // As the grid draws it: one line, or lines of a pitch of the
            // font's pixel size broken at the cell's width.
            const int pitch = font.pixelSize() + 1;
            const bool breaks = text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
            const bool tooWide = fm.horizontalAdvance(text) > inner.width() - 2;
            if (!breaks && !(tooWide && inner.height() >= 2 * pitch)) {
                if (fm.horizontalAdvance(trimmedEnd(text)) > inner.width())
                    out << problem(where, cell, QStringLiteral("too wide for %1 px").arg(inner.width()), text);
                else if (const QString p = fitProblem(font, inner, qtAlign, text, false); !p.isEmpty())
                    out << problem(where, cell, p, text);
                continue;
            }
            QStringList lines;
            QString plain = text;
            plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
            for (const QString &paragraph : plain.split(QLatin1Char('\n')))
                lines << (paragraph.isEmpty() ? QStringList{QString()}
                                              : wrapCellLine(paragraph, fm, inner.width()));
            const int shownLines = int(lines.size());
            // Lines close up to the font's pixel size to fit a low cell.
            const int linePitch = std::min(pitch, std::max(font.pixelSize(), inner.height() / std::max(1, shownLines)));
            int y = inner.top();
            if (qtAlign & Qt::AlignVCenter)
                y += (inner.height() - shownLines * linePitch) / 2;
            else if (qtAlign & Qt::AlignBottom)
                y += inner.height() - shownLines * linePitch;
            const int horizontal = (qtAlign & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
            TextPlacement all;
            for (const QString &line : lines) {
                const TextPlacement t = placeText(font, QRect(inner.left(), y, inner.width(), linePitch), horizontal,
                                                  line, false);
                all.ink |= t.ink;
                all.fitsWidth = all.fitsWidth && t.fitsWidth;
                y += linePitch;
            }
            if (!all.fitsWidth || !inner.adjusted(-1, -1, 1, 1).contains(all.ink))
                out << problem(where, cell,
                               QStringLiteral("%1 lines of %2 px (shown as \"%3\"), %4")
                                   .arg(shownLines).arg(pitch).arg(lines.join(QLatin1Char('|')), sizes(all, inner)),
                               text);
        }
    }
    return out;
}

QStringList textFitProblems(const QWidget *root, const QString &window)
{
    QStringList out;
    QList<const QWidget *> widgets{root};
    for (QWidget *w : root->findChildren<QWidget *>())
        widgets << w;
    for (const QWidget *w : widgets) {
        if (!shown(w, root))
            continue;
        const QString name = nameOf(w);
        if (const auto *label = qobject_cast<const QLabel *>(w)) {
            if (label->textFormat() == Qt::RichText || label->text().isEmpty())
                continue;
            const QRect box = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                             -label->margin());
            const QString text = label->buddy() ? shownText(label->text()) : label->text();
            if (const QString p = fitProblem(label->font(), box, int(label->alignment()), text, label->wordWrap());
                !p.isEmpty())
                out << problem(window, name, p, label->text());
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
            if (button->text().isEmpty())
                continue;
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            option.icon = button->icon();
            option.iconSize = button->iconSize();
            QStyle::SubElement element = QStyle::SE_PushButtonContents;
            int align = Qt::AlignCenter;
            if (qobject_cast<const QCheckBox *>(w)) {
                element = QStyle::SE_CheckBoxContents;
                align = Qt::AlignLeft | Qt::AlignVCenter;
            } else if (qobject_cast<const QRadioButton *>(w)) {
                element = QStyle::SE_RadioButtonContents;
                align = Qt::AlignLeft | Qt::AlignVCenter;
            } else if (!qobject_cast<const QPushButton *>(w)) {
                continue;   // tool buttons show pictures
            }
            QRect box = button->style()->subElementRect(element, &option, button);
            if (!button->icon().isNull())
                box.setLeft(box.left() + button->iconSize().width() + 4);
            if (const QString p = fitProblem(button->font(), box, align, shownText(button->text()), false);
                !p.isEmpty())
                out << problem(window, name, p, button->text());
        } else if (const auto *combo = qobject_cast<const QComboBox *>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            option.subControls = QStyle::SC_All;
            QRect field =
                combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            const QRect arrow =
                combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, combo);
            if (arrow.width() < 8 || arrow.height() < 8 || !combo->rect().contains(arrow))
                out << problem(window, name, QStringLiteral("arrow %1x%2 hard to see").arg(arrow.width())
                                                 .arg(arrow.height()), combo->currentText());
            for (int i = 0; i < combo->count(); ++i) {
                QRect box = field;
                if (!combo->itemIcon(i).isNull())
                    box.setLeft(box.left() + combo->iconSize().width() + 4);
                // A picture that fills the field is all the item shows.
                if (box.width() <= 0)
                    continue;
                if (const QString p =
                        fitProblem(combo->font(), box, Qt::AlignLeft | Qt::AlignVCenter, combo->itemText(i), false);
                    !p.isEmpty())
                    out << problem(window, name, p, combo->itemText(i));
            }
        } else if (const auto *grid = qobject_cast<const GridView *>(w)) {
            out << gridFitProblems(grid, window + u'/' + name);
            // A grid a few pixels larger than its view scrolls for nothing
            // and hides its last row or column behind the scroll bar.
            const QImage all = grid->renderAll();
            const QSize view = grid->maximumViewportSize();
            for (const int over : {all.width() - view.width(), all.height() - view.height()})
                if (over > 0 && over <= 8)
                    out << QStringLiteral("%1/%2: %3 pixels larger than its view (%4x%5 in %6x%7)")
                               .arg(window, name).arg(over).arg(all.width()).arg(all.height())
                               .arg(view.width()).arg(view.height());
        }
    }
    return out;
}

QStringList coveredLabels(const QWidget *root, const QString &window)
{
    QStringList out;
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (!shown(label, root) || label->text().trimmed().isEmpty() || label->textFormat() == Qt::RichText)
            continue;
        const QWidget *parent = label->parentWidget();
        if (!parent)
            continue;
        const TextPlacement t =
            placeText(label->font(), label->contentsRect(), int(label->alignment()), label->text(), label->wordWrap());
        // The faint edge of the glyphs may touch a neighbour, unless the
        // neighbour paints a background over it.
        const QRect ink = t.ink.translated(label->pos());
        const QRect core = ink.adjusted(1, 1, -1, -1);
        // A window's own edge keeps a few pixels of room around its texts.
        const int room = parent->isWindow() ? 4 : 0;
        if (!parent->rect().adjusted(room, room, -room, -room).contains(core))
            out << problem(window, nameOf(label), QStringLiteral("runs past the edge of %1").arg(nameOf(parent)),
                           label->text());
        const QObjectList siblings = parent->children();
        for (qsizetype i = siblings.indexOf(const_cast<QLabel *>(label)) + 1; i < siblings.size(); ++i) {
            const auto *above = qobject_cast<const QWidget *>(siblings[i]);
            if (!above || above->isHidden() || above->isWindow()
                || !above->geometry().intersects(above->autoFillBackground() ? ink : core))
                continue;
            const auto *copy = qobject_cast<const QLabel *>(above);
            if (copy && copy->text() == label->text())
                continue;   // a shadow copy
            // A label without text, picture or background draws nothing.
            if (copy && copy->text().trimmed().isEmpty() && copy->pixmap().isNull()
                && !copy->autoFillBackground() && copy->frameShape() == QFrame::NoFrame)
                continue;
            out << problem(window, nameOf(label), QStringLiteral("under %1").arg(nameOf(above)), label->text());
        }
    }
    return out;
}

QStringList windowTextProblems(const QWidget *root, const QString &window)
{
    return textFitProblems(root, window) + coveredLabels(root, window);
}

} // namespace kelmon::test
