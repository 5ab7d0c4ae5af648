#include "platform/gridpopup.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::gridpopup;

namespace {

// A grid with `fixedRows` header rows from lines of '|'-separated cells.
void fill(GridModel &m, const QStringList &lines, int fixedRows = 1)
{
    int cols = 0;
    for (const QString &line : lines)
        cols = std::max(cols, int(line.split(u'|').size()));
    m.setCols(cols);
    m.setRows(int(lines.size()));
    m.setFixedRows(fixedRows);
    for (int r = 0; r < lines.size(); ++r) {
        const QStringList cells = lines[r].split(u'|');
        for (int c = 0; c < cells.size(); ++c)
            m.setText(r, c, cells[c]);
    }
}

QStringList column(const GridModel &m, int col)
{
    QStringList texts;
    for (int r = m.fixedRows(); r < m.rows(); ++r)
        texts << m.text(r, col);
    return texts;
}

const Member &of(const char *menu)
{
    const Member *m = member(QString::fromLatin1(menu));
    Q_ASSERT(m);
    return *m;
}

} // namespace

class TestGridPopup : public QObject {
    Q_OBJECT
private slots:
    void sortByKeyColumn_data();
    void sortByKeyColumn();
    void averages_data();
    void averages();
    void nothingOnHiddenOrHeaderCells();
    void racerOfRow();
    void raceOfCell_data();
    void raceOfCell();
    void resultRows();
    void dataRoomGrids_data();
    void dataRoomGrids();
};

void TestGridPopup::sortByKeyColumn_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QStringList>("order");   // column 0 after the sort

    // Outcomes: the payout "#,0" column 3 sorts by the raw payout in column 8.
    QTest::newRow("payout by raw amount") << "mnudm" << 3 << false << QStringList{"b", "a", "c"};
    // A column without a key sorts by its own text.
    QTest::newRow("race name by itself") << "mnudm" << 1 << true << QStringList{"c", "b", "a"};
    // Power indices: every column by the column ten to its right.
    QTest::newRow("power index by raw index") << "mnury" << 1 << true << QStringList{"c", "a", "b"};
}

void TestGridPopup::sortByKeyColumn()
{
    QFETCH(QString, menu);
    QFETCH(int, col);
    QFETCH(bool, ascending);
    QFETCH(QStringList, order);
    GridModel m;
    // Column 3 shows formatted payouts; column 8 holds the raw amounts;
    // column 11 is the raw value behind column 1 of the power-index grid.
    fill(m, {"day|name|x|payout|x|x|x|x|raw|raw3|key|rawidx",
             "a|ウ|0|9,800|0|0|0|0|9800|0|0|50",
             "b|イ|0|10,000|0|0|0|0|10000|0|0|70",
             "c|ア|0|1,200|0|0|0|0|1200|0|0|10"});
    m.setRow(2);
    m.setCol(col);
    QVERIFY(sort(m, of(menu.toLatin1().constData()), ascending));
    QCOMPARE(column(m, 0), order);
    QCOMPARE(m.col(), col);
    QCOMPARE(m.row(), 2);
}

void TestGridPopup::averages_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("cells");   // the column's data rows; column 15 raw values
    QTest::addColumn<QStringList>("raw");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    const QString done = "平均値を計算しました...";
    const QString none = "警告です...";
    const QString noneText = "件数が 0 の為、平均値の計算は出来ません";
    QTest::newRow("five rows, total 123.4")
        << "mnudm" << 4 << QStringList{"20", "30.4", "  25", "18", "30"} << QStringList{} << done
        << "平均値は 24.68 です...\r\n\r\n合計 123.4    件数 5件";
    QTest::newRow("an empty cell is no entry")
        << "mnudm" << 4 << QStringList{"10", "", "20"} << QStringList{} << done
        << "平均値は 15.00 です...\r\n\r\n合計 30    件数 2件";
    QTest::newRow("dash skipped in results")
        << "mnurr" << 5 << QStringList{"6.71", "-", "6.79"} << QStringList{} << done
        << "平均値は 6.75 です...\r\n\r\n合計 13.5    件数 2件";
    // The racer detail averages the column it is on, not a hidden key.
    QTest::newRow("racer detail: the current column itself")
        << "mnurd" << 4 << QStringList{"1.49.6", "-"} << QStringList{} << done
        << "平均値は 1.49 です...\r\n\r\n合計 1.49    件数 1件";
    QTest::newRow("every cell a dash") << "mnurr" << 5 << QStringList{"-", "-"} << QStringList{} << none << noneText;
    QTest::newRow("no data rows") << "mnudm" << 4 << QStringList{} << QStringList{} << none << noneText;
    // Best times 1.49.3 and 1.50.0 (109.3 s and 110.0 s) and a boat with none:
    // 219.3 s over two boats is 109.65 s, 1.49.7 to the tenth.
    QTest::newRow("best times in tenths")
        << "mnubt" << 4 << QStringList{"1.49.3", "1.50.0", ""} << QStringList{"1493", "1500", "0"} << done
        << "平均値は 1.49.7 です...\r\n\r\n合計 3.39.3    件数 2件";
}

