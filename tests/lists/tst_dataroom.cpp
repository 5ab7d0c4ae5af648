// The data room's and the points table's loaders on fixture rows: the ranking
// kind with its page and layout, the stored ranking under each layout, the
// finish-place and payout-return rows, the popup menu of a right click, the
// border rate, the racers' what-if blocks with their marks and blank rates,
// the legend, and the cells they share at their rounding edges (expected
// values worked out by hand).

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "lists/dataroom.h"
#include "lists/dataroomrates.h"
#include "lists/listcells.h"
#include "lists/listcolumns.h"
#include "lists/helpers/listfixture.h"
#include "lists/tokhm.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;
using test::rowTexts;

namespace {

constexpr int kSetus = 4711;
constexpr int kDay = 3;
const DayKey kKey{"1", QString::number(kSetus), QString::number(kDay)};

// The day's f_setfg row; none for an invalid lunksflag.
void insertDay(const QVariant &lunksflag)
{
    if (lunksflag.isValid())
        test::insertRow("f_setfg", {{"kyosocode", 1}, {"setuscode", kSetus}, {"datescnt", kDay}, {"lunksflag", lunksflag}});
}

void row(const char *table, std::initializer_list<test::Field> fields)
{
    test::insertDayRow(table, kSetus, kDay, fields);
}

constexpr QRgb kReached = 0xFFFFC0;
constexpr QRgb kBelow = 0xFFFFFF;

void insertRacer(int position, const QString &name, double rate, int race1, int race2)
{
    row("f_tokhm", {{"tokujun_ks", position}, {"sensyname", name},
                                                 {"tokuritu_ks", rate}, {"hayami_1", race1}, {"hayami_2", race2}});
}

// Sets the what-if rate for second-race place i and first-race place j
// (0-based), by the table's column positions.
void setRate(int position, int i, int j, const QVariant &value)
{
    const char *column = findTable("f_tokhm")->cols()[std::size_t(8 + 7 * i + j)].name;
    modkelmon::exec(QStringLiteral("update f_tokhm set %1 = ? where tokujun_ks = ?").arg(QLatin1String(column)),
                    {value, position});
}

} // namespace

class TestDataRoom : public test::DatabaseTest {
    Q_OBJECT

private slots:
    void rankingKinds_data()
    {
        QTest::addColumn<QVariant>("lunksflag");   // invalid: no f_setfg row
        QTest::addColumn<QString>("title");        // "*": left as it was
        QTest::addColumn<int>("button");           // 1 enabled, 0 disabled, -1 unchanged
        QTest::addColumn<QString>("lastHeading");  // row 1 of the last column
        QTest::newRow("first day") << QVariant(1) << "初日がけ ベスト１５" << 0 << "後半";
        QTest::newRow("points") << QVariant(2) << "得点率順位表" << 1 << "後半";
        QTest::newRow("semi-final 12") << QVariant(3) << "準優がけ ベスト１２" << 0 << "枠";
        QTest::newRow("semi-final 15") << QVariant(4) << "準優がけ ベスト１５" << 0 << "枠";
        QTest::newRow("last day") << QVariant(5) << "最終日がけ ベスト１５" << 0 << "後半";
        QTest::newRow("unknown kind") << QVariant(0) << "*" << -1 << "後半";
        QTest::newRow("no day row") << QVariant() << "" << -1 << "後半";
    }
    void rankingKinds()
    {
        QFETCH(QVariant, lunksflag);
        insertDay(lunksflag);
        GridModel ranking, places, returns;
        const RankingPage page = set_dataroom(kKey, ranking, places, returns);
        QTEST(page.title.value_or("*"), "title");
        QTEST(page.pointsButton ? int(*page.pointsButton) : -1, "button");
        if (!lunksflag.isValid())
            QCOMPARE(page.subtitle.value_or("*"), QString("お客様のデータベースが壊れています"));
        QCOMPARE(ranking.cols(), lunksflag == QVariant(2) ? 8 : 10);
        QTEST(ranking.text(1, ranking.cols() - 1), "lastHeading");
    }

