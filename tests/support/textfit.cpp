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
#include <QAbstractScrollArea>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRegularExpression>
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

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

// "needs WxH, has WxH" for a text placed in a box.
QString sizes(const TextPlacement &t, const QRect &box)
{
    return QStringLiteral("ink %1 in box %2").arg(rectText(t.ink), rectText(box));
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
QString fitProblem(const QFont &font, const QRect &box, int align, const QString &text, bool wrap,
                   bool wholeInk = false)
{
    if (trimmedEnd(text).isEmpty())
        return {};
    const TextPlacement t = placeText(font, box, align, text, wrap, wholeInk);
    if (!t.fitsWidth)
        return QStringLiteral("too wide, ") + sizes(t, box);
    // The outermost row and column of pixels around a glyph is the faint
    // edge of its smoothing; losing it loses nothing of the shape. Ink
    // measured by its pixels has no such edge.
    const int edge = wholeInk ? 0 : 1;
    if (!box.adjusted(-1, -edge, 1, edge).contains(t.ink))
        return QStringLiteral("cut, ") + sizes(t, box);
    return {};
}

} // namespace

// The advance, not the ink, is what a neighbour may start at.
QRect withAdvance(QRect ink, const QFontMetrics &fm, const QString &line, int left)
{
    ink.setLeft(std::min(ink.left(), left));
    ink.setRight(std::max(ink.right(), left + fm.horizontalAdvance(line) - 1));
    return ink;
}

QRect glyphInk(const QFontMetrics &fm, const QString &line, QPoint origin, bool whole)
{
    QRect glyphs = fm.tightBoundingRect(line).translated(origin);
    // Brackets and descenders that reach below the ideographs' box may
    // lose their tips in a low row; the box of the characters must show.
    const QRect em = whole ? glyphs : fm.tightBoundingRect(QStringLiteral("国優勝")).translated(origin);
    glyphs.setTop(std::max(glyphs.top(), em.top()));
    glyphs.setBottom(std::min(glyphs.bottom(), em.bottom()));
    return withAdvance(glyphs, fm, line, origin.x());
}

QRect darkPixels(const QImage &image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

namespace {

// The pixels more than half inked (fainter ones are the smoothing's edge) by
// a line drawn alone, black on white as the grid draws, its baseline starting
// at origin as the painter puts it; at least its advance across.
QRect drawnInk(const QFont &font, const QString &line, QPointF origin)
{
    const QFontMetrics fm(font);
    const QPoint whole(int(std::floor(origin.x())), int(std::floor(origin.y())));
    const QRect room = fm.boundingRect(line).adjusted(-4, -4, 4, 4);
    QImage image(room.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(origin - whole - room.topLeft(), line);
    painter.end();
    return withAdvance(darkPixels(image).translated(room.topLeft() + whole), fm, line, qRound(origin.x()));
}

} // namespace

TextPlacement placeText(const QFont &font, const QRect &box, int alignment, const QString &text, bool wrap, bool wholeInk)
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
        ink |= wholeInk ? drawnInk(font, line, QPointF(left, baseline)) : glyphInk(fm, line, QPoint(left, baseline));
    }
    out.ink = ink;
    return out;
}

namespace {

// A paint device that draws nothing and keeps every run of text painted on
// it, with the font, pen and clip the painter held for it.
struct DrawnText {
    QString text;
    QFont font;
    QPointF origin;   // left end of the baseline
    QRect clip;
    QColor pen;
};

class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(QSize size) : size_(size) {}
    QPaintEngine *paintEngine() const override { return &engine_; }
    const QList<DrawnText> &texts() const { return engine_.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return size_.width() * 254 / 960;
        case PdmHeightMM: return size_.height() * 254 / 960;
        case PdmNumColors: return 0x7fffffff;
        case PdmDepth: return 32;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(AllFeatures) {}
        QList<DrawnText> texts;
        QRect area;
        bool begin(QPaintDevice *device) override
        {
            area = QRect(0, 0, device->width(), device->height());
            return true;
        }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState &) override {}
        // Every shape comes down to these.
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            const QPainter *painter = this->painter();
            const QTransform &t = painter->transform();
            QRect clip = area;
            if (painter->hasClipping())
                clip = t.mapRect(painter->clipBoundingRect()).toAlignedRect() & area;
            texts.append({item.text(), item.font(), t.map(p), clip, painter->pen().color()});
        }
    };
    QSize size_;
    mutable Engine engine_;
};

QString withoutBlanks(QString s)
{
    s.remove(QRegularExpression(QStringLiteral("[\\s\\x{3000}]")));
    return s;
}

} // namespace

