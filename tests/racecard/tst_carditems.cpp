// Items of the card: the item of every cell and the averages.

#include "platform/gridmodel.h"
#include "racecard/cardtables.h"
#include "racecard/carditems.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

class TestCardItems : public QObject {
    Q_OBJECT

private slots:
    // Items of cells of the card with every block (block code, column and
    // row offset in the block, item; 0 for separators) and their help topics.
    void itemOfCells()
    {
        const int cells[][4] = {
            {1, 0, 3, 5}, {2, 0, 0, 6}, {3, 0, 1, 11}, {4, 0, 1, 14}, {4, 0, 2, 15}, {4, 1, 3, 19}, {4, 2, 0, 0},
            {5, 0, 3, 23}, {6, 1, 0, 26}, {7, 0, 2, 32}, {8, 1, 0, 0}, {8, 2, 0, 35}, {8, 4, 3, 36}, {9, 0, 1, 37},
            {10, 4, 0, 38}, {11, 22, 2, 39}, {12, 0, 1, 40}, {12, 0, 2, 41}, {12, 0, 3, 42}, {13, 1, 3, 48},
            {14, 0, 2, 49}, {14, 0, 3, 50}, {15, 2, 1, 52}, {16, 0, 1, 53}, {17, 1, 2, 60}, {18, 2, 0, 63},
            {19, 10, 0, 69}, {19, 22, 3, 75}, {19, 23, 0, 0}, {20, 0, 0, 76}, {21, 22, 0, 77}, {21, 24, 1, 79},
            {22, 12, 1, 83}, {22, 12, 2, 84}, {22, 12, 3, 85}, {23, 0, 0, 86}, {24, 0, 3, 87}, {24, 0, 4, 0}};
        const CardLayout all = CardLayout::all();
        for (const auto &[code, c, r, item] : cells) {
            const int col = all.rc(all.indexOf(code)) + c;
            QVERIFY2(get_cell_item(all, boatRow(2) + r, col) == item, qPrintable(QString("block %1, %2/%3").arg(code).arg(c).arg(r)));
            QCOMPARE(get_cell_item(all, r, col), r < 4 ? item : 0);   // header rows map like boat rows
            if (item)
                QCOMPARE(disp_help_context(item), 1010 + 10 * code);
        }
        for (int row : {0, 9, 33})
            QCOMPARE(get_cell_item(all, row, 3), 1);
        QCOMPARE(get_cell_item(all, 5, all.columnCount()), 0);
        QCOMPARE(disp_help_context(1), 1010);
    }

