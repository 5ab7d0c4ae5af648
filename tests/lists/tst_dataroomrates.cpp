// The data room's rate cells at their rounding edges and the cells of the
// day's races, with expected values worked out by hand.

#include "lists/dataroomrates.h"
#include "lists/listcells.h"
#include "lists/listcolumns.h"

#include <QtTest>

using namespace kelmon::lists;

class TestDataRoomRates : public QObject {
    Q_OBJECT
private slots:
    void finishPlaceRates_data();
    void finishPlaceRates();
    void returnRates_data();
    void returnRates();
    void raceFrameAndNumberCells();
};

void TestDataRoomRates::finishPlaceRates_data()
{
    QTest::addColumn<double>("count");
    QTest::addColumn<double>("starts");
    QTest::addColumn<QString>("cell");
    // 33.33.. cut to 33.3, raised to the next whole number.
    QTest::newRow("one in three") << 1.0 << 3.0 << " 34";
    QTest::newRow("exactly 25") << 5.0 << 20.0 << " 25";
    // 33.05: less than a tenth above 33 stays 33.
    QTest::newRow("33.05") << 661.0 << 2000.0 << " 33";
    QTest::newRow("33.1 exactly") << 331.0 << 1000.0 << " 34";
    QTest::newRow("0.05 cut to 0.0") << 1.0 << 2000.0 << "  0";
    QTest::newRow("0.1 raised to 1") << 1.0 << 1000.0 << "  1";
    QTest::newRow("99.95 raised to 100") << 1999.0 << 2000.0 << "100";
    QTest::newRow("every start") << 20.0 << 20.0 << "100";
    QTest::newRow("never") << 0.0 << 20.0 << "  0";
    QTest::newRow("7.0 exactly") << 7.0 << 100.0 << "  7";
}

void TestDataRoomRates::finishPlaceRates()
{
    QFETCH(double, count);
    QFETCH(double, starts);
    QFETCH(QString, cell);
    QCOMPARE(finishPlaceCell(count, starts), cell);
}

void TestDataRoomRates::returnRates_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("cell");
    QTest::newRow("no decimals from 100") << 123.4 << " 123";
    QTest::newRow("100 exactly") << 100.0 << " 100";
    QTest::newRow("one decimal") << 85.34 << "85.3";
    QTest::newRow("half away from zero, one decimal") << 85.25 << "85.3";
    QTest::newRow("carried up to 100.0") << 99.96 << "100.0";
    QTest::newRow("10 exactly") << 10.0 << "10.0";
    QTest::newRow("two decimals") << 5.123 << "5.12";
    QTest::newRow("half away from zero, two decimals") << 2.675 << "2.68";
    QTest::newRow("carried up to 10.00") << 9.996 << "10.00";
    QTest::newRow("just below 10") << 9.99 << "9.99";
    QTest::newRow("none") << 0.0 << "0.00";
    QTest::newRow("a longer text stays whole") << 12345.0 << "12345";
}

void TestDataRoomRates::returnRates()
{
    QFETCH(double, rate);
    QFETCH(QString, cell);
    QCOMPARE(returnRateCell(rate), cell);
}

void TestDataRoomRates::raceFrameAndNumberCells()
{
    const QList<std::pair<double, QString>> races = {
        {5, " 5R"}, {11, "11R"}, {0, ""}, {-3, ""}, {2.5, ""}, {100, ""}};
    for (const auto &[race, cell] : races)
        QCOMPARE(raceCell(race), cell);
    const QList<std::pair<double, QString>> frames = {{3, "3枠"}, {0, ""}, {7, ""}, {-1, ""}};
    for (const auto &[frame, cell] : frames)
        QCOMPARE(frameCell(frame), cell);
    const QList<std::pair<double, QString>> numbers = {
        {123, "0123"}, {4321, "4321"}, {0, ""}, {40000, ""}, {12.5, ""}};
    for (const auto &[number, cell] : numbers)
        QCOMPARE(registrationText(number), cell);
    QCOMPARE(shortName(QStringLiteral("長谷川太郎")), QStringLiteral("長谷川太"));
    QCOMPARE(shortName(QStringLiteral("岡")), QStringLiteral("岡"));
    QCOMPARE(alignedNumber(7, "@@"), QStringLiteral(" 7"));
    QCOMPARE(alignedNumber(123, "@@"), QStringLiteral("123"));
}

QTEST_APPLESS_MAIN(TestDataRoomRates)
#include "tst_dataroomrates.moc"
