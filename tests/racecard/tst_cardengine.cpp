// The card's fill: sort clauses, column counts, boat order, the fixed columns.

#include "common/modkelmon.h"
#include "platform/gridmodel.h"
#include "platform/messages.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/cardfixture.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

class TestCardEngine : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

    void fill(RaceCardEngine &card, const CardLayout &layout, int item = 1, int order = 0)
    {
        card.context.setuscode = QString::number(cardtest::kSetus);
        card.context.datescnt = QString::number(cardtest::kDay);
        card.context.racesno = QString::number(cardtest::kRace);
        card.layout = layout;
        card.item_no = item;
        card.disp_raceinfo(order);
    }

    // Frame numbers of the boats as drawn, read back from the registration
    // numbers (4000 + frame) at the start of the profile cells.
    static QList<int> drawnFrames(const GridModel &grid, int boats)
    {
        QList<int> frames;
        for (int k = 1; k <= boats; ++k)
            frames << grid.text(boatRow(k), 4).left(4).toInt() - 4000;
        return frames;
    }

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
    }
    void cleanup() { folder.reset(); }

    void orderBy_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("column");
        const QList<QPair<int, QString>> table = {
            {2, "syoritu_2k"}, {3, "syoritu_1k"}, {4, "syoritu_ge"}, {5, "syoritu_ns"},
            {6, "syuso_to_all"}, {7, "fukuritu_to"}, {8, "fukuritu_ge"}, {9, "fukuritu_nf"},
            {11, "fukuritu_to_3"}, {12, "fukuritu_ge_3"}, {13, "fukuritu_nf_3"}, {14, "yusyu_zk"},
            {15, "yusyo_zk"}, {16, "syuso_zk_1"}, {17, "syuso_zk_2"}, {18, "syuso_zk_3"},
            {19, "syuso_zk_all-(syuso_zk_1+syuso_zk_2+syuso_zk_3)"}, {21, "syurt_zk_1"},
            {22, "syurt_zk_2"}, {23, "syurt_zk_3"}, {24, "yusyu_ny"}, {25, "yusyo_ny"},
            {26, "syuso_nd_1"}, {27, "syuso_nd_2"}, {28, "syuso_nd_3"},
            {29, "syuso_nd_all-(syuso_nd_1+syuso_nd_2+syuso_nd_3)"}, {31, "syurt_nd_1"},
            {32, "syurt_nd_2"}, {33, "syurt_nd_3"}, {40, "motorno"}, {41, "syoritu_mt"},
            {42, "fukuritu_mt"}, {43, "yusyu_mt"}, {44, "yusyo_mt"}, {45, "syuso_mt_1"},
            {46, "syuso_mt_2"}, {47, "syuso_mt_3"},
            {48, "syuso_mt_all-(syuso_mt_1+syuso_mt_2+syuso_mt_3)"}, {50, "firsttime_mt"},
            {53, "boatsno"}, {54, "syoritu_bt"}, {55, "fukuritu_bt"}, {56, "yusyu_bt"},
            {57, "yusyo_bt"}, {58, "syuso_bt_1"}, {59, "syuso_bt_2"}, {60, "syuso_bt_3"},
            {61, "syuso_bt_all-(syuso_bt_1+syuso_bt_2+syuso_bt_3)"}, {79, "st_avg"},
            {80, "hj1_ks_avg"}, {81, "st_ks_avg"}, {84, "tenji_ks_avg"}, {85, "tenjun_ks_avg"},
        };
        for (const auto &[item, column] : table)
            QTest::addRow("item %d", item) << item << column;
    }
    void orderBy()
    {
        QFETCH(int, item);
        QFETCH(QString, column);
        QCOMPARE(get_orderby(item, 0), column + ",wakusno");
        QCOMPARE(get_orderby(item, 1), column + " desc,wakusno");
        // Every sort clause is valid SQL on the paper table.
        cardtest::insertSixBoats();
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal(), item, 1);
        QCOMPARE(card.boatCount(), 6);
    }

    void orderByFrameAndStrays()
    {
        QCOMPARE(get_orderby(1, 0), QString("wakusno"));
        QCOMPARE(get_orderby(1, 1), QString("wakusno desc"));
        // Items without a sort column fall back to frame order.
        QCOMPARE(get_orderby(10, 0), QString("wakusno"));
        QCOMPARE(get_orderby(0, 1), QString("wakusno desc"));
    }

    void columnCount_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("boats");
        QTest::addColumn<int>("columns");
        QList<int> all;
        for (int c = 1; c <= 24; ++c)
            all << c;
        QTest::newRow("normal") << QList<int>{1, 2, 3, 4, 5, 12, 16, 19, 23} << 6 << 47;
        QTest::newRow("all blocks") << all << 6 << 150;
        QTest::newRow("no blocks") << QList<int>{} << 6 << 6;
        QTest::newRow("one boat, normal") << QList<int>{1, 2, 3, 4, 5, 12, 16, 19, 23} << 1 << 47;
        QTest::newRow("race without boats") << QList<int>{1, 2, 3, 4, 5, 12, 16, 19, 23} << 0 << 6;
    }
    void columnCount()
    {
        QFETCH(QList<int>, codes);
        QFETCH(int, boats);
        QFETCH(int, columns);
        for (int frame = 1; frame <= boats; ++frame)
            cardtest::insertBoat(frame);
        GridModel grid;
        RaceCardEngine card(grid);
        const CardLayout layout = CardLayout::fromCodes(QVector<int>(codes.begin(), codes.end()));
        fill(card, layout);
        QCOMPARE(grid.cols(), columns);
        QCOMPARE(grid.rows(), kGridRows);
        QCOMPARE(grid.fixedRows(), 4);
        QCOMPARE(grid.fixedCols(), 5);
        if (boats > 0)
            QCOMPARE(grid.cols(), layout.columnCount());
        // A re-sort starts again from the fixed columns.
        card.item_no = 7;
        card.disp_raceinfo(1);
        QCOMPARE(grid.cols(), columns);
    }

    void boatOrder_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("order");
        QTest::addColumn<QList<double>>("values");   // per frame 1..6, into the sorted column
        QTest::addColumn<QString>("column");
        QTest::addColumn<QList<int>>("frames");
        const QList<double> none{0, 0, 0, 0, 0, 0};
        QTest::newRow("frame descending") << 1 << 1 << none << "" << QList<int>{6, 5, 4, 3, 2, 1};
        QTest::newRow("frame ascending") << 1 << 0 << none << "" << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("ties keep frame order")
            << 7 << 0 << QList<double>{40, 20, 40, 20, 30, 20} << "fukuritu_to"
            << QList<int>{2, 4, 6, 5, 1, 3};
        QTest::newRow("ties keep frame order descending")
            << 7 << 1 << QList<double>{40, 20, 40, 20, 30, 20} << "fukuritu_to"
            << QList<int>{1, 3, 5, 2, 4, 6};
        QTest::newRow("fraction") << 4 << 1 << QList<double>{6.5, 6.51, 3, 7.02, 0, 6.5}
                                  << "syoritu_ge" << QList<int>{4, 2, 1, 6, 3, 5};
    }
    void boatOrder()
    {
        QFETCH(int, item);
        QFETCH(int, order);
        QFETCH(QList<double>, values);
        QFETCH(QString, column);
        QFETCH(QList<int>, frames);
        for (int frame = 1; frame <= 6; ++frame) {
            QVariantMap fields;
            if (!column.isEmpty())
                fields.insert(column, values[frame - 1]);
            cardtest::insertBoat(frame, fields);
        }
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal(), item, order);
        QCOMPARE(drawnFrames(grid, 6), frames);
    }

    void runsOutsideThreeSortByExpression()
    {
        // syuso_zk_all - (1st + 2nd + 3rd): 25, 5, 15, 0, 30, 10 for frames 1..6.
        const int rest[] = {25, 5, 15, 0, 30, 10};
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBoat(frame, {{"syuso_zk_all", 25 + rest[frame - 1]}});
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal(), 19, 1);
        QCOMPARE(drawnFrames(grid, 6), (QList<int>{5, 1, 3, 6, 2, 4}));
        QCOMPARE(grid.text(boatRow(1) + 3, 13), QString("30"));
    }

    void sortKeepsTheCurrentCell()
    {
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBoat(frame, {{"fukuritu_to", 10 * (frame % 3)}});
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal());
        grid.setRow(boatRow(3) + 1);
        grid.setCol(8);
        QCOMPARE(card.set_popup_menu(grid.row(), grid.col(), nullptr), 7);
        card.sort_by_item(1);
        QCOMPARE(grid.row(), boatRow(3) + 1);
        QCOMPARE(grid.col(), 8);
        QCOMPARE(card.item_no, 7);
        QCOMPARE(drawnFrames(grid, 6), (QList<int>{2, 5, 1, 4, 3, 6}));
    }

    void averageOverTheBoatsOnTheCard_data()
    {
        QTest::addColumn<int>("boats");
        QTest::addColumn<QString>("text");
        QTest::newRow("six boats") << 6 << "平均値は 35.00 です...\r\n\r\n合計 210    件数 6件";
        QTest::newRow("three boats") << 3 << "平均値は 20.00 です...\r\n\r\n合計 60    件数 3件";
    }
    void averageOverTheBoatsOnTheCard()
    {
        QFETCH(int, boats);
        QFETCH(QString, text);
        for (int frame = 1; frame <= boats; ++frame)
            cardtest::insertBoat(frame, {{"fukuritu_to", 10 * frame}});
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal());
        grid.setRow(boatRow(1) + 1);
        grid.setCol(8);
        QVERIFY(card.set_popup_menu(grid.row(), grid.col(), nullptr) == 7);
        ScriptedMessages shown;
        card.show_average();
        QCOMPARE(shown.shown().size(), std::size_t(1));
        QCOMPARE(shown.shown().front().title, QString("平均値を計算しました..."));
        QCOMPARE(shown.shown().front().text, text);
    }

    void atMostSixBoats()
    {
        for (int frame = 1; frame <= 8; ++frame)
            cardtest::insertBoat(frame);
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal());
        QCOMPARE(card.boatCount(), 6);
        QCOMPARE(grid.rows(), kGridRows);
        QCOMPARE(drawnFrames(grid, 6), (QList<int>{1, 2, 3, 4, 5, 6}));
    }

    void fixedHeader()
    {
        GridModel grid;
        set_gridheader(grid);
        QCOMPARE(grid.cols(), 6);
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(grid.text(r, 0), QString("本　紙"));
            QVERIFY(grid.fontBold(r, 0));
            QCOMPARE(grid.text(r, 2), QString("連　番"));
            QCOMPARE(grid.backColor(r, 4), std::optional<QRgb>(0xFFE0C0));
        }
        QCOMPARE(grid.text(0, 4), QString("登番ＦＬ進入　期"));
        QCOMPARE(grid.text(1, 4), QString("選　手　名"));
        QCOMPARE(grid.text(2, 4), QString("選　手　名"));
        QVERIFY(grid.fontBold(1, 4) && !grid.fontBold(0, 4));
        QCOMPARE(grid.text(3, 4), QString("出身年令血液体重"));
        const int widths[] = {300, 10, 270, 10, 1540, 10};
        for (int c = 0; c < 6; ++c)
            QCOMPARE(grid.colWidth(c), widths[c]);
        for (int r = 0; r < kGridRows; ++r)
            QCOMPARE(grid.rowHeight(r), (r % 5 == 4) ? 10 : 190);
        QVERIFY(grid.mergeCol(0) && grid.mergeCol(2) && grid.mergeCol(4) && !grid.mergeCol(1));
        QVERIFY(grid.mergeRow(0) && grid.mergeRow(3) && !grid.mergeRow(5));
    }

    void racerName_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("points");
        QTest::newRow("4 characters") << "山田太郎" << "山田太郎" << 16.8;
        QTest::newRow("5 characters") << "山田　太郎" << "山田　太郎" << 13.8;
        QTest::newRow("6 characters, padded") << " 長谷川太郎次 " << "長谷川太郎次" << 10.8;
        QTest::newRow("7 characters") << "長谷川慎太郎次" << "長谷川慎太郎次" << 16.8;
    }
    void racerName()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(double, points);
        cardtest::insertBoat(3, {{"sensyname", stored}});
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal());
        for (int r = boatRow(1) + 1; r <= boatRow(1) + 2; ++r) {
            QCOMPARE(grid.text(r, 4), shown);
            QCOMPARE(qRound(grid.fontSize(r, 4) * 10), qRound(points * 10));
            QCOMPARE(grid.fontName(r, 4), QString("HG丸ｺﾞｼｯｸM-PRO"));
            QVERIFY(grid.fontBold(r, 4));
        }
    }

    void fixedColumns_data()
    {
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<QStringList>("expected");   // mark, frame digit, colour name, profile rows 0 and 3
        QTest::newRow("F 0, L 2") << QVariantMap{{"syuso_kk_f", 0}, {"syuso_kk_l1", 2}, {"tourokuno", 3456},
                                                 {"tourokuki", 7}, {"sinyu_k", 5}, {"yososno", 1}}
                                  << QStringList{"◎", "④", "青", "3456  ②内中07期", "東京34才Ａ型52㎏"};
        QTest::newRow("F 1, L 0, count above 6")
            << QVariantMap{{"syuso_kk_f", 7}, {"syuso_kk_l1", 0}, {"tourokuno", 12}, {"sinyu_k", 0},
                           {"yososno", 0}, {"adress", 0}, {"blood", 4}, {"Weight", 47.5}}
            << QStringList{"", "④", "青", "0012○  　　94期", "　　34才AB型47.5㎏"};
    }
    void fixedColumns()
    {
        QFETCH(QVariantMap, fields);
        QFETCH(QStringList, expected);
        cardtest::insertBoat(4, fields);
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal());
        const int top = boatRow(1);
        for (int r = top; r < top + 4; ++r) {
            QCOMPARE(grid.text(r, 0), expected[0]);
            QCOMPARE(grid.backColor(r, 0), std::optional<QRgb>(0xC0C0FF));
            QCOMPARE(grid.backColor(r, 4), std::optional<QRgb>(0xC0C0FF));
        }
        QCOMPARE(grid.text(top, 2), expected[1]);
        QCOMPARE(grid.text(top + 1, 2), expected[1]);
        QCOMPARE(grid.text(top + 2, 2), expected[2]);
        QCOMPARE(grid.text(top + 3, 2), expected[2]);
        QCOMPARE(grid.text(top, 4), expected[3]);
        QCOMPARE(grid.cellAlignment(top, 4), std::optional<GridAlign>(GridAlign::LeftCenter));
        QCOMPARE(grid.text(top + 3, 4), expected[4]);
    }

    void colourTable_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("rgb");   // -1: no colour
        QTest::newRow("header") << 0 << 0xFFE0C0;
        QTest::newRow("frame 2 grey") << 2 << 0xC0C0C0;
        QTest::newRow("13") << 13 << 0xE0E0E0;
        QTest::newRow("20 black") << 20 << 0x000000;
        QTest::newRow("22") << 22 << 0xC0C0C0;
        QTest::newRow("23 outside") << 23 << -1;
        QTest::newRow("negative") << -1 << -1;
    }
    void colourTable()
    {
        QFETCH(int, index);
        QFETCH(int, rgb);
        const auto colour = get_color(index);
        QCOMPARE(colour.has_value(), rgb >= 0);
        if (colour)
            QCOMPARE(int(*colour), rgb);
    }

    void frameOutsideColourTableLeavesCellUncoloured()
    {
        cardtest::insertBoat(40);
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::normal());
        QCOMPARE(card.boatCount(), 1);
        QVERIFY(!grid.backColor(boatRow(1), 0).has_value());
        QCOMPARE(grid.text(boatRow(1), 2), QString("○"));
        QCOMPARE(grid.text(boatRow(1) + 2, 2), QString("　"));
    }

    void blockWithoutBuilderKeepsItsColumnsHidden()
    {
        cardtest::insertSixBoats();
        GridModel grid;
        RaceCardEngine card(grid);
        fill(card, CardLayout::all());
        const CardLayout layout = CardLayout::all();
        for (int i = 0; i < layout.count(); ++i) {
            const BlockInfo *info = blockInfo(layout.ri(i));
            QVERIFY(info);
            const int first = layout.rc(i);
            const int last = first + info->width - 1;
            if (info->builder) {
                QVERIFY2(grid.colWidth(first) > 0, qPrintable(QString("block %1").arg(info->code)));
                QCOMPARE(grid.colWidth(last), 10);
            } else {
                for (int c = first; c <= last; ++c)
                    QCOMPARE(grid.colWidth(c), 0);
                QCOMPARE(grid.text(0, first), QString());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCardEngine)
#include "tst_cardengine.moc"