    // The average divides by the boats that have a value, never by six.
    void average_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("rowOffset");
        QTest::addColumn<QStringList>("cells");   // cells of boats 1..6 at the row offset
        QTest::addColumn<int>("boats");
        QTest::addColumn<QString>("expected");   // average, sum and count; empty: nothing counted
        QTest::newRow("best times of three boats") << 50 << 3 << QStringList{"1.49.6", "", "1.50.2", "", "1.48.0", ""}
                                                   << 6 << "1492.67 4478 3";
        QTest::newRow("a zero percentage counts") << 7 << 1 << QStringList{"30％", "0％", "45.5％", "10％", "20％", "15％"}
                                                  << 6 << "20.08 120.5 6";
        QTest::newRow("three boats on the card") << 7 << 1 << QStringList{"30％", "0％", "45％", "", "", ""} << 3
                                                 << "25.00 75 3";
        // An empty cell is a boat without the value: left out of the count.
        QTest::newRow("empty percentage cell") << 7 << 1 << QStringList{"30％", "", "45％", "10％", "20％", "15％"} << 6
                                               << "24.00 120 5";
        QTest::newRow("empty plain cell") << 5 << 3 << QStringList{"6.50", "5.50", " ", "", "4.00", "8.00"} << 6
                                          << "6.00 24 4";
        QTest::newRow("empty class rate cell") << 2 << 0 << QStringList{"A1 6.50", "", "A2 5.50", "B1 4.00", "", "B2 4.00"}
                                               << 6 << "5.00 20 4";
        QTest::newRow("class rates skip the dashes")
            << 2 << 0 << QStringList{"A1 6.50", "－ － ", "B1  － ", "A2 5.25", "や 5.50", "B2 4.00"} << 6 << "5.25 15.75 3";
        QTest::newRow("no values") << 50 << 3 << QStringList(6, "") << 6 << "";
        // How each item reads six equal cells; a labelled pair reading "優"
        // takes the cell below it (9).
        auto kind = [](std::initializer_list<std::pair<int, int>> ranges, const char *cell, const char *expected) {
            for (const auto &[first, last] : ranges)
                for (int item = first; item <= last; ++item)
                    QTest::addRow("item %d", item) << item << 1 << QStringList(6, cell) << 6 << QString(expected);
        };
        kind({{2, 4}}, "A1 6.50", "6.50 39 6");   // class-prefixed rate
        kind({{5, 5}, {16, 19}, {26, 29}, {41, 41}, {45, 48}, {54, 54}, {58, 61}, {79, 81}, {84, 85}}, "123", "123.00 738 6");
        kind({{6, 9}, {11, 13}, {21, 23}, {31, 33}, {42, 42}, {55, 55}}, "123", "12.00 72 6");   // trailing unit
        kind({{14, 15}, {24, 25}, {43, 44}, {56, 57}}, "優出", "9.00 54 6");
        kind({{50, 50}}, "1.49.6", "1496.00 8976 6");
        kind({{1, 1}, {10, 10}, {20, 20}, {30, 30}, {34, 40}, {49, 49}, {51, 53}, {62, 78}, {82, 83}, {86, 87}}, "123", "");
    }
    void average()
    {
        QFETCH(int, item);
        QFETCH(int, rowOffset);
        QFETCH(QStringList, cells);
        QFETCH(int, boats);
        QFETCH(QString, expected);
        GridModel grid;
        grid.setRows(kGridRows);
        grid.setCols(8);
        for (int k = 1; k <= 6; ++k) {
            grid.setText(boatRow(k) + rowOffset, 6, cells[k - 1]);
            grid.setText(boatRow(k) + rowOffset + 1, 6, "9");
        }
        const AverageResult result = comp_average(grid, item, boatRow(2) + rowOffset, 6, boats);
        const QStringList e = expected.split(' ');
        QCOMPARE(result.text, expected.isEmpty() ? QString("件数が 0 の為、平均値の計算は出来ません")
                                                 : QString("平均値は %1 です...\r\n\r\n合計 %2    件数 %3件").arg(e[0], e[1], e[2]));
        QCOMPARE(result.title, result.count == 0 ? QString("警告です...") : QString("平均値を計算しました..."));
    }

    // The race a results or early-race cell names: "dayN" from the item, the
    // race from the digits before R (half- or full-width); -1: none.
    void clickedRaces_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("race");
        QTest::newRow("first race, day 1") << 64 << "1R①" << 1 << 1;
        QTest::newRow("race 12, day 6") << 75 << "12R⑥" << 6 << 12;
        QTest::newRow("race 13") << 66 << "13R①" << 0 << -1;
        QTest::newRow("race 0") << 66 << "0R①" << 0 << -1;
        QTest::newRow("early race, full-width 9") << 86 << "９Ｒ２枠" << 0 << 9;
        QTest::newRow("early race, full-width 10") << 86 << "１０Ｒ" << 0 << 10;
        QTest::newRow("no number") << 86 << "Ｒ" << 0 << -1;
    }
    void clickedRaces()
    {
        QFETCH(int, item);
        QFETCH(QString, text);
        QFETCH(int, day);
        QFETCH(int, race);
        const auto got = clickedRace(item, boatRow(1), text);
        QCOMPARE(got ? got->race : -1, race);
        if (got)
            QCOMPARE(got->day, day);
    }

    // Which popup entries each class of item enables: sort ascending and
    // descending, average, hide, add, racer, race card, result.
    void popupClasses()
    {
        const QList<QPair<QList<int>, const char *>> classes{
            {{1}, "11001100"}, {{2, 9, 11, 19, 21, 29, 31, 41, 48, 50, 54, 61, 79, 81, 84, 85}, "11111000"},
            {{40, 53}, "11011000"}, {{10, 20, 30, 38, 39, 49, 76, 77, 78, 82, 83, 87}, "00011000"},
            {{34, 37, 51, 52, 62, 63, 64, 75}, "00011001"}, {{86}, "00011010"}};
        for (const auto &[items, flags] : classes)
            for (int item : items) {
                const PopupState s = set_popup_menu(CardLayout::normal(), item, boatRow(1), "x", item == 86 ? "3Ｒ" : "5R①");
                QString got;
                for (int entry : {0, 1, 2, 4, 5, 7, 8, 9})
                    got += s.enabled[std::size_t(entry)] ? '1' : '0';
                QVERIFY2(got == flags, qPrintable(QString("item %1: %2").arg(item).arg(got)));
            }
    }

    // On a header row a previous-runs item's result entry follows the header text;
    // a result of this meeting and the early race need a race in a boat's cell.
    void popupOnHeaderRows()
    {
        auto entry = [](int item, int row, const QString &headerText, const QString &cellText, int e) {
            return set_popup_menu(CardLayout::all(), item, row, headerText, cellText).enabled[std::size_t(e)];
        };
        for (int item : {34, 35, 36, 37, 51, 52, 62, 63})
            for (int row = 0; row < kHeaderRows; ++row) {
                QVERIFY2(entry(item, row, "前回当地", "前回当地", ShowResult), qPrintable(QString::number(item)));
                QVERIFY(!entry(item, row, " ", "前走", ShowResult));
            }
        QVERIFY(!entry(64, 3, "今 節 成 績", "1日目", ShowResult));
        QVERIFY(!entry(64, 0, "5R①", "5R①", ShowResult));
        QVERIFY(!entry(86, 0, "早見", "3Ｒ", ShowRace));
        QVERIFY(entry(1, 0, "本　紙", "本　紙", ShowRacer));
    }
};

QTEST_GUILESS_MAIN(TestCardItems)
#include "tst_carditems.moc"
