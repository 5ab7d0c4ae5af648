// What the platform draws: the grid view (presses land on the right cell,
// merged and scrolled, texts stand where their alignment puts them, a model
// that changed under it is never read past its end), the picture lists, the
// message boxes' lines and owners; twips, fitted sizes and nested yields.

#include "download/setupregistry.h"
#include "download/ui/frmpass.h"
#include "platform/fonts.h"
#include "platform/gridmodel.h"
#include "platform/pictures.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/ui/messagebox.h"
#include "platform/yield.h"
#include "support/gridshown.h"
#include "support/textfit.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QScrollArea>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

using namespace kelmon;
using kelmon::test::fillGrid;

Q_DECLARE_METATYPE(kelmon::GridAlign)

namespace {

// Every column 600 twips (40 px), every row 300 twips (20 px).
constexpr int ColPx = 40;
constexpr int RowPx = 20;

void shape(GridModel &m, int rows, int cols, int fixedRows, int fixedCols)
{
    m.reset();
    m.setCols(cols);
    m.setRows(rows);
    m.setFixedRows(fixedRows);
    m.setFixedCols(fixedCols);
    for (int c = 0; c < cols; ++c)
        m.setColWidth(c, ColPx * TwipsPerPixel);
    for (int r = 0; r < rows; ++r)
        m.setRowHeight(r, RowPx * TwipsPerPixel);
}

QPoint centreOf(int row, int col) { return {col * ColPx + ColPx / 2, row * RowPx + RowPx / 2}; }

// The number of lines the label shows at its width, counted by laying out
// its text independently of the box.
int shownLines(const QLabel *label)
{
    int count = 0;
    for (const QString &paragraph : label->text().split(u'\n')) {
        QTextLayout layout(paragraph, label->font());
        layout.beginLayout();
        int n = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine(), ++n)
            line.setLineWidth(label->contentsRect().width());
        layout.endLayout();
        count += std::max(n, 1);
    }
    return count;
}

