// The points quick-reference table's loaders on fixture rows: the border
// rate, the racers' blocks with their marks, rows left out and blank rates,
// and the legend block.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "lists/tokhm.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kSetus = 815;
constexpr int kDay = 2;
const DayKey kKey{"1", QString::number(kSetus), QString::number(kDay)};

// Column name of the what-if rate for second-race place i and first-race
// place j (0-based), by the table's column positions.
QString rateColumn(int i, int j)
{
    return QString::fromLatin1(findTable("f_tokhm")->cols()[std::size_t(8 + 7 * i + j)].name);
}

void insertRacer(int position, const QString &name, double rate, int race1, int race2)
{
    test::insertRow("f_tokhm", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tokujun_ks", position},
                                {"sensyname", name}, {"tokuritu_ks", rate}, {"hayami_1", race1},
                                {"hayami_2", race2}});
}

void setRate(int position, int i, int j, const QVariant &value)
{
    modkelmon::exec(QStringLiteral("update f_tokhm set %1 = ? where tokujun_ks = ?").arg(rateColumn(i, j)),
                    {value, position});
}

QStringList rowTexts(const GridModel &grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid.cols(); ++c)
        texts << grid.text(row, c);
    return texts;
}

} // namespace

class TestTokhm : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> folder;

private slots:
    void init() { folder = std::make_unique<test::ProgramFolder>(); }
    void cleanup()
    {
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    void colourRule_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("colour");   // -1: none
        QTest::newRow("title row") << 0 << 0.0 << 0xC0C0FF;
        QTest::newRow("exactly the border") << 1 << 6.2 << 0xFFFFC0;
        QTest::newRow("just below") << 1 << 6.19 << 0xFFFFFF;
        QTest::newRow("other kind") << 2 << 9.0 << -1;
    }
    void colourRule()
    {
        QFETCH(int, kind);
        QFETCH(double, value);
        QFETCH(int, colour);
        const auto c = get_tokhmcolor(kind, value, 6.2);
        QCOMPARE(c ? int(*c) : -1, colour);
    }

    void border()
    {
        QCOMPARE(disp_bordrcnt(kKey), QString());
        test::insertRow("f_setus", {{"setuscode", kSetus}, {"bordrcnt", 6.2}});
        QCOMPARE(disp_bordrcnt(kKey), QString("6.20"));
    }

    void blocks()
    {
        // Second in the standing, first inserted: rows follow the standing.
        insertRacer(2, "長谷川太郎", 7.5, 0, 12);
        insertRacer(1, "岡", 10.25, 3, 9);
        insertRacer(3, "川", 5, 4, 0);   // every value 0: title row only
        // Racer 2: second race first place (row i = 0) holds one positive value.
        setRate(2, 0, 1, 6.2);
        // Racer 1: a full row for second race 着外 (i = 6), one rate of 10 and more.
        for (int j = 0; j < 7; ++j)
            setRate(1, 6, j, 5 + j);
        setRate(1, 6, 6, 10.25);
        GridModel grid;
        disp_tokhm(kKey, "6.20", grid);
        QCOMPARE(grid.cols(), 8);
        QCOMPARE(grid.fixedRows(), 0);
        QCOMPARE(grid.rows(), 5);
        const QString title1 = " 1位 岡  10.25  ( 3R・ 9R)";
        QCOMPARE(rowTexts(grid, 0), (QStringList{"", title1, title1, title1, title1, title1, title1, title1}));
        QCOMPARE(grid.mergedRange(0, 3), QRect(1, 0, 7, 1));
        QCOMPARE(grid.cellAlignment(0, 1), std::optional<GridAlign>(GridAlign::LeftCenter));
        QCOMPARE(grid.backColor(0, 7), std::optional<QRgb>(0xC0C0FF));
        QCOMPARE(rowTexts(grid, 1), (QStringList{"着外", "5.00", "6.00", "7.00", "8.00", "9.00", "10.0", "10.3"}));
        QCOMPARE(grid.backColor(1, 1), std::optional<QRgb>(0xFFFFFF));
        QCOMPARE(grid.backColor(1, 2), std::optional<QRgb>(0xFFFFFF));
        QCOMPARE(grid.backColor(1, 3), std::optional<QRgb>(0xFFFFC0));
        QCOMPARE(grid.text(2, 1), QString(" 2位 長谷川太   7.50  ( - ・12R)"));
        QCOMPARE(rowTexts(grid, 3), (QStringList{"①着", "0.00", "6.20", "0.00", "0.00", "0.00", "0.00", "0.00"}));
        // The rate equal to the border is marked.
        QCOMPARE(grid.backColor(3, 2), std::optional<QRgb>(0xFFFFC0));
        QCOMPARE(grid.text(4, 1), QString(" 3位 川   5.00  ( 4R・ - )"));
    }

    // Blank rates are no rates: a row of blanks is left out, a blank beside a
    // rate stays empty and unmarked; no border marks nothing.
    void blankRatesAndNoBorder()
    {
        insertRacer(1, "岡", 6, 1, 2);
        for (int i = 0; i < 7; ++i)
            for (int j = 0; j < 7; ++j)
                setRate(1, i, j, QVariant());
        setRate(1, 2, 0, 7.5);
        GridModel grid;
        disp_tokhm(kKey, "", grid);
        QCOMPARE(grid.rows(), 2);
        QCOMPARE(rowTexts(grid, 1), (QStringList{"③着", "7.50", "", "", "", "", "", ""}));
        QCOMPARE(grid.backColor(1, 1), std::optional<QRgb>(0xFFFFFF));
        QVERIFY(!grid.backColor(1, 2));
        disp_tokhm(kKey, "0.00", grid);
        QCOMPARE(grid.backColor(1, 1), std::optional<QRgb>(0xFFFFFF));
    }

    void legend()
    {
        GridModel grid;
        set_sample_grid(grid);
        QCOMPARE(grid.rows(), 9);
        QCOMPARE(grid.cols(), 9);
        QCOMPARE(grid.colWidth(0), 270);
        QCOMPARE(grid.colWidth(8), 460);
        QCOMPARE(grid.mergedRange(0, 5), QRect(2, 0, 7, 1));
        QCOMPARE(grid.mergedRange(4, 0), QRect(0, 2, 1, 7));
        QCOMPARE(rowTexts(grid, 1), (QStringList{"", "", "①着", "②着", "③着", "④着", "⑤着", "⑥着", "着外"}));
        QCOMPARE(rowTexts(grid, 2), (QStringList{"後半戦", "①着", "①①", "②①", "③①", "④①", "⑤①", "⑥①", "外①"}));
        QCOMPARE(rowTexts(grid, 8), (QStringList{"後半戦", "着外", "①外", "②外", "③外", "④外", "⑤外", "⑥外", "外外"}));
        QCOMPARE(grid.text(7, 3), QString("②⑥"));
        QCOMPARE(grid.backColor(7, 3), std::optional<QRgb>(0xC0FFC0));
        QCOMPARE(grid.row(), 7);
        QCOMPARE(grid.col(), 3);
    }
};

QTEST_GUILESS_MAIN(TestTokhm)
#include "tst_tokhm.moc"