    void rankingRows_data()
    {
        QTest::addColumn<QVariant>("lunksflag");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        // Points: position, points, runs, rate and races.
        QTest::newRow("points") << QVariant(2) << QStringList{"長谷川太", "0123", " 1", " 20", " 6", " 7.50", "11R", " 3R"}
                                << QStringList{"岡", "4321", " 2", " 20", "10", "", "", ""};
        // Best-n: 20 runs with 6, 4 and 3 leave 7 outside the first three.
        const QStringList best = {"長谷川太", "0123", " 6", " 4", " 3", " 7", " 50", " 65", "11R", " 3R"};
        const QStringList second = {"岡", "4321", "10", " 0", " 0", "10", "100", "100", "", ""};
        QTest::newRow("first day") << QVariant(1) << best << second;
        QStringList semi = best;
        semi[9] = "3枠";
        QTest::newRow("semi-final: race and frame") << QVariant(4) << semi << second;
        // A missing day row keeps the best-n layout: every stored column has its place.
        QTest::newRow("no day row") << QVariant() << best << second;
    }
    void rankingRows()
    {
        QFETCH(QVariant, lunksflag);
        insertDay(lunksflag);
        row("f_lunks", {{"lunkscode", 1}, {"tourokuno", 123}, {"sensyname", "長谷川太郎"}, {"syuso_all", 20},
                        {"syuso_1", 6}, {"syuso_2", 4}, {"syuso_3", 3}, {"fukuritu", 50}, {"fukuritu_3", 65},
                        {"tokuritu_ks", 7.5}, {"hayami_1", 11}, {"hayami_2", 3}});
        // Excluded from the points standing: no rate.
        row("f_lunks", {{"lunkscode", 2}, {"tourokuno", 4321}, {"sensyname", "岡"}, {"syuso_all", 20}, {"syuso_1", 10},
                        {"fukuritu", 100}, {"fukuritu_3", 100}, {"syotnflag", 1}, {"tokuritu_ks", 8.42}});
        // Another day's ranking is not shown.
        test::insertDayRow("f_lunks", kSetus, kDay + 1, {{"lunkscode", 1}});
        GridModel ranking, places, returns;
        const QString title = set_dataroom(kKey, ranking, places, returns).title.value_or(QString());
        disp_lunks(kKey, title, ranking);
        disp_lunks(kKey, title, ranking);   // a refill replaces the rows
        QCOMPARE(ranking.rows(), 4);
        QCOMPARE(ranking.row(), 3);
        QTEST(rowTexts(ranking, 2), "first");
        QTEST(rowTexts(ranking, 3), "second");
    }

    // Finish-place rates by registration number, none without starts; payout
    // returns with counts and rates 0 where nothing was run.
    void rateRows()
    {
        insertDay(1);
        row("f_racer", {{"tourokuno", 4001}, {"sensyname", "山田"}, {"syuso_zk_1", 3}, {"hayami_1", 7}});
        row("f_racer", {{"tourokuno", 3500}, {"sensyname", "佐々木一郎"}, {"syuso_zk_all", 2000}, {"syuso_zk_1", 1},
                        {"syuso_zk_2", 2}, {"syuso_zk_3", 661}, {"syuso_zk_6", 1336}, {"hayami_1", 1}, {"hayami_2", 9}});
        row("f_kasyu", {{"tourokuno", 4100}, {"sensyname", "鈴木"}});
        row("f_kasyu", {{"tourokuno", 3900}, {"sensyname", "高橋"}, {"syuso_2t", 12}, {"syure_2t", 5},
                        {"kaisyuritu_2t", 123.4}, {"syuso_3t", 11}, {"syure_3t", 7}, {"kaisyuritu_3t", 9.996},
                        {"hayami_2", 4}});
        GridModel ranking, places, returns;
        set_dataroom(kKey, ranking, places, returns);
        for (int fill = 0; fill < 2; ++fill) {   // a refill replaces the rows
            disp_cyakukai(kKey, places);
            disp_kaisyu(kKey, returns);
        }
        QCOMPARE(places.rows(), 4);
        QCOMPARE(rowTexts(places, 2), (QStringList{"佐々木一", "3500", "  0", "  1", " 33", "  0", "  0", " 67", " 1R", " 9R"}));
        QCOMPARE(rowTexts(places, 3), (QStringList{"山田", "4001", "", "", "", "", "", "", " 7R", ""}));
        QCOMPARE(returns.rows(), 4);
        QCOMPARE(rowTexts(returns, 2), (QStringList{"高橋", "3900", " 12", "  5", " 123", " 11", "  7", "10.00", "", " 4R"}));
        QCOMPARE(rowTexts(returns, 3), (QStringList{"鈴木", "4100", "  0", "  0", "0.00", "  0", "  0", "0.00", "", ""}));
    }

