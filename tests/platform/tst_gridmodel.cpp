#include "platform/gridmodel.h"

#include <QtTest>

using namespace kelmon;

Q_DECLARE_METATYPE(kelmon::GridMerge)

namespace {

// Fills a model from lines of comma-separated cell texts.
void fill(GridModel &m, const QStringList &lines)
{
    const int cols = lines.isEmpty() ? 0 : int(lines.first().split(u',').size());
    m.setCols(cols);
    m.setRows(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        const QStringList cells = lines[r].split(u',');
        for (int c = 0; c < cells.size(); ++c)
            m.setText(r, c, cells[c]);
    }
}

} // namespace

class TestGridModel : public QObject {
    Q_OBJECT
private slots:
    void merge_data();
    void merge();
    void sortOrder_data();
    void sortOrder();
    void sortMovesWholeRows();
    void resetDiscardsEverything();
    void shapeChanges();
    void numberValue_data();
    void numberValue();
};

void TestGridModel::merge_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("fixedRows");
    QTest::addColumn<int>("fixedCols");
    QTest::addColumn<QList<int>>("mergeRows");
    QTest::addColumn<QList<int>>("mergeCols");
    QTest::addColumn<GridMerge>("mode");
    QTest::addColumn<QPoint>("cell");       // x = col, y = row
    QTest::addColumn<QRect>("expected");

    const auto free = GridMerge::Free;
    const auto restrict = GridMerge::RestrictAll;
    QTest::newRow("row strip") << QStringList{"a,a,a,b"} << 0 << 0 << QList<int>{0} << QList<int>{} << free
                               << QPoint(1, 0) << QRect(0, 0, 3, 1);
    QTest::newRow("unmarked row stays apart") << QStringList{"a,a,a,b"} << 0 << 0 << QList<int>{} << QList<int>{}
                                              << free << QPoint(1, 0) << QRect(1, 0, 1, 1);
    QTest::newRow("merging off") << QStringList{"a,a,a,b"} << 0 << 0 << QList<int>{0} << QList<int>{0, 1}
                                 << GridMerge::Never << QPoint(0, 0) << QRect(0, 0, 1, 1);
    QTest::newRow("empty texts never merge") << QStringList{",,x"} << 0 << 0 << QList<int>{0} << QList<int>{}
                                             << free << QPoint(0, 0) << QRect(0, 0, 1, 1);
    QTest::newRow("column strip") << QStringList{"a", "a", "a", "b"} << 0 << 0 << QList<int>{} << QList<int>{0}
                                  << free << QPoint(0, 2) << QRect(0, 0, 1, 3);
    QTest::newRow("not across fixed column") << QStringList{"a,a,a"} << 0 << 1 << QList<int>{0} << QList<int>{}
                                             << free << QPoint(0, 0) << QRect(0, 0, 1, 1);
    QTest::newRow("right of fixed column") << QStringList{"a,a,a"} << 0 << 1 << QList<int>{0} << QList<int>{}
                                           << free << QPoint(2, 0) << QRect(1, 0, 2, 1);
    QTest::newRow("not across fixed row") << QStringList{"a", "a", "a"} << 1 << 0 << QList<int>{} << QList<int>{0}
                                          << free << QPoint(0, 0) << QRect(0, 0, 1, 1);
    QTest::newRow("below fixed row") << QStringList{"a", "a", "a"} << 1 << 0 << QList<int>{} << QList<int>{0}
                                     << free << QPoint(0, 2) << QRect(0, 1, 1, 2);
    QTest::newRow("rectangle") << QStringList{"a,a,b", "a,a,c"} << 0 << 0 << QList<int>{0, 1} << QList<int>{0, 1}
                               << free << QPoint(1, 1) << QRect(0, 0, 2, 2);
    QTest::newRow("rectangle needs every column marked")
        << QStringList{"a,a,b", "a,a,c"} << 0 << 0 << QList<int>{0, 1} << QList<int>{0} << free << QPoint(0, 1)
        << QRect(0, 1, 2, 1);
    QTest::newRow("runs of other extent stay apart")
        << QStringList{"a,a,b", "a,b,b"} << 0 << 0 << QList<int>{0, 1} << QList<int>{0, 1, 2} << free
        << QPoint(0, 0) << QRect(0, 0, 2, 1);
    QTest::newRow("card header over a separator")
        << QStringList{"t,t,t,", "x,,y,"} << 0 << 0 << QList<int>{0, 1} << QList<int>{} << free << QPoint(2, 0)
        << QRect(0, 0, 3, 1);
    // Two header rows over a fixed name column, as in the lists.
    const QStringList list{"n,no,p", "n,no,p", "x,5,q", "y,5,q"};
    QTest::newRow("restricted heading") << list << 2 << 1 << QList<int>{} << QList<int>{0, 1, 2} << restrict
                                        << QPoint(2, 1) << QRect(2, 0, 1, 2);
    QTest::newRow("restricted data column") << list << 2 << 1 << QList<int>{} << QList<int>{0, 1, 2} << restrict
                                            << QPoint(1, 3) << QRect(1, 3, 1, 1);
    QTest::newRow("free data column") << list << 2 << 1 << QList<int>{} << QList<int>{0, 1, 2} << free
                                      << QPoint(1, 3) << QRect(1, 2, 1, 2);
    QTest::newRow("restricted row under unmerged row")
        << QStringList{"a,c", "b,b"} << 0 << 0 << QList<int>{0, 1} << QList<int>{} << restrict << QPoint(0, 1)
        << QRect(0, 1, 1, 1);
    QTest::newRow("restricted first row is free")
        << QStringList{"b,b", "b,b"} << 0 << 0 << QList<int>{0, 1} << QList<int>{} << restrict << QPoint(1, 1)
        << QRect(0, 1, 2, 1);
}

