// Previous-meeting blocks 8 to 10 from fixture rows: labels, notes, run
// histories in the short letter form, dates and grade colours.

#include "platform/gridmodel.h"
#include "racecard/blockhelpers.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/blockfixture.h"
#include "racecard/helpers/cardfixture.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;
using cardtest::columnTexts;

class TestMeetingBlocks : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
    }
    void cleanup() { folder.reset(); }

    // Per written column of the block (separators left out): header rows 0..3
    // and the boat's rows 5..8, joined by '|'.
    void cells_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<QList<int>>("offsets");
        QTest::addColumn<QStringList>("columns");
        const QString title8 = QStringLiteral(" |前走3場所成績| |");
        QTest::newRow("block 8, oldest meeting on the left")
            << 8 << QVariantMap{} << QList<int>{0, 2, 4}
            << QStringList{title8 + "3場所前|福岡ＧⅠ|||", title8 + "2場所前|桐生一般||S4|",
                           title8 + "前走|住之江ＳＧ|準優|123|"};
        QTest::newRow("block 8, separators carry the title")
            << 8 << QVariantMap{} << QList<int>{1, 3, 5}
            << QStringList{title8 + "||||", title8 + "||||", "|||||||"};
        QTest::newRow("letter codes and accidents in the short form")
            << 8 << QVariantMap{{"seiseki_z1", "1011021S0107158"}, {"ketujyo_z1", " 途中帰郷 "}}
            << QList<int>{4} << QStringList{title8 + "前走|住之江ＳＧ|途中帰郷|12S|"};
        QTest::newRow("eight letters stay in one row")
            << 8 << QVariantMap{{"seiseki_z1", "1011021031041051061F 1K1"}} << QList<int>{4}
            << QStringList{title8 + "前走|住之江ＳＧ|準優|123456FK|"};
        QTest::newRow("eleven letters take two rows")
            << 8 << QVariantMap{{"seiseki_z1", "1011021031041051061F 1K11L01S2201"}} << QList<int>{4}
            << QStringList{title8 + "前走|住之江ＳＧ|準優|123456FK|LS1"};
        QTest::newRow("empty slots and unknown codes add nothing")
            << 8 << QVariantMap{{"seiseki_z1", "001 02x01101"}} << QList<int>{4}
            << QStringList{title8 + "前走|住之江ＳＧ|準優|1|"};
        QTest::newRow("block 9")
            << 9 << QVariantMap{} << QList<int>{0}
            << QStringList{"前回当地|前回当地|前回当地|前回当地|04年09月||56|"};
        QTest::newRow("block 9, never raced here")
            << 9 << QVariantMap{{"s_date_zt", " \u3000 "}, {"seiseki_zt", ""}} << QList<int>{0}
            << QStringList{"前回当地|前回当地|前回当地|前回当地|初出走|||"};
        QTest::newRow("block 9, short date")
            << 9 << QVariantMap{{"s_date_zt", "04"}} << QList<int>{0}
            << QStringList{"前回当地|前回当地|前回当地|前回当地|04年月||56|"};
        const QString title10 = QStringLiteral(" |斡旋予定| |");
        QTest::newRow("block 10")
            << 10 << QVariantMap{} << QList<int>{0, 2, 4}
            << QStringList{title10 + "次場所|若松ＧⅠ|05/03/12||", title10 + "2場所次|多摩川|||",
                           title10 + "3場所次||||"};
        QTest::newRow("block 10, short date")
            << 10 << QVariantMap{{"s_date_a1", "200503"}} << QList<int>{0}
            << QStringList{title10 + "次場所|若松ＧⅠ|05/03/||"};
    }
    void cells()
    {
        QFETCH(int, code);
        QFETCH(QVariantMap, fields);
        QFETCH(QList<int>, offsets);
        QFETCH(QStringList, columns);
        cardtest::insertBlockBoat(1, fields);
        GridModel grid;
        cardtest::fillBlocks(grid, {code});
        for (int i = 0; i < offsets.size(); ++i) {
            const int col = kFixedCols + offsets[i];
            QCOMPARE(columnTexts(grid, col, 0, 4) + "|" + columnTexts(grid, col, 5, 4), columns[i]);
        }
    }

    // Grade colours: ＧⅠ and ＳＧ have their own, every other code is white,
    // whatever block the meeting is in; the header keeps its colour.
    void gradeColours_data()
    {
        QTest::addColumn<QVariant>("grade");
        QTest::addColumn<int>("rgb");
        QTest::newRow("blank slot") << QVariant(0) << 0xFFFFFF;
        QTest::newRow("一般") << QVariant(1) << 0xFFFFFF;
        QTest::newRow("ＧⅢ") << QVariant(2) << 0xFFFFFF;
        QTest::newRow("ＧⅡ") << QVariant(3) << 0xFFFFFF;
        QTest::newRow("ＧⅠ") << QVariant(4) << 0xC0C0FF;
        QTest::newRow("ＳＧ") << QVariant(5) << 0xC0FFC0;
        QTest::newRow("beyond the grades") << QVariant(6) << 0xFFFFFF;
        QTest::newRow("would index black") << QVariant(10) << 0xFFFFFF;
        QTest::newRow("beyond the colour table") << QVariant(20) << 0xFFFFFF;
        QTest::newRow("negative") << QVariant(-4) << 0xFFFFFF;
        QTest::newRow("overflowing") << QVariant(1e12) << 0xFFFFFF;
        QTest::newRow("text") << QVariant("ＳＧ") << 0xFFFFFF;
    }
    void gradeColours()
    {
        QFETCH(QVariant, grade);
        QFETCH(int, rgb);
        // Blank labels too: an empty slot is still coloured by its grade.
        cardtest::insertBlockBoat(1, {{"gradecode_z1", grade}, {"gradecode_zt", grade}, {"gradecode_a3", grade},
                                      {"racesdisp_z1", ""}, {"seiseki_z1", ""}});
        GridModel grid;
        cardtest::fillBlocks(grid, {8, 9, 10});
        // z1 at offset 4 of block 8; block 9 at 12; a3 at offset 4 of block 10 (14).
        for (int col : {kFixedCols + 4, kFixedCols + 6, kFixedCols + 8 + 4}) {
            QCOMPARE(grid.backColor(0, col), std::optional<QRgb>(0xFFE0C0));
            for (int row = boatRow(1); row < boatRow(1) + 4; ++row)
                QCOMPARE(grid.backColor(row, col), std::optional<QRgb>(QRgb(rgb)));
            QVERIFY(!grid.backColor(boatRow(1) + 4, col).has_value());
        }
        QCOMPARE(columnTexts(grid, kFixedCols + 8 + 4, 5, 4), QString("|||"));
    }

    void historyRowsAreLeftAligned()
    {
        cardtest::insertBlockBoat(1);
        GridModel grid;
        cardtest::fillBlocks(grid, {8, 9});
        for (int col : {kFixedCols, kFixedCols + 6})
            for (int row : {boatRow(1) + 2, boatRow(1) + 3})
                QCOMPARE(grid.cellAlignment(row, col), std::optional<GridAlign>(GridAlign::LeftCenter));
        QCOMPARE(grid.colAlignment(kFixedCols), GridAlign::CenterCenter);
        QVERIFY(grid.mergeCol(kFixedCols + 4));
        QVERIFY(!grid.mergeCol(kFixedCols + 5));
    }

    void placedAfterOtherBlocks()
    {
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBlockBoat(frame);
        GridModel grid;
        // Blocks 1..6 end at column 19, so block 8 starts at 20.
        cardtest::fillBlocks(grid, {1, 2, 3, 4, 5, 6, 8});
        QCOMPARE(grid.cols(), 26);
        QCOMPARE(grid.text(3, 24), QString("前走"));
        QCOMPARE(grid.text(boatRow(6), 24), QString("住之江ＳＧ"));
        QCOMPARE(grid.colWidth(24), 810);
        QCOMPARE(grid.colWidth(25), 10);
        QCOMPARE(grid.text(boatRow(6), 25), QString());
    }
};

QTEST_GUILESS_MAIN(TestMeetingBlocks)
#include "tst_meetingblocks.moc"
