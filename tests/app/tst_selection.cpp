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
    void venueSelectsNewestDay();
    void venueWithoutPaperEmptiesSelection();
    void meetingWithoutRowKeepsDayOnly();
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

void TestSelection::venueSelectsNewestDay()
{
    Selection s;
    QCOMPARE(s.selectVenue(0), Outcome::Selected);
    QCOMPARE(s.fields().kyosocode, QString("1"));
    QCOMPARE(s.fields().setuscode, QString("120"));
    QCOMPARE(s.fields().datescnt, QString("2"));
    QCOMPARE(s.fields().date, QString("20020106"));
    QCOMPARE(s.header().kyosoName, QString("桐　生"));
    QCOMPARE(s.header().racesword, QString(" 新春特選"));
    QCOMPARE(s.header().date, QString("02/01/06"));
    QCOMPARE(s.header().weekday, QString("（日）"));
    QCOMPARE(s.header().datescnt, QString("2日目"));
}

void TestSelection::venueWithoutPaperEmptiesSelection()
{
    Selection s;
    QCOMPARE(s.selectVenue(0), Outcome::Selected);
    QCOMPARE(s.selectVenue(23), Outcome::NoPaper);
    QVERIFY(!s.hasPaper());
    QCOMPARE(s.fields().kyosocode, QString("0"));
    QCOMPARE(s.fields().setuscode, QString("0"));
    QCOMPARE(s.header().kyosoName, QString());
    QCOMPARE(Selection::warningText(Outcome::NoPaper), QString("指定された競走場のデジタル紙面は有りません"));
}

void TestSelection::meetingWithoutRowKeepsDayOnly()
{
    Selection s;
    QCOMPARE(s.selectVenue(8), Outcome::Selected);
    QCOMPARE(s.fields().setuscode, QString("300"));
    QCOMPARE(s.header().date, QString("01/12/01"));
    QCOMPARE(s.header().datescnt, QString("4日目"));
    QCOMPARE(s.header().kyosoName, QString());
    QCOMPARE(s.header().racesword, QString());
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
    QCOMPARE(Selection::warningText(Outcome::NoEarlier), QString("それ以前のデジタル紙面は有りません"));
    QCOMPARE(Selection::warningText(Outcome::NoLater), QString("それ以降のデジタル紙面は有りません"));
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