void TestGridModel::merge()
{
    QFETCH(QStringList, lines);
    QFETCH(int, fixedRows);
    QFETCH(int, fixedCols);
    QFETCH(QList<int>, mergeRows);
    QFETCH(QList<int>, mergeCols);
    QFETCH(GridMerge, mode);
    QFETCH(QPoint, cell);
    QFETCH(QRect, expected);

    GridModel m;
    fill(m, lines);
    m.setFixedRows(fixedRows);
    m.setFixedCols(fixedCols);
    m.setMergeMode(mode);
    for (int r : mergeRows)
        m.setMergeRow(r, true);
    for (int c : mergeCols)
        m.setMergeCol(c, true);

    QCOMPARE(m.mergedRange(cell.y(), cell.x()), expected);
    // Every cell of a range names the same range, so a range paints once and
    // a press anywhere on it lands on the same cell.
    for (int r = 0; r < m.rows(); ++r)
        for (int c = 0; c < m.cols(); ++c) {
            const QRect range = m.mergedRange(r, c);
            QVERIFY(range.contains(c, r));
            for (int rr = range.top(); rr <= range.bottom(); ++rr)
                for (int cc = range.left(); cc <= range.right(); ++cc)
                    QCOMPARE(m.mergedRange(rr, cc), range);
        }

    // A changed text is seen by the next question.
    m.setText(expected.top(), expected.left(), QStringLiteral("changed"));
    QCOMPARE(m.mergedRange(expected.top(), expected.left()), QRect(expected.left(), expected.top(), 1, 1));
}

void TestGridModel::sortOrder_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QString>("order");    // tags of the rows after the sort

    QTest::newRow("numbers by value") << QStringList{"10", "9", "100"} << true << "BAC";
    QTest::newRow("numbers before texts") << QStringList{"b", "2", "a", "1"} << true << "DBCA";
    QTest::newRow("descending reverses") << QStringList{"b", "2", "a", "1"} << false << "ACBD";
    QTest::newRow("stable ascending") << QStringList{"1", "0", "1", "0"} << true << "BDAC";
    QTest::newRow("stable descending") << QStringList{"1", "0", "1", "0"} << false << "ACBD";
    QTest::newRow("padded and grouped numbers") << QStringList{" 5.67", "1,230", "10.23", "-1"} << true << "DACB";
    QTest::newRow("empty text is text") << QStringList{"", "3", "x"} << true << "BAC";
    QTest::newRow("unit makes a text") << QStringList{"2日目", "10", "1日目"} << true << "BCA";
}

void TestGridModel::sortOrder()
{
    QFETCH(QStringList, keys);
    QFETCH(bool, ascending);
    QFETCH(QString, order);

    GridModel m;
    m.setCols(3);
    m.setRows(int(keys.size()) + 1);
    m.setFixedRows(1);
    m.setText(0, 0, QStringLiteral("head"));
    for (int i = 0; i < keys.size(); ++i) {
        m.setText(i + 1, 2, keys[i]);                    // the key sits in a column of its own
        m.setText(i + 1, 0, QString(QChar(u'A' + i)));
    }
    m.sort(2, ascending);
    QString got;
    for (int r = 1; r < m.rows(); ++r)
        got += m.text(r, 0);
    QCOMPARE(got, order);
    QCOMPARE(m.text(0, 0), QStringLiteral("head"));
}

