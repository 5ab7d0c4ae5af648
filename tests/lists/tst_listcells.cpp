// The cells the lists, the data room and the points table share, at their
// rounding edges, with expected values worked out by hand.

#include "lists/dataroomrates.h"
#include "lists/listcells.h"
#include "lists/listcolumns.h"
#include "lists/tokhm.h"

#include <QtTest>

using namespace kelmon::lists;

class TestListCells : public QObject {
    Q_OBJECT
private slots:
    // Place rates: places x 100 / starts cut down to tenths, then raised to a
    // whole percent; no rate for counts that cannot be.
    void placeRates_data()
    {
        QTest::addColumn<double>("places");
        QTest::addColumn<double>("starts");
        QTest::addColumn<QString>("cell");
        QTest::newRow("1 of 3 = 33.3 raised") << 1.0 << 3.0 << " 34";
        QTest::newRow("661 of 2000 = 33.05 cut to 33.0") << 661.0 << 2000.0 << " 33";
        QTest::newRow("331 of 1000 = 33.1 raised") << 331.0 << 1000.0 << " 34";
        QTest::newRow("1 of 8 = 12.5 raised") << 1.0 << 8.0 << " 13";
        QTest::newRow("1 of 2000 = 0.05 cut to 0") << 1.0 << 2000.0 << "  0";
        QTest::newRow("1999 of 2000 = 99.95 raised") << 1999.0 << 2000.0 << "100";
        QTest::newRow("7 of 100 exactly") << 7.0 << 100.0 << "  7";
        QTest::newRow("no starts") << 1.0 << 0.0 << "";
        QTest::newRow("negative starts") << 1.0 << -3.0 << "";
        QTest::newRow("fractional count") << 1.5 << 3.0 << "";
        QTest::newRow("absurd count") << 1e12 << 3.0 << "";
    }
    void placeRates()
    {
        QFETCH(double, places);
        QFETCH(double, starts);
        QFETCH(QString, cell);
        QCOMPARE(finishPlaceCell(places, starts), cell);
    }

    void cells_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("cell");
        const auto row = [](const char *kind, double value, const char *cell) {
            QTest::addRow("%s %g", kind, value) << QString::fromLatin1(kind) << value << QString::fromUtf8(cell);
        };
        // Payout returns: decimals by the unrounded value, halves away from zero.
        row("return", 123.4, " 123");
        row("return", 100, " 100");
        row("return", 99.96, "100.0");
        row("return", 85.25, "85.3");
        row("return", 10, "10.0");
        row("return", 9.996, "10.00");
        row("return", 2.675, "2.68");
        row("return", 0, "0.00");
        // What-if rates: two decimals below 10, one from 10 on.
        row("what-if", 10.25, "10.3");
        row("rate", 5.675, " 5.68");
        row("race", 5, " 5R");
        row("race", 0, "");
        row("race", 2.5, "");
        row("race", 100, "");
        row("frame", 3, "3枠");
        row("frame", 7, "");
        row("number", 123, "0123");
        row("number", 40000, "");
    }
    void cells()
    {
        QFETCH(QString, kind);
        QFETCH(double, value);
        QFETCH(QString, cell);
        static const std::map<QString, QString (*)(double)> form = {
            {"return", returnRateCell}, {"what-if", tokhmRate}, {"rate", rateCell},
            {"race", raceCell},         {"frame", frameCell},   {"number", registrationText}};
        QCOMPARE(form.at(kind)(value), cell);
    }
};

QTEST_APPLESS_MAIN(TestListCells)
#include "tst_listcells.moc"
