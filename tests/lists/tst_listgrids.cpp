// The racer, motor and boat list grids and the racer detail without a window:
// the cells of a row from values worked out by hand, bad values, order and
// refill, heading tints, which popup items a right-click enables, and the
// racer detail's header and results.

#include "common/modkelmon.h"
#include "lists/helpers/listfixture.h"
#include "lists/motorboatlist.h"
#include "lists/racerdisp.h"
#include "lists/racerlist.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;
using test::rowTexts;

Q_DECLARE_METATYPE(kelmon::lists::MachineList)

namespace {

constexpr int kSetus = 501;
constexpr int kDay = 3;
const QString kSetusText = QString::number(kSetus);
const QString kDayText = QString::number(kDay);

void loadRacers(GridModel &g, const QString &day = kDayText)
{
    set_racerlist_grid(g);
    disp_racerlist(g, kSetusText, day);
    disp_racerlist(g, kSetusText, day);   // a refill replaces the rows
}

// Popup items by cell: the listed items as 1 (enabled) or 0, x when left
// alone; "-" when no menu pops up.
struct PopupCase {
    int row, col;
    const char *items;
};
template <typename Popup>
void checkPopups(GridModel &g, Popup popup, std::initializer_list<int> indexes, std::initializer_list<PopupCase> cases)
{
    for (const PopupCase &p : cases) {
        g.setRow(p.row);
        g.setCol(p.col);
        const std::optional<PopupItems> shown = popup(g);
        QString got = shown ? QString() : "-";
        for (int i : indexes)
            got += !shown ? QString() : !shown->count(i) ? "x" : shown->at(i) ? "1" : "0";
        QVERIFY2(got == p.items, qPrintable(QString("row %1 col %2: %3").arg(p.row).arg(p.col).arg(got)));
    }
}

// Tints (RGB) over column ranges of rows first..last; other columns none.
struct Tint {
    int first, last;
    QRgb rgb;
};
void checkTints(const GridModel &g, int first, int last, std::initializer_list<Tint> tints)
{
    for (int c = 0; c < g.cols(); ++c) {
        std::optional<QRgb> want;
        for (const Tint &t : tints)
            if (c >= t.first && c <= t.last)
                want = t.rgb;
        for (int r = first; r <= last; ++r)
            QCOMPARE(g.backColor(r, c), want);
    }
}

void insertRun(int day, int race, int frame, std::initializer_list<test::Field> more)
{
    test::insertDayRow("f_restb", kSetus, day, {{"racesno", race}, {"wakusno", frame}, {"tourokuno", 12}}, more);
}

// Runs of racer 12: day 0 (dated), two on day 1 (dated), one on day 2 (no date).
void insertRuns()
{
    insertRun(2, 11, 1, {{"cyakucode", 12}, {"sinyuno", 1}, {"starttime", 3}, {"chilt", -0.5}, {"tenjitime", 6.78},
                         {"genten", 5}});
    insertRun(1, 9, 5, {{"cyakucode", 14}, {"chilt", 0.5}});
    insertRun(1, 3, 2, {{"cyakucode", 3}, {"racestime", 1496}, {"sinyuno", 4}, {"starttime", 7}, {"tenjitime", 6.7},
                        {"gentenflag", 2}, {"genten", 5}});
    insertRun(0, 5, 7, {{"cyakucode", 2}, {"tenjitime", 6.6}});
    for (int day : {0, 1})
        test::insertDayRow("f_resta", kSetus, day, {{"racesno", 1}, {"Date", QStringLiteral("2024030%1").arg(day + 1)}});
    // Another racer's run and another meeting's stay out.
    test::insertDayRow("f_restb", kSetus, 1, {{"racesno", 3}, {"wakusno", 1}, {"tourokuno", 13}});
    test::insertDayRow("f_restb", kSetus + 1, 1, {{"racesno", 3}, {"wakusno", 2}, {"tourokuno", 12}});
}

} // namespace