void TestGridPopup::averages()
{
    QFETCH(QString, menu);
    QFETCH(int, col);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, raw);
    QFETCH(QString, title);
    QFETCH(QString, text);
    GridModel m;
    m.setCols(17);
    m.setRows(int(cells.size()) + 1);
    m.setFixedRows(1);
    for (int i = 0; i < cells.size(); ++i) {
        m.setText(i + 1, col, cells[i]);
        if (i < raw.size())
            m.setText(i + 1, 15, raw[i]);
    }
    m.setRow(1);
    m.setCol(col);
    const auto a = average(m, of(menu.toLatin1().constData()));
    QVERIFY(a);
    QCOMPARE(a->title, title);
    QCOMPARE(a->text, text);
}

void TestGridPopup::nothingOnHiddenOrHeaderCells()
{
    GridModel m;
    fill(m, {"名前|登番|x", "山田|4321|1"});
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
    QVERIFY(!member("mnuri"));
}

void TestGridPopup::racerOfRow()
{
    GridModel m;
    // Power-index grid: name in column 0, registration number in column 9.
    fill(m, {"選手名|a|b|c|d|e|f|g|h|登番", "今村　豊|1|2|3|4|5|6|7|8|0123", "山田|1|2|3|4|5|6|7|8|40000",
             "空|1|2|3|4|5|6|7|8|"});
    const Member &ry = of("mnury");
    m.setCol(1);
    m.setRow(1);
    const auto r = racer(m, ry);
    QVERIFY(r);
    QCOMPARE(r->tourokuno, QString("123"));
    QCOMPARE(r->name, QString("今村　豊"));
    m.setRow(2);   // beyond 16 bits
    QVERIFY(!racer(m, ry));
    m.setRow(3);   // no number
    QVERIFY(!racer(m, ry));
    m.setRow(0);   // the heading
    QVERIFY(!racer(m, ry));
}

void TestGridPopup::raceOfCell_data()
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

void TestGridPopup::raceOfCell()
{
    QFETCH(QString, menu);
    QFETCH(int, col);
    QFETCH(int, race);
    GridModel m;
    fill(m, {"h|h|h|h|h|h|h|h", "h|h|h|h|h|h|h|h", "名前|4321| 5R|3枠|11R|12Ｒ|13R|"}, 2);
    m.setRow(2);
    m.setCol(col);
    const auto got = gridpopup::race(m, of(menu.toLatin1().constData()));
    QCOMPARE(got.value_or(0), race);
}

void TestGridPopup::resultRows()
{
    GridModel m;
    fill(m, {"日|R|a|b|c|d|e|f|g|h|i|j|k|date", "3日目|x|||||||||||| ", "x日目|7R||||||||||||20261205",
             "2日目|11R||||||||||||20261204"});
    m.setCol(1);
    m.setRow(1);
    const auto outcome = outcomeResult(m, 7);
    QVERIFY(outcome);
    QCOMPARE(outcome->datescnt, 3);
    QCOMPARE(outcome->racesno, 7);
    QVERIFY(outcome->date.isEmpty());
    QVERIFY(!outcomeResult(m, 13));
    m.setRow(2);   // no day
    QVERIFY(!outcomeResult(m, 7));
    QVERIFY(!racerResult(m));
    m.setRow(3);
    const auto detail = racerResult(m);
    QVERIFY(detail);
    QCOMPARE(detail->datescnt, 2);
    QCOMPARE(detail->racesno, 11);
    QCOMPARE(detail->date, QString("20261204"));
}

void TestGridPopup::dataRoomGrids_data()
{
    QTest::addColumn<QString>("menu");
    for (const char *menu : {"mnul1", "mnul2", "mnucr", "mnuks"})
        QTest::newRow(menu) << menu;
}

// The data room's grids have two heading rows, the name in column 0 and the
// registration number in column 1, and sort by the current column itself.
void TestGridPopup::dataRoomGrids()
{
    QFETCH(QString, menu);
    const Member &m = of(menu.toLatin1().constData());
    QCOMPARE(command(m, 4), Command::RacerDetail);
    QCOMPARE(command(m, 5), Command::RaceCard);
    GridModel g;
    // The member itself skips the second heading row (one fixed row here):
    // its "1着" would count as 1 if it were averaged.
    fill(g, {"選手名|登番|1着|x", "選手名|登番|1着|x", "山田|4321| 3|9", "岡|0123| 6|1"}, 1);
    g.setRow(3);
    g.setCol(2);
    const auto a = average(g, m);
    QVERIFY(a);
    QCOMPARE(a->text, QString("平均値は 4.50 です...\r\n\r\n合計 9    件数 2件"));
    const auto r = racer(g, m);
    QVERIFY(r);
    QCOMPARE(r->tourokuno, QString("123"));
    QCOMPARE(r->name, QString("岡"));
    g.setFixedRows(2);
    QVERIFY(sort(g, m, true));
    QCOMPARE(column(g, 0), (QStringList{"山田", "岡"}));
    g.setCol(3);
    QVERIFY(sort(g, m, true));
    QCOMPARE(column(g, 0), (QStringList{"岡", "山田"}));
}

QTEST_APPLESS_MAIN(TestGridPopup)
#include "tst_gridpopup.moc"
