#include "platform/gridmodel.h"
#include "support/gridshown.h"

#include <QtTest>

using namespace kelmon;

Q_DECLARE_METATYPE(kelmon::GridMerge)

using kelmon::test::fillGrid;

class TestGridModel : public QObject {
    Q_OBJECT
private slots:
    void merge_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QPoint>("fixed");      // x = columns, y = rows
        QTest::addColumn<int>("mergeRows");     // bit per row
        QTest::addColumn<int>("mergeCols");     // bit per column
        QTest::addColumn<GridMerge>("mode");
        QTest::addColumn<QPoint>("cell");       // x = col, y = row
        QTest::addColumn<QRect>("expected");
        const auto free = GridMerge::Free;
        const auto restrict = GridMerge::RestrictAll;
        const QStringList strip{"a|a|a|b"}, column{"a", "a", "a", "b"};
        // Two header rows over a fixed name column, as in the lists.
        const QStringList list{"n|no|p", "n|no|p", "x|5|q", "y|5|q"};
        const auto row = [](const char *name, const QStringList &lines, QPoint fixed, int rows, int cols,
                            GridMerge mode, QPoint cell, QRect expected) {
            QTest::newRow(name) << lines << fixed << rows << cols << mode << cell << expected;
        };
        row("row strip", strip, {0, 0}, 1, 0, free, {1, 0}, {0, 0, 3, 1});
        row("merging off", strip, {0, 0}, 1, 3, GridMerge::Never, {0, 0}, {0, 0, 1, 1});
        row("empty texts never merge", {"||x"}, {0, 0}, 1, 0, free, {0, 0}, {0, 0, 1, 1});
        row("column strip", column, {0, 0}, 0, 1, free, {0, 2}, {0, 0, 1, 3});
        row("not across fixed column", strip, {1, 0}, 1, 0, free, {0, 0}, {0, 0, 1, 1});
        row("runs of other extent stay apart", {"a|a|b", "a|b|b"}, {0, 0}, 3, 7, free, {0, 0}, {0, 0, 2, 1});
        row("card header over a separator", {"t|t|t|", "x||y|"}, {0, 0}, 3, 0, free, {2, 0}, {0, 0, 3, 1});
        row("restricted heading", list, {1, 2}, 0, 7, restrict, {2, 1}, {2, 0, 1, 2});
        row("restricted row under unmerged row", {"a|c", "b|b"}, {0, 0}, 3, 0, restrict, {0, 1}, {0, 1, 1, 1});
    }
    void merge()
    {
        QFETCH(QStringList, lines);
        QFETCH(QPoint, fixed);
        QFETCH(int, mergeRows);
        QFETCH(int, mergeCols);
        QFETCH(GridMerge, mode);
        QFETCH(QPoint, cell);
        QFETCH(QRect, expected);

        GridModel m;
        fillGrid(m, lines);
        m.setFixedRows(fixed.y());
        m.setFixedCols(fixed.x());
        m.setMergeMode(mode);
        for (int i = 0; i < 8; ++i) {
            m.setMergeRow(i, mergeRows & (1 << i));
            m.setMergeCol(i, mergeCols & (1 << i));
        }
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

    void sortOrder_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QString>("order");    // tags of the rows after the sort

        QTest::newRow("numbers by value") << QStringList{"10", "9", "100"} << true << "BAC";
        QTest::newRow("numbers before texts") << QStringList{"b", "2", "a", "1"} << true << "DBCA";
        QTest::newRow("descending reverses") << QStringList{"b", "2", "a", "1"} << false << "ACBD";
        QTest::newRow("stable ascending") << QStringList{"1", "0", "1", "0"} << true << "BDAC";
        QTest::newRow("padded and grouped numbers") << QStringList{" 5.67", "1,230", "10.23", "1,23"} << true << "ACBD";
        QTest::newRow("empty text is text") << QStringList{"", "3", "x"} << true << "BAC";
        QTest::newRow("unit makes a text") << QStringList{"2日目", "10", "1日目"} << true << "BCA";
    }
    void sortOrder()
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
            m.setBackColor(i + 1, 1, QRgb(u'A' + i));        // the rest of the row moves with it
            m.setRowHeight(i + 1, 100 + i);
        }
        m.sort(2, ascending);
        QString got;
        for (int r = 1; r < m.rows(); ++r) {
            got += m.text(r, 0);
            QCOMPARE(m.backColor(r, 1), std::optional<QRgb>(got.back().unicode()));
            QCOMPARE(m.rowHeight(r), 100 + got.back().unicode() - u'A');
        }
        QCOMPARE(got, order);
        QCOMPARE(m.text(0, 0), QStringLiteral("head"));
    }

    void shapeChanges()
    {
        GridModel m;
        fillGrid(m, {"a|b|c", "d|e|f", "g|h|i"});
        m.setBackColor(1, 1, 0xABCDEF);

        m.setRows(2);                     // drop a row, keep the others
        m.setCols(4);                     // add a column
        QCOMPARE(m.text(1, 1), QStringLiteral("e"));
        QCOMPARE(m.backColor(1, 1), std::optional<QRgb>(0xABCDEF));
        QCOMPARE(m.text(1, 3), QString());
        m.setRows(3);                     // the dropped row comes back empty
        QCOMPARE(m.text(2, 0), QString());

        // Out-of-range cells read empty and ignore writes.
        m.setText(7, 7, QStringLiteral("x"));
        QCOMPARE(m.text(7, 7), QString());
        QCOMPARE(m.mergedRange(9, 9), QRect(9, 9, 1, 1));

        // Fixed counts never exceed the grid; the current cell stays inside it.
        m.setFixedRows(5);
        QCOMPARE(m.fixedRows(), 3);
        m.setRow(2);
        m.setRows(1);
        QCOMPARE(m.fixedRows(), 1);
        QCOMPARE(m.row(), 0);
    }
};

QTEST_GUILESS_MAIN(TestGridModel)
#include "tst_gridmodel.moc"
