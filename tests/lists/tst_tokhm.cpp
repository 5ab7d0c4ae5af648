// The points quick-reference table on fixture rows: the border rate, the
// racers' blocks with their marks, rows left out and blank rates, and the
// legend block.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "lists/helpers/listfixture.h"
#include "lists/tokhm.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;
using test::rowTexts;

namespace {

constexpr int kSetus = 815;
constexpr int kDay = 2;
const DayKey kKey{"1", QString::number(kSetus), QString::number(kDay)};
constexpr QRgb kReached = 0xFFFFC0;
constexpr QRgb kBelow = 0xFFFFFF;

void insertRacer(int position, const QString &name, double rate, int race1, int race2)
{
    test::insertDayRow("f_tokhm", kSetus, kDay, {{"tokujun_ks", position}, {"sensyname", name},
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

class TestTokhm : public test::DatabaseTest {
    Q_OBJECT
private slots:
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
        QCOMPARE(rowTexts(grid, 1), (QStringList{"", "", "①着", "②着", "③着", "④着", "⑤着", "⑥着", "着外"}));
        QCOMPARE(rowTexts(grid, 8), (QStringList{"後半戦", "着外", "①外", "②外", "③外", "④外", "⑤外", "⑥外", "外外"}));
        QCOMPARE(grid.text(7, 3), QString("②⑥"));
        QCOMPARE(grid.backColor(7, 3), std::optional<QRgb>(0xC0FFC0));
    }
};

QTEST_GUILESS_MAIN(TestTokhm)
#include "tst_tokhm.moc"
