// What the race card's popup entries open for a clicked cell: racer detail,
// this meeting's results, the early race's card and the eight previous-runs
// panels, with the racer looked up by the registration number of its row.

#include "racecard/relatedwindows.h"
#include "racecard/helpers/cardfixture.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

namespace {

CardContext fixtureContext()
{
    CardContext c;
    c.kyosocode = "3";
    c.setuscode = QString::number(cardtest::kSetus);
    c.datescnt = QString::number(cardtest::kDay);
    c.date = "20261205";
    c.racesno = QString::number(cardtest::kRace);
    return c;
}

// A card grid whose boat k (rows 5k..5k+4) shows registration number `no`
// at the head of its profile cell, and `cell` in column 10 of its first row.
void layCard(GridModel &grid, const QList<int> &numbers, const QString &cell = QString())
{
    grid.setCols(12);
    grid.setRows(5 + 5 * int(numbers.size()));
    grid.setFixedRows(4);
    for (int k = 0; k < numbers.size(); ++k) {
        grid.setText(5 * (k + 1), 4, QStringLiteral("%1 東京 A1").arg(numbers[k], 4, 10, QLatin1Char('0')));
        grid.setText(5 * (k + 1), 10, cell);
    }
}

} // namespace

class TestRelatedWindows : public QObject {
    Q_OBJECT
private slots:
    void init() { folder.reset(new cardtest::FixtureFolder); }
    void cleanup() { folder.reset(); }
    void racerOfClickedRow();
    void previousRunsPanels_data();
    void previousRunsPanels();
    void resultsOfThisMeeting_data();
    void resultsOfThisMeeting();

private:
    std::unique_ptr<cardtest::FixtureFolder> folder;
};

void TestRelatedWindows::racerOfClickedRow()
{
    cardtest::insertBoat(3, {{"tourokuno", 4321}, {"sensyname", "今村　豊"}});
    GridModel grid;
    layCard(grid, {4001, 4321, 9999});
    // Any row of the second boat names the racer of its first row.
    grid.setRow(13);
    grid.setCol(4);
    const auto t = racerTarget(grid, fixtureContext());
    QVERIFY(t);
    QCOMPARE(t->kind, RelatedKind::RacerDetail);
    QCOMPARE(t->title, QString("今村　豊 選手情報を表示しています..."));
    QCOMPARE(t->tourokuno, QString("4321"));
    QCOMPARE(t->context.racesno, QString::number(cardtest::kRace));
    // A racer who is not on the card: empty name and number, the window opens.
    grid.setRow(15);
    const auto missing = racerTarget(grid, fixtureContext());
    QVERIFY(missing);
    QCOMPARE(missing->title, QString(" 選手情報を表示しています..."));
    QCOMPARE(missing->tourokuno, QString());
    // A header row names no racer.
    grid.setRow(2);
    QVERIFY(!racerTarget(grid, fixtureContext()));
}

void TestRelatedWindows::previousRunsPanels_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("flag");
    QTest::newRow("three meetings ago") << 34 << "今村　豊 3場所前の成績を表示しています..." << "1";
    QTest::newRow("two meetings ago") << 35 << "今村　豊 2場所前の成績を表示しています..." << "2";
    QTest::newRow("previous meeting") << 36 << "今村　豊 前走場所の成績を表示しています..." << "3";
    QTest::newRow("last time here") << 37 << "今村　豊 前回当地の成績を表示しています..." << "4";
    QTest::newRow("motor before last") << 51 << "モーター 27号機 前々回の成績を表示しています..." << "5";
    QTest::newRow("motor last") << 52 << "モーター 27号機 前回の成績を表示しています..." << "6";
    QTest::newRow("boat before last") << 62 << "ボート 58号艇 前々回の成績を表示しています..." << "7";
    QTest::newRow("boat last") << 63 << "ボート 58号艇 前回の成績を表示しています..." << "8";
}

void TestRelatedWindows::previousRunsPanels()
{
    QFETCH(int, item);
    QFETCH(QString, title);
    QFETCH(QString, flag);
    cardtest::insertBoat(4, {{"tourokuno", 4321}, {"sensyname", "今村　豊"}, {"motorno", 27}, {"boatsno", 58}});
    GridModel grid;
    layCard(grid, {4001, 4321});
    grid.setRow(11);
    grid.setCol(10);
    const auto t = clickedTarget(grid, fixtureContext(), item);
    QVERIFY(t);
    QCOMPARE(t->kind, RelatedKind::PreviousRuns);
    QCOMPARE(t->title, title);
    QCOMPARE(t->flag, flag);
    QCOMPARE(t->wakusno, QString("4"));   // the frame of the clicked boat, not its place on the card
    QVERIFY(isPreviousRunsItem(item));
}

void TestRelatedWindows::resultsOfThisMeeting_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("kind");      // -1: nothing opens
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("race");

    const int result = int(RelatedKind::RaceResult);
    // Item 69 is the second race column of day 3.
    QTest::newRow("day 3, second race") << 69 << " 5R③54" << result << "3" << "20261203" << "5";
    QTest::newRow("day 1, first race") << 64 << "11R①46" << result << "1" << "20261201" << "11";
    QTest::newRow("day without results") << 74 << " 2R⑤61" << result << "6" << "00000000" << "2";
    QTest::newRow("no race in the cell") << 66 << "欠場" << -1 << "" << "" << "";
    QTest::newRow("race beyond 12") << 66 << "13R①" << -1 << "" << "" << "";
    QTest::newRow("early race") << 86 << "１２Ｒ３枠" << int(RelatedKind::RaceCard) << QString::number(cardtest::kDay)
                                << "20261205" << "12";
    QTest::newRow("another item") << 20 << " 5R" << -1 << "" << "" << "";
}

void TestRelatedWindows::resultsOfThisMeeting()
{
    QFETCH(int, item);
    QFETCH(QString, cell);
    QFETCH(int, kind);
    QFETCH(QString, day);
    QFETCH(QString, date);
    QFETCH(QString, race);
    for (int d = 1; d <= 3; ++d)
        cardtest::insertRow("f_resta", {{"setuscode", cardtest::kSetus}, {"datescnt", d}, {"racesno", 1},
                                        {"Date", QStringLiteral("2026120%1").arg(d)}});
    GridModel grid;
    layCard(grid, {4001}, cell);
    grid.setRow(5);
    grid.setCol(10);
    const auto t = clickedTarget(grid, fixtureContext(), item);
    QCOMPARE(t.has_value(), kind >= 0);
    if (!t)
        return;
    QCOMPARE(int(t->kind), kind);
    QCOMPARE(t->context.datescnt, day);
    QCOMPARE(t->context.date, date);
    QCOMPARE(t->context.racesno, race);
    QCOMPARE(t->context.setuscode, QString::number(cardtest::kSetus));
}

QTEST_GUILESS_MAIN(TestRelatedWindows)
#include "tst_relatedwindows.moc"