    void popupMenus_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<bool>("sortAverage");
        QTest::addColumn<bool>("raceCard");
        const QString points = "得点率順位表";
        // The grid row: race cells in 6 and 7 (points) or 8 and 9.
        QTest::newRow("points: rate column") << 0 << points << 5 << "mnul1" << true << false;
        QTest::newRow("points: race cell") << 0 << points << 6 << "mnul1" << false << true;
        QTest::newRow("points: empty race cell") << 0 << points << 7 << "mnul1" << false << false;
        QTest::newRow("best-n: empty second race") << 0 << "初日がけ ベスト１５" << 9 << "mnul2" << false << false;
        // On the semi-final kinds the frame cell goes by the race cell to its left.
        QTest::newRow("semi-final: frame cell") << 0 << "準優がけ ベスト１２" << 9 << "mnul2" << false << true;
        QTest::newRow("finish-place: race cell") << 1 << points << 8 << "mnucr" << false << true;
        QTest::newRow("returns: name") << 2 << points << 0 << "mnuks" << true << false;
    }
    void popupMenus()
    {
        QFETCH(int, index);
        QFETCH(QString, title);
        QFETCH(int, col);
        GridModel grid;
        grid.setCols(10);
        grid.setRows(3);
        grid.setFixedRows(2);
        const QStringList cells = {"岡", "4321", "1", "2", "3", "4", " 5R", "", " 7R", "  "};
        for (int c = 0; c < 10; ++c)
            grid.setText(2, c, cells[c]);
        grid.setRow(2);
        grid.setCol(col);
        const auto popup = dataroomPopup(index, title, grid);
        QVERIFY(popup);
        QTEST(popup->menu, "menu");
        QTEST(popup->sortAverage, "sortAverage");
        QTEST(popup->raceCard, "raceCard");
        grid.setRows(2);   // only the heading rows: no menu
        QVERIFY(!dataroomPopup(index, title, grid));
    }

    // The points table: the border rate, the blocks and the legend.
    void border()
    {
        QCOMPARE(disp_bordrcnt(kKey), QString());
        test::insertRow("f_setus", {{"setuscode", kSetus}, {"bordrcnt", 6.2}});
        QCOMPARE(disp_bordrcnt(kKey), QString("6.20"));
    }

    void blocks()
    {
        // Second in the standing, first inserted: blocks follow the standing.
        insertRacer(2, "長谷川太郎", 7.5, 0, 12);
        insertRacer(1, "岡", 10.25, 3, 9);
        insertRacer(3, "川", 5, 4, 0);   // every rate 0: title row only
        setRate(2, 0, 1, 6.2);          // second race first, first race second
        for (int j = 0; j < 7; ++j)     // second race 着外, every place of the first
            setRate(1, 6, j, 5 + j);
        GridModel grid;
        grid.setRows(12);   // stale rows go
        disp_tokhm(kKey, "6.20", grid);
        QCOMPARE(grid.rows(), 5);
        const QString title1 = " 1位 岡  10.25  ( 3R・ 9R)";
        QCOMPARE(rowTexts(grid, 0), (QStringList{"", title1, title1, title1, title1, title1, title1, title1}));
        QCOMPARE(grid.mergedRange(0, 3), QRect(1, 0, 7, 1));
        QCOMPARE(grid.backColor(0, 7), std::optional<QRgb>(0xC0C0FF));
        QCOMPARE(rowTexts(grid, 1), (QStringList{"着外", "5.00", "6.00", "7.00", "8.00", "9.00", "10.0", "11.0"}));
        QCOMPARE(grid.backColor(1, 1), std::optional<QRgb>(kBelow));
        QCOMPARE(grid.backColor(1, 2), std::optional<QRgb>(kBelow));
        QCOMPARE(grid.backColor(1, 3), std::optional<QRgb>(kReached));
        QCOMPARE(grid.text(2, 1), QString(" 2位 長谷川太   7.50  ( - ・12R)"));
        QCOMPARE(rowTexts(grid, 3), (QStringList{"①着", "0.00", "6.20", "0.00", "0.00", "0.00", "0.00", "0.00"}));
        QCOMPARE(grid.backColor(3, 2), std::optional<QRgb>(kReached));   // exactly the border
        QCOMPARE(grid.text(4, 1), QString(" 3位 川   5.00  ( 4R・ - )"));
    }

    // Blank rates are no rates: a row of blanks is left out, a blank beside a
    // rate stays empty and unmarked; no border marks nothing.
    void blankRatesAndNoBorder()
    {
        insertRacer(1, "岡", 6, 1, 2);
        for (int i = 0; i < 7; ++i)
            for (int j = 0; j < 7; ++j)
                setRate(1, i, j, (i + j) % 2 ? QVariant() : QVariant(QString(" ")));
        setRate(1, 2, 0, 7.5);
        GridModel grid;
        disp_tokhm(kKey, "", grid);
        QCOMPARE(grid.rows(), 2);
        QCOMPARE(rowTexts(grid, 1), (QStringList{"③着", "7.50", "", "", "", "", "", ""}));
        QCOMPARE(grid.backColor(1, 1), std::optional<QRgb>(kBelow));
        QVERIFY(!grid.backColor(1, 2));
        disp_tokhm(kKey, "0.00", grid);
        QCOMPARE(grid.backColor(1, 1), std::optional<QRgb>(kBelow));
    }

    void legend()
    {
        GridModel grid;
        set_sample_grid(grid);
        QCOMPARE(grid.mergedRange(4, 0), QRect(0, 2, 1, 7));
        QCOMPARE(rowTexts(grid, 8), (QStringList{"後半戦", "着外", "①外", "②外", "③外", "④外", "⑤外", "⑥外", "外外"}));
        QCOMPARE(grid.text(7, 3), QString("②⑥"));
        QCOMPARE(grid.backColor(7, 3), std::optional<QRgb>(0xC0FFC0));
    }

    // Place rates: places x 100 / starts cut down to tenths, then raised to a
    // whole percent; no rate for counts that cannot be.
    void placeRates_data()
    {
        QTest::addColumn<double>("places");
        QTest::addColumn<double>("starts");
        QTest::addColumn<QString>("cell");
        QTest::newRow("1 of 3 = 33.3 raised") << 1.0 << 3.0 << " 34";
        QTest::newRow("661 of 2000 = 33.05 cut to 33.0") << 661.0 << 2000.0 << " 33";
        QTest::newRow("331 of 1000 = 33.1 raised") << 331.0 << 1000.0 << " 34";
        QTest::newRow("1 of 2000 = 0.05 cut to 0") << 1.0 << 2000.0 << "  0";
        QTest::newRow("1999 of 2000 = 99.95 raised") << 1999.0 << 2000.0 << "100";
        QTest::newRow("7 of 100 exactly") << 7.0 << 100.0 << "  7";
        QTest::newRow("no starts") << 1.0 << 0.0 << "";
        QTest::newRow("negative starts") << 1.0 << -3.0 << "";
        QTest::newRow("fractional count") << 1.5 << 3.0 << "";
        QTest::newRow("absurd count") << 1e12 << 3.0 << "";
    }
    void placeRates()
    {
        QFETCH(double, places);
        QFETCH(double, starts);
        QTEST(finishPlaceCell(places, starts), "cell");
    }

    void cells_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("cell");
        const auto row = [](const char *kind, double value, const char *cell) {
            QTest::addRow("%s %g", kind, value) << QString::fromLatin1(kind) << value << QString::fromUtf8(cell);
        };
        // Payout returns: decimals by the unrounded value, halves away from zero.
        for (const auto &[value, cell] : std::initializer_list<std::pair<double, const char *>>{
                 {123.4, " 123"}, {100, " 100"}, {99.96, "100.0"}, {85.25, "85.3"}, {10, "10.0"}, {9.996, "10.00"},
                 {2.675, "2.68"}, {0, "0.00"}})
            row("return", value, cell);
        // What-if rates: two decimals below 10, one from 10 on.
        row("what-if", 10.25, "10.3");
        row("what-if", 10, "10.0");
        row("what-if", 9.994, "9.99");
        row("race", 0, "");
        row("race", 2.5, "");
        row("race", 100, "");
        row("frame", 6, "6枠");
        row("frame", 7, "");
        row("number", 40000, "");
    }
    void cells()
    {
        QFETCH(QString, kind);
        QFETCH(double, value);
        static const std::map<QString, QString (*)(double)> form = {{"return", returnRateCell}, {"what-if", tokhmRate},
            {"race", raceCell}, {"frame", frameCell}, {"number", registrationText}};
        QTEST(form.at(kind)(value), "cell");
    }
};

QTEST_GUILESS_MAIN(TestDataRoom)
#include "tst_dataroom.moc"
