// The data room's and the points table's loaders on fixture rows: the ranking
// kind with its page and layout, the stored ranking under each layout, the
// finish-place and payout-return rows, the popup menu of a right click, the
// border rate, the racers' what-if blocks with their marks and blank rates,
// the legend, and the cells they share at their rounding edges (expected
// values worked out by hand).

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
    // The kind gives the page's title, the points button and the layout; the
    // stored ranking fills it (points: position, points, runs, rate, races;
    // best-n: places, others, rates, races, or race and frame on the semi-finals).
    void ranking_data()
    {
        QTest::addColumn<QVariant>("lunksflag");    // invalid: no f_setfg row
        QTest::addColumn<QString>("title");         // "*": left as it was
        QTest::addColumn<int>("button");            // 1 enabled, 0 disabled, -1 unchanged
        QTest::addColumn<QString>("lastHeading");   // row 1 of the last column
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        // 20 runs with 6, 4 and 3 leave 7 outside the first three.
        const QStringList best = {"長谷川太", "0123", " 6", " 4", " 3", " 7", " 50", " 65", "11R", " 3R"};
        const QStringList second = {"岡", "4321", "10", " 0", " 0", "10", "100", "100", "", ""};
        QStringList semi = best;
        semi[9] = "3枠";
        QTest::newRow("first day") << QVariant(1) << "初日がけ ベスト１５" << 0 << "後半" << best << second;
        QTest::newRow("points") << QVariant(2) << "得点率順位表" << 1 << "後半"
                                << QStringList{"長谷川太", "0123", " 1", " 20", " 6", " 7.50", "11R", " 3R"}
                                << QStringList{"岡", "4321", " 2", " 20", "10", "", "", ""};
        QTest::newRow("semi-final 12") << QVariant(3) << "準優がけ ベスト１２" << 0 << "枠" << semi << second;
        QTest::newRow("semi-final 15") << QVariant(4) << "準優がけ ベスト１５" << 0 << "枠" << semi << second;
        QTest::newRow("last day") << QVariant(5) << "最終日がけ ベスト１５" << 0 << "後半" << best << second;
        QTest::newRow("unknown kind") << QVariant(0) << "*" << -1 << "後半" << best << second;
        // A missing day row keeps the best-n layout: every stored column has its place.
        QTest::newRow("no day row") << QVariant() << "" << -1 << "後半" << best << second;
    }
    void ranking()
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
        const RankingPage page = set_dataroom(kKey, ranking, places, returns);
        QTEST(page.title.value_or("*"), "title");
        QTEST(page.pointsButton ? int(*page.pointsButton) : -1, "button");
        if (!lunksflag.isValid())
            QCOMPARE(page.subtitle.value_or("*"), QString("お客様のデータベースが壊れています"));
        QTEST(ranking.text(1, ranking.cols() - 1), "lastHeading");
        disp_lunks(kKey, page.title.value_or(QString()), ranking);
        disp_lunks(kKey, page.title.value_or(QString()), ranking);   // a refill replaces the rows
        QCOMPARE(ranking.rows(), 4);
        // The first racer is current, in the first column the keys reach (the
        // name column stays fixed).
        QCOMPARE(QPoint(ranking.col(), ranking.row()), QPoint(1, 2));
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
        for (const GridModel *grid : {&places, &returns})   // the first racer's number is current
            QCOMPARE(QPoint(grid->col(), grid->row()), QPoint(1, 2));
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
        QTest::addColumn<QString>("popup");   // menu, sort/average items, race card item
        const QString points = "得点率順位表";
        // The grid row: race cells in 6 and 7 (points) or 8 and 9.
        QTest::newRow("points: rate column") << 0 << points << 5 << "mnul1 10";
        QTest::newRow("points: race cell") << 0 << points << 6 << "mnul1 01";
        QTest::newRow("points: empty race cell") << 0 << points << 7 << "mnul1 00";
        QTest::newRow("best-n: empty second race") << 0 << "初日がけ ベスト１５" << 9 << "mnul2 00";
        // On the semi-final kinds the frame cell goes by the race cell to its left.
        QTest::newRow("semi-final: frame cell") << 0 << "準優がけ ベスト１２" << 9 << "mnul2 01";
        QTest::newRow("finish-place: race cell") << 1 << points << 8 << "mnucr 01";
        QTest::newRow("returns: name") << 2 << points << 0 << "mnuks 10";
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
        QTEST(QString("%1 %2%3").arg(popup->menu).arg(popup->sortAverage).arg(popup->raceCard), "popup");
        grid.setRows(2);   // only the heading rows: no menu
        QVERIFY(!dataroomPopup(index, title, grid));
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
        QCOMPARE(QPoint(grid.col(), grid.row()), QPoint(1, 0));   // the first racer's title is current, past column 0
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

    // The border rate as the meeting holds it. Blank rates are no rates: a row
    // of blanks is left out, a blank beside a rate stays empty and unmarked; no
    // border marks nothing.
    void blankRatesAndNoBorder()
    {
        QCOMPARE(disp_bordrcnt(kKey), QString());
        test::insertRow("f_setus", {{"setuscode", kSetus}, {"bordrcnt", 6.2}});
        QCOMPARE(disp_bordrcnt(kKey), QString("6.20"));
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

    void cells_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("cell");
        // Payout returns: decimals by the unrounded value, halves away from zero. What-if
        // rates: two decimals below 10, one from 10 on. Place rates of 2000 starts: x 100
        // cut down to tenths, then raised to a whole percent.
        const std::tuple<const char *, double, const char *> rows[] = {
            {"return", 123.4, " 123"}, {"return", 100, " 100"}, {"return", 99.96, "100.0"}, {"return", 85.25, "85.3"},
            {"return", 10, "10.0"},    {"return", 9.996, "10.00"}, {"return", 2.675, "2.68"}, {"return", 0, "0.00"},
            {"what-if", 10.25, "10.3"}, {"what-if", 10, "10.0"}, {"what-if", 9.994, "9.99"},
            {"place", 661, " 33"},     {"place", 662, " 34"},   {"place", 1, "  0"},  {"place", 1999, "100"},
            {"place", 140, "  7"},     {"race", 0, ""},         {"race", 2.5, ""},    {"race", 100, ""},
            {"frame", 6, "6枠"},       {"frame", 7, ""},        {"number", 40000, ""}};
        for (const auto &[kind, value, cell] : rows)
            QTest::addRow("%s %g", kind, value) << QString::fromLatin1(kind) << value << QString::fromUtf8(cell);
    }
    void cells()
    {
        QFETCH(QString, kind);
        QFETCH(double, value);
        static const std::map<QString, QString (*)(double)> form = {{"return", returnRateCell}, {"what-if", tokhmRate},
            {"race", raceCell}, {"frame", frameCell}, {"number", registrationText},
            {"place", [](double places) { return finishPlaceCell(places, 2000); }}};
        QTEST(form.at(kind)(value), "cell");
    }
};

QTEST_GUILESS_MAIN(TestDataRoom)
#include "tst_dataroom.moc"
