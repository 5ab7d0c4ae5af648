// The grid view: presses land on the right cell, merged and scrolled, and a
// model that changed under it is never read past its end.

#include "platform/gridmodel.h"
#include "platform/pictures.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace kelmon;

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

QPoint centreOf(int row, int col)
{
    return {col * ColPx + ColPx / 2, row * RowPx + RowPx / 2};
}

} // namespace

class TestGridView : public QObject {
    Q_OBJECT
private slots:
    void pressSetsCurrentCell_data();
    void pressSetsCurrentCell();
    void pressAfterScrolling();
    void paintsMergedRangeOnce();
    void staleOrMissingModel();
    void wrapsBetweenParts_data();
    void wrapsBetweenParts();
};

void TestGridView::pressSetsCurrentCell_data()
{
    QTest::addColumn<QPoint>("cell");          // x = col, y = row under the pointer
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("current");       // x = col, y = row expected

    QTest::newRow("plain cell") << QPoint(3, 2) << int(Qt::LeftButton) << QPoint(3, 2);
    QTest::newRow("lower part of a merged column") << QPoint(0, 3) << int(Qt::RightButton) << QPoint(0, 1);
    QTest::newRow("right part of a merged header") << QPoint(3, 0) << int(Qt::RightButton) << QPoint(2, 0);
    // Beside the cells: no press, the current cell stays where it was.
    QTest::newRow("right of the cells") << QPoint(6, 0) << int(Qt::RightButton) << QPoint(4, 4);
    QTest::newRow("below the cells") << QPoint(0, 6) << int(Qt::RightButton) << QPoint(4, 4);
}

void TestGridView::pressSetsCurrentCell()
{
    QFETCH(QPoint, cell);
    QFETCH(int, button);
    QFETCH(QPoint, current);

    GridModel m;
    shape(m, 5, 5, 1, 1);
    m.setMergeCells(true);
    m.setMergeRow(0, true);
    m.setMergeCol(0, true);
    for (int r = 1; r <= 3; ++r)
        m.setText(r, 0, QStringLiteral("mark"));
    m.setText(0, 2, QStringLiteral("title"));
    m.setText(0, 3, QStringLiteral("title"));
    m.setRow(4);
    m.setCol(4);

    GridView view;
    view.resize(400, 300);
    view.setModel(&m);
    view.show();
    QSignalSpy spy(&view, &GridView::cellPressed);

    QTest::mousePress(view.viewport(), Qt::MouseButton(button), {}, centreOf(cell.y(), cell.x()));
    QCOMPARE(m.row(), current.y());
    QCOMPARE(m.col(), current.x());
    if (cell.x() > 4 || cell.y() > 4) {
        QCOMPARE(spy.size(), 0);
        return;
    }
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].toInt(), current.y());
    QCOMPARE(spy[0][1].toInt(), current.x());
    QCOMPARE(spy[0][2].value<Qt::MouseButton>(), Qt::MouseButton(button));
}

void TestGridView::pressAfterScrolling()
{
    // Frozen columns stay where they are; the others move under them.
    GridModel m;
    shape(m, 40, 60, 2, 2);
    m.setColWidth(5, 0);              // a hidden key column
    GridView view;
    view.resize(300, 200);
    view.setModel(&m);
    view.show();
    QVERIFY(view.horizontalScrollBar()->maximum() > 0);
    view.horizontalScrollBar()->setValue(10 * ColPx);
    view.verticalScrollBar()->setValue(10 * RowPx);

    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, centreOf(0, 0));
    QCOMPARE(QPoint(m.col(), m.row()), QPoint(0, 0));
    // The pixel column of grid column 2 now shows column 2 + 10 + 1: ten
    // columns scrolled away, one of them hidden (zero pixels wide).
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, centreOf(1, 2));
    QCOMPARE(QPoint(m.col(), m.row()), QPoint(13, 1));
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, centreOf(3, 1));
    QCOMPARE(QPoint(m.col(), m.row()), QPoint(1, 13));
    QCOMPARE(view.cellAt(centreOf(3, 3)), QPoint(14, 13));
}

void TestGridView::paintsMergedRangeOnce()
{
    // A merged range paints with its top-left cell; a hidden column takes no room.
    GridModel m;
    shape(m, 4, 4, 1, 1);
    m.setMergeCells(true);
    m.setMergeRow(0, true);
    m.setText(0, 1, QStringLiteral("コース別データ"));
    m.setText(0, 2, QStringLiteral("コース別データ"));
    m.setBackColor(0, 1, 0xFFE0C0);
    m.setBackColor(0, 2, 0x0000FF);
    m.setColWidth(3, 0);
    m.setPicture(3, 1, GridPicture{imlraceinfo1, pictures::courseBar(0, 2)});
    GridView view;
    view.setModel(&m);
    const QImage img = view.renderAll();
    QCOMPARE(img.size(), QSize(3 * ColPx, 4 * RowPx));
    QCOMPARE(img.pixel(2 * ColPx + 30, 1) & 0xFFFFFF, 0xFFE0C0u);
}

void TestGridView::staleOrMissingModel()
{
    // Shown before a model is set, and painted after the model changed
    // without modelChanged(): neither may reach past what was laid out.
    GridView view;
    view.resize(200, 100);
    view.show();
    QVERIFY(!view.viewport()->grab().isNull());
    QCOMPARE(view.cellAt(QPoint(5, 5)), QPoint(-1, -1));

    GridModel m;
    shape(m, 2, 2, 0, 0);
    view.setModel(&m);
    m.setCols(6);
    m.setRows(6);
    m.setMergeCells(true);
    m.setMergeRow(1, true);
    for (int c = 0; c < 6; ++c)
        m.setText(1, c, QStringLiteral("same"));
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
void TestGridView::wrapsBetweenParts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("race, place and seconds") << "5R③54" << QStringList{"5R", "③", "54"};
    QTest::newRow("race not held") << "12R不成立" << QStringList{"12R", "不成", "立"};
    QTest::newRow("decimal number stays whole") << "6.25位" << QStringList{"6.25", "位"};
    QTest::newRow("trailing ideographic blanks") << "5R①\u3000\u3000" << QStringList{"5R", "①"};
}

void TestGridView::wrapsBetweenParts()
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

QTEST_MAIN(TestGridView)
#include "tst_gridview.moc"
