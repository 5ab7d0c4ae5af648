// Motor blocks 12 to 15 and boat blocks 16 to 18 from fixture rows.

#include "common/timeforms.h"
#include "platform/gridmodel.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/blockfixture.h"
#include "racecard/helpers/cardfixture.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;
using cardtest::columnTexts;

class TestMotorBoatBlocks : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
    }
    void cleanup() { folder.reset(); }

    // Per written column (offsets): header rows 0..3 and the boat's rows 5..8.
    void cells_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<QList<int>>("offsets");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("12 motor number and rates")
            << 12 << QVariantMap{} << QList<int>{0} << QStringList{"ﾓｰﾀｰ|ﾓｰﾀｰ|勝率|％|11|11|5.50|38.5％"};
        QTest::newRow("12 zero rate keeps its decimals")
            << 12 << QVariantMap{{"syoritu_mt", 0}, {"fukuritu_mt", 0}} << QList<int>{0}
            << QStringList{"ﾓｰﾀｰ|ﾓｰﾀｰ|勝率|％|11|11|0.00|0％"};
        QTest::newRow("13 motor places")
            << 13 << QVariantMap{} << QList<int>{0, 1}
            << QStringList{"ﾓｰﾀｰ|ﾓｰﾀｰ|優出|優勝|優出|2|優勝|1", "1着|2着|3着|外|6|5|4|15"};
        QTest::newRow("14 ratings and best time")
            << 14 << QVariantMap{} << QList<int>{0} << QStringList{"機力評価|機力評価||最高時計|出 ◎|伸 ||1.49.6"};
        QTest::newRow("14 no best time")
            << 14 << QVariantMap{{"firsttime_mt", 0}, {"kryok_de", 6}, {"kryok_nb", 0}} << QList<int>{0}
            << QStringList{"機力評価|機力評価||最高時計|出 …|伸 ||"};
        QTest::newRow("14 five-digit time")
            << 14 << QVariantMap{{"firsttime_mt", 10234}} << QList<int>{0}
            << QStringList{"機力評価|機力評価||最高時計|出 ◎|伸 ||1.02.3"};
        const QString prevM = QStringLiteral(" |モーター前回成績| |");
        QTest::newRow("15 two users")
            << 15 << QVariantMap{} << QList<int>{0, 1, 2}
            << QStringList{prevM + "前々成績|A1級 山田太郎|52㎏   1.49.6|13F21|", prevM + "||||",
                           prevM + "前回成績| B級 鈴木|50㎏   |1|"};
        QTest::newRow("15 new motor")
            << 15 << QVariantMap{{"sensyname_m2", "   "}, {"sensyname_m1", ""}, {"tourokuno_m1", 0}}
            << QList<int>{0, 2} << QStringList{prevM + "前々成績||||", prevM + "前回成績||||"};
        QTest::newRow("15 thirteen letters in one row")
            << 15 << QVariantMap{{"seiseki_m1", "101102103104105106107112113114101102103"}} << QList<int>{2}
            << QStringList{prevM + "前回成績| B級 鈴木|50㎏   |123456SFLK123|"};
        QTest::newRow("15 fourteen letters in two rows")
            << 15 << QVariantMap{{"seiseki_m1", "101102103104105106107112113114101102103104"}} << QList<int>{2}
            << QStringList{prevM + "前回成績| B級 鈴木|50㎏   |123456SF|LK1234"};
        QTest::newRow("15 long class code and heavy user")
            << 15 << QVariantMap{{"classcode_m1", "ABC"}, {"weight_m1", 105.5}, {"firsttime_m1", 958}}
            << QList<int>{2} << QStringList{prevM + "前回成績|ABC級 鈴木|106㎏   0.95.8|1|"};
        QTest::newRow("15 overflowing weight and time")
            << 15 << QVariantMap{{"weight_m1", 1e9}, {"firsttime_m1", 99999}} << QList<int>{2}
            << QStringList{prevM + "前回成績| B級 鈴木| 0㎏   |1|"};
        QTest::newRow("16 boat number and rates")
            << 16 << QVariantMap{} << QList<int>{0} << QStringList{"ﾎﾞｰﾄ|ﾎﾞｰﾄ|勝率|％|21|21|5.00|31％"};
        QTest::newRow("17 boat places")
            << 17 << QVariantMap{} << QList<int>{0, 1}
            << QStringList{"ﾎﾞｰﾄ|ﾎﾞｰﾄ|優出|優勝|優出|1|優勝|0", "1着|2着|3着|外|5|6|7|22"};
        const QString prevB = QStringLiteral(" |ボート前回成績| |");
        QTest::newRow("18 only the last user known")
            << 18 << QVariantMap{} << QList<int>{0, 2}
            << QStringList{prevB + "前々成績||||", prevB + "前回成績|佐藤花子|05月12日|12345612|3"};
        QTest::newRow("18 new boat")
            << 18 << QVariantMap{{"sensyname_b1", "\u3000"}, {"tourokuno_b1", 0}} << QList<int>{2}
            << QStringList{prevB + "前回成績||||"};
        QTest::newRow("18 eight letters, long name, short date")
            << 18 << QVariantMap{{"sensyname_b2", "長谷川五郎丸"}, {"s_date_b2", "05"}, {"seiseki_b2", "1011021S01K11L0 F 1012011F "}}
            << QList<int>{0} << QStringList{prevB + "前々成績|長谷川五|05月日|12SKL11F|"};
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

    void raceTime_data()
    {
        QTest::addColumn<double>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("1496") << 1496.0 << "1.49.6";
        QTest::newRow("958") << 958.0 << "0.95.8";
        QTest::newRow("five digits") << 10234.0 << "1.02.3";
        QTest::newRow("zero") << 0.0 << "";
        QTest::newRow("negative") << -5.0 << "";
    }
    void raceTime()
    {
        QFETCH(double, time);
        QFETCH(QString, text);
        QCOMPARE(modkelmon::race_time(time), text);
    }

    void formats_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("dataColour");
        QTest::newRow("12") << 12 << QList<int>{580, 10} << 0xC0FFC0;
        QTest::newRow("13") << 13 << QList<int>{460, 380, 10} << 0xFFFFFF;
        QTest::newRow("14") << 14 << QList<int>{810, 10} << 0xFFFFFF;
        QTest::newRow("15") << 15 << QList<int>{1260, 10, 1260, 10} << 0xFFFFFF;
        QTest::newRow("16") << 16 << QList<int>{580, 10} << 0xC0C0FF;
        QTest::newRow("17") << 17 << QList<int>{460, 380, 10} << 0xFFFFFF;
        QTest::newRow("18") << 18 << QList<int>{810, 10, 810, 10} << 0xFFFFFF;
    }
    void formats()
    {
        QFETCH(int, code);
        QFETCH(QList<int>, widths);
        QFETCH(int, dataColour);
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBlockBoat(frame, {{"sensyname_b2", "山田"}});
        GridModel grid;
        cardtest::fillBlocks(grid, {code});
        QCOMPARE(grid.cols(), kFixedCols + widths.size());
        for (int c = 0; c < widths.size(); ++c) {
            const int col = kFixedCols + c;
            QCOMPARE(grid.colWidth(col), widths[c]);
            if (widths[c] == 10) {
                for (int row = kHeaderRows; row < kGridRows; ++row)
                    QVERIFY(!grid.backColor(row, col).has_value());
                continue;
            }
            QCOMPARE(grid.backColor(3, col), std::optional<QRgb>(0xFFE0C0));
            for (int k = 1; k <= 6; ++k)
                for (int row = boatRow(k); row < boatRow(k) + 4; ++row)
                    QCOMPARE(grid.backColor(row, col), std::optional<QRgb>(QRgb(dataColour)));
        }
        QVERIFY(grid.mergeCol(kFixedCols));
        QCOMPARE(grid.colAlignment(kFixedCols), GridAlign::CenterCenter);
    }

    void numberSpansTwoRowsInBold()
    {
        cardtest::insertBlockBoat(1);
        GridModel grid;
        cardtest::fillBlocks(grid, {12, 16});
        for (int col : {kFixedCols, kFixedCols + 2}) {
            QVERIFY(grid.fontBold(0, col));
            QVERIFY(grid.fontBold(1, col));
            QVERIFY(!grid.fontBold(2, col));
            for (int row : {5, 6}) {
                QCOMPARE(grid.fontName(row, col), QString::fromUtf8(kNameFont));
                QCOMPARE(grid.fontSize(row, col), 12.0);
                QVERIFY(grid.fontBold(row, col));
            }
            QCOMPARE(grid.mergedRange(5, col), QRect(col, 5, 1, 2));
        }
    }

    void alignments()
    {
        cardtest::insertBlockBoat(1);
        GridModel grid;
        cardtest::fillBlocks(grid, {13, 14, 15});
        const auto left = std::optional<GridAlign>(GridAlign::LeftCenter);
        const auto right = std::optional<GridAlign>(GridAlign::RightCenter);
        QCOMPARE(grid.colAlignment(kFixedCols + 1), GridAlign::RightCenter);
        QCOMPARE(grid.cellAlignment(8, kFixedCols + 1), right);
        QCOMPARE(grid.cellAlignment(5, kFixedCols + 3), left);
        QCOMPARE(grid.cellAlignment(6, kFixedCols + 3), left);
        QCOMPARE(grid.cellAlignment(8, kFixedCols + 3), right);
        for (int row = 5; row <= 8; ++row)
            QCOMPARE(grid.cellAlignment(row, kFixedCols + 5 + 2), left);
    }
};

QTEST_GUILESS_MAIN(TestMotorBoatBlocks)
#include "tst_motorboatblocks.moc"
