// The card's fill: the sort of every item, column counts and boat order.

#include "platform/gridmodel.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/cardfixture.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

class TestCardEngine : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

private slots:
    void init() { folder = std::make_unique<cardtest::FixtureFolder>(); }
    void cleanup() { folder.reset(); }

    // The sort clause of every item runs against the paper table.
    void everyItemSorts_data()
    {
        QTest::addColumn<int>("item");
        for (int item = 0; item <= 88; ++item)
            QTest::addRow("item %d", item) << item;
    }
    void everyItemSorts()
    {
        QFETCH(int, item);
        cardtest::insertSixBoats();
        CardContext context;
        context.setuscode = QString::number(cardtest::kSetus);
        context.datescnt = QString::number(cardtest::kDay);
        context.racesno = QString::number(cardtest::kRace);
        QCOMPARE(queryBoats(context, item, 0).size(), 6);
        QCOMPARE(queryBoats(context, item, 1).size(), 6);
    }

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
        if (boats > 6)
            QCOMPARE(cardtest::drawnFrames(grid, 6), (QList<int>{1, 2, 3, 4, 5, 6}));
        // A re-sort starts again from the fixed columns.
        cardtest::fillBlocks(grid, codes, 7, 1);
        QCOMPARE(grid.cols(), columns);
    }

    void boatOrder_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QList<double>>("values");   // per frame 1..6
        QTest::addColumn<QList<int>>("frames");
        const QList<double> ties{40, 20, 40, 20, 30, 20};
        QTest::newRow("frame descending") << 1 << 1 << "" << QList<double>{} << QList<int>{6, 5, 4, 3, 2, 1};
        QTest::newRow("ties in frame order") << 7 << 0 << "fukuritu_to" << ties << QList<int>{2, 4, 6, 5, 1, 3};
        QTest::newRow("ties in frame order, descending") << 7 << 1 << "fukuritu_to" << ties
                                                         << QList<int>{1, 3, 5, 2, 4, 6};
        // Runs outside the first three: syuso_zk_all less the 25 places.
        QTest::newRow("expression") << 19 << 1 << "syuso_zk_all" << QList<double>{50, 30, 40, 25, 55, 35}
                                    << QList<int>{5, 1, 3, 6, 2, 4};
    }
    void boatOrder()
    {
        QFETCH(int, item);
        QFETCH(int, order);
        QFETCH(QString, column);
        QFETCH(QList<double>, values);
        QFETCH(QList<int>, frames);
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBoat(frame, column.isEmpty() ? QVariantMap{} : QVariantMap{{column, values[frame - 1]}});
        GridModel grid;
        cardtest::fillBlocks(grid, {1, 2, 3, 4}, item, order);
        QCOMPARE(cardtest::drawnFrames(grid, 6), frames);
    }
};

QTEST_GUILESS_MAIN(TestCardEngine)
#include "tst_cardengine.moc"