// The owner of the message box that `show` brings up, closed when seen.
QWidget *ownerOfBox(const std::function<void()> &show)
{
    QPointer<QWidget> owner;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            owner = box->parentWidget();
            box->done(QMessageBox::Ok);
        }
    });
    poll.start(5);
    show();
    return owner;
}

} // namespace

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    void pressSetsCurrentCell_data()
    {
        QTest::addColumn<QPoint>("cell");      // x = col, y = row under the pointer
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("current");   // x = col, y = row expected
        QTest::addColumn<bool>("headingsKeep");   // setHeadingRowsKeepCurrent
        QTest::newRow("plain cell") << QPoint(3, 2) << int(Qt::LeftButton) << QPoint(3, 2) << false;
        QTest::newRow("lower part of a merged column") << QPoint(0, 3) << int(Qt::RightButton) << QPoint(0, 2) << false;
        QTest::newRow("right part of a merged header") << QPoint(3, 0) << int(Qt::RightButton) << QPoint(2, 0) << false;
        // Beside the cells: no press, the current cell stays where it was.
        QTest::newRow("right of the cells") << QPoint(6, 0) << int(Qt::RightButton) << QPoint(3, 5) << false;
        QTest::newRow("below the cells") << QPoint(0, 6) << int(Qt::RightButton) << QPoint(3, 5) << false;
        // Headings that are only headings: the current row stays; a heading
        // of one column, by either button, makes its column current, a group
        // heading over two columns leaves it. The fixed column of a data row
        // is a cell as any other.
        QTest::newRow("heading takes its column") << QPoint(1, 1) << int(Qt::RightButton) << QPoint(1, 5) << true;
        QTest::newRow("heading taken by a left press") << QPoint(2, 1) << int(Qt::LeftButton) << QPoint(2, 5) << true;
        QTest::newRow("heading two rows high") << QPoint(4, 1) << int(Qt::RightButton) << QPoint(4, 5) << true;
        QTest::newRow("heading of the fixed column") << QPoint(0, 0) << int(Qt::RightButton) << QPoint(0, 5) << true;
        QTest::newRow("group heading keeps the column") << QPoint(2, 0) << int(Qt::RightButton) << QPoint(3, 5)
                                                        << true;
        QTest::newRow("fixed column with headings kept") << QPoint(0, 3) << int(Qt::RightButton) << QPoint(0, 2)
                                                         << true;
        // The first data row is no heading: a press on it makes it current.
        QTest::newRow("first data row with headings kept") << QPoint(2, 2) << int(Qt::LeftButton) << QPoint(2, 2)
                                                           << true;
    }
    void pressSetsCurrentCell()
    {
        QFETCH(QPoint, cell);
        QFETCH(int, button);
        QFETCH(QPoint, current);
        QFETCH(bool, headingsKeep);
        GridModel m;
        shape(m, 6, 5, 2, 1);
        m.setMergeCells(true);
        m.setMergeRow(0, true);
        m.setMergeCol(0, true);
        m.setMergeCol(4, true);
        fillGrid(m, {"||title|title|head", "||a|b|head", "mark", "mark", "mark", ""}, 2);
        m.setRow(5);
        m.setCol(3);
        GridView view;
        view.resize(400, 300);
        view.setModel(&m);
        view.setHeadingRowsKeepCurrent(headingsKeep);
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        view.setFocus();
        QCoreApplication::sendPostedEvents();
        QSignalSpy spy(&view, &GridView::cellPressed);
        QTest::mousePress(view.viewport(), Qt::MouseButton(button), {}, centreOf(cell.y(), cell.x()));
        QCOMPARE(QPoint(m.col(), m.row()), current);
        // The screen once the paints the press asked for are done, and no
        // other: the dotted frame stands on the top edge of the current cell
        // and has left the cell current before.
        QCoreApplication::sendPostedEvents();
        const QImage shown = view.screen()->grabWindow(view.winId()).toImage();
        const auto dots = [&](QPoint at) {
            const QPoint edge = view.viewport()->mapTo(&view, centreOf(at.y(), at.x()) - QPoint(ColPx / 2, RowPx / 2));
            int n = 0;
            for (int x = edge.x(); x < edge.x() + ColPx - 1; ++x)
                n += qGray(shown.pixel(x, edge.y())) < 64;
            return n;
        };
        QVERIFY(dots(current) > ColPx / 5);
        if (current != QPoint(3, 5))
            QCOMPARE(dots(QPoint(3, 5)), 0);
        QCOMPARE(spy.size(), cell.x() >= m.cols() || cell.y() >= m.rows() ? 0 : 1);
        if (!spy.isEmpty())
            QCOMPARE((QList<int>{spy[0][0].toInt(), spy[0][1].toInt(), int(spy[0][2].value<Qt::MouseButton>())}),
                     (QList<int>{current.y(), current.x(), button}));
    }

    void pressAfterScrolling()
    {
        // Frozen columns stay where they are; the others move under them.
        GridModel m;
        shape(m, 40, 60, 2, 2);
        m.setColWidth(5, 0);   // a hidden key column
        GridView view;
        view.resize(300, 200);
        view.setModel(&m);
        view.show();
        view.horizontalScrollBar()->setValue(10 * ColPx);
        view.verticalScrollBar()->setValue(10 * RowPx);
        // Pixel column 2 now shows column 2 + 10 + 1: ten columns scrolled
        // away, one of them hidden (zero pixels wide).
        const QPoint pressed[][2] = {{{0, 0}, {0, 0}}, {{2, 1}, {13, 1}}, {{1, 3}, {1, 13}}, {{3, 3}, {14, 13}}};
        for (const auto &[at, lands] : pressed) {
            QTest::mousePress(view.viewport(), Qt::LeftButton, {}, centreOf(at.y(), at.x()));
            QCOMPARE(QPoint(m.col(), m.row()), lands);
        }
    }

    void paintsMergedRangeOnce()
    {
        // A merged range paints with its top-left cell; a hidden column takes no room.
        GridModel m;
        shape(m, 4, 4, 1, 1);
        m.setMergeCells(true);
        m.setMergeRow(0, true);
        fillGrid(m, {"|コース別データ|コース別データ|", "", "", ""}, 1);
        m.setBackColor(0, 1, 0xFFE0C0);
        m.setBackColor(0, 2, 0x0000FF);
        m.setColWidth(3, 0);
        m.setPicture(3, 1, GridPicture{imlraceinfo1, pictures::courseBar(0, 2)});
        GridView view;
        view.setModel(&m);
        const QImage img = view.renderAll();
        QCOMPARE(img.size(), QSize(3 * ColPx, 4 * RowPx));
        QCOMPARE(img.pixel(2 * ColPx + 30, 1) & 0xFFFFFF, 0xFFE0C0u);
        // Without a colour of their own fixed cells are grey, the body white.
        QCOMPARE(img.pixel(centreOf(1, 1)) & 0xFFFFFF, 0xFFFFFFu);
        QVERIFY(qGray(img.pixel(centreOf(1, 0))) < 240);
    }

    // A count over a short bar keeps a line of the cell's white between its
    // glyphs and the bar's edge; over a bar that fills the cell it reads on
    // the bar as it is.
    void countOverItsBar()
    {
        const QRgb bar = 0x78A7F5;
        auto touches = [&](int height) {
            GridModel m;
            shape(m, 1, 1, 0, 0);
            m.setColWidth(0, 330);
            m.setRowHeight(0, 190);
            m.setColAlignment(0, GridAlign::CenterCenter);
            fillGrid(m, {"11"});
            m.setPicture(0, 0, GridPicture{imlraceinfo1, pictures::courseBar(0, height)});
            m.setPictureAlignment(0, 0, GridAlign::CenterBottom);
            GridView view;
            view.setModel(&m);
            const QImage img = view.renderAll();
            int count = 0;
            for (int y = 1; y + 1 < img.height(); ++y)
                for (int x = 1; x + 1 < img.width(); ++x)
                    if (qGray(img.pixel(x, y)) < 96)
                        for (const QPoint n : {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)})
                            count += (img.pixel(n) & 0xFFFFFF) == bar;
            return count;
        };
        QCOMPARE(touches(1), 0);
        QCOMPARE(touches(2), 0);
        QVERIFY(touches(13) > 0);
    }

    void staleOrMissingModel()
    {
        // Shown before a model is set, and painted and pressed after the model
        // changed without modelChanged(): neither may reach past what was laid out.
        GridView view;
        view.resize(200, 100);
        view.show();
        QVERIFY(!view.viewport()->grab().isNull());
        QCOMPARE(view.cellAt(QPoint(5, 5)), QPoint(-1, -1));
        GridModel m;
        shape(m, 2, 2, 0, 0);
        view.setModel(&m);
        fillGrid(m, {"a|a|a|a|a|a", "same|same|same|same|same|same", "", "", "", ""});
        m.setMergeCells(true);
        m.setMergeRow(1, true);
        QVERIFY(!view.viewport()->grab().isNull());
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, centreOf(1, 1));
        QCOMPARE(QPoint(m.col(), m.row()), QPoint(0, 1));
        m.reset();
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, centreOf(1, 1));
        QVERIFY(!view.viewport()->grab().isNull());
        view.modelChanged();
        QCOMPARE(view.renderAll().size(), QSize(1, 1));
    }

    // The width is the widest expected line plus one pixel, measured in the
    // font used, so each case reads the same whatever the font.
    void wrapsBetweenParts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("race, place and seconds") << "5R③54" << QStringList{"5R", "③", "54"};
        QTest::newRow("race not held") << "12R不成立" << QStringList{"12R", "不成", "立"};
        QTest::newRow("decimal number stays whole") << "6.25位" << QStringList{"6.25", "位"};
        QTest::newRow("trailing ideographic blanks") << "5R①\u3000\u3000" << QStringList{"5R", "①"};
    }
    void wrapsBetweenParts()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QFont font;
        font.setPixelSize(12);
        const QFontMetrics metrics(font);
        int width = 0;
        for (const QString &line : lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        QCOMPARE(wrapCellLine(text, metrics, width + 1), lines);
    }

    // A number stands at the right of a cell of general alignment, any other
    // text at the left; a cell's or column's alignment puts it where it says.
    // A centred line whose font's line is taller than its cell is lifted
    // until its ink (the g of ㎏) ends above the row line, and not into the
    // row above: whole in a cell as high as its ink, or a pixel higher.
    void alignment_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cellAlign");   // -1: none
        QTest::addColumn<GridAlign>("colAlign");
        QTest::addColumn<bool>("right");
        QTest::addColumn<int>("spare");       // rows of the cell beyond the text's ink; -1: 20 pixels
        const auto general = GridAlign::General;
        QTest::newRow("number") << "123" << -1 << general << true << -1;
        QTest::newRow("grouped signed number") << "-1,234.5" << -1 << general << true << -1;
        QTest::newRow("text") << "abc" << -1 << general << false << -1;
        QTest::newRow("number with unit") << "5R" << -1 << general << false << -1;
        QTest::newRow("column right") << "abc" << -1 << GridAlign::RightCenter << true << -1;
        QTest::newRow("cell left over column right") << "123" << int(GridAlign::LeftBottom) << GridAlign::RightTop << false
                                                     << -1;
        QTest::newRow("lifted, no row to spare") << "55.5㎏" << -1 << GridAlign::LeftCenter << false << 0;
        QTest::newRow("lifted, a row to spare") << "A型55.5㎏" << -1 << GridAlign::LeftCenter << false << 1;
    }
    void alignment()
    {
        QFETCH(QString, text);
        QFETCH(int, cellAlign);
        QFETCH(GridAlign, colAlign);
        QFETCH(bool, right);
        QFETCH(int, spare);
        // The text in the lower of two rows, under the upper one's line.
        GridModel m;
        shape(m, 2, 1, 0, 0);
        m.setColWidth(0, 200 * TwipsPerPixel);
        if (spare >= 0)   // the grid line takes a pixel of the row
            m.setRowHeight(1, (QFontMetrics(makeFont(DefaultFontName)).tightBoundingRect(text).height() + spare + 1)
                                  * TwipsPerPixel);
        m.setText(1, 0, text);
        m.setColAlignment(0, colAlign);
        if (cellAlign >= 0)
            m.setCellAlignment(1, 0, GridAlign(cellAlign));
        GridView view;
        view.setModel(&m);
        const QImage img = view.renderAll();
        int left = img.width(), rightmost = -1;   // of the dark (text) pixels
        int bottom = -1;                           // of any ink
        for (int y = RowPx; y < img.height() - 1; ++y)
            for (int x = 0; x < img.width() - 1; ++x) {
                if (qGray(img.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    rightmost = std::max(rightmost, x);
                }
                if (img.pixel(x, y) != qRgb(255, 255, 255))
                    bottom = y;
            }
        QVERIFY2(right ? left > 100 && rightmost > 190 : left < 10 && rightmost < 100,
                 qPrintable(QStringLiteral("%1..%2").arg(left).arg(rightmost)));
        QCOMPARE(test::gridFitProblems(&view, QStringLiteral("grid"), true), QStringList());
        if (spare >= 0)   // lifted no further than the ink needs
            QCOMPARE(bottom, img.height() - 2);
    }

    void twips()
    {
        for (const auto &[twips, pixels] : {std::pair{0, 0}, {-1, 0}, {10, 1}, {22, 1}, {23, 2}, {1540, 103}})
            QCOMPARE(twipsToPixels(twips), pixels);
    }

    void yieldDoesNotNest()
    {
        // A handler that runs inside a yield and yields again is turned away;
        // the outer yield still runs the handler.
        int inner = -1;
        QMetaObject::invokeMethod(this, [&] { inner = yieldToEvents() ? 1 : 0; }, Qt::QueuedConnection);
        QVERIFY(yieldToEvents());
        QCOMPARE(inner, 0);
        QVERIFY(yieldToEvents());   // and the guard is released afterwards
    }

    void listSizes_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("count");
        QTest::newRow("race card pictures") << int(imlraceinfo1) << 38;
        QTest::newRow("predictions pictures") << int(imlyosodisp1) << 44;
        QTest::newRow("result pictures") << int(imlracerest1) << 14;
        QTest::newRow("start diagram") << int(imlstartdiagram) << 2;
        QTest::newRow("unknown list") << 99 << 0;
    }
    void listSizes()
    {
        QFETCH(int, list);
        QFETCH(int, count);
        QCOMPARE(pictures::count(list), count);
        for (int i = 1; i <= count; ++i) {
            const QImage img = pictures::image(list, i);
            QVERIFY2(!img.isNull(), qPrintable(QString::number(i)));
            QCOMPARE(img.size(), pictures::size(list, i));
        }
        for (int index : {0, -1, count + 1})
            QVERIFY(pictures::image(list, index).isNull() && !pictures::size(list, index).isValid());
        QVERIFY(pictures::pixmap(GridPicture{}).isNull() && pictures::pixmap(GridPicture{list, count + 1}).isNull());
    }

    void framesShowTheirColour()
    {
        // A corner inside the border shows the frame's colour whatever digit is
        // drawn in the middle: white, black, red, blue, yellow, green.
        const char *roles[] = {"HHH", "LLL", "HLL", "LLH", "HHL", "LHL"};   // high or low red, green, blue
        const auto role = [&roles](int frame, QRgb c) {
            const int channels[] = {qRed(c), qGreen(c), qBlue(c)};
            for (int i = 0; i < 3; ++i)
                if (roles[frame - 1][i] == 'H' ? channels[i] < 0x90 : channels[i] > 0x70)
                    return false;
            return true;
        };
        for (int frame = 1; frame <= 6; ++frame) {
            for (int index : {pictures::frameLarge(frame), pictures::frameSmall(frame)}) {
                const QImage img = pictures::image(imlraceinfo1, index);
                QVERIFY2(role(frame, img.pixel(2, 2)), qPrintable(QStringLiteral("frame %1").arg(frame)));
                // The digit stands out clearly from the frame's colour (black on
                // white and yellow, white on the others); the border is left out.
                int contrast = 0;
                for (int y = 3; y < img.height() - 3; ++y)
                    for (int x = 3; x < img.width() - 3; ++x)
                        contrast = std::max(contrast, std::abs(qGray(img.pixel(x, y)) - qGray(img.pixel(2, 2))));
                QVERIFY2(contrast >= 120, qPrintable(QStringLiteral("frame %1").arg(frame)));
            }
        }
    }

    // A message box's lines are not broken inside words on an 800-pixel screen.
    void messageLinesAreNotBroken()
    {
        const QString plain = QStringLiteral("本ソフトウェアは現在のディスプレイ解像度では起動できません\n\n"
                                             "ディスプレイの解像度を 800×600ピクセル 以上にして下さい\n"
                                             "なお、推奨する解像度は 1024×768ピクセル以上です");
        QMessageBox box(QMessageBox::Information, QStringLiteral("警告です..."), plain, QMessageBox::Ok);
        kelmon::fitTextLines(box);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto *label = box.findChild<QLabel *>("qt_msgbox_label");
        QVERIFY(label);
        QCOMPARE(shownLines(label), int(plain.count(u'\n') + 1));
        QVERIFY(box.frameGeometry().width() <= box.screen()->availableGeometry().width());
    }

    // A report of 48 archives, a line each, taller than the screen: the box
    // and its OK button stay on the screen, the whole text scrolls.
    void longReportFitsTheScreen()
    {
        QStringList lines{"次のデジタル紙面は登録できませんでした", "ファイルは受信フォルダに残してあります", ""};
        for (int i = 10101; i <= 10148; ++i)
            lines << QString("0%1: 圧縮ファイルが壊れています").arg(i).rightJustified(40, u' ');
        QMessageBox box(QMessageBox::Information, QStringLiteral("警告です..."), lines.join(u'\n'), QMessageBox::Ok);
        kelmon::fitTextLines(box);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QRect screen = box.screen()->availableGeometry();
        const QAbstractButton *ok = box.button(QMessageBox::Ok);
        QVERIFY(screen.contains(box.frameGeometry()));
        QVERIFY(screen.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size())));
        const auto *label = box.findChild<QLabel *>("qt_msgbox_label");
        const auto *scroll = box.findChild<QScrollArea *>();
        QCOMPARE(shownLines(label), 51);
        QVERIFY(scroll && label->height() >= 51 * label->fontMetrics().lineSpacing());
        QVERIFY(scroll->verticalScrollBar()->maximum() + scroll->viewport()->height() >= label->height());
    }

    // A box belongs to the dialog open over the main window: the log-in's
    // warning to the log-in, also over another dialog; that dialog's box to
    // it; with none open, to the main window.
    void boxesBelongToTheOpenDialog()
    {
        QTemporaryDir settings;
        setup::setFilePath(settings.filePath("setup.ini"));   // no name or password kept
        QWidget main;
        MessageBoxService boxes(&main);
        setMessageService(&boxes);
        const auto restore = qScopeGuard([] { setMessageService(nullptr), setup::setFilePath(QString()); });
        QDialog other(&main);
        other.setModal(true);
        frmpass logIn;
        logIn.setModal(true);
        for (QWidget *under : {&main, static_cast<QWidget *>(&other)}) {
            logIn.setParent(under, Qt::Dialog);
            under->show();
            logIn.show();
            QCOMPARE(ownerOfBox([&] { logIn.Command2->click(); }), &logIn);   // OK without a user name warns
            QVERIFY(logIn.isVisible());
            logIn.Command1->click();
        }
        QCOMPARE(ownerOfBox([] { messages().question("?", "other", true); }), &other);
        other.hide();
        QCOMPARE(ownerOfBox([] { messages().information("!", "main"); }), &main);
    }

    // A fitted text (full-width, mixed, mostly half-width, blanks at the
    // end) keeps the default size while it fits, then steps to 8 and 7
    // points: at exactly the width a size needs it keeps it, a pixel less steps down.
    void fittedTextSteps()
    {
        GridModel m;
        shape(m, 1, 1, 0, 0);
        for (const QString text : {"ドリーム戦特別選抜", "12R ﾄﾞﾘｰﾑ戦A1", "1R 12.5 6.25秒", "準優5R   "}) {
            // Each character's advance rounded up, never less than drawn; blanks at the end take no room.
            int at9 = 0, at8 = 0, at7 = 0;
            for (const QChar c : text.trimmed())
                for (auto [points, at] : {std::pair{9, &at9}, {8, &at8}, {7, &at7}})
                    *at += int(std::ceil(QFontMetricsF(makeFont(DefaultFontName, points)).horizontalAdvance(c)));
            for (const auto &[width, points] : {std::pair{at9, 0.0}, {at9 - 1, 8.0}, {at8, 8.0}, {at8 - 1, 7.0}, {at7 - 1, 7.0}}) {
                m.setColWidth(0, (width + 1) * TwipsPerPixel);   // the grid line takes a pixel of the column
                setFittedText(m, 0, 0, text);
                QCOMPARE(m.text(0, 0), text);
                QCOMPARE(m.fontSize(0, 0), points);
            }
        }
        // Given a height too, the largest size whose text, drawn centred in a
        // box of that height, inks no pixel outside it: the comma reaches
        // below the digits.
        for (const QString text : {"¥ 123,450", "¥     100"}) {
            for (int height = 10; height <= 18; ++height) {
                double fits = 7.0;
                for (const double points : {9.0, 8.0}) {
                    QImage image(64, height + 20, QImage::Format_RGB32);
                    image.fill(Qt::white);
                    QPainter painter(&image);
                    painter.setFont(makeFont(DefaultFontName, points));
                    painter.drawText(QRect(0, 10, 64, height), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text);
                    painter.end();
                    bool inside = true;
                    for (int y = 0; y < image.height(); ++y)
                        for (int x = 0; x < image.width(); ++x)
                            inside &= (y >= 10 && y < 10 + height) || image.pixel(x, y) == qRgb(255, 255, 255);
                    if (inside) {
                        fits = points;
                        break;
                    }
                }
                QCOMPARE(fittedPoints(text, 64, height), fits);
            }
        }
    }

    // The Menu key on a current cell scrolled out of view, past the right and
    // bottom or before the left and top, brings it back and presses it at its
    // centre.
    void menuKeyBringsTheCellBack()
    {
        GridModel m;
        shape(m, 40, 30, 1, 1);
        GridView view;
        view.resize(300, 200);
        view.setModel(&m);
        view.show();
        QScrollBar *h = view.horizontalScrollBar(), *v = view.verticalScrollBar();
        QSignalSpy spy(&view, &GridView::cellPressed);
        for (const auto &[cell, bars] : {std::pair{QPoint(3, 4), QPoint(h->maximum(), v->maximum())},
                                         {QPoint(25, 35), QPoint(0, 0)}, {QPoint(1, 30), QPoint(0, 0)}}) {
            m.setRow(cell.y());
            m.setCol(cell.x());
            h->setValue(bars.x());
            v->setValue(bars.y());
            spy.clear();
            QTest::keyClick(&view, Qt::Key_Menu);
            QCOMPARE(spy.size(), 1);
            QVERIFY(test::cellShown(&view, cell.y(), cell.x()));
            const QPoint centre = centreOf(cell.y(), cell.x()) - QPoint(h->value(), v->value());
            const QPoint at = view.viewport()->mapFromGlobal(spy[0][3].toPoint());
            QCOMPARE((QList<int>{spy[0][0].toInt(), spy[0][1].toInt(), int(spy[0][2].value<Qt::MouseButton>()),
                                 (at - centre).manhattanLength() <= 2}),
                     (QList<int>{cell.y(), cell.x(), Qt::RightButton, true}));
        }
    }
};

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