QStringList gridFitProblems(const GridView *view, const QString &where, bool wholeInk)
{
    QStringList out;
    const GridModel *m = view->model();
    if (!m)
        return out;
    // What the view draws, run by run, with the clip it gave each.
    TextRecorder recorder(view->fullSize());
    {
        QPainter painter(&recorder);
        view->renderAll(painter);
    }
    QVector<int> x{0}, y{0};
    for (int c = 0; c < m->cols(); ++c)
        x << x.last() + twipsToPixels(m->colWidth(c));
    for (int r = 0; r < m->rows(); ++r)
        y << y.last() + twipsToPixels(m->rowHeight(r));
    auto indexOf = [](const QVector<int> &edges, int pos) {
        const int i = int(std::upper_bound(edges.begin(), edges.end(), pos) - edges.begin()) - 1;
        return i < edges.size() - 1 ? i : -1;
    };
    // The grid line takes the last pixel column and row of a cell.
    auto innerOf = [&](const QRect &range) {
        const int right = std::min(range.right() + 1, m->cols()), bottom = std::min(range.bottom() + 1, m->rows());
        return QRect(x[range.left()], y[range.top()], x[right] - x[range.left()] - 1, y[bottom] - y[range.top()] - 1);
    };
    // Texts drawn in each cell (keyed by the top-left cell of its range),
    // in the order drawn.
    QHash<QPoint, QString> drawn;
    for (const DrawnText &t : recorder.texts()) {
        const QString line = trimmedEnd(t.text);
        const QString run = line.isEmpty() ? t.text : line;
        const QRect ink = wholeInk && !line.trimmed().isEmpty() ? drawnInk(t.font, run, t.origin)
                                                                : glyphInk(QFontMetrics(t.font), run, t.origin.toPoint());
        // The cell a run belongs to holds the middle of what shows of it.
        const QRect seen = ink & t.clip;
        const QPoint centre = (seen.isEmpty() ? ink : seen).center();
        const int r0 = indexOf(y, centre.y());
        const int c0 = indexOf(x, centre.x());
        if (r0 < 0 || c0 < 0) {
            out << problem(where, QString(), QStringLiteral("drawn outside every cell"), t.text);
            continue;
        }
        const QRect range = m->mergedRange(r0, c0);
        const int r = range.top(), c = range.left();
        // The outline a cell's text gets over part of a picture is drawn in
        // the cell's colour; the text itself in its own colour or black.
        const QColor pen = m->foreColor(r, c) ? QColor(*m->foreColor(r, c)) : QColor(Qt::black);
        if (t.pen != pen)
            continue;
        const QRect inner = innerOf(range);
        drawn[QPoint(c, r)] += t.text;
        if (line.trimmed().isEmpty())
            continue;
        // The outermost row and column of pixels around a glyph is the faint
        // edge of its smoothing; losing it loses nothing of the shape. Ink
        // measured by its pixels has no such edge.
        const int edge = wholeInk ? 0 : 1;
        const QRect shown = (t.clip & inner).adjusted(-1, -edge, 1, edge);
        if (!shown.contains(ink))
            out << problem(where, QStringLiteral("[%1,%2]").arg(r).arg(c),
                           QStringLiteral("cut, \"%1\" (%2 px) ink %3 in cell %4, clip %5")
                               .arg(line).arg(t.font.pixelSize()).arg(rectText(ink), rectText(inner), rectText(t.clip)),
                           m->text(r, c));
    }
    // Every character of a cell's text is drawn.
    for (int r = 0; r < m->rows(); ++r) {
        for (int c = 0; c < m->cols(); ++c) {
            const QRect range = m->mergedRange(r, c);
            if (range.top() != r || range.left() != c)
                continue;
            if (const QRect inner = innerOf(range); inner.width() <= 2 || inner.height() <= 0)
                continue;
            const QString text = withoutBlanks(m->text(r, c));
            if (!text.isEmpty() && withoutBlanks(drawn.value(QPoint(c, r))) != text)
                out << problem(where, QStringLiteral("[%1,%2]").arg(r).arg(c),
                               QStringLiteral("drawn as \"%1\"").arg(drawn.value(QPoint(c, r))), m->text(r, c));
        }
    }
    return out;
}

QStringList paintedTextProblems(QWidget *widget, const QString &where)
{
    QStringList out;
    TextRecorder recorder(widget->size());
    QPainter painter(&recorder);
    widget->render(&painter);
    painter.end();
    for (const DrawnText &t : recorder.texts()) {
        const QString line = trimmedEnd(t.text);
        const QRect ink = drawnInk(t.font, line, t.origin);
        if (!line.trimmed().isEmpty() && !t.clip.contains(ink))
            out << problem(where, QString(),
                           QStringLiteral("cut (%1 px), ink %2, clip %3")
                               .arg(t.font.pixelSize()).arg(rectText(ink), rectText(t.clip)),
                           t.text);
    }
    return out;
}

QStringList textFitProblems(const QWidget *root, const QString &window, bool wholeInk)
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
            if (const QString p =
                    fitProblem(label->font(), box, int(label->alignment()), text, label->wordWrap(), wholeInk);
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
                if (!combo->itemIcon(i).isNull()) {
                    // The item's picture is drawn at the icon size, clipped to the field.
                    const QSize icon = combo->iconSize();
                    if (icon.boundedTo(field.size()) != icon)
                        out << problem(window, name, QStringLiteral("picture %1x%2 cut in a field of %3")
                                           .arg(icon.width()).arg(icon.height()).arg(rectText(field)), combo->itemText(i));
                    box.setLeft(box.left() + icon.width() + 4);
                }
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
        // In a scrolling area the lines below the view are reached by
        // scrolling; its width must still hold every line.
        const auto *scroller = qobject_cast<const QAbstractScrollArea *>(parent->parentWidget());
        const bool scrolled = scroller && scroller->viewport() == parent;
        const QRect edge = parent->rect().adjusted(room, room, -room, -room);
        if (scrolled ? core.left() < edge.left() || core.right() > edge.right() : !edge.contains(core))
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
    return textFitProblems(root, window, true) + coveredLabels(root, window);
}

} // namespace kelmon::test
