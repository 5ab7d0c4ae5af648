// The grid model (merged ranges, sort order, shape changes) and the popup
// commands on it: sort keys, averages, the racer, race or result of a cell.

#include "platform/gridmoves.h"
#include "platform/gridpopup.h"
#include "support/gridshown.h"

#include <QtTest>

using namespace kelmon;

Q_DECLARE_METATYPE(kelmon::GridMerge)
Q_DECLARE_METATYPE(kelmon::GridMove)

using namespace kelmon::gridpopup;
using kelmon::test::fillGrid;

static const Member &of(const QString &menu) { return *member(menu); }

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    // The column each grid sorts by: a formatted column by its hidden raw
    // column, any other column by itself.
    void sortByKeyColumn_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("key");
        const struct { const char *menu; int col, key; } cases[] = {
            {"mnudm", 3, 8},  {"mnudm", 6, 9},   {"mnudm", 1, 1},   {"mnurr", 0, 11}, {"mnurr", 1, 10},
            {"mnurr", 4, 12}, {"mnurr", 7, 13},  {"mnurr", 2, 2},   {"mnury", 0, 10}, {"mnury", 8, 18},
            {"mnumt", 4, 15}, {"mnumt", 14, 16}, {"mnubt", 4, 15},  {"mnubt", 14, 16}, {"mnubt", 5, 5},
            {"mnurs", 2, 43}, {"mnurs", 3, 3},   {"mnurd", 3, 10},  {"mnurd", 4, 11}, {"mnurd", 7, 12},
            {"mnurd", 5, 5},  {"mnul1", 3, 3},   {"mnul2", 4, 4},   {"mnucr", 6, 6},  {"mnuks", 2, 2},
        };
        for (const auto &c : cases)
            QTest::addRow("%s %d", c.menu, c.col) << QString(c.menu) << c.col << c.key;
    }
    void sortByKeyColumn()
    {
        QFETCH(QString, menu);
        QFETCH(int, col);
        QFETCH(int, key);
        // Every cell reads the same but the key column's; the row heights
        // tell the rows apart (they move with their rows).
        GridModel m;
        m.setCols(44);
        m.setRows(4);
        m.setFixedRows(1);
        const QStringList keys{"20", "100", "3"};
        for (int r = 1; r <= 3; ++r) {
            for (int c = 0; c < 44; ++c)
                m.setText(r, c, c == key ? keys[r - 1] : QStringLiteral("x"));
            m.setRowHeight(r, r);
        }
        const auto heights = [&m] { return QList<int>{m.rowHeight(1), m.rowHeight(2), m.rowHeight(3)}; };
        m.setRow(2);
        m.setCol(col);
        QVERIFY(sort(m, of(menu), true));
        QCOMPARE(heights(), (QList<int>{3, 1, 2}));
        QVERIFY(sort(m, of(menu), false));
        QCOMPARE(heights(), (QList<int>{2, 1, 3}));
        QCOMPARE(QPoint(m.col(), m.row()), QPoint(col, 2));
    }

    // cells go into column `at` (the averaged column or its hidden key).
    void averages_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("at");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("text");
        const QString none = "件数が 0 の為、平均値の計算は出来ません";
        QTest::newRow("five rows, total 123.4") << "mnudm" << 4 << 4 << QStringList{"20", "30.4", "  25", "18", "30"}
                                                << "平均値は 24.68 です...\r\n\r\n合計 123.4    件数 5件";
        QTest::newRow("an empty cell is no entry") << "mnudm" << 4 << 4 << QStringList{"10", "", "20"}
                                                   << "平均値は 15.00 です...\r\n\r\n合計 30    件数 2件";
        QTest::newRow("payout by its raw amount") << "mnudm" << 6 << 9 << QStringList{"9800", "10001"}
                                                  << "平均値は 9900.50 です...\r\n\r\n合計 19801    件数 2件";
        QTest::newRow("dash skipped in results") << "mnurr" << 5 << 5 << QStringList{"6.71", "-", "6.79"}
                                                 << "平均値は 6.75 です...\r\n\r\n合計 13.5    件数 2件";
        // The racer detail averages the column it is on, not a hidden key.
        QTest::newRow("racer detail: the current column itself")
            << "mnurd" << 4 << 4 << QStringList{"1.49.6", "-"} << "平均値は 1.49 です...\r\n\r\n合計 1.49    件数 1件";
        // The data room's grids average below their second heading row.
        QTest::newRow("below two headings") << "mnul1" << 2 << 2 << QStringList{"1着", " 3", " 6"}
                                            << "平均値は 4.50 です...\r\n\r\n合計 9    件数 2件";
        QTest::newRow("every cell a dash") << "mnurr" << 5 << 5 << QStringList{"-", "-"} << none;
        QTest::newRow("no data rows") << "mnudm" << 4 << 4 << QStringList{} << none;
        // Six best times from 1.49.3 to 1.50.5 (109.3 s to 110.5 s) make
        // 660.0 s, 11 minutes and no seconds, 110.0 s each; no time (0) and
        // values beyond any race time are left out.
        QTest::newRow("best times in tenths")
            << "mnubt" << 4 << 15 << QStringList{"1493", "1500", "1502", "1505", "1500", "1500", "0", "100000", "99999999"}
            << "平均値は 1.50.0 です...\r\n\r\n合計 11.00.0    件数 6件";
    }
    void averages()
    {
        QFETCH(QString, menu);
        QFETCH(int, col);
        QFETCH(int, at);
        QFETCH(QStringList, cells);
        QFETCH(QString, text);
        GridModel m;
        m.setCols(17);
        m.setRows(int(cells.size()) + 1);
        m.setFixedRows(1);
        for (int i = 0; i < cells.size(); ++i) {
            m.setText(i + 1, col, QStringLiteral("7"));   // read only where it is its own key
            m.setText(i + 1, at, cells[i]);
        }
        m.setRow(1);
        m.setCol(col);
        const auto a = average(m, of(menu));
        QVERIFY(a);
        QCOMPARE(a->title, QString(text.startsWith(u'件') ? "警告です..." : "平均値を計算しました..."));
        QCOMPARE(a->text, text);
    }

    void nothingOnHiddenOrHeaderCells()
    {
        GridModel m;
        fillGrid(m, {"名前|登番|x", "山田|4321|1"}, 1);
        m.setColWidth(2, 0);
        m.setRow(1);
        m.setCol(2);
        const Member &rs = of("mnurs");
        QVERIFY(!sort(m, rs, true));
        QVERIFY(!average(m, rs));
        QVERIFY(!race(m, rs));
        QCOMPARE(m.text(1, 2), QString("1"));
        // The power-index grid has no average item: item 2 is a separator.
        QCOMPARE((QList<Command>{command(of("mnury"), 2), command(of("mnury"), 3), command(of("mnurs"), 5),
                                 command(of("mnurs"), 6), command(of("mnudm"), 4), command(of("mnul1"), 4)}),
                 (QList<Command>{Command::None, Command::RacerDetail, Command::RaceCard, Command::None,
                                 Command::RaceResult, Command::RacerDetail}));
        QVERIFY(!member("mnuri"));
    }

    // The racer of a data row: its registration number (within 16 bits) and
    // name from the member's columns; nothing on heading rows.
    void racerOfRow_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("numberCol");   // -1: no racer item
        QTest::addColumn<int>("nameCol");
        QTest::addColumn<bool>("twoHeadings");
        const struct { const char *menu; int number, name; bool two; } cases[] = {
            {"mnurr", 14, 3, false}, {"mnury", 9, 0, false}, {"mnumt", 16, 14, false}, {"mnubt", 16, 14, false},
            {"mnurs", 1, 0, true},   {"mnul1", 1, 0, true},  {"mnul2", 1, 0, true},    {"mnucr", 1, 0, true},
            {"mnuks", 1, 0, true},   {"mnudm", -1, -1, false}, {"mnurd", -1, -1, false},
        };
        for (const auto &c : cases)
            QTest::newRow(c.menu) << QString(c.menu) << c.number << c.name << c.two;
    }
    void racerOfRow()
    {
        QFETCH(QString, menu);
        QFETCH(int, numberCol);
        QFETCH(int, nameCol);
        QFETCH(bool, twoHeadings);
        GridModel m;
        m.setCols(17);
        m.setRows(5);
        m.setFixedRows(1);
        const QStringList numbers{"登番", "4321", "0123", "40000", ""};
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 17; ++c)
                m.setText(r, c, c == numberCol ? numbers[r] : c == nameCol ? QStringLiteral("名%1").arg(r) : "7");
        m.setCol(2);
        QStringList got;
        for (int r = 0; r < 5; ++r) {
            m.setRow(r);
            const auto racer = gridpopup::racer(m, of(menu));
            got << (racer ? racer->tourokuno + racer->name : "-");
        }
        const QStringList expected{"-", twoHeadings ? "-" : "4321名1", "123名2", "-", "-"};
        QCOMPARE(got, numberCol < 0 ? QStringList(5, "-") : expected);
    }

    void raceOfCell_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("race");   // 0: nothing opens
        QTest::newRow("race cell") << "mnul2" << 2 << 5;
        QTest::newRow("frame cell names the race to its left") << "mnul2" << 3 << 5;
        QTest::newRow("frame cell elsewhere is no race") << "mnul1" << 3 << 0;
        QTest::newRow("two-digit race") << "mnucr" << 4 << 11;
        QTest::newRow("full-width R") << "mnucr" << 5 << 12;
        QTest::newRow("beyond race 12") << "mnucr" << 6 << 0;
        QTest::newRow("no race in the cell") << "mnucr" << 1 << 0;
        QTest::newRow("empty cell") << "mnucr" << 7 << 0;
    }
    void raceOfCell()
    {
        QFETCH(QString, menu);
        QFETCH(int, col);
        QFETCH(int, race);
        GridModel m;
        fillGrid(m, {"h|h|h|h|h|h|h|h", "h|h|h|h|h|h|h|h", "名前|4321| 5R|3枠|11R|12Ｒ|13R|"}, 2);
        m.setRow(2);
        m.setCol(col);
        QCOMPARE(gridpopup::race(m, of(menu)).value_or(0), race);
    }

    void resultRows()
    {
        GridModel m;
        fillGrid(m, {"日|R|a|b|c|d|e|f|g|h|i|j|k|date", "3日目|x|||||||||||| ", "x日目|7R||||||||||||20261205",
                 "2日目|11R||||||||||||20261204"}, 1);
        m.setCol(1);
        m.setRow(1);
        const auto outcome = outcomeResult(m, 7);
        QVERIFY(outcome);
        QCOMPARE(QList<int>({outcome->datescnt, outcome->racesno}), QList<int>({3, 7}));
        QVERIFY(outcome->date.isEmpty());
        QVERIFY(!outcomeResult(m, 13));
        m.setRow(2);   // no day
        QVERIFY(!outcomeResult(m, 7));
        QVERIFY(!racerResult(m));
        m.setRow(3);
        const auto detail = racerResult(m);
        QVERIFY(detail);
        QCOMPARE(QList<int>({detail->datescnt, detail->racesno}), QList<int>({2, 11}));
        QCOMPARE(detail->date, QString("20261204"));
    }

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

    // One fixed row and column, row 3 and columns 2 and 5 hidden, rows 4-5 of column 3 merged; rows 240 twips.
    void keyMoves_data()
    {
        QTest::addColumn<QPoint>("from");   // x = col, y = row
        QTest::addColumn<GridMove>("move");
        QTest::addColumn<int>("page");
        QTest::addColumn<QPoint>("to");
        const auto row = [](const char *name, QPoint from, GridMove move, QPoint to, int page = 0) {
            QTest::newRow(name) << from << move << page << to;
        };
        row("right over a hidden column", {1, 1}, GridMove::Right, {3, 1});
        row("never up into the fixed row", {3, 1}, GridMove::Up, {3, 1});
        row("down over a hidden row", {1, 2}, GridMove::Down, {1, 4});
        row("up over a hidden row", {1, 4}, GridMove::Up, {1, 2});
        row("a merged range is one cell", {3, 5}, GridMove::Up, {3, 2});
        row("nothing below the last range", {3, 4}, GridMove::Down, {3, 4});
        row("out of a range keeps the row", {3, 5}, GridMove::Right, {4, 5});
        row("nothing right of the last shown column", {4, 1}, GridMove::Right, {4, 1});
        row("home", {4, 2}, GridMove::RowStart, {1, 2});
        row("end: the last shown column", {1, 2}, GridMove::RowEnd, {4, 2});
        row("ctrl+home", {4, 5}, GridMove::First, {1, 1});
        row("ctrl+end", {1, 1}, GridMove::Last, {4, 5});
        row("from the fixed corner down", {0, 0}, GridMove::Down, {1, 1});
        row("from the fixed corner up", {0, 0}, GridMove::Up, {1, 1});
        row("page of two shown rows down", {1, 1}, GridMove::PageDown, {1, 4}, 480);
        row("page of two shown rows up", {1, 5}, GridMove::PageUp, {1, 2}, 480);
        row("a page smaller than a row moves one", {1, 1}, GridMove::PageDown, {1, 2}, 100);
        row("a page stops at the last row", {1, 2}, GridMove::PageDown, {1, 5}, 5000);
        row("a page from the fixed row", {0, 0}, GridMove::PageDown, {1, 2}, 480);
        row("from a hidden column down", {5, 1}, GridMove::Down, {4, 2});
    }
    void keyMoves()
    {
        QFETCH(QPoint, from);
        QFETCH(GridMove, move);
        QFETCH(int, page);
        QFETCH(QPoint, to);
        GridModel m;
        fillGrid(m, {"h|h|h|h|h|h", "a|b|c|d|e|f", "a|b|c|d|e|f", "a|b|c|d|e|f", "a|b|c|m|e|f", "a|b|c|m|e|f"}, 1);
        m.setFixedCols(1);
        m.setRowHeight(3, 0);
        for (int col : {2, 5})
            m.setColWidth(col, 0);
        m.setMergeMode(GridMerge::Free);
        m.setMergeCol(3, true);
        m.setRow(from.y());
        m.setCol(from.x());
        QCOMPARE(moveCurrent(m, move, page), to != from);
        QCOMPARE(QPoint(m.col(), m.row()), to);
    }

    // Rows and columns drawn one pixel thin (up to 22 twips: separator lines)
    // are passed over like hidden ones; two pixels (23 twips) hold the cell.
    void keyMovesPassThinLines()
    {
        GridModel m;
        fillGrid(m, {"h|h|h|h|h", "a|b|c|d|e", "a|b|c|d|e", "a|b|c|d|e", "a|b|c|d|e"}, 1);
        m.setFixedCols(1);
        for (const auto &[col, twips] : {std::pair{1, 10}, {3, 22}, {4, 23}})
            m.setColWidth(col, twips);
        m.setRowHeight(1, 10);
        m.setRowHeight(3, 22);
        QString path;
        for (GridMove step : {GridMove::First, GridMove::Right, GridMove::Left, GridMove::Left, GridMove::Down,
                              GridMove::Up, GridMove::Up, GridMove::Last, GridMove::RowStart}) {
            moveCurrent(m, step, 0);
            path += QString(" %1,%2").arg(m.col()).arg(m.row());
        }
        QCOMPARE(path, QString(" 2,2 4,2 2,2 2,2 2,4 2,2 2,2 4,4 2,4"));
        // A cell on a line (a click puts it there) leaves it by the next move.
        m.setRow(3);
        m.setCol(3);
        moveCurrent(m, GridMove::Down, 0);
        QCOMPARE(QPoint(m.col(), m.row()), QPoint(2, 4));
    }

    // A filled grid starts on the first body row a key can land on, past
    // hidden rows and separator lines (up to 22 twips), in the column asked
    // for or, where the keys cannot hold the cell there, the nearest one they
    // can. Without such a row the current cell stays.
    void startsWhereTheKeysReach_data()
    {
        QTest::addColumn<QList<int>>("heights"); // of the body rows, under two heading rows
        QTest::addColumn<int>("fixedCols");      // negative: the keys enter them
        QTest::addColumn<int>("hidden");         // a column of width 0, or -1
        QTest::addColumn<int>("col");            // the column asked for
        QTest::addColumn<QPoint>("to");          // x = col, y = row
        const QList<int> rows{240, 240};
        QTest::newRow("no fixed column") << rows << 0 << -1 << 0 << QPoint(0, 2);
        QTest::newRow("fixed name column") << rows << 1 << -1 << 0 << QPoint(1, 2);
        QTest::newRow("fixed name, hidden first body column") << rows << 1 << 1 << 0 << QPoint(2, 2);
        QTest::newRow("two fixed columns") << rows << 2 << -1 << 1 << QPoint(2, 2);
        QTest::newRow("a body column asked for") << rows << 1 << -1 << 3 << QPoint(3, 2);
        QTest::newRow("a hidden column asked for") << rows << 1 << 3 << 3 << QPoint(2, 2);
        QTest::newRow("keys enter the fixed column") << rows << -1 << -1 << 0 << QPoint(0, 2);
        QTest::newRow("past a separator line") << QList<int>{10, 240} << 0 << -1 << 1 << QPoint(1, 3);
        QTest::newRow("past a hidden row and a line") << QList<int>{0, 22, 23} << 0 << -1 << 1 << QPoint(1, 4);
        QTest::newRow("no row holds the cell") << QList<int>{10, 0} << 0 << -1 << 1 << QPoint(4, 0);
        QTest::newRow("no body row") << QList<int>{} << 0 << -1 << 1 << QPoint(4, 0);
    }
    void startsWhereTheKeysReach()
    {
        QFETCH(QList<int>, heights);
        QFETCH(int, fixedCols);
        QFETCH(int, hidden);
        GridModel m;
        fillGrid(m, QStringList(heights.size() + 2, "h|h|h|h|h"), 2);
        for (qsizetype i = 0; i < heights.size(); ++i)
            m.setRowHeight(int(i) + 2, heights[i]);
        m.setFixedCols(qAbs(fixedCols));
        m.setKeysEnterFixedCols(fixedCols < 0);
        if (hidden >= 0)
            m.setColWidth(hidden, 0);
        m.setRow(0);
        m.setCol(4);
        QFETCH(int, col);
        startAtFirstDataRow(m, col);
        QTEST(QPoint(m.col(), m.row()), "to");
    }

    // Only fixed rows, or every body column hidden: no key moves the cell.
    void keysOnAGridWithoutBody()
    {
        GridModel m;
        fillGrid(m, {"a|b|c"}, 1);
        for (GridMove move : {GridMove::Down, GridMove::Last, GridMove::RowEnd})
            QVERIFY(!moveCurrent(m, move));
        fillGrid(m, {"a|b", "c|d"}, 1);
        m.setColWidth(0, 0);
        m.setColWidth(1, 0);
        QVERIFY(!moveCurrent(m, GridMove::Down) && m.row() == 0 && m.col() == 0);
    }

    void shapeChanges()
    {
        GridModel m;
        fillGrid(m, {"a|b|c", "d|e|f", "g|h|i"});
        m.setBackColor(1, 1, 0xABCDEF);
        m.setRows(2);   // drop a row and add a column, keep the others
        m.setCols(4);
        m.setRows(3);   // the dropped row comes back empty
        QCOMPARE(QStringList({m.text(1, 1), m.text(1, 3), m.text(2, 0)}), QStringList({"e", "", ""}));
        QCOMPARE(m.backColor(1, 1), std::optional<QRgb>(0xABCDEF));
        // Out-of-range cells read empty and ignore writes.
        m.setText(7, 7, QStringLiteral("x"));
        QCOMPARE(m.text(7, 7), QString());
        QCOMPARE(m.mergedRange(9, 9), QRect(9, 9, 1, 1));
        // Fixed counts never exceed the grid; the current cell stays inside it.
        m.setFixedRows(5);
        QCOMPARE(m.fixedRows(), 3);
        m.setRow(2);
        m.setRows(1);
        QCOMPARE(QList<int>({m.fixedRows(), m.row()}), QList<int>({1, 0}));
    }
};

QTEST_APPLESS_MAIN(TestGrid)
#include "tst_grid.moc"
