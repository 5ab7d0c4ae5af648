// The racer, motor and boat list grids without a window: the cells of a row
// from values worked out by hand, bad values, order and refill, and which
// popup items a right-click enables.

#include "lists/helpers/listfixture.h"
#include "lists/motorboatlist.h"
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

void loadMachines(GridModel &g, const MachineList &list)
{
    set_machinelist_grid(g);
    disp_machinelist(g, list, kSetusText, kDayText);
    disp_machinelist(g, list, kSetusText, kDayText);
}

QString items(const std::optional<PopupItems> &shown, std::initializer_list<int> indexes)
{
    if (!shown)
        return "-";
    QString got;
    for (int i : indexes)
        got += shown->count(i) ? (shown->at(i) ? u'1' : u'0') : u'x';
    return got;
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
        loadRacers(g, QString::number(kDay + 1));
        QCOMPARE(g.rows(), 3);
        QCOMPARE(g.text(2, 1), QString("3000"));
    }

    void racerPopup_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("items");   // items 0, 1, 2, 5 as 1/0; "-" no popup
        QTest::newRow("name: no popup") << 2 << 0 << "-";
        QTest::newRow("number") << 2 << 1 << "1110";
        QTest::newRow("prefecture") << 2 << 2 << "1100";
        QTest::newRow("boat number") << 2 << 12 << "1100";
        QTest::newRow("first race") << 2 << 16 << "0001";
        QTest::newRow("no second race") << 2 << 17 << "0000";
        QTest::newRow("second race") << 3 << 17 << "0001";
        QTest::newRow("no racers") << 1 << 1 << "-";
    }
    void racerPopup()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        test::insertDayRow("f_racer", kSetus, kDay, {{"tourokuno", 3100}, {"hayami_1", 5}});
        test::insertDayRow("f_racer", kSetus, kDay, {{"tourokuno", 4012}, {"hayami_1", 2}, {"hayami_2", 8}});
        GridModel g;
        loadRacers(g, row < 2 ? "x" : kDayText);
        g.setRow(row);
        g.setCol(col);
        QTEST(items(racerListPopup(g), {0, 1, 2, 5}), "items");
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
        test::insertDayRow(list.table, kSetus, kDay, {{list.key, 3}, {"firsttime", 0}});
        GridModel g;
        loadMachines(g, list);
        QCOMPARE(g.rows(), 3);
        QCOMPARE(rowTexts(g, 1), (QStringList{" 3", " 0.00", "  0", "  0", "", "  0", "  0", "  0", "  0", "  0",
                                              "  0", "  0", " 0", " 0", "", "0", "0"}));
        QCOMPARE(rowTexts(g, 2), (QStringList{"23", " 6.13", " 42", " 61", "1.49.6", " 12", "  9", "  8", "  7", "  6",
                                              "  5", " 47", " 2", " 1", "佐藤花子", "1496", "4321"}));
        QCOMPARE(g.row(), 1);
        // Headings are tinted from the design's &HBBGGRR colours.
        QCOMPARE(g.backColor(0, 1), std::optional<QRgb>(0xFFC0C0));
    }

    void machinePopup_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("items");   // items 0, 2, 4; x: left alone
        QTest::newRow("number") << 1 << 0 << "x01";
        QTest::newRow("best time") << 1 << 4 << "x11";
        QTest::newRow("user name") << 1 << 14 << "x01";
        QTest::newRow("row without user") << 2 << 3 << "x10";
        QTest::newRow("blank user") << 3 << 3 << "x10";
    }
    void machinePopup()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        test::insertDayRow("f_boats", kSetus, kDay, {{"boatsno", 1}, {"sensyname", "選手"}});
        test::insertDayRow("f_boats", kSetus, kDay, {{"boatsno", 2}});
        test::insertDayRow("f_boats", kSetus, kDay, {{"boatsno", 3}, {"sensyname", "　 "}});
        GridModel g;
        loadMachines(g, kBoatList);
        g.setRow(row);
        g.setCol(col);
        QTEST(items(machineListPopup(g), {0, 2, 4}), "items");
        disp_machinelist(g, kBoatList, kSetusText, QString::number(kDay + 1));
        QVERIFY(!machineListPopup(g));
    }
};

QTEST_GUILESS_MAIN(TestListGrids)
#include "tst_listgrids.moc"
