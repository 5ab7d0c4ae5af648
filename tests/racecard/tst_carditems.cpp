// Items of the card: the item of every cell, the popup's race entries and
// averages.

#include "platform/gridmodel.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardtables.h"
#include "racecard/carditems.h"

#include <QSet>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

class TestCardItems : public QObject {
    Q_OBJECT

private slots:
    // On the card with every block, each item 2..87 lies in the block drawn
    // in its column; separators carry none and the fixed part is item 1.
    void itemMapOverAllBlocks()
    {
        const CardLayout all = CardLayout::all();
        QSet<int> seen;
        for (int col = 0; col < all.columnCount(); ++col)
            for (int row = 0; row < kGridRows; ++row) {
                const int item = get_cell_item(all, row, col);
                if (col < kFixedCols) {
                    QCOMPARE(item, 1);
                    continue;
                }
                const BlockInfo *info = blockInfo(all.ri(all.blockAtColumn(col)));
                const bool separator = row % 5 == 4 || col == all.rc(all.blockAtColumn(col)) + info->width - 1;
                if (separator)
                    QCOMPARE(item, 0);
                if (item == 0)
                    continue;
                QVERIFY2(item >= info->firstItem && item <= info->lastItem,
                         qPrintable(QString("block %1 item %2").arg(info->code).arg(item)));
                QCOMPARE(disp_help_context(item), 1010 + 10 * info->code);
                seen.insert(item);
            }
        QCOMPARE(seen.size(), 86);
        QCOMPARE(get_cell_item(all, 5, all.columnCount()), 0);
    }

