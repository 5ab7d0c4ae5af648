// This-meeting blocks 19 to 22 from packed records and fixture rows.

#include "platform/gridmodel.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/blockfixture.h"
#include "racecard/helpers/cardfixture.h"
#include "racecard/thismeetingblocks.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;
using cardtest::columnTexts;

namespace {

const QString kBreak = QStringLiteral("\r\n");

// A small grid for the record writers: rows 5..8 are the boat's.
void smallGrid(GridModel &grid)
{
    grid.setRows(kGridRows);
    grid.setCols(2);
}

} // namespace

class TestThisMeetingBlocks : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
    }
    void cleanup() { folder.reset(); }

    void resultRecord_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("back");
        QTest::addColumn<int>("fore");   // -1: no text colour set
        QTest::newRow("place with time") << "0510011496" << "5R①49" + kBreak + "6" << 0xFFC0C0 << 0x000000;
        QTest::newRow("place without time") << "0510010000" << "5R①\u3000\u3000" << 0xFFC0C0 << 0x000000;
        QTest::newRow("fourth place") << "1120041230" << "11R④23" + kBreak + "0" << 0xE0E0E0 << 0x000000;
        QTest::newRow("fifth place in cell form") << "0600051496" << "6R⑤\u3000\u3000" << 0xFFFFFF << 0x000000;
        QTest::newRow("accident") << "1200070000" << "12R転\u3000外" << 0xFFFFFF << 0x000000;
        QTest::newRow("flying start") << "1200620000" << "12RＦ\u3000\u3000" << 0xFFFFFF << 0x000000;
        QTest::newRow("code 0") << "1200000000" << "12R\u3000\u3000\u3000" << 0xFFFFFF << 0x000000;
        QTest::newRow("code 18") << "1200180000" << "12R\u3000\u3000\u3000" << 0xFFFFFF << 0x000000;
        QTest::newRow("void race") << "0301100000" << "3R不成立" << 0xFFFFFF << 0x000000;
        QTest::newRow("accident 10") << "0300100000" << "3R不\u3000外" << 0xFFFFFF << 0x000000;
        QTest::newRow("void race coloured first") << "0311100000" << "3R不成立" << 0xFFC0C0 << 0x000000;
        QTest::newRow("colour 3") << "0230021496" << "2R②49" + kBreak + "6" << 0xC0C0FF << 0x000000;
        QTest::newRow("colour 7") << "0270021496" << "2R②49" + kBreak + "6" << 0xC0C0C0 << 0x000000;
        QTest::newRow("black colour gets white text") << "0250011496" << "2R①49" + kBreak + "6" << 0x000000 << 0xFFFFFF;
        QTest::newRow("colour beyond the table") << "0280011496" << "2R①49" + kBreak + "6" << 0xFFFFFF << 0x000000;
        QTest::newRow("leading blanks shift the positions") << "  05100114" << "5R①4" + kBreak + "0" << 0xFFC0C0 << 0x000000;
        QTest::newRow("short record") << "051001" << "5R①\u3000\u3000" << 0xFFC0C0 << 0x000000;
        QTest::newRow("letters for digits") << "05x0ab1496" << "5R\u3000\u3000\u3000" << 0xFFFFFF << 0x000000;
        QTest::newRow("empty slot") << "0010011496" << "" << 0xFFFFFF << -1;
        QTest::newRow("blank slot") << "          " << "" << 0xFFFFFF << -1;
        QTest::newRow("race not a number") << "ab10011496" << "" << 0xFFFFFF << -1;
    }
    void resultRecord()
    {
        QFETCH(QString, record);
        QFETCH(QString, text);
        QFETCH(int, back);
        QFETCH(int, fore);
        GridModel grid;
        smallGrid(grid);
        disp_cell_seiseki_ks(grid, record, 5, 1);
        for (int row = 5; row <= 8; ++row) {
            QCOMPARE(grid.text(row, 1), text);
            QCOMPARE(grid.backColor(row, 1), std::optional<QRgb>(QRgb(back)));
            QCOMPARE(grid.foreColor(row, 1), fore < 0 ? std::nullopt : std::optional<QRgb>(QRgb(fore)));
        }
        QVERIFY(!grid.backColor(9, 1).has_value());
    }

    void startRecord_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("text");
        const QString frame = "1 枠" + kBreak;
        QTest::newRow("started") << "031015117" << frame + "5ｺｰｽ" + kBreak + "1" + kBreak + "17";
        QTest::newRow("timing as stored") << "032014305" << "2 枠" + kBreak + "4ｺｰｽ" + kBreak + "3" + kBreak + "05";
        QTest::newRow("absent") << "031145105" << frame + kBreak + kBreak + "欠場";
        QTest::newRow("absent, own fault") << "031645105" << frame + kBreak + kBreak + "欠場";
        QTest::newRow("returned") << "031155105" << frame + kBreak + kBreak + "返還";
        QTest::newRow("returned, own fault") << "031655105" << frame + kBreak + kBreak + "返還";
        QTest::newRow("flying") << "031125208" << frame + "5ｺｰｽ" + kBreak + kBreak + "Ｆ";
        QTest::newRow("flying, own fault") << "031625208" << frame + "5ｺｰｽ" + kBreak + kBreak + "Ｆ";
        QTest::newRow("late") << "031135208" << frame + "5ｺｰｽ" + kBreak + kBreak + "Ｌ";
        QTest::newRow("late, own fault") << "031635208" << frame + "5ｺｰｽ" + kBreak + kBreak + "Ｌ";
        QTest::newRow("empty slot") << "001015117" << "";
        QTest::newRow("blank slot") << "         " << "";
    }
    void startRecord()
    {
        QFETCH(QString, record);
        QFETCH(QString, text);
        GridModel grid;
        smallGrid(grid);
        edit_st_cell(grid, record, 5, 1);
        for (int row = 5; row <= 8; ++row) {
            QCOMPARE(grid.text(row, 1), text);
            QCOMPARE(grid.backColor(row, 1), std::optional<QRgb>(0xFFFFFF));
        }
        if (!text.isEmpty())
            QCOMPARE(grid.foreColor(5, 1), std::optional<QRgb>(0x000000));
    }

    void exhibitionRecord_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<int>("half");
        QTest::addColumn<QString>("rows");   // rows 5..8
        QTest::newRow("first race") << "05785" << 0 << "6.78|5位||";
        QTest::newRow("second race") << "05785" << 1 << "||6.78|5位";
        QTest::newRow("rank 0") << "05780" << 0 << "|||";
        QTest::newRow("race 0") << "00785" << 0 << "|||";
        QTest::newRow("short") << "0578" << 0 << "|||";
        QTest::newRow("blank") << "     " << 1 << "|||";
    }
    void exhibitionRecord()
    {
        QFETCH(QString, record);
        QFETCH(int, half);
        QFETCH(QString, rows);
        GridModel grid;
        smallGrid(grid);
        edit_tenji_cell(grid, record, 5, 1, half);
        QCOMPARE(columnTexts(grid, 1, 5, 4), rows);
        QCOMPARE(grid.backColor(5 + 2 * half, 1), std::optional<QRgb>(0xFFFFFF));
        QCOMPARE(grid.backColor(6 + 2 * half, 1), std::optional<QRgb>(0xFFFFFF));
        QVERIFY(!grid.backColor(5 + 2 * (1 - half), 1).has_value());
        if (!rows.startsWith('|') || !rows.endsWith('|'))
            QCOMPARE(grid.cellAlignment(6 + 2 * half, 1), std::optional<GridAlign>(GridAlign::RightCenter));
    }

    // The twelve records of a field, whatever its length.
    void resultField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("firstRows");   // row 5 of each record column
        const QString r1 = "0510011496", r2 = "0620020000";
        QStringList empty12;
        for (int j = 0; j < 12; ++j)
            empty12 << "";
        QStringList two = empty12;
        two[0] = "5R①49" + kBreak + "6";
        two[1] = "6R②\u3000\u3000";
        QStringList gap = two;
        gap[1] = "";
        gap[2] = "6R②\u3000\u3000";
        QStringList full;
        for (int j = 0; j < 12; ++j)
            full << "5R①49" + kBreak + "6";
        QTest::newRow("blank") << QString(120, ' ') << empty12;
        QTest::newRow("empty") << "" << empty12;
        QTest::newRow("two records") << r1 + r2 << two;
        // A record cut by the end of the field shows what it has.
        QStringList cut = two;
        cut[2] = "7R\u3000\u3000\u3000";
        QTest::newRow("cut record") << r1 + r2 + "071" << cut;
        QStringList trimmed = two;
        trimmed[2] = "2R①1" + kBreak + "0";
        QTest::newRow("trailing blanks trimmed") << r1 + r2 + "02200111" << trimmed;
        QTest::newRow("slot left empty") << r1 + QString(10, ' ') + r2 << gap;
        QTest::newRow("longer than twelve") << r1.repeated(13) << full;
    }
    void resultField()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, firstRows);
        cardtest::insertBlockBoat(1, {{"seiseki_ks", field}});
        GridModel grid;
        cardtest::fillBlocks(grid, {19});
        for (int j = 0; j < 12; ++j) {
            const int col = kFixedCols + 2 * j;
            QCOMPARE(grid.text(5, col), j < firstRows.size() ? firstRows[j] : QString());
            QVERIFY(grid.backColor(8, col).has_value());
            QVERIFY(!grid.backColor(5, col + 1).has_value());
        }
    }

    void headers()
    {
        cardtest::insertBlockBoat(1);
        GridModel grid;
        cardtest::fillBlocks(grid, {19, 21, 22});
        const int c19 = kFixedCols, c21 = c19 + 24, c22 = c21 + 26;
        QCOMPARE(grid.cols(), c22 + 14);
        QCOMPARE(columnTexts(grid, c19 + 22), QString("今 節 成 績|(レース№・着順・タイム)| |6日目"));
        QVERIFY(grid.fontBold(0, c19 + 22));
        QCOMPARE(columnTexts(grid, c19 + 23), QString("|||"));
        QCOMPARE(columnTexts(grid, c19 + 3), QString("今 節 成 績|(レース№・着順・タイム)| |"));
        QCOMPARE(grid.text(3, c19 + 4), QString("2日目"));
        QCOMPARE(grid.mergedRange(3, c19 + 4), QRect(c19 + 4, 3, 3, 1));
        QVERIFY(grid.mergeCol(c19 + 23));
        QCOMPARE(columnTexts(grid, c21 + 20), QString("スタートタイミング|(枠番・コース・発順・ＳＴ)| |6日目"));
        QCOMPARE(columnTexts(grid, c21 + 24), QString("多用 ｺｰｽ|平均ＳＴ|今節発順|今節ＳＴ"));
        QVERIFY(!grid.mergeCol(c21 + 24));
        QCOMPARE(grid.colWidth(c21 + 24), 810);
        QCOMPARE(columnTexts(grid, c22 + 10), QString("展示タイム|(展示時計・展示順位)| |6日目"));
        QCOMPARE(grid.text(3, c22 + 11), QString());
        QCOMPARE(columnTexts(grid, c22 + 12), "平" + kBreak + "均|平" + kBreak + "均|時計|順位");
        QVERIFY(grid.mergeCol(c22 + 12));
        for (int c = c19; c < grid.cols(); ++c)
            QCOMPARE(grid.colAlignment(c), GridAlign::CenterCenter);
    }

    void summaries_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("rows");
        QTest::newRow("20 points needed") << 20 << QVariantMap{} << 0 << "本日2走|3点 必要|| 5位  6.50";
        QTest::newRow("20 certain") << 20 << QVariantMap{{"hituten_ks", 0}, {"syuso_hj", 1}} << 0
                                    << "本日1走|当確|| 5位  6.50";
        QTest::newRow("20 out of reach") << 20 << QVariantMap{{"hituten_ks", 99}, {"tokujun_ks", 12}, {"tokuritu_ks", 10.125}}
                                         << 0 << "本日2走|圏外||12位 10.13";
        QTest::newRow("20 half point") << 20 << QVariantMap{{"hituten_ks", 2.5}} << 0 << "本日2走|2.5点 必要|| 5位  6.50";
        QTest::newRow("20 excluded") << 20 << QVariantMap{{"syotnflag", 1}} << 0 << "|賞典除外||";
        QTest::newRow("21 two courses") << 21 << QVariantMap{} << 24 << "1～3|0.17|2.3|0.16";
        QTest::newRow("21 one course") << 21 << QVariantMap{{"sinyu_e", 1}, {"hj1_ks_avg", 2}} << 24 << "1|0.17|2.0|0.16";
        QTest::newRow("22") << 22 << QVariantMap{} << 12 << " | |6.75|2.5";
        QTest::newRow("22 day columns")
            << 22 << QVariantMap{{"tenjitime_ks", "00000" "07683"}} << 0 << "||6.68|3位";
    }
    void summaries()
    {
        QFETCH(int, code);
        QFETCH(QVariantMap, fields);
        QFETCH(int, offset);
        QFETCH(QString, rows);
        cardtest::insertBlockBoat(1, fields);
        GridModel grid;
        cardtest::fillBlocks(grid, {code});
        const int col = kFixedCols + offset;
        QCOMPARE(columnTexts(grid, col, 5, 4), rows);
        for (int row = 5; row <= 8; ++row)
            QCOMPARE(grid.backColor(row, col), std::optional<QRgb>(0xFFFFFF));
    }

    void pointsAlignment()
    {
        cardtest::insertBlockBoat(1);
        GridModel grid;
        cardtest::fillBlocks(grid, {20});
        QCOMPARE(grid.colWidth(kFixedCols), 1000);
        QCOMPARE(columnTexts(grid, kFixedCols), QString("準出条件|準出条件|得点状況|得点状況"));
        QCOMPARE(grid.cellAlignment(5, kFixedCols), std::optional<GridAlign>(GridAlign::LeftCenter));
        QCOMPARE(grid.cellAlignment(6, kFixedCols), std::optional<GridAlign>(GridAlign::RightCenter));
        QCOMPARE(grid.cellAlignment(8, kFixedCols), std::optional<GridAlign>(GridAlign::RightCenter));
    }
};

QTEST_GUILESS_MAIN(TestThisMeetingBlocks)
#include "tst_thismeetingblocks.moc"
