// The power-index grid (bands, cells, refills that never keep another race's
// boats) and the outcomes grid of earlier days (settled and void bets, wide forms).

#include "platform/pictures.h"
#include "racedetails/demegrid.h"
#include "racedetails/powerindex.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

namespace {

constexpr int kSetus = 77;

void insertBoat(int race, int frame, const QString &name, const QString &index, int flag = 1)
{
    test::insertRow("f_wakus", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", race}, {"wakusno", frame},
                                {"sensyname", name}, {"tourokuno", 4000 + frame}, {"flag_ss", flag},
                                {"giryosisu", index}, {"sryoksisu", "11"}, {"kryoksisu", "--"}});
}

void fillPower(GridModel &grid, int race) { disp_powp(grid, QString::number(kSetus), "2", QString::number(race)); }

void insertResult(int day, int race, int settled = 0, int flag2 = 0, int flag3 = 0)
{
    test::insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", race},
                                {"racesname", QStringLiteral(" 一般戦%1日 ").arg(day)}, {"seiriflag", settled},
                                {"seiriflag_2t", flag2}, {"seiriflag_3t", flag3}, {"renban_2ta", "31"},
                                {"haikin_2ta", 1230}, {"ninkido_2ta", 4}, {"renban_3ta", "315"},
                                {"haikin_3ta", 1234560}, {"ninkido_3ta", 120}});
}

QStringList fillDeme(GridModel &grid, int race, int day, int row = 1)
{
    set_mfgf_resta(grid);
    disp_f_resta(grid, QString::number(kSetus), QString::number(race), QString::number(day));
    QStringList texts;
    for (int c = 0; c < grid.cols() && row < grid.rows(); ++c)
        texts << grid.text(row, c);
    return texts;
}

} // namespace

class TestRaceGrids : public test::DatabaseTest {
    Q_OBJECT

private slots:
    void bands_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("picture");   // index in the predictions list, 0 none
        QTest::newRow("10") << "10" << 22;
        QTest::newRow("11") << "11" << 23;
        QTest::newRow("50 with blanks") << " 50 " << 32;
        QTest::newRow("94") << "94" << 43;
        QTest::newRow("95") << "95" << 44;
        QTest::newRow("12 followed by text") << "12pt" << 23;
        QTest::newRow("100") << "100" << 0;
        QTest::newRow("10.5 between bands") << "10.5" << 0;
        QTest::newRow("dashes") << "--" << 0;
    }
    void bands()
    {
        QFETCH(QString, value);
        QFETCH(int, picture);
        const int band = powerBand(value);
        QCOMPARE(band ? 21 + band : 0, picture);
    }

    // The row of a frame is its number, names cut to four characters; the
    // hidden columns hold the registration number and the raw values.
    void fillCells()
    {
        insertBoat(3, 2, QStringLiteral("　 山田太郎兵衛"), "12", 3);
        insertBoat(3, 5, QStringLiteral("佐藤"), "95", 3);
        GridModel grid;
        fillPower(grid, 3);
        QCOMPARE(grid.text(0, 7), QStringLiteral("最終日"));
        QCOMPARE(grid.text(2, 0), QStringLiteral("山田太郎"));
        QCOMPARE(grid.picture(2, 1), (GridPicture{imlyosodisp1, 23}));
        QCOMPARE(grid.picture(5, 1), (GridPicture{imlyosodisp1, 44}));
        QVERIFY(grid.picture(2, 3).isNull());
        QCOMPARE(grid.text(2, 11), QString("12"));
        QCOMPARE(grid.text(5, 9), QString("4005"));
    }

    // A refill empties the rows first: a frame the new race lacks, and a race
    // without rows, show no boat of the race shown before; frame numbers
    // outside 1..6 are skipped.
    void refillKeepsNoOtherRace()
    {
        for (int f = 1; f <= 6; ++f)
            insertBoat(1, f, QStringLiteral("一の%1").arg(f), "60");
        for (int f : {1, 2, 3, 4, 7, 0})
            insertBoat(2, f, QStringLiteral("二の%1").arg(f), "30");
        GridModel grid;
        fillPower(grid, 1);
        fillPower(grid, 2);
        QCOMPARE(grid.rows(), 7);
        QCOMPARE(grid.text(0, 0), QStringLiteral("選手名"));
        QCOMPARE(grid.text(4, 0), QStringLiteral("二の4"));
        for (int r : {5, 6}) {
            for (int c = 0; c < 19; ++c) {
                QCOMPARE(grid.text(r, c), QString());
                QVERIFY(grid.picture(r, c).isNull());
            }
            QVERIFY(!grid.backColor(r, 0));
        }
        fillPower(grid, 9);
        QCOMPARE(grid.text(1, 0), QString());
        QCOMPARE(grid.text(0, 7), QStringLiteral("--"));
    }

    // Day 4, race 7: days 1..3 of race 7 in day order, nothing of later days
    // or other races; day 1: the header only.
    void earlierDaysOfTheRace()
    {
        for (int day : {3, 1, 5, 4, 2})
            insertResult(day, 7);
        insertResult(2, 8);
        GridModel grid;
        fillDeme(grid, 7, 4);
        QCOMPARE(grid.rows(), 4);
        for (int day = 1; day <= 3; ++day)
            QCOMPARE(grid.text(day, 1), QStringLiteral("一般戦%1日").arg(day));
        QCOMPARE(fillDeme(grid, 7, 1), QStringList());
    }

    void bets_data()
    {
        QTest::addColumn<int>("settled");
        QTest::addColumn<int>("flag2");
        QTest::addColumn<int>("flag3");
        QTest::addColumn<QStringList>("cells");   // columns 2..9
        const QStringList exacta = {"3-1", "  1,230", "  4"};
        const QStringList none = {"", "", ""};
        const QStringList trifecta = {"3-1-5", "1,234,560", "120"};
        QTest::newRow("both paid") << 0 << 0 << 0 << exacta + trifecta + QStringList{"1230", "1234560"};
        QTest::newRow("trifecta void") << 0 << 0 << 1 << exacta + none + QStringList{"1230", ""};
        QTest::newRow("exacta void") << 0 << 1 << 0 << none + trifecta + QStringList{"", "1234560"};
        QTest::newRow("not settled") << 1 << 0 << 0 << none + none + QStringList{"", ""};
    }
    void bets()
    {
        QFETCH(int, settled);
        QFETCH(int, flag2);
        QFETCH(int, flag3);
        QFETCH(QStringList, cells);
        insertResult(1, 3, settled, flag2, flag3);
        GridModel grid;
        QCOMPARE(fillDeme(grid, 3, 2).mid(2), cells);
    }
};

QTEST_GUILESS_MAIN(TestRaceGrids)
#include "tst_powerindex.moc"
