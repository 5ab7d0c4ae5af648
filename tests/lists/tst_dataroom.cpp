// The data room's loaders on fixture rows: the ranking kind with the page's
// texts and the grids' headings, the stored ranking rows under each layout,
// the finish-place and payout-return rows, and the popup menu of a click.

#include "common/modkelmon.h"
#include "lists/dataroom.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kVenue = 1;
constexpr int kSetus = 4711;
constexpr int kDay = 3;
const DayKey kKey{QString::number(kVenue), QString::number(kSetus), QString::number(kDay)};

QStringList rowTexts(const GridModel &grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid.cols(); ++c)
        texts << grid.text(row, c);
    return texts;
}

QList<int> widths(const GridModel &grid)
{
    QList<int> w;
    for (int c = 0; c < grid.cols(); ++c)
        w << grid.colWidth(c);
    return w;
}

void insertDay(const QVariant &lunksflag)
{
    test::insertRow("f_setfg", {{"kyosocode", kVenue}, {"setuscode", kSetus}, {"datescnt", kDay},
                                {"Date", "20261206"}, {"lunksflag", lunksflag}});
}

void insertRanking(int position, int tourokuno, const QString &name, std::initializer_list<test::Field> fields)
{
    test::insertRow("f_lunks", {{"setuscode", kSetus}, {"datescnt", kDay}, {"lunkscode", position},
                                {"tourokuno", tourokuno}, {"sensyname", name}});
    for (const auto &[column, value] : fields)
        modkelmon::exec(QStringLiteral("update f_lunks set %1 = ? where lunkscode = ?").arg(QLatin1String(column)),
                        {value, position});
}

} // namespace

class TestDataRoom : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> folder;
    GridModel ranking, places, returns;