    // The race card entry (8) opens the race a cell names; the result entry
    // (9) needs a boat's row holding a past race. Header rows name nothing.
    void raceEntries_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("day");   // -1: no race
        QTest::addColumn<int>("race");
        QTest::addColumn<bool>("result");
        QTest::newRow("result, day 3") << 69 << 10 << "5R①49\r\n6" << 3 << 5 << true;
        QTest::newRow("result, two digits") << 64 << 33 << "12R⑤　　" << 1 << 12 << true;
        QTest::newRow("result header row") << 69 << 3 << "3日目" << -1 << 0 << false;
        QTest::newRow("result without race number") << 69 << 10 << "不成立" << -1 << 0 << false;
        QTest::newRow("race 13") << 69 << 10 << "13R①" << -1 << 0 << false;
        QTest::newRow("early race") << 86 << 5 << "１２Ｒ２枠" << 0 << 12 << false;
        QTest::newRow("early race header row") << 86 << 0 << "３Ｒ５枠" << -1 << 0 << false;
        QTest::newRow("only race today") << 86 << 5 << "本日一回" << -1 << 0 << false;
        QTest::newRow("previous runs") << 34 << 6 << " 1 2 3" << -1 << 0 << true;
        QTest::newRow("previous runs header row") << 34 << 2 << "3場所前" << -1 << 0 << false;
    }
    void raceEntries()
    {
        QFETCH(int, item);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(int, day);
        QFETCH(int, race);
        QFETCH(bool, result);
        const auto got = clickedRace(item, row, text);
        QCOMPARE(got.has_value(), day >= 0);
        if (got) {
            QCOMPARE(got->day, day);
            QCOMPARE(got->race, race);
        }
        const PopupState state = set_popup_menu(CardLayout::normal(), item, row, text, text);
        QCOMPARE(state.enabled[ShowRace], day == 0);
        QCOMPARE(state.enabled[ShowResult], result);
    }

    // The average divides by the boats that have a value, never by six.
    void average_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("rowOffset");
        QTest::addColumn<QStringList>("cells");   // cells of boats 1..6 at the row offset
        QTest::addColumn<int>("boats");
        QTest::addColumn<QString>("text");
        QTest::newRow("best times of three boats")
            << 50 << 3 << QStringList{"1.49.6", "", "1.50.2", "", "1.48.0", ""} << 6
            << "平均値は 1492.67 です...\r\n\r\n合計 4478    件数 3件";
        QTest::newRow("a zero percentage counts")
            << 7 << 1 << QStringList{"30％", "0％", "45.5％", "10％", "20％", "15％"} << 6
            << "平均値は 20.08 です...\r\n\r\n合計 120.5    件数 6件";
        QTest::newRow("three boats on the card")
            << 7 << 1 << QStringList{"30％", "0％", "45％", "", "", ""} << 3
            << "平均値は 25.00 です...\r\n\r\n合計 75    件数 3件";
        // An empty cell is a boat without the value: left out of the count.
        QTest::newRow("empty percentage cell")
            << 7 << 1 << QStringList{"30％", "", "45％", "10％", "20％", "15％"} << 6
            << "平均値は 24.00 です...\r\n\r\n合計 120    件数 5件";
        QTest::newRow("empty plain cell")
            << 5 << 3 << QStringList{"6.50", "5.50", " ", "", "4.00", "8.00"} << 6
            << "平均値は 6.00 です...\r\n\r\n合計 24    件数 4件";
        QTest::newRow("empty class rate cell")
            << 2 << 0 << QStringList{"A1 6.50", "", "A2 5.50", "B1 4.00", "", "B2 4.00"} << 6
            << "平均値は 5.00 です...\r\n\r\n合計 20    件数 4件";
        QTest::newRow("class rates skip the dashes")
            << 2 << 0 << QStringList{"A1 6.50", "－ － ", "B1  － ", "A2 5.25", "や 5.50", "B2 4.00"} << 6
            << "平均値は 5.25 です...\r\n\r\n合計 15.75    件数 3件";
        QTest::newRow("no values") << 50 << 3 << QStringList(6, "") << 6 << "件数が 0 の為、平均値の計算は出来ません";
    }
    void average()
    {
        QFETCH(int, item);
        QFETCH(int, rowOffset);
        QFETCH(QStringList, cells);
        QFETCH(int, boats);
        QFETCH(QString, text);
        GridModel grid;
        grid.setRows(kGridRows);
        grid.setCols(8);
        for (int k = 1; k <= 6; ++k)
            grid.setText(boatRow(k) + rowOffset, 6, cells[k - 1]);
        const AverageResult result = comp_average(grid, item, boatRow(2) + rowOffset, 6, boats);
        QCOMPARE(result.text, text);
        QCOMPARE(result.title, result.count == 0 ? QString("警告です...") : QString("平均値を計算しました..."));
    }

    // How each item reads its cells: six equal cells, and below them the
    // value a labelled pair takes when its cell reads "優".
    void averageKinds_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("average");   // empty: nothing counted
        auto items = [](std::initializer_list<std::pair<int, int>> ranges, const char *cell, const char *average) {
            for (const auto &[first, last] : ranges)
                for (int item = first; item <= last; ++item)
                    QTest::addRow("item %d", item) << item << QString(cell) << QString(average);
        };
        items({{2, 4}}, "A1 6.50", "6.50");                                    // class-prefixed rate
        items({{5, 5}, {16, 19}, {26, 29}, {41, 41}, {45, 48}, {54, 54}, {58, 61}, {79, 81}, {84, 85}},
              "123", "123.00");                                                 // plain
        items({{6, 9}, {11, 13}, {21, 23}, {31, 33}, {42, 42}, {55, 55}}, "123", "12.00");   // trailing unit
        items({{14, 15}, {24, 25}, {43, 44}, {56, 57}}, "優出", "9.00");        // labelled pair
        items({{50, 50}}, "1.49.6", "1496.00");                                 // time
        items({{1, 1}, {10, 10}, {20, 20}, {30, 30}, {34, 40}, {49, 49}, {51, 53}, {62, 78}, {82, 83}, {86, 87}},
              "123", "");
    }
    void averageKinds()
    {
        QFETCH(int, item);
        QFETCH(QString, cell);
        QFETCH(QString, average);
        GridModel grid;
        grid.setRows(kGridRows);
        grid.setCols(8);
        for (int k = 1; k <= 6; ++k) {
            grid.setText(boatRow(k) + 1, 6, cell);
            grid.setText(boatRow(k) + 2, 6, "9");
        }
        const AverageResult result = comp_average(grid, item, boatRow(3) + 1, 6, 6);
        if (average.isEmpty())
            QCOMPARE(result.count, 0);
        else
            QCOMPARE(result.text.section("\r\n", 0, 0), "平均値は " + average + " です...");
    }
};

QTEST_GUILESS_MAIN(TestCardItems)
#include "tst_carditems.moc"
