// Racer record blocks 1 to 7 and the rate formatter, from fixture rows.

#include "platform/gridmodel.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/cardfixture.h"
#include "racecard/racerblocks.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

class TestRacerBlocks : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

    static void fill(GridModel &grid, const QList<int> &codes, int item = 1, int order = 0)
    {
        RaceCardEngine card(grid);
        card.context.setuscode = QString::number(cardtest::kSetus);
        card.context.datescnt = QString::number(cardtest::kDay);
        card.context.racesno = QString::number(cardtest::kRace);
        card.layout = CardLayout::fromCodes(QVector<int>(codes.begin(), codes.end()));
        card.item_no = item;
        card.disp_raceinfo(order);
    }

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
    }
    void cleanup() { folder.reset(); }

    void rate_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("rounds down") << "B1" << 3.454 << "B1 3.45";
        QTest::newRow("rounds up") << "B1" << 3.456 << "B1 3.46";
        QTest::newRow("half away from zero") << "A1" << 2.675 << "A1 2.68";
        QTest::newRow("two decimals") << "A1" << 6.5 << "A1 6.50";
        QTest::newRow("blank class") << "  " << 5.2 << "－ － ";
        QTest::newRow("ideographic blank class") << "　" << 5.2 << "－ － ";
        QTest::newRow("zero rate") << "A2" << 0.0 << "A2  － ";
        QTest::newRow("padded class") << " A1 " << 7.0 << "A1 7.00";
        QTest::newRow("negative") << "B2" << -1.5 << "B2 -1.50";
    }
    void rate()
    {
        QFETCH(QString, prefix);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(fmt_rate(prefix, value), text);
    }

    void blockCells_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QVariantMap>("fields");
        // Per data column: header rows 0..3 then the boat's rows 5..8, joined by '|'.
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("block 1 class rates")
            << 1 << QVariantMap{{"syoritu_ns", 6.123}, {"flag_ns", 2}, {"classcode_ge", " "}}
            << QStringList{"前々率|前勝率|現勝率|最近率|A1 6.50|A2 5.25|－ － |   6.12"};
        QTest::newRow("block 1 second layout")
            << 1 << QVariantMap{{"syoritu_ms", 5.5}, {"fukuritu_ms", 30}, {"syoritu_ns", 0}, {"flag_ns", 4}}
            << QStringList{"前々率|前勝率|現勝率|当地率|や 5.50|ま 30％|と     |\u3000 0.00"};
        QTest::newRow("block 1 unknown period")
            << 1 << QVariantMap{{"flag_ns", 15}, {"syoritu_2k", 0}}
            << QStringList{"前々率|前勝率|現勝率|\u3000\u3000率|A1  － |A2 5.25|B1 4.00|   5.43"};
        QTest::newRow("block 2")
            << 2 << QVariantMap{{"fukuritu_to", 33.3}, {"fukuritu_ge", 40}, {"flag_nf", 4}}
            << QStringList{"2連率|当 地|全 国|当 地|40回|33.3％|40％|25％"};
        QTest::newRow("block 2 unknown period")
            << 2 << QVariantMap{{"flag_nf", 0}}
            << QStringList{"2連率|当 地|全 国|\u3000 \u3000|40回|33.3％|40％|25％"};
        QTest::newRow("block 3")
            << 3 << QVariantMap{{"flag_nf", 1}}
            << QStringList{"3連率|当 地|全 国|全 国||50％|55.5％|60％"};
        QTest::newRow("block 4")
            << 4 << QVariantMap{}
            << QStringList{"全国|全国|優出|優勝|優出|3|優勝|1", "1着|2着|3着|外|10|8|7|25"};
        QTest::newRow("block 5 zero rate")
            << 5 << QVariantMap{{"syurt_zk_1", 0}}
            << QStringList{"全 国|1着率|2着率|3着率||0％|16％|14％"};
        QTest::newRow("block 6")
            << 6 << QVariantMap{}
            << QStringList{"当地|当地|優出|優勝|優出|2|優勝|0", "1着|2着|3着|外|3|2|0|7"};
        QTest::newRow("block 6 unknown period")
            << 6 << QVariantMap{{"flag_nd", 0}}
            << QStringList{"\u3000\u3000|\u3000\u3000|優出|優勝|優出|2|優勝|0", "1着|2着|3着|外|3|2|0|7"};
        QTest::newRow("block 7")
            << 7 << QVariantMap{}
            << QStringList{"当 地|1着率|2着率|3着率||25％|16.7％|0％"};
        QTest::newRow("block 7 unknown period")
            << 7 << QVariantMap{{"flag_nd", 0}}
            << QStringList{"\u3000 \u3000|1着率|2着率|3着率||25％|16.7％|0％"};
        QTest::newRow("values that do not fit")
            << 4 << QVariantMap{{"yusyu_zk", "abc"}, {"syuso_zk_all", "1e999"}, {"syuso_zk_1", QVariant()}}
            << QStringList{"全国|全国|優出|優勝|優出|0|優勝|1", "1着|2着|3着|外|0|8|7|-15"};
    }
    void blockCells()
    {
        QFETCH(int, code);
        QFETCH(QVariantMap, fields);
        QFETCH(QStringList, columns);
        cardtest::insertBoat(1, fields);
        GridModel grid;
        fill(grid, {code});
        const BlockInfo *info = blockInfo(code);
        QCOMPARE(grid.cols(), 6 + info->width);
        QCOMPARE(columns.size(), info->width - 1);
        for (int c = 0; c < columns.size(); ++c) {
            const QStringList texts = columns[c].split('|');
            QCOMPARE(texts.size(), 8);
            for (int i = 0; i < 8; ++i) {
                const int row = i < 4 ? i : i + 1;
                QCOMPARE(grid.text(row, 6 + c), texts[i]);
            }
        }
        // The separator column is never written.
        for (int row = 0; row < 9; ++row)
            QCOMPARE(grid.text(row, 6 + info->width - 1), QString());
    }

    void formats_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("dataColour");
        QTest::addColumn<bool>("mergesFirstColumn");
        QTest::newRow("1") << 1 << QList<int>{720, 10} << 0xFFFFC0 << false;
        QTest::newRow("2") << 2 << QList<int>{540, 10} << 0xFFFFFF << false;
        QTest::newRow("3") << 3 << QList<int>{540, 10} << 0xFFFFFF << false;
        QTest::newRow("4") << 4 << QList<int>{460, 380, 10} << 0xFFFFFF << true;
        QTest::newRow("5") << 5 << QList<int>{540, 10} << 0xFFFFFF << false;
        QTest::newRow("6") << 6 << QList<int>{460, 380, 10} << 0xFFFFFF << true;
        QTest::newRow("7") << 7 << QList<int>{540, 10} << 0xFFFFFF << false;
    }
    void formats()
    {
        QFETCH(int, code);
        QFETCH(QList<int>, widths);
        QFETCH(int, dataColour);
        QFETCH(bool, mergesFirstColumn);
        cardtest::insertSixBoats();
        GridModel grid;
        fill(grid, {code});
        for (int c = 0; c < widths.size(); ++c)
            QCOMPARE(grid.colWidth(6 + c), widths[c]);
        QCOMPARE(grid.mergeCol(6), mergesFirstColumn);
        QCOMPARE(grid.colAlignment(6), GridAlign::CenterCenter);
        for (int c = 6; c < 6 + widths.size() - 1; ++c) {
            for (int row = 0; row < 4; ++row)
                QCOMPARE(grid.backColor(row, c), std::optional<QRgb>(0xFFE0C0));
            for (int k = 1; k <= 6; ++k)
                for (int row = boatRow(k); row < boatRow(k) + 4; ++row)
                    QCOMPARE(grid.backColor(row, c), std::optional<QRgb>(QRgb(dataColour)));
            QVERIFY(!grid.backColor(boatRow(1) + 4, c).has_value());
        }
        // Numbers are right-aligned in the data cells.
        const int numberCol = mergesFirstColumn ? 7 : 6;
        QCOMPARE(grid.cellAlignment(boatRow(6) + 3, numberCol), std::optional<GridAlign>(GridAlign::RightCenter));
    }

    void headerFromTheFirstBoatAfterASort()
    {
        cardtest::insertBoat(1, {{"flag_ns", 2}, {"flag_nd", 4}});
        cardtest::insertBoat(2, {{"flag_ns", 4}, {"flag_nd", 1}});
        GridModel grid;
        fill(grid, {1, 6});
        QCOMPARE(grid.text(3, 6), QString("最近率"));
        QCOMPARE(grid.text(0, 8), QString("当地"));
        fill(grid, {1, 6}, 1, 1);
        QCOMPARE(grid.text(3, 6), QString("当地率"));
        QCOMPARE(grid.text(0, 8), QString("全国"));
    }

    void everyBoatIsDrawnInItsRows()
    {
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBoat(frame, {{"syuso_to_all", frame * 10}});
        GridModel grid;
        fill(grid, {2}, 6, 1);
        for (int k = 1; k <= 6; ++k)
            QCOMPARE(grid.text(boatRow(k), 6), QString("%1回").arg((7 - k) * 10));
    }
};

QTEST_GUILESS_MAIN(TestRacerBlocks)
#include "tst_racerblocks.moc"
