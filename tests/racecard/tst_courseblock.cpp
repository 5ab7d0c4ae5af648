// Course-data block 11 from fixture rows: period titles, counts, the bar
// picture of each bottom count and courses without runs.

#include "platform/gridmodel.h"
#include "platform/pictures.h"
#include "racecard/cardtables.h"
#include "racecard/courseblock.h"
#include "racecard/helpers/blockfixture.h"
#include "racecard/helpers/cardfixture.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;
using cardtest::columnTexts;

class TestCourseBlock : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

    static int courseCol(int period, int course) { return kFixedCols + 12 * period + 2 * (course - 1); }

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
    }
    void cleanup() { folder.reset(); }

    // The edges of every bar height in both periods (halves round to even).
    void barBuckets_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("height");   // 0: no bar
        const int first[][3] = {{1, 5, 1},   {6, 14, 2},   {15, 25, 3},   {26, 34, 4},  {35, 45, 5},
                                {46, 54, 6}, {55, 65, 7},  {66, 74, 8},   {75, 85, 9},  {86, 94, 10},
                                {95, 105, 11}, {106, 114, 12}, {115, 200, 13}};
        for (const auto &b : first) {
            QTest::addRow("first %d", b[0]) << 0 << b[0] << b[2];
            QTest::addRow("first %d", b[1]) << 0 << b[1] << b[2];
        }
        for (int h = 1; h <= 12; ++h) {
            const int from = h == 1 ? 1 : 5 * (h - 1) - 2;
            QTest::addRow("second %d", from) << 1 << from << h;
            QTest::addRow("second %d", 5 * h - 3) << 1 << 5 * h - 3 << h;
        }
        QTest::newRow("second 58") << 1 << 58 << 13;
        QTest::newRow("largest count") << 1 << 32767 << 13;
        QTest::newRow("zero") << 0 << 0 << 0;
        QTest::newRow("negative") << 0 << -30 << 0;
        QTest::newRow("negative second") << 1 << -1 << 0;
        QTest::newRow("no such period") << 2 << 12 << 0;
    }
    void barBuckets()
    {
        QFETCH(int, period);
        QFETCH(int, count);
        QFETCH(int, height);
        const int index = courseBarPicture(period, count);
        if (height == 0) {
            QCOMPARE(index, 0);
            return;
        }
        QCOMPARE(index, (period == 0 ? 12 : 25) + height);
        QCOMPARE(pictures::size(imlraceinfo1, index), QSize(18, 3 * height));
        const QRgb colour = pictures::image(imlraceinfo1, index).pixel(9, 3 * height - 1) & 0xFFFFFF;
        QCOMPARE(colour, period == 0 ? QRgb(0x78A7F5) : QRgb(0xB2EC6E));
    }

    void header_data()
    {
        QTest::addColumn<int>("flag1");
        QTest::addColumn<int>("flag2");
        QTest::addColumn<QString>("title1");
        QTest::addColumn<QString>("title2");
        QTest::newRow("national and here") << 1 << 4 << "全国実績" << "当地実績";
        QTest::newRow("unknown second period") << 14 << 0 << "優勝実績" << "\u3000\u3000実績";
    }
    void header()
    {
        QFETCH(int, flag1);
        QFETCH(int, flag2);
        QFETCH(QString, title1);
        QFETCH(QString, title2);
        cardtest::insertBlockBoat(1, {{"flag_c1", flag1}, {"flag_c2", flag2}});
        GridModel grid;
        cardtest::fillBlocks(grid, {11});
        for (int c = kFixedCols; c <= kFixedCols + 22; ++c)
            QCOMPARE(grid.text(0, c), QString("コース別データ"));
        QCOMPARE(grid.text(0, kFixedCols + 23), QString());
        QCOMPARE(grid.text(1, kFixedCols + 10), title1);
        QCOMPARE(grid.text(1, kFixedCols + 11), QString());
        QCOMPARE(grid.text(1, kFixedCols + 12), title2);
        QCOMPARE(grid.text(1, kFixedCols + 22), title2);
        for (int p = 0; p < 2; ++p) {
            for (int n = 1; n <= 6; ++n) {
                QCOMPARE(columnTexts(grid, courseCol(p, n), 2, 2), QString("%1|ｺｰｽ").arg(n));
                QCOMPARE(grid.backColor(3, courseCol(p, n)), std::optional<QRgb>(0xFFE0C0));
                QCOMPARE(grid.text(2, courseCol(p, n) + 1), QString());
            }
        }
        QVERIFY(!grid.mergeCol(kFixedCols));
    }

    // Rows R..R + 3 of course columns and their bar pictures.
    void counts()
    {
        cardtest::insertBlockBoat(1);
        GridModel grid;
        cardtest::fillBlocks(grid, {11});
        const int top = boatRow(1);
        struct Case {
            int period, course;
            QString texts;
            int picture;
        };
        const Case cases[] = {
            {0, 1, "5|||12", 14}, {0, 2, "|-|-|", 0},   {0, 3, "8|||25", 15},
            {0, 4, "9|||35", 17}, {0, 5, "1|||5", 13},  {0, 6, "50|||200", 25},
            {1, 1, "5|||12", 28}, {1, 2, "1|||3", 27},  {1, 3, "|-|-|", 0},
            {1, 4, "2|||7", 27},  {1, 5, "20|||58", 38}, {1, 6, "0|||1", 26},
        };
        for (const Case &c : cases) {
            const int col = courseCol(c.period, c.course);
            QCOMPARE(columnTexts(grid, col, top, 4), c.texts);
            const GridPicture picture = grid.picture(top + 3, col);
            const GridPicture expected = c.picture ? GridPicture{imlraceinfo1, c.picture} : GridPicture{};
            QCOMPARE(picture, expected);
            if (c.picture)
                QCOMPARE(grid.pictureAlignment(top + 3, col), GridAlign::CenterBottom);
            for (int r = top; r < top + 4; ++r)
                QCOMPARE(grid.backColor(r, col), std::optional<QRgb>(0xFFFFFF));
        }
    }

    void periodWithoutRuns()
    {
        QVariantMap fields;
        for (int n = 1; n <= 6; ++n) {
            fields.insert(QString("syuso_c1_%1").arg(n), 0);
            fields.insert(QString("syure_c1_%1").arg(n), 7);
        }
        // A count that does not fit counts as none.
        fields.insert("syuso_c2_1", 1e9);
        cardtest::insertBlockBoat(1, fields);
        GridModel grid;
        cardtest::fillBlocks(grid, {11});
        const int top = boatRow(1);
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(columnTexts(grid, courseCol(0, n), top, 4), QString("|-|-|"));
            QVERIFY(grid.picture(top + 3, courseCol(0, n)).isNull());
            QCOMPARE(grid.backColor(top + 3, courseCol(0, n)), std::optional<QRgb>(0xFFFFFF));
            QVERIFY(!grid.backColor(top, courseCol(0, n) + 1).has_value());
        }
        QCOMPARE(columnTexts(grid, courseCol(1, 1), top, 4), QString("|-|-|"));
        QCOMPARE(columnTexts(grid, courseCol(1, 2), top, 4), QString("1|||3"));
    }

    // The cell writer on its own: a course that had a bar loses it when its
    // count drops to 0.
    void cellWriterClearsThePicture()
    {
        GridModel grid;
        grid.setRows(kGridRows);
        grid.setCols(2);
        edit_course_cell(grid, 1, 12, 5, 5, 1);
        QCOMPARE(grid.picture(8, 1), (GridPicture{imlraceinfo1, 28}));
        edit_course_cell(grid, 1, 0, 5, 5, 1);
        QVERIFY(grid.picture(8, 1).isNull());
        QCOMPARE(columnTexts(grid, 1, 5, 4), QString("|-|-|"));
        edit_course_cell(grid, 7, 12, 5, 5, 1);
        QVERIFY(grid.picture(8, 1).isNull());
        QCOMPARE(columnTexts(grid, 1, 5, 4), QString("5|||12"));
    }

    void placedAtColumn30()
    {
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBlockBoat(frame);
        GridModel grid;
        cardtest::fillBlocks(grid, {19, 11});
        QCOMPARE(grid.cols(), 54);
        QCOMPARE(grid.text(2, 40), QString("6"));
        QCOMPARE(grid.colWidth(40), 330);
        QCOMPARE(grid.colWidth(41), 30);
        QCOMPARE(grid.text(2, 42), QString("1"));
        QCOMPARE(grid.colWidth(53), 10);
        QCOMPARE(grid.text(boatRow(6) + 3, 40), QString("200"));
        QCOMPARE(grid.text(boatRow(6) + 3, 41), QString());
        for (int c = 30; c < 54; ++c)
            QCOMPARE(grid.colAlignment(c), GridAlign::CenterCenter);
    }
};

QTEST_MAIN(TestCourseBlock)
#include "tst_courseblock.moc"