private slots:
    void init() { folder = std::make_unique<test::ProgramFolder>(); }
    void cleanup()
    {
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    void rankingKinds_data()
    {
        QTest::addColumn<QVariant>("lunksflag");   // invalid: no f_setfg row
        QTest::addColumn<QStringList>("texts");     // title, subtitle, note; "*" unchanged
        QTest::addColumn<int>("button");            // 1 enabled, 0 disabled, -1 unchanged
        QTest::addColumn<QStringList>("raceHeadings");   // row 1 of the last two columns

        QTest::newRow("first day") << QVariant(1)
                                   << QStringList{"初日がけ ベスト１５", "～初日に強い選手は誰？～",
                                                  "◇初日実績過去20戦の2連対率上位者 15名"}
                                   << 0 << QStringList{"前半", "後半"};
        QTest::newRow("points standing")
            << QVariant(2)
            << QStringList{"得点率順位表", "～予選突破をめぐる得点争い～", "◇予選得点率の上位から表示しています"} << 1
            << QStringList{"前半", "後半"};
        QTest::newRow("semi-final 12") << QVariant(3)
                                       << QStringList{"準優がけ ベスト１２", "～準優に強い選手は誰～",
                                                      "◇準優実績過去20戦の2連対率上位者 12名"}
                                       << 0 << QStringList{"R", "枠"};
        QTest::newRow("semi-final 15") << QVariant(4)
                                       << QStringList{"準優がけ ベスト１５", "～準優に強い選手は誰～",
                                                      "◇準優実績過去20戦の2連対率上位者 15名"}
                                       << 0 << QStringList{"R", "枠"};
        QTest::newRow("last day") << QVariant(5)
                                  << QStringList{"最終日がけ ベスト１５", "～最終日に強い選手は誰～",
                                                 "◇最終日実績過去20戦の2連対率上位者 15名"}
                                  << 0 << QStringList{"前半", "後半"};
        QTest::newRow("unknown kind") << QVariant(0) << QStringList{"*", "*", "*"} << -1
                                      << QStringList{"前半", "後半"};
        QTest::newRow("empty kind") << QVariant(QString()) << QStringList{"*", "*", "*"} << -1
                                    << QStringList{"前半", "後半"};
        // No row for the day: the page says so; the grid still gets the best-n layout.
        QTest::newRow("no day row") << QVariant() << QStringList{"", "お客様のデータベースが壊れています",
                                                                 "ランキングを表示できません"}
                                    << -1 << QStringList{"前半", "後半"};
    }
    void rankingKinds()
    {
        QFETCH(QVariant, lunksflag);
        QFETCH(QStringList, texts);
        QFETCH(int, button);
        QFETCH(QStringList, raceHeadings);
        if (lunksflag.isValid())
            insertDay(lunksflag);
        const RankingPage page = set_dataroom(kKey, ranking, places, returns);
        const std::optional<QString> shown[3] = {page.title, page.subtitle, page.note};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(shown[i].value_or("*"), texts[i]);
        QCOMPARE(page.pointsButton ? int(*page.pointsButton) : -1, button);

        const bool points = lunksflag == QVariant(2);
        QCOMPARE(ranking.cols(), points ? 8 : 10);
        QCOMPARE(ranking.rows(), 2);
        QCOMPARE(ranking.fixedRows(), 2);
        QCOMPARE(ranking.fixedCols(), 1);
        QCOMPARE(ranking.text(0, ranking.cols() - 1), QString("本日出走"));
        QCOMPARE(ranking.text(1, ranking.cols() - 2), raceHeadings[0]);
        QCOMPARE(ranking.text(1, ranking.cols() - 1), raceHeadings[1]);
        const QList<int> pointWidths = {840, 480, 580, 850, 850, 720, 460, 460};
        const QList<int> bestWidths = {840, 480, 360, 360, 360, 460, 740, 740, 460, 460};
        QCOMPARE(widths(ranking), points ? pointWidths : bestWidths);
        QCOMPARE(ranking.text(0, 2), QString(points ? "順位" : "1着"));
        // The other two grids never depend on the kind.
        QCOMPARE(widths(places), (QList<int>{840, 480, 510, 510, 510, 500, 500, 500, 460, 460}));
        QCOMPARE(widths(returns), (QList<int>{840, 480, 480, 540, 480, 480, 540, 490, 460, 460}));
        QCOMPARE(rowTexts(places, 1),
                 (QStringList{"選手名", "登番", "1着", "2着", "3着", "4着", "5着", "6着", "前半", "後半"}));
        QCOMPARE(rowTexts(returns, 1),
                 (QStringList{"選手名", "登番", "出走", "2連対", "回収", "出走", "3連対", "回収", "前半", "後半"}));
        QCOMPARE(rowTexts(returns, 0).mid(2, 6), (QStringList{"2連単回収率", "2連単回収率", "2連単回収率",
                                                             "3連単回収率", "3連単回収率", "3連単回収率"}));
        QCOMPARE(ranking.rowHeight(0), 260);
        QCOMPARE(ranking.rowHeight(1), 260);
        QCOMPARE(places.rows(), 2);
        QCOMPARE(returns.rows(), 2);
    }

    // Equal headings merge: one tall cell where both rows agree, one wide cell
    // over a group; the race columns never merge down.
    void headingsMerge()
    {
        insertDay(2);
        set_dataroom(kKey, ranking, places, returns);
        QCOMPARE(ranking.mergedRange(0, 0), QRect(0, 0, 1, 2));
        QCOMPARE(ranking.mergedRange(1, 5), QRect(5, 0, 1, 2));
        QCOMPARE(ranking.mergedRange(0, 6), QRect(6, 0, 2, 1));
        QCOMPARE(ranking.mergedRange(1, 6), QRect(6, 1, 1, 1));
        QCOMPARE(places.mergedRange(0, 4), QRect(2, 0, 6, 1));
        QCOMPARE(returns.mergedRange(0, 2), QRect(2, 0, 3, 1));
        QCOMPARE(returns.mergedRange(0, 6), QRect(5, 0, 3, 1));
    }

    void rankingRows_data()
    {
        QTest::addColumn<QVariant>("lunksflag");
        QTest::addColumn<QStringList>("first");    // the first data row
        QTest::addColumn<QStringList>("second");
        // Points: 45 points in 5 runs at 7.50; an excluded racer shows no rate.
        QTest::newRow("points standing")
            << QVariant(2) << QStringList{"長谷川太", "0123", " 1", " 45", " 5", " 7.50", "", "12R"}
            << QStringList{"岡", "4321", " 2", "101", "12", "", " 3R", ""};
        // Best-n: 20 runs with 6, 4 and 3 leave 7 outside the first three.
        QTest::newRow("first day") << QVariant(1)
                                   << QStringList{"長谷川太", "0123", " 6", " 4", " 3", " 7", " 50", " 65", "", "12R"}
                                   << QStringList{"岡", "4321", "10", " 0", " 0", "10", "100", "100", " 3R", ""};
        QTest::newRow("semi-final: race and frame")
            << QVariant(4) << QStringList{"長谷川太", "0123", " 6", " 4", " 3", " 7", " 50", " 65", "", ""}
            << QStringList{"岡", "4321", "10", " 0", " 0", "10", "100", "100", " 3R", ""};
        // A missing day row keeps the best-n layout: every stored column has its place.
        QTest::newRow("no day row")
            << QVariant() << QStringList{"長谷川太", "0123", " 6", " 4", " 3", " 7", " 50", " 65", "", "12R"}
            << QStringList{"岡", "4321", "10", " 0", " 0", "10", "100", "100", " 3R", ""};
    }
    void rankingRows()
    {
        QFETCH(QVariant, lunksflag);
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        if (lunksflag.isValid())
            insertDay(lunksflag);
        const bool points = lunksflag == QVariant(2);
        if (points) {
            insertRanking(1, 123, "長谷川太郎",
                          {{"syuso_all", 45}, {"syuso_1", 5}, {"tokuritu_ks", 7.5}, {"hayami_2", 12}});
            insertRanking(2, 4321, "岡",
                          {{"syuso_all", 101}, {"syuso_1", 12}, {"syotnflag", 1}, {"tokuritu_ks", 8.42}, {"hayami_1", 3}});
        } else {
            insertRanking(1, 123, "長谷川太郎",
                          {{"syuso_all", 20}, {"syuso_1", 6}, {"syuso_2", 4}, {"syuso_3", 3}, {"fukuritu", 50},
                           {"fukuritu_3", 65}, {"hayami_2", 12}});
            insertRanking(2, 4321, "岡",
                          {{"syuso_all", 20}, {"syuso_1", 10}, {"fukuritu", 100}, {"fukuritu_3", 100},
                           {"hayami_1", 3}, {"hayami_2", 0}});
        }
        if (lunksflag == QVariant(4))
            modkelmon::exec("update f_lunks set hayami_1 = 11, hayami_2 = 3 where lunkscode = 1");
        // Another day's ranking is not shown.
        test::insertRow("f_lunks", {{"setuscode", kSetus}, {"datescnt", kDay + 1}, {"lunkscode", 1}});
        const RankingPage page = set_dataroom(kKey, ranking, places, returns);
        disp_lunks(kKey, page.title.value_or(QString()), ranking);
        QCOMPARE(ranking.rows(), 4);
        QCOMPARE(ranking.row(), 3);
        if (lunksflag == QVariant(4)) {
            first[8] = "11R";
            first[9] = "3枠";
        }
        QCOMPARE(rowTexts(ranking, 2), first);
        QCOMPARE(rowTexts(ranking, 3), second);
    }

    void finishPlaceRows()
    {
        insertDay(1);
        // Inserted out of order: the rows follow the registration numbers.
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 4001},
                                    {"sensyname", "山田"}, {"syuso_zk_all", 0}, {"syuso_zk_1", 3}, {"hayami_1", 7}});
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 3001},
                                    {"sensyname", "佐々木一郎"}, {"syuso_zk_all", 3}, {"syuso_zk_1", 1},
                                    {"syuso_zk_2", 2}, {"hayami_2", 12}});
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 3500},
                                    {"sensyname", "川"}, {"syuso_zk_all", 2000}, {"syuso_zk_3", 661},
                                    {"syuso_zk_6", 1339}, {"hayami_1", 1}, {"hayami_2", 9}});
        set_dataroom(kKey, ranking, places, returns);
        disp_cyakukai(kKey, places);
        QCOMPARE(places.rows(), 5);
        QCOMPARE(rowTexts(places, 2),
                 (QStringList{"佐々木一", "3001", " 34", " 67", "  0", "  0", "  0", "  0", "", "12R"}));
        QCOMPARE(rowTexts(places, 3),
                 (QStringList{"川", "3500", "  0", "  0", " 33", "  0", "  0", " 67", " 1R", " 9R"}));
        // No starts: the rates stay empty, the rest is shown.
        QCOMPARE(rowTexts(places, 4), (QStringList{"山田", "4001", "", "", "", "", "", "", " 7R", ""}));
    }

    void returnRows()
    {
        insertDay(1);
        test::insertRow("f_kasyu", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 4100},
                                    {"sensyname", "鈴木"}});
        test::insertRow("f_kasyu", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 3900},
                                    {"sensyname", "高橋"}, {"syuso_2t", 12}, {"syure_2t", 5}, {"kaisyuritu_2t", 123.4},
                                    {"syuso_3t", 12}, {"syure_3t", 7}, {"kaisyuritu_3t", 9.996}, {"hayami_1", 4}});
        set_dataroom(kKey, ranking, places, returns);
        disp_kaisyu(kKey, returns);
        QCOMPARE(rowTexts(returns, 2),
                 (QStringList{"高橋", "3900", " 12", "  5", " 123", " 12", "  7", "10.00", " 4R", ""}));
        // No starts: counts 0 and rates 0.00, never empty.
        QCOMPARE(rowTexts(returns, 3),
                 (QStringList{"鈴木", "4100", "  0", "  0", "0.00", "  0", "  0", "0.00", "", ""}));
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
        const QString semi12 = "準優がけ ベスト１２";
        // The grid row: race cells in 6 and 7 (points) or 8 and 9.
        QTest::newRow("points: rate column") << 0 << points << 5 << "mnul1" << true << false;
        QTest::newRow("points: race cell") << 0 << points << 6 << "mnul1" << false << true;
        QTest::newRow("points: empty race cell") << 0 << points << 7 << "mnul1" << false << false;
        QTest::newRow("best-n: race cell") << 0 << "初日がけ ベスト１５" << 8 << "mnul2" << false << true;
        QTest::newRow("best-n: empty second race") << 0 << "初日がけ ベスト１５" << 9 << "mnul2" << false << false;
        QTest::newRow("no title: best-n") << 0 << "" << 6 << "mnul2" << true << false;
        // On the semi-final kinds the frame cell follows the race cell to its left.
        QTest::newRow("semi-final: frame cell") << 0 << semi12 << 9 << "mnul2" << false << true;
        QTest::newRow("finish-place: race cell") << 1 << points << 8 << "mnucr" << false << true;
        QTest::newRow("finish-place: name") << 1 << points << 0 << "mnucr" << true << false;
        QTest::newRow("returns: empty race cell") << 2 << points << 9 << "mnuks" << false << false;
    }
    void popupMenus()
    {
        QFETCH(int, index);
        QFETCH(QString, title);
        QFETCH(int, col);
        QFETCH(QString, menu);
        QFETCH(bool, sortAverage);
        QFETCH(bool, raceCard);
        GridModel grid;
        grid.setCols(10);
        grid.setRows(3);
        grid.setFixedRows(2);
        const QStringList cells = {"岡", "4321", "1", "2", "3", "4", " 5R", "", " 7R", "  "};
        for (int c = 0; c < 10; ++c)
            grid.setText(2, c, cells[c]);
        if (title == QLatin1String("準優がけ ベスト１２"))
            grid.setText(2, 9, "3枠");
        grid.setRow(2);
        grid.setCol(col);
        const auto popup = dataroomPopup(index, title, grid);
        QVERIFY(popup);
        QCOMPARE(popup->menu, menu);
        QCOMPARE(popup->sortAverage, sortAverage);
        QCOMPARE(popup->raceCard, raceCard);
        // Only the heading rows: no menu.
        grid.setRows(2);
        QVERIFY(!dataroomPopup(index, title, grid));
    }
};

QTEST_GUILESS_MAIN(TestDataRoom)
#include "tst_dataroom.moc"
