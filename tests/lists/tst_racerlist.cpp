// The racer list grid without a window: layout with its merged two-row
// headings, the cells of a racer, the place rates at their rounding edges,
// bad input, and which popup items a right-click enables.

#include "common/modkelmon.h"
#include "lists/racerlist.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kSetus = 501;
constexpr int kDay = 3;

void insertRacer(int tourokuno, std::initializer_list<test::Field> more = {})
{
    test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", tourokuno}});
    // Overrides go in as updates, so a test names only what it cares about.
    for (const auto &[name, value] : more)
        modkelmon::exec(QStringLiteral("update f_racer set \"%1\" = ? where setuscode = ? and datescnt = ? and tourokuno = ?")
                            .arg(QLatin1String(name)),
                        {value, kSetus, kDay, tourokuno});
}

QStringList rowTexts(const GridModel &g, int row)
{
    QStringList t;
    for (int c = 0; c < g.cols(); ++c)
        t << g.text(row, c);
    return t;
}

} // namespace

class TestRacerList : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> folder;

private slots:
    void init() { folder = std::make_unique<test::ProgramFolder>(); }
    void cleanup()
    {
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    // Place rates: cut down to tenths, then raised to a whole percent.
    void placeRate_data()
    {
        QTest::addColumn<double>("places");
        QTest::addColumn<double>("starts");
        QTest::addColumn<int>("expected");   // -1: no rate
        QTest::newRow("1 of 3 = 33.33 -> 34") << 1.0 << 3.0 << 34;
        QTest::newRow("661 of 2000 = 33.05 -> 33") << 661.0 << 2000.0 << 33;
        QTest::newRow("662 of 2000 = 33.1 -> 34") << 662.0 << 2000.0 << 34;
        QTest::newRow("1209 of 10000 = 12.09 -> 12") << 1209.0 << 10000.0 << 12;
        QTest::newRow("1 of 8 = 12.5 -> 13") << 1.0 << 8.0 << 13;
        QTest::newRow("1 of 200 = 0.5 -> 1") << 1.0 << 200.0 << 1;
        QTest::newRow("1 of 2000 = 0.05 -> 0") << 1.0 << 2000.0 << 0;
        QTest::newRow("9999 of 10000 = 99.99 -> 100") << 9999.0 << 10000.0 << 100;
        QTest::newRow("1 of 2 = 50") << 1.0 << 2.0 << 50;
        QTest::newRow("3 of 3 = 100") << 3.0 << 3.0 << 100;
        QTest::newRow("0 of 5 = 0") << 0.0 << 5.0 << 0;
        QTest::newRow("no starts") << 1.0 << 0.0 << -1;
        QTest::newRow("negative starts") << 1.0 << -3.0 << -1;
        QTest::newRow("fractional count") << 1.5 << 3.0 << -1;
        QTest::newRow("absurd count") << 1e12 << 3.0 << -1;
    }
    void placeRate()
    {
        QFETCH(double, places);
        QFETCH(double, starts);
        QFETCH(int, expected);
        const std::optional<int> rate = lists::placeRate(places, starts);
        QCOMPARE(rate.value_or(-1), expected);
    }

    void layout()
    {
        GridModel g;
        set_racerlist_grid(g);
        QCOMPARE(g.cols(), 44);
        QCOMPARE(g.rows(), 2);
        QCOMPARE(g.fixedRows(), 2);
        QCOMPARE(g.fixedCols(), 1);
        QCOMPARE(g.rowHeight(0), 260);
        QCOMPARE(g.rowHeight(1), 260);
        const QList<int> widths = {820, 460, 460, 280, 460, 460, 520, 540, 280, 520, 540, 540, 280, 520, 540,
                                   540, 460, 460, 360, 360, 360, 360, 360, 360, 460, 520, 540, 540, 460, 460,
                                   360, 360, 360, 360, 360, 360, 460, 540, 540, 280, 460, 460, 820, 0};
        for (int c = 0; c < 44; ++c)
            QCOMPARE(g.colWidth(c), widths[c]);
        QCOMPARE(g.colAlignment(42), GridAlign::CenterCenter);
        QCOMPARE(g.colAlignment(43), GridAlign::LeftCenter);
        QCOMPARE(rowTexts(g, 0).mid(0, 8), QStringList({"選手名", "登番", "出身", "期", "体重", "現", "現", "現"}));
        QCOMPARE(rowTexts(g, 1).mid(0, 8), QStringList({"選手名", "登番", "出身", "期", "体重", "級別", "勝率", "2連率"}));
        QCOMPARE(g.text(0, 16), QString("出走予定"));
        QCOMPARE(g.text(1, 17), QString("後半"));
        QCOMPARE(g.text(1, 18), QString("1着"));
        QCOMPARE(g.text(1, 23), QString("6着"));
        QCOMPARE(g.text(0, 29), QString("最近1年間成績"));
        QCOMPARE(g.text(0, 30), QString("今節成績"));
        QCOMPARE(g.text(1, 37), QString("2連率"));
        QCOMPARE(g.text(0, 42), QString("今節平均値"));
        QCOMPARE(g.text(1, 42), QString("展示順位"));
        QCOMPARE(g.text(0, 43), QString());
    }

    // Group headings span their columns; the first five headings stand two rows high.
    void mergedHeadings_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QRect>("range");
        QTest::newRow("name") << 1 << 0 << QRect(0, 0, 1, 2);
        QTest::newRow("weight") << 0 << 4 << QRect(4, 0, 1, 2);
        QTest::newRow("current") << 0 << 6 << QRect(5, 0, 3, 1);
        QTest::newRow("class below current") << 1 << 5 << QRect(5, 1, 1, 1);
        QTest::newRow("motor") << 0 << 9 << QRect(8, 0, 4, 1);
        QTest::newRow("boat") << 0 << 12 << QRect(12, 0, 4, 1);
        QTest::newRow("races") << 0 << 17 << QRect(16, 0, 2, 1);
        QTest::newRow("last year") << 0 << 20 << QRect(18, 0, 12, 1);
        QTest::newRow("this meeting") << 0 << 30 << QRect(30, 0, 9, 1);
        QTest::newRow("averages") << 0 << 42 << QRect(39, 0, 4, 1);
        QTest::newRow("place headings apart") << 1 << 18 << QRect(18, 1, 1, 1);
    }
    void mergedHeadings()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QRect, range);
        GridModel g;
        set_racerlist_grid(g);
        QCOMPARE(g.mergedRange(row, col), range);
    }

    void headingColours_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("rgb");   // -1: none
        QTest::newRow("name") << 0 << -1;
        QTest::newRow("current") << 7 << 0xFFC0FF;
        QTest::newRow("motor") << 8 << 0xFFC0C0;
        QTest::newRow("boat") << 15 << 0xFFE0C0;
        QTest::newRow("races") << 16 << -1;
        QTest::newRow("last year") << 18 << 0xC0FFFF;
        QTest::newRow("last year end") << 29 << 0xC0FFFF;
        QTest::newRow("this meeting") << 30 << 0xC0C0FF;
        QTest::newRow("averages end") << 42 << 0xC0C0FF;
        QTest::newRow("hidden key") << 43 << -1;
    }
    void headingColours()
    {
        QFETCH(int, col);
        QFETCH(int, rgb);
        GridModel g;
        set_racerlist_grid(g);
        for (int row = 0; row < 2; ++row) {
            const std::optional<QRgb> back = g.backColor(row, col);
            QCOMPARE(back ? int(*back & 0xFFFFFF) : -1, rgb);
        }
    }

    // Every cell of one racer, from values worked out by hand.
    void cellsOfARacer()
    {
        insertRacer(4012, {{"sensyname", "山田太郎次"}, {"adress", 27}, {"tourokuki", 85}, {"Weight", 52},
                           {"classcode_ge", "A1"}, {"syoritu_ge", 7.5}, {"fukuritu_ge", 55}, {"motorno", 7},
                           {"syoritu_mt", 10.234}, {"fukuritu_mt", 40}, {"fukuritu_mt_3", 60}, {"boatsno", 45},
                           {"syoritu_bt", 5.675}, {"fukuritu_bt", 33}, {"fukuritu_bt_3", 50}, {"hayami_1", 5},
                           {"hayami_2", 11}, {"syuso_zk_1", 30}, {"syuso_zk_2", 25}, {"syuso_zk_3", 20},
                           {"syuso_zk_4", 15}, {"syuso_zk_5", 10}, {"syuso_zk_6", 5}, {"syuso_zk_all", 110},
                           {"syoritu_zk", 6.8}, {"fukuritu_zk", 50}, {"fukuritu_zk_3", 68}, {"yusyu_zk", 3},
                           {"yusyo_zk", 1}, {"syuso_ks_1", 1}, {"syuso_ks_2", 0}, {"syuso_ks_3", 1},
                           {"syuso_ks_4", 0}, {"syuso_ks_5", 1}, {"syuso_ks_6", 0}, {"syuso_ks_all", 3},
                           {"st_ks_avg", 15}, {"hj1_ks_avg", 3.45}, {"tenji_ks_avg", 6.784}, {"tenjun_ks_avg", 2.25}});
        GridModel g;
        set_racerlist_grid(g);
        disp_racerlist(g, QString::number(kSetus), QString::number(kDay));
        QCOMPARE(g.rows(), 3);
        const QStringList expected = {
            "山田太郎", "4012", "大阪", "85", "52", "A1", " 7.50", " 55", " 7", "10.23", " 40", " 60", "45",
            " 5.68", " 33", " 50", " 5R", "11R", " 30", " 25", " 20", " 15", " 10", "  5", "110", " 6.80", " 50",
            " 68", " 3", " 1", " 1", " 0", " 1", " 0", " 1", " 0", " 3", " 34", " 67", "15", "3.5", "6.78", "2.3",
            "27"};
        QCOMPARE(rowTexts(g, 2), expected);
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.col(), 1);
    }

    // Bad and borderline values give empty or filler cells, never a failure.
    void edgeCells_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::newRow("short name whole") << "sensyname" << QVariant("山田") << 0 << "山田";
        QTest::newRow("number below 1000") << "tourokuno" << QVariant(123) << 1 << "0123";
        QTest::newRow("prefecture outside the table") << "adress" << QVariant(48) << 2 << "　　";
        QTest::newRow("its raw code") << "adress" << QVariant(48) << 43 << "48";
        QTest::newRow("prefecture beyond 16 bits") << "adress" << QVariant(70000) << 2 << "　　";
        QTest::newRow("no second race") << "hayami_2" << QVariant(0) << 17 << "";
        QTest::newRow("no first race") << "hayami_1" << QVariant(0) << 16 << "";
        QTest::newRow("no starts, no 2-place rate") << "syuso_ks_all" << QVariant(0) << 37 << "";
        QTest::newRow("no starts, no 3-place rate") << "syuso_ks_all" << QVariant(0) << 38 << "";
        QTest::newRow("no starts, places still shown") << "syuso_ks_all" << QVariant(0) << 30 << " 1";
        QTest::newRow("rate of 100 whole") << "syuso_ks_all" << QVariant(1) << 38 << "100";
        QTest::newRow("long number whole") << "motorno" << QVariant(123) << 8 << "123";
        QTest::newRow("blank class") << "classcode_ge" << QVariant("") << 5 << "";
    }
    void edgeCells()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(int, col);
        QFETCH(QString, text);
        const QByteArray name = field.toLatin1();
        insertRacer(4012, {{"sensyname", "山田太郎次"}, {"adress", 27}, {"hayami_1", 3}, {"hayami_2", 9},
                           {"syuso_ks_1", 1}, {"syuso_ks_all", 2}});
        if (field == QLatin1String("tourokuno"))
            modkelmon::exec("update f_racer set tourokuno = ?", {value});
        else
            modkelmon::exec(QStringLiteral("update f_racer set \"%1\" = ?").arg(field), {value});
        GridModel g;
        set_racerlist_grid(g);
        disp_racerlist(g, QString::number(kSetus), QString::number(kDay));
        QCOMPARE(g.rows(), 3);
        QCOMPARE(g.text(2, col), text);
    }

    // Registration order; another day's and meeting's racers stay out; a
    // second fill empties the grid first.
    void orderAndRefill()
    {
        insertRacer(4500);
        insertRacer(3100);
        insertRacer(4012);
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay + 1}, {"tourokuno", 3000}});
        test::insertRow("f_racer", {{"setuscode", kSetus + 1}, {"datescnt", kDay}, {"tourokuno", 3001}});
        GridModel g;
        set_racerlist_grid(g);
        disp_racerlist(g, QString::number(kSetus), QString::number(kDay));
        QCOMPARE(g.rows(), 5);
        QCOMPARE(QStringList({g.text(2, 1), g.text(3, 1), g.text(4, 1)}), QStringList({"3100", "4012", "4500"}));
        disp_racerlist(g, QString::number(kSetus), QString::number(kDay + 1));
        QCOMPARE(g.rows(), 3);
        QCOMPARE(g.text(2, 1), QString("3000"));
        QCOMPARE(g.text(3, 1), QString());
    }

    // A day without racers, and context fields that are not numbers.
    void noRacers()
    {
        insertRacer(4012);
        GridModel g;
        set_racerlist_grid(g);
        g.setCol(5);
        disp_racerlist(g, QString::number(kSetus), QStringLiteral("x"));
        QCOMPARE(g.rows(), 2);
        QCOMPARE(g.col(), 5);
        QVERIFY(!racerListPopup(g));
    }

    // Which items a right-click enables, column by column.
    void popupItems_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("items");   // items 0, 1, 2, 5 as 1/0; "-" no popup
        QTest::newRow("name: no popup") << 0 << 2 << "-";
        QTest::newRow("number") << 1 << 2 << "1110";
        QTest::newRow("prefecture") << 2 << 2 << "1100";
        QTest::newRow("term") << 3 << 2 << "1110";
        QTest::newRow("class") << 5 << 2 << "1100";
        QTest::newRow("motor number") << 8 << 2 << "1100";
        QTest::newRow("motor rate") << 9 << 2 << "1110";
        QTest::newRow("boat number") << 12 << 2 << "1100";
        QTest::newRow("first race") << 16 << 2 << "0001";
        QTest::newRow("no second race") << 17 << 2 << "0000";
        QTest::newRow("second race") << 17 << 3 << "0001";
        QTest::newRow("place rate") << 38 << 2 << "1110";
        QTest::newRow("exhibition rank") << 42 << 2 << "1110";
    }
    void popupItems()
    {
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, items);
        insertRacer(3100, {{"hayami_1", 5}, {"hayami_2", 0}});
        insertRacer(4012, {{"hayami_1", 2}, {"hayami_2", 8}});
        GridModel g;
        set_racerlist_grid(g);
        disp_racerlist(g, QString::number(kSetus), QString::number(kDay));
        g.setRow(row);
        g.setCol(col);
        const std::optional<PopupItems> shown = racerListPopup(g);
        if (items == QLatin1String("-")) {
            QVERIFY(!shown);
            return;
        }
        QVERIFY(shown);
        QString got;
        for (int i : {0, 1, 2, 5})
            got += shown->at(i) ? u'1' : u'0';
        QCOMPARE(got, items);
        QVERIFY(!shown->count(3) && !shown->count(4));   // separator and racer item untouched
    }
};

QTEST_GUILESS_MAIN(TestRacerList)
#include "tst_racerlist.moc"
