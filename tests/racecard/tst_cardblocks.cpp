// Blocks of the card filled from fixture rows: texts, values that do not fit
// the paper's forms, colours (headers, data, grades, results) and a full render.

#include "platform/gridmodel.h"
#include "platform/ui/gridview.h"
#include "racecard/cardlayout.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/cardfixture.h"

#include <QImage>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

class TestCardBlocks : public test::DatabaseTest {
    Q_OBJECT

private slots:
    // One column of a single block: four rows from `first`, joined by '|'.
    void cells_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("rows");
        const QString seiseki = "0510011496" "0620020000";
        QTest::newRow("1 unknown period, no rate")
            << 1 << QVariantMap{{"flag_ns", 15}, {"syoritu_2k", 0}} << 0 << 0 << "前々率|前勝率|現勝率|\u3000\u3000率";
        QTest::newRow("4 counts too large for a count")
            << 4 << QVariantMap{{"yusyu_zk", 1e99}, {"syuso_zk_1", 1e99}} << 0 << 5 << "優出|1E+99|優勝|0";
        // Counts are shown as stored: past 16 bits, and with a fraction.
        QTest::newRow("4 counts past 16 bits")
            << 4 << QVariantMap{{"yusyu_zk", 40000}, {"yusyo_zk", 2.5}} << 0 << 5 << "優出|40000|優勝|2.5";
        QTest::newRow("4 places past 16 bits")
            << 4 << QVariantMap{{"syuso_zk_1", 32768}, {"syuso_zk_2", 1.5}, {"syuso_zk_3", 0}, {"syuso_zk_all", 40000}}
            << 1 << 5 << "32768|1.5|0|7230.5";
        QTest::newRow("6 places past 16 bits")
            << 6 << QVariantMap{{"syuso_nd_1", 50000}, {"syuso_nd_2", 2}, {"syuso_nd_3", 3.5}, {"syuso_nd_all", 60000}}
            << 1 << 5 << "50000|2|3.5|9994.5";
        QTest::newRow("8 empty slots and unknown codes")
            << 8 << QVariantMap{{"racesdisp_z1", " 住之江ＳＧ "}, {"ketujyo_z1", "準優"}, {"seiseki_z1", "001 02x01101"}}
            << 4 << 5 << "住之江ＳＧ|準優|1|";
        QTest::newRow("9 short date")
            << 9 << QVariantMap{{"s_date_zt", "04"}, {"seiseki_zt", "105106"}} << 0 << 5 << "04年月||56|";
        QTest::newRow("14 best time, rating out of range")
            << 14 << QVariantMap{{"firsttime_mt", 1496}, {"kryok_de", 1}, {"kryok_nb", 7}} << 0 << 5
            << "出 ◎|伸 ||1.49.6";
        QTest::newRow("1 rates of a new racer")
            << 1 << QVariantMap{{"syoritu_ms", 6.5}, {"fukuritu_ms", 40}, {"syoritu_ns", 5.43}} << 0 << 5
            << "や 6.50|ま 40％|と     |\u3000 5.43";
        QTest::newRow("1 rates by period")
            << 1 << QVariantMap{{"classcode_1k", "B1"}, {"syoritu_1k", 5.25}, {"classcode_ge", "A2"}, {"syoritu_ge", 6},
                                {"syoritu_ns", 5.43}} << 0 << 5 << "A1 6.50|B1 5.25|A2 6.00|   5.43";
        QTest::newRow("16 boat number and rates")
            << 16 << QVariantMap{{"syoritu_bt", 5}, {"fukuritu_bt", 40}} << 0 << 5 << "21|21|5.00|40％";
        QTest::newRow("14 no best time")
            << 14 << QVariantMap{{"firsttime_mt", 0}, {"kryok_de", 1}, {"kryok_nb", 2}} << 0 << 5 << "出 ◎|伸 ○||";
        QTest::newRow("15 long name, weight and time")
            << 15 << QVariantMap{{"sensyname_m1", "長谷川五郎丸"}, {"classcode_m1", "A1"}, {"weight_m1", 52},
                                 {"firsttime_m1", 1496}}
            << 2 << 5 << "A1級 長谷川五|52㎏   1.49.6||";
        QTest::newRow("15 blank name")
            << 15 << QVariantMap{{"sensyname_m1", "   "}, {"classcode_m1", "A1"}, {"weight_m1", 52}} << 2 << 5 << "|||";
        QTest::newRow("11 course 3, first period")
            << 11 << QVariantMap{{"syuso_c1_3", 12}, {"syure_c1_3", 5}} << 4 << 5 << "5|||12";
        QTest::newRow("11 course 6, second period")
            << 11 << QVariantMap{{"syuso_c2_6", 7}, {"syure_c2_6", 3}} << 22 << 5 << "3|||7";
        QTest::newRow("15 weight and time that do not fit")
            << 15 << QVariantMap{{"sensyname_m1", "鈴木"}, {"classcode_m1", "B"}, {"weight_m1", 1e9},
                                 {"firsttime_m1", 99999}, {"seiseki_m1", "101"}}
            << 2 << 5 << " B級 鈴木| 0㎏   |1|";
        // Place counts: finals and wins on the left, the three places and the
        // other finishes (all starts less the three places) on the right.
        for (const auto &[code, finals, places] : {std::tuple{4, "zk", "zk"}, {6, "ny", "nd"}, {13, "mt", "mt"},
                                                   {17, "bt", "bt"}}) {
            const QString f = QString::fromLatin1(finals), s = QString::fromLatin1(places);
            const QVariantMap counts{{"yusyu_" + f, 3}, {"yusyo_" + f, 1}, {"syuso_" + s + "_1", 5},
                                     {"syuso_" + s + "_2", 6}, {"syuso_" + s + "_3", 7}, {"syuso_" + s + "_all", 40}};
            QTest::addRow("%d finals and wins", code) << code << counts << 0 << 5 << "優出|3|優勝|1";
            QTest::addRow("%d places and others", code) << code << counts << 1 << 5 << "5|6|7|22";
        }
        QTest::newRow("18 long name, short date")
            << 18 << QVariantMap{{"sensyname_b2", "長谷川五郎丸"}, {"s_date_b2", "05"}, {"seiseki_b2", "101"}}
            << 0 << 5 << "長谷川五|05月日|1|";
        QTest::newRow("19 record cut by the field's end")
            << 19 << QVariantMap{{"seiseki_ks", seiseki + "071"}} << 4 << 5
            << "7R\u3000\u3000\u3000|7R\u3000\u3000\u3000|7R\u3000\u3000\u3000|7R\u3000\u3000\u3000";
        QTest::newRow("20 out of reach")
            << 20 << QVariantMap{{"syuso_hj", 2}, {"hituten_ks", 99}, {"tokujun_ks", 12}, {"tokuritu_ks", 10.125}}
            << 0 << 5 << "本日2走|圏外||12位 10.13";
        // Two exhibitions a day: day 2 shows the third and fourth records.
        QTest::newRow("22 second day") << 22 << QVariantMap{{"tenjitime_ks", "01785" "02672" "03551" "04446"}} << 2 << 5
                                       << "6.55|1位|6.44|6位";
        QTest::newRow("22 sixth day's heading") << 22 << QVariantMap{} << 10 << 0
                                               << "展示タイム|(展示時計・展示順位)| |6日目";
        QTest::newRow("22 averages") << 22 << QVariantMap{{"tenji_ks_avg", 6.8}, {"tenjun_ks_avg", 3}} << 12 << 5
                                     << " | |6.80|3.0";
        QTest::newRow("21 second record") << 21 << QVariantMap{{"st_ks", "031015117" "052026203"}} << 2 << 5
                                          << QStringList(4, "2 枠\r\n6ｺｰｽ\r\n2\r\n03").join('|');
        QTest::newRow("21 summary") << 21 << QVariantMap{{"sinyu_s", 1}, {"sinyu_e", 3}, {"st_avg", 0.15}, {"hj1_ks_avg", 2.4},
                                                         {"st_ks_avg", 0.12}} << 24 << 5 << "1～3|0.15|2.4|0.12";
        QTest::newRow("2 starts and rates") << 2 << QVariantMap{{"syuso_to_all", 12}, {"fukuritu_ge", 40}, {"fukuritu_nf", 45.5}}
                                            << 0 << 5 << "12回|33.3％|40％|45.5％";
        QTest::newRow("3 rates") << 3 << QVariantMap{{"fukuritu_to_3", 50}, {"fukuritu_ge_3", 52.5}, {"fukuritu_nf_3", 60}}
                                 << 0 << 5 << "|50％|52.5％|60％";
        QTest::newRow("5 place rates") << 5 << QVariantMap{{"syurt_zk_1", 20}, {"syurt_zk_2", 15.5}, {"syurt_zk_3", 10}}
                                       << 0 << 5 << "|20％|15.5％|10％";
        QTest::newRow("7 place rates") << 7 << QVariantMap{{"syurt_nd_1", 21}, {"syurt_nd_2", 16.5}, {"syurt_nd_3", 11}}
                                       << 0 << 5 << "|21％|16.5％|11％";
        QTest::newRow("10 next assignment") << 10 << QVariantMap{{"racesdisp_a1", " 桐生 "}, {"s_date_a1", "20011226"}}
                                            << 0 << 5 << "桐生|01/12/26||";
        QTest::newRow("20 excluded from prizes") << 20 << QVariantMap{{"syotnflag", 1}, {"hituten_ks", 3}} << 0 << 5
                                                 << "|賞典除外||";
        QTest::newRow("20 points needed") << 20 << QVariantMap{{"syuso_hj", 1}, {"hituten_ks", 3}, {"tokujun_ks", 5},
                                                               {"tokuritu_ks", 6.5}} << 0 << 5 << "本日1走|3点 必要|| 5位  6.50";
        QTest::newRow("20 certain") << 20 << QVariantMap{{"hituten_ks", 0}} << 0 << 5 << "本日0走|当確|| 0位  0.00";
        QTest::newRow("23 two-digit race") << 23 << QVariantMap{{"hayami_r", 10}, {"hayami_w", 1}} << 0 << 5
                                           << "10Ｒ１枠|10Ｒ１枠|10Ｒ１枠|10Ｒ１枠";
    }
    void cells()
    {
        QFETCH(int, code);
        QFETCH(QVariantMap, fields);
        QFETCH(int, offset);
        QFETCH(int, first);
        QFETCH(QString, rows);
        cardtest::insertBoat(1, fields);
        GridModel grid;
        cardtest::fillBlocks(grid, {code});
        QCOMPARE(cardtest::columnTexts(grid, kFixedCols + offset, first), rows);
    }

    // Background of the first boat's top cell: a grade of 4 or more takes index
    // grade + 10, black at 20 and past the table; a frame past it, no colour.
    void colours_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("rgb");   // -1: no colour
        const int z1 = kFixedCols + 4;
        QTest::newRow("win rates") << 1 << QVariantMap{} << kFixedCols << 0xFFFFC0;
        QTest::newRow("place rates") << 2 << QVariantMap{} << kFixedCols << 0xFFFFFF;
        QTest::newRow("motor") << 12 << QVariantMap{} << kFixedCols << 0xC0FFC0;
        QTest::newRow("boat") << 16 << QVariantMap{} << kFixedCols << 0xC0C0FF;
        QTest::newRow("ＧⅠ") << 8 << QVariantMap{{"gradecode_z1", 4}} << z1 << 0xC0C0FF;
        QTest::newRow("ＳＧ") << 8 << QVariantMap{{"gradecode_z1", 5}} << z1 << 0xC0FFC0;
        QTest::newRow("grade that would index black") << 8 << QVariantMap{{"gradecode_z1", 10}} << z1 << 0x000000;
        QTest::newRow("grade that does not fit") << 8 << QVariantMap{{"gradecode_z1", 1e12}} << z1 << 0xFFFFFF;
        QTest::newRow("grade beyond the colour table") << 9 << QVariantMap{{"gradecode_zt", 20}} << kFixedCols
                                                       << 0x000000;
        QTest::newRow("grade 6") << 8 << QVariantMap{{"gradecode_z1", 6}} << z1 << 0xFFC0C0;
        QTest::newRow("grade 7, next assignment") << 10 << QVariantMap{{"gradecode_a1", 7}} << kFixedCols << 0xE0E0E0;
        // Blocks 8 and 10 round the grade first; block 9 compares it as stored.
        QTest::newRow("grade 3.6, previous meeting") << 8 << QVariantMap{{"gradecode_z1", 3.6}} << z1 << 0xC0C0FF;
        QTest::newRow("grade 3.6, last meeting here") << 9 << QVariantMap{{"gradecode_zt", 3.6}} << kFixedCols
                                                      << 0xFFFFFF;
        QTest::newRow("grade 5.2, last meeting here") << 9 << QVariantMap{{"gradecode_zt", 5.2}} << kFixedCols
                                                      << 0xC0FFC0;
        QTest::newRow("frame beyond the colour table") << 1 << QVariantMap{{"wakusno", 40}} << 0 << -1;
    }
    void colours()
    {
        QFETCH(int, code);
        QFETCH(QVariantMap, fields);
        QFETCH(int, col);
        QFETCH(int, rgb);
        cardtest::insertBoat(1, fields);
        GridModel grid;
        QCOMPARE(cardtest::fillBlocks(grid, {code}), 1);
        QCOMPARE(grid.backColor(boatRow(1), col), rgb < 0 ? std::nullopt : std::optional<QRgb>(QRgb(rgb)));
        // Text on a black meeting cell is white, so it stays readable.
        if (rgb == 0x000000)
            QCOMPARE(grid.foreColor(boatRow(1), col), std::optional<QRgb>(0xFFFFFF));
    }

    // The exhibition block's day columns are white over all four rows of a boat.
    void exhibitionCellsAreWhite()
    {
        cardtest::insertBoat(1, {});
        GridModel grid;
        cardtest::fillBlocks(grid, {22});
        for (int day = 1; day <= 6; ++day)
            for (int r = 0; r < 4; ++r)
                QCOMPARE(grid.backColor(boatRow(1) + r, kFixedCols + 2 * (day - 1)), std::optional<QRgb>(0xFFFFFF));
    }

    // On the whole card every header cell has the header colour and a black
    // result cell is drawn with white text.
    void wholeCardColours()
    {
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBoat(frame, {{"seiseki_ks", frame == 3 ? "0550011496" : "0510011496"}});
        GridModel grid;
        cardtest::fillBlocks(grid, CardLayout::all().codes());
        int black = 0;
        for (int row = 0; row < grid.rows(); ++row)
            for (int col = 0; col < grid.cols(); ++col)
                if (row < kHeaderRows && !grid.text(row, col).isEmpty())
                    QCOMPARE(grid.backColor(row, col), std::optional<QRgb>(0xFFE0C0));   // every header cell
                else if (grid.backColor(row, col) == std::optional<QRgb>(0x000000)) {
                    ++black;
                    QVERIFY(grid.foreColor(row, col).has_value());
                    QVERIFY(*grid.foreColor(row, col) != 0x000000);
                }
        QCOMPARE(black, 4);

        // The whole card renders.
        GridView view;
        view.setModel(&grid);
        view.modelChanged();
        QVERIFY(!view.renderAll().isNull());
    }
};

QTEST_MAIN(TestCardBlocks)
#include "tst_cardblocks.moc"
