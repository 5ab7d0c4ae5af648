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
    void pressBesideTheCellsChangesNothing();
    void pressAfterScrolling();
    void paintsColoursAndPictures();
    void paintsLargeCard();
    void staleOrMissingModel();
};

void TestGridView::pressSetsCurrentCell_data()
{
    QTest::addColumn<QPoint>("cell");          // x = col, y = row under the pointer
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("current");       // x = col, y = row expected

    QTest::newRow("plain cell") << QPoint(3, 2) << int(Qt::LeftButton) << QPoint(3, 2);
    QTest::newRow("lower part of a merged column") << QPoint(0, 3) << int(Qt::RightButton) << QPoint(0, 1);
    QTest::newRow("right part of a merged header") << QPoint(3, 0) << int(Qt::RightButton) << QPoint(2, 0);
    QTest::newRow("fixed cell") << QPoint(1, 0) << int(Qt::LeftButton) << QPoint(1, 0);
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
    m.setText(0, 1, QStringLiteral("head"));

    GridView view;
    view.resize(400, 300);
    view.setModel(&m);
    view.show();
    QSignalSpy spy(&view, &GridView::cellPressed);

    QTest::mousePress(view.viewport(), Qt::MouseButton(button), {}, centreOf(cell.y(), cell.x()));
    QCOMPARE(m.row(), current.y());
    QCOMPARE(m.col(), current.x());
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].toInt(), current.y());
    QCOMPARE(spy[0][1].toInt(), current.x());
    QCOMPARE(spy[0][2].value<Qt::MouseButton>(), Qt::MouseButton(button));
    QCOMPARE(spy[0][3].toPoint(), view.viewport()->mapToGlobal(centreOf(cell.y(), cell.x())));
}

void TestGridView::pressBesideTheCellsChangesNothing()
{
    GridModel m;
    shape(m, 3, 3, 1, 1);
    m.setRow(2);
    m.setCol(2);
    GridView view;
    view.resize(400, 300);
    view.setModel(&m);
    view.show();
    QSignalSpy spy(&view, &GridView::cellPressed);
    QTest::mousePress(view.viewport(), Qt::RightButton, {}, QPoint(3 * ColPx + 20, 10));
    QTest::mousePress(view.viewport(), Qt::RightButton, {}, QPoint(10, 3 * RowPx + 20));
    QCOMPARE(spy.size(), 0);
    QCOMPARE(m.row(), 2);
    QCOMPARE(m.col(), 2);
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

void TestGridView::paintsColoursAndPictures()
{
    GridModel m;
    shape(m, 4, 4, 1, 1);
    m.setMergeCells(true);
    m.setMergeRow(0, true);
    m.setText(0, 1, QStringLiteral("コース別データ"));
    m.setText(0, 2, QStringLiteral("コース別データ"));
    m.setBackColor(0, 1, 0xFFE0C0);      // the range paints with its top-left cell
    m.setBackColor(0, 2, 0x0000FF);
    m.setBackColor(2, 2, 0xC0FFC0);
    m.setColWidth(1 + 2, 0);             // column 3 hidden: column 3's colour never shows
    m.setBackColor(1, 3, 0xFF0000);
    m.setText(3, 1, QStringLiteral("12"));
    m.setBackColor(3, 1, 0xFFFFFF);
    m.setPicture(3, 1, GridPicture{imlraceinfo1, pictures::courseBar(0, 2)});   // 18 x 6
    m.setPictureAlignment(3, 1, GridAlign::CenterBottom);

    GridView view;
    view.setModel(&m);
    const QImage img = view.renderAll();
    QCOMPARE(img.size(), QSize(3 * ColPx, 4 * RowPx));
    QCOMPARE(img.pixel(ColPx + 3, 1) & 0xFFFFFF, 0xFFE0C0u);
    QCOMPARE(img.pixel(2 * ColPx + 30, 1) & 0xFFFFFF, 0xFFE0C0u);   // not the blue of (0, 2)
    QCOMPARE(img.pixel(2 * ColPx + 3, 2 * RowPx + 3) & 0xFFFFFF, 0xC0FFC0u);
    for (int x = 0; x < img.width(); ++x)
        QVERIFY((img.pixel(x, RowPx + 5) & 0xFFFFFF) != 0xFF0000u);
    // The bar sits centred on the bottom edge, above the grid line.
    QCOMPARE(img.pixel(ColPx + ColPx / 2, 4 * RowPx - 3) & 0xFFFFFF, 0x78A7F5u);
    QCOMPARE(img.pixel(ColPx + 2, 4 * RowPx - 3) & 0xFFFFFF, 0xFFFFFFu);
}

void TestGridView::paintsLargeCard()
{
    // A card at its widest: 150 columns, 34 rows, merged headers and columns,
    // pictures, fonts, a scrolled viewport.
    GridModel m;
    m.setCols(150);
    m.setRows(34);
    m.setFixedRows(4);
    m.setFixedCols(5);
    m.setMergeCells(true);
    for (int r = 0; r < 4; ++r)
        m.setMergeRow(r, true);
    for (int c : {0, 2, 4})
        m.setMergeCol(c, true);
    for (int c = 0; c < 150; ++c)
        m.setColWidth(c, c % 2 ? 10 : 330);
    for (int r = 0; r < 34; ++r) {
        m.setRowHeight(r, r % 5 == 4 ? 10 : 190);
        for (int c = 0; c < 150; ++c) {
            if (c % 2)
                continue;
            m.setText(r, c, r < 4 ? QStringLiteral("見出し%1").arg(c / 24) : QString::number(r * c % 97));
            m.setBackColor(r, c, r < 4 ? 0xFFE0C0 : 0xFFFFFF);
            if (r % 5 == 3)
                m.setPicture(r, c, GridPicture{imlraceinfo1, 13 + (c % 26)});
            if (c == 4 && r % 5 == 1) {
                m.setFontName(r, c, QStringLiteral("HG丸ｺﾞｼｯｸM-PRO"));
                m.setFontSize(r, c, 16.8);
                m.setFontBold(r, c, true);
            }
        }
    }
    GridView view;
    view.resize(800, 400);
    view.setModel(&m);
    view.show();
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
    const QImage shot = view.viewport()->grab().toImage();
    QVERIFY(!shot.isNull());
    const QImage all = view.renderAll();
    QCOMPARE(all.width(), 75 * twipsToPixels(330) + 75 * twipsToPixels(10));
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

QTEST_MAIN(TestGridView)
#include "tst_gridview.moc"
