// The outcomes grid: which days it lists, the shown forms of combinations,
// payouts and popularity, settled and void bets, and malformed fields.

#include "common/modkelmon.h"
#include "racedetails/demegrid.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

namespace {

constexpr int kSetus = 900;

struct Result {
    int day;
    int race;
    QString pair = "31";
    double pay2 = 1230;
    int pop2 = 4;
    QString triple = "315";
    double pay3 = 12340;
    int pop3 = 5;
    int settled = 0;
    int flag2 = 0;
    int flag3 = 0;
};

void insertResult(const Result &r)
{
    test::insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", r.day}, {"racesno", r.race},
                                {"racesname", QStringLiteral(" 一般戦%1日 ").arg(r.day)}, {"seiriflag", r.settled},
                                {"seiriflag_2t", r.flag2}, {"seiriflag_3t", r.flag3}, {"renban_2ta", r.pair},
                                {"haikin_2ta", r.pay2}, {"ninkido_2ta", r.pop2}, {"renban_3ta", r.triple},
                                {"haikin_3ta", r.pay3}, {"ninkido_3ta", r.pop3}});
}

QStringList rowTexts(const GridModel &grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid.cols(); ++c)
        texts << grid.text(row, c);
    return texts;
}

void fill(GridModel &grid, int race, int day)
{
    set_mfgf_resta(grid);
    disp_f_resta(grid, QString::number(kSetus), QString::number(race), QString::number(day));
}

} // namespace

class TestDemeGrid : public test::DatabaseTest {
    Q_OBJECT

private slots:
    // Day 4, race 7: the rows of days 1, 2 and 3 of race 7 in day order,
    // nothing of day 4, of later days or of other races; day 1: none.
    void earlierDaysOfTheRace()
    {
        for (int day : {3, 1, 5, 4, 2})
            insertResult({day, 7});
        insertResult({2, 8});
        test::insertRow("f_resta", {{"setuscode", kSetus + 1}, {"datescnt", 1}, {"racesno", 7}});
        GridModel grid;
        fill(grid, 7, 4);
        QCOMPARE(grid.rows(), 4);
        QCOMPARE(rowTexts(grid, 0), (QStringList{"日程", "レース名", "2連単", "配当金", "人気度", "3連単", "配当金",
                                                 "人気度", "", ""}));
        for (int day = 1; day <= 3; ++day)
            QCOMPARE(rowTexts(grid, day),
                     (QStringList{QStringLiteral("%1日目").arg(day), QStringLiteral("一般戦%1日").arg(day), "3-1",
                                  "  1,230", "  4", "3-1-5", " 12,340", "  5", "1230", "12340"}));
        QCOMPARE(grid.cellAlignment(1, 1), std::optional<GridAlign>(GridAlign::LeftCenter));
        QCOMPARE(grid.row(), 1);
        QCOMPARE(grid.col(), 0);

        // The first day has no earlier results: the refilled grid keeps its
        // header only.
        disp_f_resta(grid, QString::number(kSetus), "7", "1");
        QCOMPARE(grid.rows(), 1);
        QCOMPARE(grid.text(0, 0), QStringLiteral("日程"));
    }

    void bets_data()
    {
        QTest::addColumn<int>("settled");
        QTest::addColumn<int>("flag2");
        QTest::addColumn<int>("flag3");
        QTest::addColumn<QStringList>("cells");   // columns 2..9
        const QStringList exacta = {"3-1", "  1,230", "  4"};
        const QStringList trifecta = {"3-1-5", " 12,340", "  5"};
        const QStringList none = {"", "", ""};
        QTest::newRow("both paid") << 0 << 0 << 0 << exacta + trifecta + QStringList{"1230", "12340"};
        QTest::newRow("trifecta void") << 0 << 0 << 1 << exacta + none + QStringList{"1230", ""};
        QTest::newRow("not settled") << 1 << 0 << 0 << none + none + QStringList{"", ""};
    }
    void bets()
    {
        QFETCH(int, settled);
        QFETCH(int, flag2);
        QFETCH(int, flag3);
        QFETCH(QStringList, cells);
        Result r{1, 3};
        r.settled = settled;
        r.flag2 = flag2;
        r.flag3 = flag3;
        insertResult(r);
        GridModel grid;
        fill(grid, 3, 2);
        QCOMPARE(grid.text(1, 0), QStringLiteral("1日目"));
        QCOMPARE(grid.text(1, 1), QStringLiteral("一般戦1日"));
        QCOMPARE(rowTexts(grid, 1).mid(2), cells);
    }

    void forms_data()
    {
        QTest::addColumn<double>("payout");
        QTest::addColumn<QString>("shownPayout");
        QTest::addColumn<int>("popularity");
        QTest::addColumn<QString>("shownPopularity");
        QTest::addColumn<QString>("renban");
        QTest::addColumn<QString>("combination");
        QTest::newRow("wider than seven") << 1234560.0 << "1,234,560" << 120 << "120" << "315" << "3-1-5";
        QTest::newRow("short combination") << 0.0 << "      0" << 1000 << "1000" << "31" << "";
        QTest::newRow("no combination") << 560.0 << "    560" << 0 << "  0" << "" << "";
    }
    void forms()
    {
        QFETCH(double, payout);
        QFETCH(QString, shownPayout);
        QFETCH(int, popularity);
        QFETCH(QString, shownPopularity);
        QFETCH(QString, renban);
        QFETCH(QString, combination);
        Result r{1, 3};
        r.triple = renban;
        r.pay3 = payout;
        r.pop3 = popularity;
        insertResult(r);
        GridModel grid;
        fill(grid, 3, 2);
        QCOMPARE(grid.text(1, 5), combination);
        QCOMPARE(grid.text(1, 6), shownPayout);
        QCOMPARE(grid.text(1, 7), shownPopularity);
        QCOMPARE(grid.text(1, 9), QLocale::c().toString(payout, 'f', 0));
    }
};

QTEST_GUILESS_MAIN(TestDemeGrid)
#include "tst_demegrid.moc"
