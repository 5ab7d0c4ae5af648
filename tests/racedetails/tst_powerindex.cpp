// The power-index grid: bands of the index values, the heading of the day
// kind, the cells of a fill, and refills that never keep another race's boats.

#include "common/modkelmon.h"
#include "platform/pictures.h"
#include "racedetails/powerindex.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

namespace {

constexpr int kSetus = 77;
constexpr int kDay = 2;

void insertBoat(int race, int frame, const QString &name, const QString &index, int flag = 1, int tourokuno = 0)
{
    test::insertRow("f_wakus", {{"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", race}, {"wakusno", frame},
                                {"sensyname", name}, {"tourokuno", tourokuno ? tourokuno : 4000 + frame},
                                {"flag_ss", flag}, {"giryosisu", index}, {"sryoksisu", "11"},
                                {"kryoksisu", "94"}, {"toutisisu", "--"}, {"kikyosisu", ""},
                                {"wakussisu", "99"}, {"ninnisisu", "0"}, {"totalsisu", "50"}});
}

void fill(GridModel &grid, int race)
{
    disp_powp(grid, QString::number(kSetus), QString::number(kDay), QString::number(race));
}

GridPicture bar(int picture) { return picture ? GridPicture{imlyosodisp1, picture} : GridPicture{}; }

} // namespace

class TestPowerIndex : public test::DatabaseTest {
    Q_OBJECT

private slots:
    void bands_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("picture");   // index in the predictions list, 0 none
        QTest::addColumn<int>("width");     // pixels of that bar
        QTest::newRow("0") << "0" << 22 << 1;
        QTest::newRow("10") << "10" << 22 << 1;
        QTest::newRow("11") << "11" << 23 << 3;
        QTest::newRow("50 with blanks") << " 50 " << 32 << 21;
        QTest::newRow("94") << "94" << 43 << 43;
        QTest::newRow("95") << "95" << 44 << 45;
        QTest::newRow("12 followed by text") << "12pt" << 23 << 3;
        QTest::newRow("100") << "100" << 0 << 0;
        QTest::newRow("10.5 between bands") << "10.5" << 0 << 0;
        QTest::newRow("blank") << "  " << 0 << 0;
        QTest::newRow("dashes") << "--" << 0 << 0;
        QTest::newRow("text") << "ab" << 22 << 1;   // no leading number reads as 0
    }
    void bands()
    {
        QFETCH(QString, value);
        QFETCH(int, picture);
        QFETCH(int, width);
        const int band = powerBand(value);
        QCOMPARE(band ? 21 + band : 0, picture);
        if (picture)
            QCOMPARE(pictures::size(imlyosodisp1, picture), QSize(width, 12));
    }

    void dayHeading_data()
    {
        QTest::addColumn<int>("flag");     // -1: the race has no rows
        QTest::addColumn<QString>("heading");
        QTest::newRow("3") << 3 << QStringLiteral("最終日");
        QTest::newRow("0") << 0 << QStringLiteral("--");
        QTest::newRow("no rows") << -1 << QStringLiteral("--");
    }
    void dayHeading()
    {
        QFETCH(int, flag);
        QFETCH(QString, heading);
        if (flag >= 0)
            insertBoat(1, 1, QStringLiteral("山田"), "50", flag);
        GridModel grid;
        fill(grid, 1);
        const QStringList expected = {"選手名", "技量", "Ｓ力", "機力", "当地", "近況", "枠番", heading, "総合"};
        for (int c = 0; c < 9; ++c)
            QCOMPARE(grid.text(0, c), expected[c]);
    }

    // The row of a frame is its number; names are trimmed, then cut to four
    // characters; the hidden columns hold what the popup commands read.
    void fillCells()
    {
        insertBoat(3, 2, QStringLiteral("　 山田太郎兵衛"), "12", 1, 123);
        insertBoat(3, 5, QStringLiteral("佐藤"), "95");
        GridModel grid;
        fill(grid, 3);
        QCOMPARE(grid.text(2, 0), QStringLiteral("山田太郎"));
        QCOMPARE(grid.backColor(2, 0), std::optional<QRgb>(0xC0C0C0));
        QCOMPARE(grid.backColor(5, 0), std::optional<QRgb>(0xFFFFC0));
        QCOMPARE(grid.cellAlignment(2, 0), std::optional<GridAlign>(GridAlign::LeftCenter));
        const QList<int> bars = {23, 23, 43, 0, 0, 44, 22, 32};
        const QStringList raw = {"12", "11", "94", "--", "", "99", "0", "50"};
        for (int c = 1; c <= 8; ++c) {
            QCOMPARE(grid.picture(2, c), bar(bars[c - 1]));
            QCOMPARE(grid.text(2, c), QString());
            QCOMPARE(grid.text(2, c + 10), raw[c - 1]);
        }
        QCOMPARE(grid.text(2, 9), QString("123"));
        QCOMPARE(grid.text(2, 10), QString("2"));
        QCOMPARE(grid.text(5, 9), QString("4005"));
        QCOMPARE(grid.picture(5, 1), bar(44));
        for (int r : {1, 3, 4, 6})
            QCOMPARE(grid.text(r, 0), QString());
    }

    // A refill empties the rows first: a frame the new race lacks, and a race
    // without rows, show no boat of the race shown before; frame numbers
    // outside 1..6 are skipped.
    void refillKeepsNoOtherRace()
    {
        for (int f = 1; f <= 6; ++f)
            insertBoat(1, f, QStringLiteral("一の%1").arg(f), "60");
        for (int f = 1; f <= 4; ++f)
            insertBoat(2, f, QStringLiteral("二の%1").arg(f), "30");
        insertBoat(2, 7, QStringLiteral("七号"), "30");
        insertBoat(2, 0, QStringLiteral("零号"), "30");
        GridModel grid;
        fill(grid, 1);
        QCOMPARE(grid.text(6, 0), QStringLiteral("一の6"));
        fill(grid, 2);
        QCOMPARE(grid.rows(), 7);
        QCOMPARE(grid.text(4, 0), QStringLiteral("二の4"));
        for (int r : {5, 6}) {
            for (int c = 0; c < 19; ++c) {
                QCOMPARE(grid.text(r, c), QString());
                QVERIFY(grid.picture(r, c).isNull());
            }
            QVERIFY(!grid.backColor(r, 0));
        }
        fill(grid, 9);
        for (int r = 1; r <= 6; ++r)
            QCOMPARE(grid.text(r, 0), QString());
        QCOMPARE(grid.text(0, 7), QStringLiteral("--"));
    }
};

QTEST_GUILESS_MAIN(TestPowerIndex)
#include "tst_powerindex.moc"
