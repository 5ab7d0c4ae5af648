// Venue selection and paper-day navigation against a real database.

#include "app/selection.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using Outcome = Selection::Outcome;

class TestSelection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void selectVenue_data();
    void selectVenue();
    void moveAcrossMeetings_data();
    void moveAcrossMeetings();
    void moveWithNothingSelectedIsIgnored();
    void badStoredDateShowsWhatItCan();

private:
    std::unique_ptr<test::ProgramFolder> folder;
};

void TestSelection::init()
{
    folder = std::make_unique<test::ProgramFolder>();
    // Venue 1 (桐生): meeting 100 days 1-3 in December 2001, meeting 120 days 1-2 in January 2002.
    test::insertPaperDay(1, 100, 1, "20011223", true, 4, "  桐生周年記念 ");
    test::insertPaperDay(1, 100, 2, "20011224", false);
    test::insertPaperDay(1, 100, 3, "20011225", false);
    test::insertPaperDay(1, 120, 1, "20020105", true, 1, "新春特選");
    test::insertPaperDay(1, 120, 2, "20020106", false);
    // Venue 9 (津): one day of a meeting without its f_setus row.
    test::insertPaperDay(9, 300, 4, "20011201", false);
    // Another venue's days never interfere.
    test::insertPaperDay(2, 200, 1, "20011224");
}

void TestSelection::cleanup() { folder.reset(); }

// Venue 0 has two meetings, venue 8 a day without its meeting row, venue 23 no paper.
void TestSelection::selectVenue_data()
{
    QTest::addColumn<int>("venue");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("fields");   // kyosocode, setuscode, datescnt, date
    QTest::addColumn<QStringList>("header");   // kyosoName, racesword, date, weekday, datescnt
    QTest::newRow("newest day") << 0 << int(Outcome::Selected) << QStringList{"1", "120", "2", "20020106"}
                                << QStringList{"桐　生", " 新春特選", "02/01/06", "（日）", "2日目"};
    QTest::newRow("meeting without row") << 8 << int(Outcome::Selected) << QStringList{"9", "300", "4", "20011201"}
                                         << QStringList{"", "", "01/12/01", "（土）", "4日目"};
    QTest::newRow("no paper") << 23 << int(Outcome::NoPaper) << QStringList{"0", "0", "0", "0"}
                              << QStringList{"", "", "", "", ""};
}

void TestSelection::selectVenue()
{
    QFETCH(int, venue);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, header);
    Selection s;
    QCOMPARE(s.selectVenue(0), Outcome::Selected);   // a failed choice empties what was chosen before
    QTEST(int(s.selectVenue(venue)), "outcome");
    const auto &f = s.fields();
    QCOMPARE((QStringList{f.kyosocode, f.setuscode, f.datescnt, f.date}), fields);
    const auto &h = s.header();
    QCOMPARE((QStringList{h.kyosoName, h.racesword, h.date, h.weekday, h.datescnt}), header);
    QCOMPARE(s.hasPaper(), fields[0] != "0");
}

void TestSelection::moveAcrossMeetings_data()
{
    QTest::addColumn<QList<int>>("moves");
    QTest::addColumn<QList<int>>("outcomes");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("setuscode");
    QTest::addColumn<QString>("title");
    const int sel = int(Outcome::Selected);
    QTest::newRow("back into the older meeting")
        << QList<int>{0, 0} << QList<int>{sel, sel} << "20011225" << "100" << " 桐生周年記念";
    QTest::newRow("past the oldest day")
        << QList<int>{0, 0, 0, 0, 0, 0} << QList<int>{sel, sel, sel, sel, int(Outcome::NoEarlier), int(Outcome::NoEarlier)}
        << "20011223" << "100" << " 桐生周年記念";
    QTest::newRow("past the newest day") << QList<int>{1} << QList<int>{int(Outcome::NoLater)} << "20020106" << "120"
                                         << " 新春特選";
    QTest::newRow("back and forth") << QList<int>{0, 0, 1} << QList<int>{sel, sel, sel} << "20020105" << "120"
                                    << " 新春特選";
}

void TestSelection::moveAcrossMeetings()
{
    QFETCH(QList<int>, moves);
    QFETCH(QList<int>, outcomes);
    Selection s;
    QCOMPARE(s.selectVenue(0), Outcome::Selected);
    for (int i = 0; i < moves.size(); ++i)
        QCOMPARE(int(s.moveDay(moves[i])), outcomes[i]);
    QTEST(s.fields().date, "date");
    QTEST(s.fields().setuscode, "setuscode");
    QTEST(s.header().racesword, "title");
}

void TestSelection::moveWithNothingSelectedIsIgnored()
{
    Selection s;
    // The empty selection holds "0", so a move searches dates of venue 0: none.
    QCOMPARE(s.moveDay(1), Outcome::NoLater);
    s.selectVenue(23);
    QCOMPARE(s.moveDay(0), Outcome::NoEarlier);
}

void TestSelection::badStoredDateShowsWhatItCan()
{
    test::insertPaperDay(5, 500, 1, "2001");
    Selection s;
    QCOMPARE(s.selectVenue(4), Outcome::Selected);
    QCOMPARE(s.header().date, QString("01//"));
    QCOMPARE(s.header().weekday, QString());
}

QTEST_GUILESS_MAIN(TestSelection)
#include "tst_selection.moc"
