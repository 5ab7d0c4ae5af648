// Items of the card: the item of every cell, popup entries, averages, help.

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
    void cellItem_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("item");
        // Normal layout: 1@6 2@8 3@10 4@12 5@15 12@17 16@19 19@21 23@45.
        QTest::newRow("fixed header") << 0 << 0 << 1;
        QTest::newRow("fixed separator row") << 9 << 3 << 1;
        QTest::newRow("block 1 row offset 2") << 7 << 6 << 4;
        QTest::newRow("block 1 separator column") << 7 << 7 << 0;
        QTest::newRow("block 1 separator row") << 14 << 6 << 0;
        QTest::newRow("block 4 finals") << 11 << 12 << 14;
        QTest::newRow("block 4 wins") << 12 << 12 << 15;
        QTest::newRow("block 4 rest") << 33 << 13 << 19;
        QTest::newRow("header row like a boat row") << 3 << 13 << 19;
        QTest::newRow("block 12 number") << 6 << 17 << 40;
        QTest::newRow("block 12 rate") << 7 << 17 << 41;
        QTest::newRow("block 16 number") << 10 << 19 << 53;
        QTest::newRow("block 16 rate") << 12 << 19 << 54;
        QTest::newRow("block 19 day 1 first") << 5 << 21 << 64;
        QTest::newRow("block 19 day 3 second") << 5 << 31 << 69;
        QTest::newRow("block 19 separator") << 5 << 22 << 0;
        QTest::newRow("block 19 last") << 5 << 43 << 75;
        QTest::newRow("block 23") << 8 << 45 << 86;
        QTest::newRow("past the last block") << 5 << 47 << 0;
        QTest::newRow("far past") << 5 << 400 << 0;
    }
    void cellItem()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, item);
        QCOMPARE(get_cell_item(CardLayout::normal(), row, col), item);
    }

    void itemMapOverAllBlocks()
    {
        const CardLayout all = CardLayout::all();
        QSet<int> seen;
        for (int i = 0; i < all.count(); ++i) {
            const BlockInfo *info = blockInfo(all.ri(i));
            for (int c = all.rc(i); c < all.rc(i) + info->width; ++c)
                for (int row = 0; row < kGridRows; ++row) {
                    const int item = get_cell_item(all, row, c);
                    if (row % 5 == 4 || c == all.rc(i) + info->width - 1) {
                        QCOMPARE(item, 0);
                        continue;
                    }
                    if (item == 0)
                        continue;
                    // Every item lies in its own block's range, and the help
                    // topic follows from the block.
                    QVERIFY2(item >= info->firstItem && item <= info->lastItem,
                             qPrintable(QString("block %1 item %2").arg(info->code).arg(item)));
                    QCOMPARE(disp_help_context(item), 1010 + 10 * info->code);
                    seen.insert(item);
                }
        }
        QCOMPARE(seen.size(), 86);   // items 2..87
        QCOMPARE(get_cell_item(all, 5, 150), 0);
        for (int row = 0; row < kGridRows; ++row)
            for (int c = 0; c < 6; ++c)
                QCOMPARE(get_cell_item(all, row, c), 1);
    }

    void itemMapFollowsTheLayout()
    {
        // The same block gives the same items wherever the layout puts it.
        const CardLayout alone = CardLayout::fromCodes({22});
        const CardLayout last = CardLayout::fromCodes({1, 4, 22});
        for (int c = 0; c < 14; ++c)
            for (int row = 5; row < 10; ++row)
                QCOMPARE(get_cell_item(last, row, 11 + c), get_cell_item(alone, row, 6 + c));
        QCOMPARE(get_cell_item(alone, 5, 18), 83);
        QCOMPARE(get_cell_item(alone, 7, 18), 84);
        QCOMPARE(get_cell_item(alone, 8, 18), 85);
        QCOMPARE(get_cell_item(alone, 8, 16), 82);
    }

    void help_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("context");
        QTest::newRow("fixed") << 1 << 1010;
        QTest::newRow("block 1") << 2 << 1020;
        QTest::newRow("block 12") << 42 << 1130;
        QTest::newRow("block 24") << 87 << 1250;
        QTest::newRow("no item") << 0 << 0;
        QTest::newRow("unknown") << 88 << 0;
    }
    void help()
    {
        QFETCH(int, item);
        QFETCH(int, context);
        QCOMPARE(disp_help_context(item), context);
    }

    void popup_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("racerText");
        QTest::addColumn<QString>("cellText");
        // Entries 0 asc, 1 desc, 2 average, 4 hide, 5 add, 7 racer, 8 race card, 9 result.
        QTest::addColumn<QString>("flags");
        QTest::newRow("fixed") << 1 << 7 << "" << "" << "11001100";
        QTest::newRow("numeric rate") << 54 << 7 << "" << "" << "11111000";
        QTest::newRow("boat number") << 53 << 5 << "" << "" << "11011000";
        QTest::newRow("label") << 10 << 5 << "" << "" << "00011000";
        QTest::newRow("previous runs with text") << 34 << 6 << " 1 2 3" << "" << "00011001";
        QTest::newRow("previous runs blank") << 34 << 6 << "　 " << "" << "00011000";
        QTest::newRow("previous runs header row") << 34 << 2 << "3場所前" << "3場所前" << "00011000";
        QTest::newRow("meeting result") << 69 << 10 << "5R①" << "5R①" << "00011001";
        QTest::newRow("meeting result header") << 69 << 3 << "3日目" << "3日目" << "00011000";
        QTest::newRow("meeting result empty slot") << 69 << 10 << "" << "" << "00011000";
        QTest::newRow("meeting result without race") << 69 << 10 << "不成立" << "不成立" << "00011000";
        QTest::newRow("early race") << 86 << 5 << "３Ｒ５枠" << "３Ｒ５枠" << "00011010";
        QTest::newRow("only race today") << 86 << 5 << "本日一回" << "本日一回" << "00011000";
        QTest::newRow("early race header") << 86 << 0 << "早見" << "早見" << "00011000";
    }
    void popup()
    {
        QFETCH(int, item);
        QFETCH(int, row);
        QFETCH(QString, racerText);
        QFETCH(QString, cellText);
        QFETCH(QString, flags);
        const PopupState state = set_popup_menu(CardLayout::normal(), item, row, racerText, cellText);
        const int entries[] = {0, 1, 2, 4, 5, 7, 8, 9};
        QString got;
        for (int e : entries)
            got += state.enabled[e] ? '1' : '0';
        QCOMPARE(got, flags);
        for (int e : {3, 6, 10, 11})
            QVERIFY(state.enabled[e]);
    }

    void addMenuFromTheClickedCardsLayout_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QList<int> all;
        for (int c = 1; c <= 24; ++c)
            all << c;
        QTest::newRow("normal") << QList<int>{1, 2, 3, 4, 5, 12, 16, 19, 23};
        QTest::newRow("all") << all;
        QTest::newRow("none") << QList<int>{};
        QTest::newRow("one") << QList<int>{22};
    }
    void addMenuFromTheClickedCardsLayout()
    {
        QFETCH(QList<int>, codes);
        const CardLayout layout = CardLayout::fromCodes(QVector<int>(codes.begin(), codes.end()));
        const PopupState state = set_popup_menu(layout, 1, 5, "", "");
        for (int menu = 0; menu < 28; ++menu) {
            const bool separator = menu == 11 || menu == 16 || menu == 20 || menu == 25;
            const int code = blockCodeOfMenu(menu);
            QCOMPARE(code == 0, separator);
            QCOMPARE(state.addEnabled[menu], !separator && !codes.contains(code));
            QCOMPARE(addMenuCaption(menu).isEmpty(), separator);
        }
    }

    void clickedRace_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("day");     // -1: no race
        QTest::addColumn<int>("race");
        QTest::newRow("day 3 second column") << 69 << 10 << "5R①49\r\n6" << 3 << 5;
        QTest::newRow("day 1 two digits") << 64 << 33 << "12R⑤　　" << 1 << 12;
        QTest::newRow("header row") << 69 << 3 << "3日目" << -1 << 0;
        QTest::newRow("separator row") << 69 << 9 << "5R" << -1 << 0;
        QTest::newRow("no R") << 69 << 10 << "" << -1 << 0;
        QTest::newRow("R first") << 69 << 10 << "R①" << -1 << 0;
        QTest::newRow("race 13") << 69 << 10 << "13R①" << -1 << 0;
        QTest::newRow("early race") << 86 << 5 << "３Ｒ５枠" << 0 << 3;
        QTest::newRow("early race two digits") << 86 << 5 << "12Ｒ２枠" << 0 << 12;
        QTest::newRow("only race today") << 86 << 5 << "本日一回" << -1 << 0;
        QTest::newRow("half-width R on early race") << 86 << 5 << "3R5枠" << -1 << 0;
        QTest::newRow("other item") << 34 << 5 << "5R" << -1 << 0;
    }
    void clickedRace()
    {
        QFETCH(int, item);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(int, day);
        QFETCH(int, race);
        const auto got = racecard::clickedRace(item, row, text);
        QCOMPARE(got.has_value(), day >= 0);
        if (got) {
            QCOMPARE(got->day, day);
            QCOMPARE(got->race, race);
        }
    }

    void average_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("rowOffset");
        QTest::addColumn<QStringList>("cells");   // row offset cells of boats 1..6 ("" = none)
        QTest::addColumn<QStringList>("below");   // the cells one row below
        QTest::addColumn<int>("boats");
        QTest::addColumn<QString>("text");
        const QString noCount = "件数が 0 の為、平均値の計算は出来ません";
        const QStringList none;
        QTest::newRow("best time over three boats")
            << 50 << 3 << QStringList{"1.49.6", "", "1.50.2", "", "1.48.0", ""} << none << 6
            << "平均値は 1492.67 です...\r\n\r\n合計 4478    件数 3件";
        QTest::newRow("percentages divide by six with a zero")
            << 7 << 1 << QStringList{"30％", "0％", "45.5％", "10％", "20％", "15％"} << none << 6
            << "平均値は 20.08 です...\r\n\r\n合計 120.5    件数 6件";
        QTest::newRow("three boats on the card")
            << 7 << 1 << QStringList{"30％", "0％", "45％", "", "", ""} << none << 3
            << "平均値は 25.00 です...\r\n\r\n合計 75    件数 3件";
        QTest::newRow("class rates skip the dashes")
            << 2 << 0 << QStringList{"A1 6.50", "－ － ", "B1  － ", "A2 5.25", "や 5.50", "B2 4.00"} << none << 6
            << "平均値は 5.25 です...\r\n\r\n合計 15.75    件数 3件";
        QTest::newRow("plain counts")
            << 16 << 0 << QStringList{"10", "8", "7", "0", "3", "2"} << none << 6
            << "平均値は 5.00 です...\r\n\r\n合計 30    件数 6件";
        QTest::newRow("labelled pair reads below the label")
            << 14 << 0 << QStringList{"優出", "優出", "優出", "優出", "優出", "優出"}
            << QStringList{"3", "1", "0", "2", "5", "4"} << 6
            << "平均値は 2.50 です...\r\n\r\n合計 15    件数 6件";
        QTest::newRow("labelled pair on the count")
            << 15 << 3 << QStringList{"1", "0", "0", "2", "1", "1"} << none << 6
            << "平均値は 0.83 です...\r\n\r\n合計 5    件数 6件";
        QTest::newRow("label item") << 10 << 0 << QStringList{"a", "b", "c", "d", "e", "f"} << none << 6 << noCount;
        QTest::newRow("no boats") << 7 << 1 << QStringList{"", "", "", "", "", ""} << none << 0 << noCount;
        QTest::newRow("no time") << 50 << 3 << QStringList{"", "", "", "", "", ""} << none << 6 << noCount;
        QTest::newRow("one character rate") << 3 << 1 << QStringList{"A", "", "", "", "", ""} << none << 1
                                            << "平均値は 0.00 です...\r\n\r\n合計 0    件数 1件";
    }
    void average()
    {
        QFETCH(int, item);
        QFETCH(int, rowOffset);
        QFETCH(QStringList, cells);
        QFETCH(QStringList, below);
        QFETCH(int, boats);
        QFETCH(QString, text);
        GridModel grid;
        grid.setRows(kGridRows);
        grid.setCols(8);
        const int col = 6;
        for (int k = 1; k <= 6; ++k) {
            grid.setText(boatRow(k) + rowOffset, col, cells[k - 1]);
            if (!below.isEmpty())
                grid.setText(boatRow(k) + rowOffset + 1, col, below[k - 1]);
        }
        const AverageResult result = comp_average(grid, item, boatRow(2) + rowOffset, col, boats);
        QCOMPARE(result.text, text);
        QCOMPARE(result.title, result.count == 0 ? QString("警告です...") : QString("平均値を計算しました..."));
    }
};

QTEST_GUILESS_MAIN(TestCardItems)
#include "tst_carditems.moc"
