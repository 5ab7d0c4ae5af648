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
    void init()
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
    void cleanup() { folder.reset(); }

    // A venue (index), then moves back (0) or on (1); a failed choice or move
    // keeps or empties what was chosen before.
    void selectAndMove_data()
    {
        QTest::addColumn<QList<int>>("steps");      // the venue index, then the moves
        QTest::addColumn<QList<int>>("outcomes");
        QTest::addColumn<QStringList>("fields");    // kyosocode, setuscode, datescnt, date
        QTest::addColumn<QStringList>("header");    // kyosoName, racesword, date, weekday, datescnt
        const int sel = int(Outcome::Selected);
        const int earlier = int(Outcome::NoEarlier);
        QTest::newRow("newest day") << QList<int>{0} << QList<int>{sel} << QStringList{"1", "120", "2", "20020106"}
                                    << QStringList{"桐　生", " 新春特選", "02/01/06", "（日）", "2日目"};
        QTest::newRow("meeting without row") << QList<int>{8} << QList<int>{sel}
                                             << QStringList{"9", "300", "4", "20011201"}
                                             << QStringList{"", "", "01/12/01", "（土）", "4日目"};
        QTest::newRow("no paper") << QList<int>{23} << QList<int>{int(Outcome::NoPaper)}
                                  << QStringList{"0", "0", "0", "0"} << QStringList{"", "", "", "", ""};
        QTest::newRow("back into the older meeting")
            << QList<int>{0, 0, 0} << QList<int>{sel, sel, sel} << QStringList{"1", "100", "3", "20011225"}
            << QStringList{"桐　生", " 桐生周年記念", "01/12/25", "（火）", "3日目"};
        QTest::newRow("past the oldest day") << QList<int>{0, 0, 0, 0, 0, 0, 0}
                                             << QList<int>{sel, sel, sel, sel, sel, earlier, earlier}
                                             << QStringList{"1", "100", "1", "20011223"}
                                             << QStringList{"桐　生", " 桐生周年記念", "01/12/23", "（日）", "1日目"};
        QTest::newRow("past the newest day") << QList<int>{0, 1} << QList<int>{sel, int(Outcome::NoLater)}
                                             << QStringList{"1", "120", "2", "20020106"}
                                             << QStringList{"桐　生", " 新春特選", "02/01/06", "（日）", "2日目"};
        QTest::newRow("back and forth") << QList<int>{0, 0, 0, 1} << QList<int>{sel, sel, sel, sel}
                                        << QStringList{"1", "120", "1", "20020105"}
                                        << QStringList{"桐　生", " 新春特選", "02/01/05", "（土）", "1日目"};
    }
    void selectAndMove()
    {
        QFETCH(QList<int>, steps);
        QFETCH(QList<int>, outcomes);
        Selection s;
        QCOMPARE(s.selectVenue(0), Outcome::Selected);
        QCOMPARE(int(s.selectVenue(steps[0])), outcomes[0]);
        for (int i = 1; i < steps.size(); ++i)
            QCOMPARE(int(s.moveDay(steps[i])), outcomes[i]);
        const auto &f = s.fields();
        QTEST((QStringList{f.kyosocode, f.setuscode, f.datescnt, f.date}), "fields");
        const auto &h = s.header();
        QTEST((QStringList{h.kyosoName, h.racesword, h.date, h.weekday, h.datescnt}), "header");
        QCOMPARE(s.hasPaper(), f.kyosocode != "0");
    }

private:
    std::unique_ptr<test::ProgramFolder> folder;
};

QTEST_GUILESS_MAIN(TestSelection)
#include "tst_selection.moc"