void TestGridModel::sortMovesWholeRows()
{
    GridModel m;
    m.setCols(2);
    m.setRows(4);
    m.setFixedRows(1);
    m.setBackColor(0, 0, 0xFFE0C0);
    const QRgb colours[] = {0x111111, 0x222222, 0x333333};
    const QStringList keys{"3", "1", "2"};
    for (int i = 0; i < 3; ++i) {
        const int r = i + 1;
        m.setText(r, 1, keys[i]);
        m.setBackColor(r, 0, colours[i]);
        m.setForeColor(r, 1, colours[i]);
        m.setFontBold(r, 0, i == 0);
        m.setFontName(r, 0, keys[i]);
        m.setFontSize(r, 0, 10 + i);
        m.setCellAlignment(r, 0, GridAlign(i));
        m.setPicture(r, 0, GridPicture{2, 13 + i});
        m.setPictureAlignment(r, 0, GridAlign(3 + i));
        m.setRowHeight(r, 100 * (i + 1));
    }
    m.sort(1, true);

    // Row r now holds what was row of key r.
    for (int r = 1; r <= 3; ++r) {
        const int was = int(keys.indexOf(QString::number(r)));
        QCOMPARE(m.text(r, 1), QString::number(r));
        QCOMPARE(m.backColor(r, 0), std::optional<QRgb>(colours[was]));
        QCOMPARE(m.foreColor(r, 1), std::optional<QRgb>(colours[was]));
        QCOMPARE(m.fontBold(r, 0), was == 0);
        QCOMPARE(m.fontName(r, 0), keys[was]);
        QCOMPARE(m.fontSize(r, 0), 10.0 + was);
        QCOMPARE(m.cellAlignment(r, 0), std::optional<GridAlign>(GridAlign(was)));
        QCOMPARE(m.picture(r, 0), (GridPicture{2, 13 + was}));
        QCOMPARE(m.pictureAlignment(r, 0), GridAlign(3 + was));
        QCOMPARE(m.rowHeight(r), 100 * (was + 1));
    }
    QCOMPARE(m.backColor(0, 0), std::optional<QRgb>(0xFFE0C0));
}

void TestGridModel::resetDiscardsEverything()
{
    GridModel m;
    fill(m, {"a,a", "b,b"});
    m.setFixedRows(1);
    m.setFixedCols(1);
    m.setMergeCells(true);
    m.setMergeRow(0, true);
    m.setColWidth(1, 0);
    m.setBackColor(1, 1, 0x123456);
    m.setPicture(1, 1, GridPicture{2, 1});
    m.setRow(1);
    m.setCol(1);
    const quint64 before = m.revision();

    m.reset();
    QVERIFY(m.revision() > before);
    QCOMPARE(m.rows(), 0);
    QCOMPARE(m.cols(), 0);
    QCOMPARE(m.fixedRows(), 0);
    QCOMPARE(m.fixedCols(), 0);
    QVERIFY(!m.mergeCells());
    QCOMPARE(m.row(), 0);
    QCOMPARE(m.col(), 0);

    // Growing again gives fresh cells, not the old ones.
    m.setCols(2);
    m.setRows(2);
    QCOMPARE(m.text(0, 0), QString());
    QVERIFY(!m.mergeRow(0));
    QCOMPARE(m.colWidth(1), GridModel::DefaultColWidth);
    QVERIFY(!m.backColor(1, 1));
    QVERIFY(m.picture(1, 1).isNull());
}

void TestGridModel::shapeChanges()
{
    GridModel m;
    fill(m, {"a,b,c", "d,e,f", "g,h,i"});
    m.setBackColor(1, 1, 0xABCDEF);
    m.setColWidth(1, 300);

    m.setRows(2);                     // drop a row, keep the others
    m.setCols(4);                     // add a column
    QCOMPARE(m.text(1, 1), QStringLiteral("e"));
    QCOMPARE(m.backColor(1, 1), std::optional<QRgb>(0xABCDEF));
    QCOMPARE(m.colWidth(1), 300);
    QCOMPARE(m.text(1, 3), QString());
    m.setRows(3);                     // the dropped row comes back empty
    QCOMPARE(m.text(2, 0), QString());

    // Out-of-range cells read empty and ignore writes.
    m.setText(7, 7, QStringLiteral("x"));
    QCOMPARE(m.text(7, 7), QString());
    QCOMPARE(m.text(-1, 0), QString());
    QCOMPARE(m.mergedRange(9, 9), QRect(9, 9, 1, 1));

    // Fixed counts never exceed the grid; the current cell stays inside it.
    m.setFixedRows(5);
    QCOMPARE(m.fixedRows(), 3);
    m.setRow(2);
    m.setRows(1);
    QCOMPARE(m.fixedRows(), 1);
    QCOMPARE(m.row(), 0);
    m.setRows(0);                     // no rows at all, so no fixed rows
    QCOMPARE(m.fixedRows(), 0);
    m.setRows(1);
    QCOMPARE(m.text(0, 0), QString());

    // Hidden and default sizes.
    m.setColWidth(0, 0);
    QCOMPARE(m.colWidth(0), 0);
    m.setColWidth(0, -1);
    QCOMPARE(m.colWidth(0), GridModel::DefaultColWidth);
    QCOMPARE(m.rowHeight(0), GridModel::DefaultRowHeight);
}

void TestGridModel::numberValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "40" << true << 40.0;
    QTest::newRow("padded fraction") << "  5.67" << true << 5.67;
    QTest::newRow("negative") << "-0.5" << true << -0.5;
    QTest::newRow("grouped") << "12,345" << true << 12345.0;
    QTest::newRow("bad grouping") << "1,23" << false << 0.0;
    QTest::newRow("unit") << "45%" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("full-width digits") << "１２" << false << 0.0;
}

void TestGridModel::numberValue()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const std::optional<double> v = GridModel::numberValue(text);
    QCOMPARE(v.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*v, value);
}

QTEST_GUILESS_MAIN(TestGridModel)
#include "tst_gridmodel.moc"