class TestListGrids : public test::DatabaseTest {
    Q_OBJECT
private slots:
    void racerRows()
    {
        test::insertDayRow("f_racer", kSetus, kDay, {
            {"tourokuno", 4012}, {"sensyname", "山田太郎次"}, {"adress", 27}, {"tourokuki", 85}, {"Weight", 52},
            {"classcode_ge", "A1"}, {"syoritu_ge", 7.5}, {"fukuritu_ge", 55}, {"motorno", 7}, {"syoritu_mt", 10.234},
            {"fukuritu_mt", 40}, {"fukuritu_mt_3", 60}, {"boatsno", 45}, {"syoritu_bt", 5.675}, {"fukuritu_bt", 33},
            {"fukuritu_bt_3", 50}, {"hayami_1", 5}, {"hayami_2", 11}, {"syuso_zk_1", 30}, {"syuso_zk_2", 25},
            {"syuso_zk_3", 20}, {"syuso_zk_4", 15}, {"syuso_zk_5", 10}, {"syuso_zk_6", 5}, {"syuso_zk_all", 110},
            {"syoritu_zk", 6.8}, {"fukuritu_zk", 50}, {"fukuritu_zk_3", 68}, {"yusyu_zk", 3}, {"yusyo_zk", 1},
            {"syuso_ks_1", 1}, {"syuso_ks_3", 1}, {"syuso_ks_5", 1}, {"syuso_ks_all", 3}, {"st_ks_avg", 15},
            {"hj1_ks_avg", 3.45}, {"tenji_ks_avg", 6.784}, {"tenjun_ks_avg", 2.25}});
        // A prefecture code beyond 16 bits, places without starts, no races.
        test::insertDayRow("f_racer", kSetus, kDay, {{"tourokuno", 123}, {"adress", 70000}, {"syuso_ks_1", 1}});
        // Another day's and another meeting's racers stay out.
        test::insertDayRow("f_racer", kSetus, kDay + 1, {{"tourokuno", 3000}});
        test::insertDayRow("f_racer", kSetus + 1, kDay, {{"tourokuno", 3001}});
        GridModel g;
        loadRacers(g);
        QCOMPARE(g.rows(), 4);
        QCOMPARE(rowTexts(g, 3), (QStringList{
            "山田太郎", "4012", "大阪", "85", "52", "A1", " 7.50", " 55", " 7", "10.23", " 40", " 60", "45", " 5.68",
            " 33", " 50", " 5R", "11R", " 30", " 25", " 20", " 15", " 10", "  5", "110", " 6.80", " 50", " 68", " 3",
            " 1", " 1", " 0", " 1", " 0", " 1", " 0", " 3", " 34", " 67", "15", "3.5", "6.78", "2.3", "27"}));
        const QStringList edge = rowTexts(g, 2);
        QCOMPARE(edge.mid(0, 3), (QStringList{"", "0123", "　　"}));
        QCOMPARE(edge.mid(16, 2), (QStringList{"", ""}));
        QCOMPARE(edge.mid(30, 9), (QStringList{" 1", " 0", " 0", " 0", " 0", " 0", " 0", "", ""}));
        QCOMPARE(edge[43], QString("70000"));
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.col(), 1);
        checkTints(g, 0, 1, {{5, 7, 0xFFC0FF}, {8, 11, 0xFFC0C0}, {12, 15, 0xFFE0C0}, {18, 29, 0xC0FFFF}, {30, 42, 0xC0C0FF}});
        // Items 0, 1, 2 and 5; none on the name column.
        checkPopups(g, racerListPopup, {0, 1, 2, 5}, {{2, 0, "-"}, {2, 1, "1110"}, {2, 8, "1100"}, {2, 12, "1100"},
                                                     {3, 16, "0001"}, {2, 17, "0000"}, {3, 17, "0001"}});
        loadRacers(g, QString::number(kDay + 1));
        QCOMPARE(g.rows(), 3);
        QCOMPARE(g.text(2, 1), QString("3000"));
        loadRacers(g, "x");
        checkPopups(g, racerListPopup, {}, {{1, 1, "-"}});
    }

    void machineRows_data()
    {
        QTest::addColumn<MachineList>("list");
        QTest::newRow("motors") << kMotorList;
        QTest::newRow("boats") << kBoatList;
    }
    void machineRows()
    {
        QFETCH(MachineList, list);
        test::insertDayRow(list.table, kSetus, kDay, {
            {list.key, 23}, {"syoritu", 6.125}, {"fukuritu", 42}, {"fukuritu_3", 61}, {"firsttime", 1496},
            {"syuso_1", 12}, {"syuso_2", 9}, {"syuso_3", 8}, {"syuso_4", 7}, {"syuso_5", 6}, {"syuso_6", 5},
            {"syuso_all", 47}, {"yusyu", 2}, {"yusyo", 1}, {"sensyname", "佐藤花子さん"}, {"tourokuno", 4321}});
        test::insertDayRow(list.table, kSetus, kDay, {{list.key, 3}, {"firsttime", 0}, {"sensyname", "　 "}});
        GridModel g;
        set_machinelist_grid(g);
        for (int fill = 0; fill < 2; ++fill)   // a refill replaces the rows
            disp_machinelist(g, list, kSetusText, kDayText);
        QCOMPARE(g.rows(), 3);
        QCOMPARE(rowTexts(g, 1), (QStringList{" 3", " 0.00", "  0", "  0", "", "  0", "  0", "  0", "  0", "  0",
                                              "  0", "  0", " 0", " 0", "　 ", "0", "0"}));
        QCOMPARE(rowTexts(g, 2), (QStringList{"23", " 6.13", " 42", " 61", "1.49.6", " 12", "  9", "  8", "  7", "  6",
                                              "  5", " 47", " 2", " 1", "佐藤花子", "1496", "4321"}));
        QCOMPARE(g.row(), 1);
        checkTints(g, 0, 0, {{1, 4, 0xFFC0C0}, {5, 13, 0xC0FFFF}, {14, 14, 0xC0C0FF}});
        // Items 0, 2 and 4: the racer item needs a user, sorting no number or user column.
        checkPopups(g, machineListPopup, {0, 2, 4}, {{2, 0, "x01"}, {2, 14, "x01"}, {2, 13, "x11"}, {1, 3, "x10"}});
        disp_machinelist(g, list, kSetusText, QString::number(kDay + 1));
        checkPopups(g, machineListPopup, {}, {{0, 0, "-"}});
    }

    // The racer detail.
    // The header comes from the racer's newest day; an unknown racer has his number only.
    void header()
    {
        RacerHeader h = loadRacerHeader(kSetusText, "12");
        QVERIFY(!h.found);
        QCOMPARE(h.number, QString("0012"));
        test::insertDayRow("f_racer", kSetus, 1, {{"tourokuno", 12}, {"sensyname", "旧い行"}, {"classcode_ge", "B1"}});
        test::insertDayRow("f_racer", kSetus, 2, {{"tourokuno", 12}, {"sensyname", " 鈴木一郎　"}, {"tourokuki", 5},
                                                  {"adress", 13}, {"classcode_ge", "A1"}, {"syoritu_ge", 6.5},
                                                  {"fukuritu_ge", 45}, {"syoritu_zk", 5.425}, {"fukuritu_zk", 100}});
        h = loadRacerHeader(kSetusText, "12");
        QVERIFY(h.found);
        QCOMPARE(h.name, QString("鈴木一郎"));
        QCOMPARE(h.memo[0], QString(" 5期 東京"));
        QCOMPARE(h.memo[1], QString("A1級  勝率 6.50 2連対率 45％"));
        QCOMPARE(h.memo[2], QString("最近1年間  勝率 5.43 2連対率100％"));
    }

    void results()
    {
        insertRuns();
        GridModel g;
        g.setRows(9);   // stale rows go
        disp_restb(g, kSetusText, "12");
        QCOMPARE(g.rows(), 5);
        QCOMPARE(rowTexts(g, 2), (QStringList{"1日目", " 3", "2", "３着", "1.49.6", "4", "07", " 0.0", "6.70",
                                              "待機違反  -5", "3", "1496", "+0", "20240302"}));
        QCOMPARE(rowTexts(g, 3), (QStringList{"1日目", " 9", "5", "欠場 外", "", "-", "-", "-", "-", "", "14", "0",
                                              "+0.5", "20240302"}));
        QCOMPARE(rowTexts(g, 4), (QStringList{"2日目", "11", "1", "Ｆ", "", "1", "-", "-0.5", "6.78", "", "12", "0",
                                              "-0.5", ""}));
        QCOMPARE(g.mergedRange(2, 0), QRect(0, 2, 1, 2));   // the two day-1 cells show as one
        QCOMPARE(g.row(), 1);
        // Frame tints on columns 1 to 9: grey for frame 2, yellow for 5; none for frame 7.
        checkTints(g, 2, 2, {{1, 9, 0xC0C0C0}});
        checkTints(g, 3, 3, {{1, 9, 0xFFFFC0}});
        checkTints(g, 1, 1, {});
        // Items 0, 1, 2 and 4: no sorting by penalty, averages of start timing
        // and exhibition only, a result only of a dated day after day 0.
        const auto popup = [](bool resultWindow) {
            return [resultWindow](const GridModel &grid) { return racerDetailPopup(grid, resultWindow); };
        };
        checkPopups(g, popup(true), {0, 1, 2, 4}, {{2, 6, "1111"}, {2, 8, "1111"}, {2, 7, "1101"}, {2, 9, "0001"},
                                                   {1, 1, "1100"}, {4, 1, "1100"}});
        checkPopups(g, popup(false), {0, 1, 2, 4}, {{2, 6, "1110"}});
        disp_restb(g, kSetusText, "99");
        checkPopups(g, popup(true), {}, {{0, 0, "-"}});
    }

};

QTEST_GUILESS_MAIN(TestListGrids)
#include "tst_listgrids.moc"
