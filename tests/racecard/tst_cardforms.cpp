// Cell writers of the card on their own: packed this-meeting records, the
// course bars and the class rates. Malformed paper values show as empty or
// uncoloured cells.

#include "platform/gridmodel.h"
#include "platform/pictures.h"
#include "racecard/cardtables.h"
#include "racecard/courseblock.h"
#include "racecard/racerblocks.h"
#include "racecard/thismeetingblocks.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

namespace {

enum Writer { Result, Start, Exhibition };

// A grid of two columns; rows 5..8 are the first boat's.
struct SmallGrid : GridModel {
    SmallGrid() { setRows(kGridRows); setCols(2); }
};

} // namespace

class TestCardForms : public QObject {
    Q_OBJECT

private slots:
    // The top cell (row 5) a record is written to, and its background.
    void packedRecord_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("back");
        const QString br = "\r\n";
        QTest::newRow("place and time") << int(Result) << "0510011496" << "5R①49" + br + "6" << 0xFFC0C0;
        QTest::newRow("void race") << int(Result) << "0301100000" << "3R不成立" << 0xFFFFFF;
        QTest::newRow("colour digit beyond the table") << int(Result) << "0280011496" << "2R①49" + br + "6" << 0x000000;
        QTest::newRow("short result") << int(Result) << "051001" << "5R①\u3000\u3000" << 0xFFC0C0;
        QTest::newRow("letters for digits") << int(Result) << "05x0ab1496" << "5R\u3000\u3000\u3000" << 0xFFFFFF;
        QTest::newRow("race not a number") << int(Result) << "ab10011496" << "" << 0xFFFFFF;
        QTest::newRow("started") << int(Start) << "031015117" << "1 枠" + br + "5ｺｰｽ" + br + "1" + br + "17" << 0xFFFFFF;
        QTest::newRow("absent") << int(Start) << "031145105" << "1 枠" + br + br + br + "欠場" << 0xFFFFFF;
        QTest::newRow("blank start") << int(Start) << "         " << "" << 0xFFFFFF;
        QTest::newRow("exhibition time") << int(Exhibition) << "05785" << "6.78" << 0xFFFFFF;
        QTest::newRow("short exhibition") << int(Exhibition) << "0578" << "" << 0xFFFFFF;
    }
    void packedRecord()
    {
        QFETCH(int, writer);
        QFETCH(QString, record);
        QFETCH(QString, text);
        QFETCH(int, back);
        SmallGrid grid;
        if (writer == Result)
            disp_cell_seiseki_ks(grid, record, 5, 1);
        else if (writer == Start)
            edit_st_cell(grid, record, 5, 1);
        else
            edit_tenji_cell(grid, record, 5, 1, 0);
        QCOMPARE(grid.text(5, 1), text);
        QCOMPARE(grid.backColor(5, 1), std::optional<QRgb>(QRgb(back)));
    }

    // Colour digits 1-9 index 16-24 over all four rows: 20 and past the table (23, 24) black under white text.
    void resultColourDigits()
    {
        const QRgb backs[10] = {0xFFFFFF, 0xFFC0C0, 0xE0E0E0, 0xC0C0FF, 0xE0E0E0,
                                0x000000, 0xFFFFFF, 0xC0C0C0, 0x000000, 0x000000};
        for (int digit = 0; digit <= 9; ++digit) {
            SmallGrid grid;
            disp_cell_seiseki_ks(grid, QStringLiteral("07%10070000").arg(digit), 5, 1);
            const QRgb fore = backs[digit] == 0x000000 ? 0xFFFFFF : 0x000000;
            for (int r = 5; r <= 8; ++r) {
                QCOMPARE(grid.backColor(r, 1), std::optional<QRgb>(backs[digit]));
                QCOMPARE(grid.foreColor(r, 1), std::optional<QRgb>(fore));
            }
        }
    }

    // Bar heights by bottom count; counts past the tallest bar keep it.
    void barBuckets_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("height");   // 0: no bar
        QTest::newRow("first 5") << 0 << 5 << 1;
        QTest::newRow("first 6") << 0 << 6 << 2;
        QTest::newRow("first 115") << 0 << 115 << 13;
        QTest::newRow("second 2") << 1 << 2 << 1;
        QTest::newRow("second 3") << 1 << 3 << 2;
        QTest::newRow("second 58") << 1 << 58 << 13;
        QTest::newRow("zero") << 0 << 0 << 0;
        QTest::newRow("no such period") << 2 << 12 << 0;
    }
    void barBuckets()
    {
        QFETCH(int, period);
        QFETCH(int, count);
        QFETCH(int, height);
        const int index = courseBarPicture(period, count);
        QCOMPARE(index, height == 0 ? 0 : (period == 0 ? 12 : 25) + height);
        if (height)
            QCOMPARE(pictures::size(imlraceinfo1, index), QSize(18, 3 * height));
    }

    // A course whose count drops to 0 loses the bar it had.
    void courseCellClearsItsBar()
    {
        SmallGrid grid;
        edit_course_cell(grid, 1, 12, 5, 5, 1);
        QCOMPARE(grid.picture(8, 1), (GridPicture{imlraceinfo1, 28}));
        edit_course_cell(grid, 1, 0, 5, 5, 1);
        QVERIFY(grid.picture(8, 1).isNull());
        QCOMPARE(grid.text(6, 1), QString("-"));
    }

    void rate_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("half away from zero") << "A1" << 2.675 << "A1 2.68";
        QTest::newRow("padded class") << " A1 " << 7.0 << "A1 7.00";
        QTest::newRow("blank class") << "\u3000" << 5.2 << "－ － ";
        QTest::newRow("zero rate") << "A2" << 0.0 << "A2  － ";
    }
    void rate()
    {
        QFETCH(QString, prefix);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(fmt_rate(prefix, value), text);
    }
};

QTEST_GUILESS_MAIN(TestCardForms)
#include "tst_cardforms.moc"
