#include "platform/gridpopup.h"
#include "support/gridshown.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::gridpopup;
using kelmon::test::fillGrid;

namespace {

QStringList column(const GridModel &m, int col)
{
    QStringList texts;
    for (int r = m.fixedRows(); r < m.rows(); ++r)
        texts << m.text(r, col);
    return texts;
}

const Member &of(const QString &menu)
{
    const Member *m = member(menu);
    Q_ASSERT(m);
    return *m;
}

} // namespace

class TestGridPopup : public QObject {
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
        QCOMPARE(m.col(), col);
        QCOMPARE(m.row(), 2);
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
        QTest::newRow("every cell a dash") << "mnurr" << 5 << 5 << QStringList{"-", "-"} << none;
        QTest::newRow("no data rows") << "mnudm" << 4 << 4 << QStringList{} << none;
        // Best times 1.49.3 and 1.50.0 (109.3 s and 110.0 s); no time (0) and
        // a value beyond any race time are left out: 219.3 s over two boats
        // is 109.65 s, 1.49.7 to the tenth.
        QTest::newRow("best times in tenths")
            << "mnubt" << 4 << 15 << QStringList{"1493", "1500", "0", "100000", "99999999"}
            << "平均値は 1.49.7 です...\r\n\r\n合計 3.39.3    件数 2件";
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
        QCOMPARE(column(m, 2), QStringList{"1"});
        // The power-index grid has no average item: item 2 is a separator.
        QCOMPARE(command(of("mnury"), 2), Command::None);
        QCOMPARE(command(of("mnury"), 3), Command::RacerDetail);
        QCOMPARE(command(of("mnurs"), 5), Command::RaceCard);
        QCOMPARE(command(of("mnurs"), 6), Command::None);
        QCOMPARE(command(of("mnudm"), 4), Command::RaceResult);
        QVERIFY(!member("mnuri"));
    }

    void racerOfRow()
    {
        GridModel m;
        // Power-index grid: name in column 0, registration number in column 9.
        fillGrid(m, {"選手名|a|b|c|d|e|f|g|h|登番", "今村　豊|1|2|3|4|5|6|7|8|0123", "山田|1|2|3|4|5|6|7|8|40000",
                 "空|1|2|3|4|5|6|7|8|"}, 1);
        const Member &ry = of("mnury");
        m.setCol(1);
        m.setRow(1);
        const auto r = racer(m, ry);
        QVERIFY(r);
        QCOMPARE(r->tourokuno, QString("123"));
        QCOMPARE(r->name, QString("今村　豊"));
        for (int row : {2, 3, 0}) {   // beyond 16 bits, no number, the heading
            m.setRow(row);
            QVERIFY(!racer(m, ry));
        }
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

    void dataRoomGrids_data()
    {
        QTest::addColumn<QString>("menu");
        for (const char *menu : {"mnul1", "mnul2", "mnucr", "mnuks"})
            QTest::newRow(menu) << menu;
    }
    // The data room's grids have two heading rows, the name in column 0 and
    // the registration number in column 1.
    void dataRoomGrids()
    {
        QFETCH(QString, menu);
        const Member &m = of(menu);
        QCOMPARE(command(m, 4), Command::RacerDetail);
        QCOMPARE(command(m, 5), Command::RaceCard);
        GridModel g;
        // The member itself skips the second heading row (one fixed row here):
        // its "1着" would count as 1 if it were averaged.
        fillGrid(g, {"選手名|登番|1着|x", "選手名|登番|1着|x", "山田|4321| 3|9", "岡|0123| 6|1"}, 1);
        g.setRow(3);
        g.setCol(2);
        const auto a = average(g, m);
        QVERIFY(a);
        QCOMPARE(a->text, QString("平均値は 4.50 です...\r\n\r\n合計 9    件数 2件"));
        const auto r = racer(g, m);
        QVERIFY(r);
        QCOMPARE(QStringList({r->tourokuno, r->name}), QStringList({"123", "岡"}));
        g.setRow(1);   // the second heading row names no racer
        QVERIFY(!racer(g, m));
    }
};

QTEST_APPLESS_MAIN(TestGridPopup)
#include "tst_gridpopup.moc"
