// The card's fill: the sort of every item, column counts and boat order.

#include "platform/gridmodel.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/cardfixture.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

// A boat's frame, its tint, circled digit and colour name, and its racer's
// name with the size the name is drawn at.
struct Boat {
    int frame; QRgb rgb; QString digit, colour, name; double size;
};
Q_DECLARE_METATYPE(Boat)

class TestCardEngine : public test::DatabaseTest {
    Q_OBJECT

private slots:
    // Each sortable item orders the boats by its own column: the column gets
    // values in an order of its own while every other column keeps the
    // fixture's equal values, so a wrong column falls back to frame order.
    // The three-place expressions get first places that would order the boats
    // otherwise, so the expression, not the count of all starts, decides.
    void sortColumns_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("column");   // "<prefix>*": starts less the first three places
        const QList<QPair<int, const char *>> columns{
            {2, "syoritu_2k"}, {3, "syoritu_1k"}, {4, "syoritu_ge"}, {5, "syoritu_ns"},
            {6, "syuso_to_all"}, {7, "fukuritu_to"}, {8, "fukuritu_ge"}, {9, "fukuritu_nf"},
            {11, "fukuritu_to_3"}, {12, "fukuritu_ge_3"}, {13, "fukuritu_nf_3"},
            {14, "yusyu_zk"}, {15, "yusyo_zk"}, {16, "syuso_zk_1"}, {17, "syuso_zk_2"}, {18, "syuso_zk_3"},
            {19, "syuso_zk*"}, {21, "syurt_zk_1"}, {22, "syurt_zk_2"}, {23, "syurt_zk_3"},
            {24, "yusyu_ny"}, {25, "yusyo_ny"}, {26, "syuso_nd_1"}, {27, "syuso_nd_2"}, {28, "syuso_nd_3"},
            {29, "syuso_nd*"}, {31, "syurt_nd_1"}, {32, "syurt_nd_2"}, {33, "syurt_nd_3"},
            {40, "motorno"}, {41, "syoritu_mt"}, {42, "fukuritu_mt"}, {43, "yusyu_mt"}, {44, "yusyo_mt"},
            {45, "syuso_mt_1"}, {46, "syuso_mt_2"}, {47, "syuso_mt_3"}, {48, "syuso_mt*"},
            {50, "firsttime_mt"}, {53, "boatsno"}, {54, "syoritu_bt"}, {55, "fukuritu_bt"},
            {56, "yusyu_bt"}, {57, "yusyo_bt"}, {58, "syuso_bt_1"}, {59, "syuso_bt_2"}, {60, "syuso_bt_3"},
            {61, "syuso_bt*"}, {79, "st_avg"}, {80, "hj1_ks_avg"}, {81, "st_ks_avg"},
            {84, "tenji_ks_avg"}, {85, "tenjun_ks_avg"},
        };
        for (const auto &[item, column] : columns)
            QTest::addRow("item %d %s", item, column) << item << QString::fromLatin1(column);
    }
    void sortColumns()
    {
        QFETCH(int, item);
        QFETCH(QString, column);
        const QList<int> values{30, 10, 60, 20, 50, 40};   // frames 1..6
        const QList<int> firsts{50, 40, 30, 20, 10, 0};
        for (int frame = 1; frame <= 6; ++frame) {
            QVariantMap fields;
            if (column.endsWith('*')) {
                const QString prefix = column.chopped(1);
                fields = {{prefix + "_all", values[frame - 1] + firsts[frame - 1]},
                          {prefix + "_1", firsts[frame - 1]}, {prefix + "_2", 0}, {prefix + "_3", 0}};
            } else {
                // The fixture's own equal values elsewhere; the motor and boat
                // numbers follow the frame there, so they are made equal.
                fields = {{"motorno", 1}, {"boatsno", 1}, {column, values[frame - 1]}};
            }
            cardtest::insertBoat(frame, fields);
        }
        GridModel grid;
        cardtest::fillBlocks(grid, {}, item, 0);
        QCOMPARE(cardtest::drawnFrames(grid, 6), (QList<int>{2, 4, 1, 6, 5, 3}));
        cardtest::fillBlocks(grid, {}, item, 1);
        QCOMPARE(cardtest::drawnFrames(grid, 6), (QList<int>{3, 5, 6, 1, 4, 2}));
    }

    // Items without a column of their own sort by frame; ties keep frame
    // order in both directions.
    void frameOrder_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("order");
        QTest::addColumn<QList<int>>("frames");
        for (int item : {0, 1, 10, 20, 30, 34, 39, 49, 51, 62, 64, 77, 82, 86, 87, 88})
            QTest::addRow("item %d", item) << item << 0 << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("item 1 descending") << 1 << 1 << QList<int>{6, 5, 4, 3, 2, 1};
        QTest::newRow("ties") << 7 << 0 << QList<int>{2, 4, 6, 5, 1, 3};
        QTest::newRow("ties, descending") << 7 << 1 << QList<int>{1, 3, 5, 2, 4, 6};
    }
    void frameOrder()
    {
        QFETCH(int, item);
        QFETCH(int, order);
        QFETCH(QList<int>, frames);
        const double ties[6] = {40, 20, 40, 20, 30, 20};
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBoat(frame, {{"motorno", 7 - frame}, {"boatsno", 7 - frame}, {"fukuritu_to", ties[frame - 1]}});
        GridModel grid;
        cardtest::fillBlocks(grid, {1, 2}, item, order);
        QCOMPARE(cardtest::drawnFrames(grid, 6), frames);
    }

    // The fixed columns of every boat: the frame's tint on the mark, frame and
    // profile columns, the circled digit over the colour name, the name's size
    // by its length.
    void fixedColumns_data()
    {
        QTest::addColumn<Boat>("boat");
        QTest::newRow("1") << Boat{1, 0xFFFFFF, "①", "白", "山田太郎", 16.8};
        QTest::newRow("2") << Boat{2, 0xC0C0C0, "②", "黒", "山田太郎丸", 13.8};
        QTest::newRow("3") << Boat{3, 0xFFC0C0, "③", "赤", "長谷川五郎丸", 10.8};
        // Seven characters: 7 x 22 and 7 x 18 pixels overrun the 102 pixels inside the column, 7 x 14 not.
        QTest::newRow("4") << Boat{4, 0xC0C0FF, "④", "青", "長谷川五郎丸七", 10.8};
        QTest::newRow("5") << Boat{5, 0xFFFFC0, "⑤", "黄", "　田中一郎  ", 16.8};
        QTest::newRow("6") << Boat{6, 0xC0FFC0, "⑥", "緑", " 佐藤花子丸 ", 13.8};
    }
    void fixedColumns()
    {
        QFETCH(Boat, boat);
        const auto &[frame, rgb, digit, colour, name, size] = boat;
        for (int f = 1; f <= 6; ++f)
            cardtest::insertBoat(f, f == frame ? QVariantMap{{"sensyname", name}} : QVariantMap{});
        GridModel grid;
        // Descending, so that the boat's place on the card is not its frame.
        cardtest::fillBlocks(grid, {1}, 1, 1);
        const int top = boatRow(7 - frame);
        for (int col : {0, 2, 4})
            for (int r = top; r < top + 4; ++r)
                QCOMPARE(grid.backColor(r, col), std::optional<QRgb>(rgb));
        QCOMPARE(cardtest::columnTexts(grid, 2, top), QStringList({digit, digit, colour, colour}).join('|'));
        const QString trimmed = name.trimmed();
        for (int r : {top + 1, top + 2}) {
            QCOMPARE(grid.text(r, 4), trimmed);
            QCOMPARE(qRound(grid.fontSize(r, 4) * 10), qRound(size * 10));
            QVERIFY(grid.fontBold(r, 4));
        }
        // The card's frame: separator rows, fixed part, column widths of the fixed columns and of block 1.
        QCOMPARE(QList<int>({grid.rowHeight(3), grid.rowHeight(4), grid.rowHeight(29), grid.rowHeight(33)}),
                 (QList<int>{190, 10, 10, 190}));
        QCOMPARE(QPoint(grid.fixedCols(), grid.fixedRows()), QPoint(5, 4));
        QList<int> widths;
        for (int c = 0; c < grid.cols(); ++c)
            widths << grid.colWidth(c);
        QCOMPARE(widths, (QList<int>{300, 10, 270, 10, 1540, 10, 720, 10}));
    }

    // Columns after a fill and after a re-sort; each block alone widens the
    // card by its own width.
    void columnCount_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("boats");
        QTest::addColumn<int>("columns");
        QList<int> all;
        for (int c = 1; c <= kBlockCodes; ++c)
            all << c;
        const QList<int> normal{1, 2, 3, 4, 5, 12, 16, 19, 23};
        QTest::newRow("normal") << normal << 6 << 47;
        QTest::newRow("all blocks") << all << 6 << 150;
        QTest::newRow("at most six boats") << normal << 8 << 47;
        QTest::newRow("race without boats") << normal << 0 << 6;
        const QList<QPair<int, QList<int>>> widths{
            {2, {1, 2, 3, 5, 7, 9, 12, 14, 16, 20, 23, 24}}, {3, {4, 6, 13, 17}}, {4, {15, 18}},
            {6, {8, 10}}, {14, {22}}, {24, {11, 19}}, {26, {21}}};
        for (const auto &[width, codes] : widths)
            for (int code : codes)
                QTest::addRow("block %d", code) << QList<int>{code} << 1 << kFixedCols + width;
    }
    void columnCount()
    {
        QFETCH(QList<int>, codes);
        QFETCH(int, boats);
        QFETCH(int, columns);
        for (int frame = 1; frame <= boats; ++frame)
            cardtest::insertBoat(frame);
        GridModel grid;
        QCOMPARE(cardtest::fillBlocks(grid, codes), qMin(boats, 6));
        QCOMPARE(grid.cols(), columns);
        QCOMPARE(grid.rows(), kGridRows);
        if (codes.size() == 1)
            QCOMPARE(get_colcount(codes[0]), columns - kFixedCols);
        if (boats > 6)
            QCOMPARE(cardtest::drawnFrames(grid, 6), (QList<int>{1, 2, 3, 4, 5, 6}));
        // A re-sort starts again from the fixed columns.
        cardtest::fillBlocks(grid, codes, 7, 1);
        QCOMPARE(grid.cols(), columns);
    }

    // Adding after a clicked block that is not on the card changes no block but still redraws in frame order.
    void addAfterBlockNotOnTheCard()
    {
        cardtest::insertSixBoats();
        GridModel grid;
        RaceCardEngine card(grid);
        card.context = {"", QString::number(cardtest::kSetus), QString::number(cardtest::kDay), "",
                        QString::number(cardtest::kRace)};
        card.layout = CardLayout::normal();
        card.disp_raceinfo(1);   // frames 6..1
        QCOMPARE(cardtest::drawnFrames(grid, 6), (QList<int>{6, 5, 4, 3, 2, 1}));
        card.item_no = 37;       // block 9, not in the normal layout
        card.add_column(24);
        QCOMPARE(card.layout, CardLayout::normal());
        QCOMPARE(card.item_no, 1);
        QCOMPARE(cardtest::drawnFrames(grid, 6), (QList<int>{1, 2, 3, 4, 5, 6}));
    }

    // Adding or hiding a block redraws the card in frame order and puts the
    // current cell back on its racer's row, at its column in its block (a
    // hidden last block: the start of the block now last, or the profile).
    // Normal layout: codes 1, 2, 3, 4, 5, 12, 16, 19, 23 at columns 6, 8, 10,
    // 12, 15, 17, 19, 21, 45; block 22 (entry 24) is 14 columns wide.
    void layoutChangesKeepTheCell_data()
    {
        QTest::addColumn<QList<int>>("codes");   // empty: the normal layout
        QTest::addColumn<int>("order");          // of the card before the change
        QTest::addColumn<int>("item");           // the clicked cell's item
        QTest::addColumn<int>("add");            // add entry, -1 hides the clicked block
        QTest::addColumn<QPoint>("from");        // x = column, y = row
        QTest::addColumn<QPoint>("to");
        QTest::newRow("add, last boat") << QList<int>() << 0 << 2 << 24 << QPoint(6, 33) << QPoint(6, 33);
        QTest::newRow("add, later block") << QList<int>() << 0 << 2 << 24 << QPoint(10, 32) << QPoint(24, 32);
        QTest::newRow("add, first goes last") << QList<int>() << 1 << 2 << 24 << QPoint(8, 6) << QPoint(22, 31);
        QTest::newRow("add, last goes first") << QList<int>() << 1 << 2 << 24 << QPoint(6, 33) << QPoint(6, 8);
        QTest::newRow("hide last") << QList<int>() << 0 << 86 << -1 << QPoint(45, 31) << QPoint(21, 31);
        QTest::newRow("hide last, last row") << QList<int>() << 1 << 86 << -1 << QPoint(45, 30) << QPoint(21, 5);
        QTest::newRow("hide last of five") << QList<int>{1, 2, 3, 23, 24} << 0 << 87 << -1 << QPoint(14, 12)
                                           << QPoint(12, 12);
        QTest::newRow("hide the only") << QList<int>{3} << 0 << 11 << -1 << QPoint(6, 27) << QPoint(4, 27);
    }
    void layoutChangesKeepTheCell()
    {
        QFETCH(QList<int>, codes);
        QFETCH(int, order);
        QFETCH(int, item);
        QFETCH(int, add);
        QFETCH(QPoint, from);
        cardtest::insertSixBoats();
        GridModel grid;
        RaceCardEngine card(grid);
        card.context = {"", QString::number(cardtest::kSetus), QString::number(cardtest::kDay), "",
                        QString::number(cardtest::kRace)};
        card.layout = codes.isEmpty() ? CardLayout::normal() : CardLayout::fromCodes(codes);
        card.disp_raceinfo(order);
        grid.setRow(from.y());
        grid.setCol(from.x());
        card.item_no = item;
        add >= 0 ? card.add_column(add) : card.del_column();
        QCOMPARE(cardtest::drawnFrames(grid, 6), (QList<int>{1, 2, 3, 4, 5, 6}));
        QTEST(QPoint(grid.col(), grid.row()), "to");
    }
};

QTEST_GUILESS_MAIN(TestCardEngine)
#include "tst_cardengine.moc"
