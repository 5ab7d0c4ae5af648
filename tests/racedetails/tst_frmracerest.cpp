// The race result window inside the main window: opened by the main window's
// result command on the newest earlier day, its selectors and caption,
// openers naming a day or race the selectors do not offer, and the average
// command of its popup.

#include "app/ui/gridpopups.h"
#include "app/ui/viewerfactory.h"
#include "platform/messages.h"
#include "support/windowtest.h"
#include "racedetails/restresult.h"
#include "racedetails/ui/frmracerest.h"
#include "racedetails/ui/startdiagramview.h"
#include "support/fixtures.h"

#include <QComboBox>
#include <QLabel>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;
using test::insertRow;

namespace {

constexpr int kVenue = 12;   // 住之江
constexpr int kSetus = 24010112;
const QString kTitle = QStringLiteral("レース結果を表示しています...");
const QStringList kNoResult{"指定されたレース結果は有りません"};

void insertRace(int day, int race)
{
    insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", race},
                          {"Date", QStringLiteral("2024010%1").arg(day)}, {"racesname", "一般戦"},
                          {"renban_3ta", "315"}, {"ninkido_3ta", 12}});
    // Frames 1..6 finish 3, 1, 2, 4, 5 and absent.
    const int codes[6] = {3, 1, 2, 4, 5, 14};
    for (int f = 1; f <= 6; ++f)
        insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", race}, {"wakusno", f},
                              {"cyakucode", codes[f - 1]}, {"sinyuno", f == 6 ? 0 : f}, {"starttime", 10 + f},
                              {"tenjitime", f == 6 ? 0.0 : 6.6 + f / 100.0}, {"tourokuno", 4000 + f},
                              {"sensyname", QStringLiteral("選手%1").arg(f)}});
}

void choose(QComboBox *box, int index, frmracerest *w, void (frmracerest::*click)())
{
    box->setCurrentIndex(index);
    (w->*click)();
}

} // namespace

class TestRaceResultWindow : public test::WindowTest {
    Q_OBJECT

    frmracerest *open(const QString &day, const QString &race)
    {
        ViewerWindow *w = createViewer(ViewerKind::RaceResult);
        ViewerContext c;
        c.kyosocode = QString::number(kVenue);
        c.setuscode = QString::number(kSetus);
        c.datescnt = day;
        c.date = QStringLiteral("20240104");
        c.racesno = race;
        w->setContext(c);
        w->setCaption(kTitle, CaptionTail::DateRace);
        showViewer(frame->mdiArea(), w);
        return lastWindow<frmracerest>();
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        test::insertPaperDay(kVenue, kSetus, 4, "20240104");
        insertRace(2, 1);
        insertRace(3, 5);
        insertRace(3, 7);
        showMain(kVenue);
    }
    void cleanup() { closeMain(); }

    // The main window's command opens the first race of the newest earlier
    // day; another race of the day replaces the race only.
    void openedByResultCommand()
    {
        frame->mnuracerest_Click();
        frmracerest *w = lastWindow<frmracerest>();
        QVERIFY(w);
        QCOMPARE(w->imcdatescnt->currentData().toString(), QStringLiteral("03D"));
        QCOMPARE(w->windowTitle(), kTitle + QStringLiteral("  (住之江 24/01/03  5R)"));
        QCOMPARE(w->lblrenban_3ta[2]->text() + w->lblninkido_3ta->text(), QStringLiteral("5人気  12番"));
        QCOMPARE(w->grid().text(1, ColName), QStringLiteral("選手2"));
        int drawn = 0;
        for (const auto &row : w->diagram->placements())
            drawn += row.has_value();
        QCOMPARE(drawn, 5);
        choose(w->imcracesno, 6, w, &frmracerest::imcracesno_Click);
        QCOMPARE(w->windowTitle(), kTitle + QStringLiteral("  (住之江 24/01/03  7R)"));
        QCOMPARE(w->context().racesno, QStringLiteral("7"));
    }

    // Openers naming a day or a race that the selectors do not offer get the
    // no-result message and a usable, empty window.
    void openerOutsideSelectors_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("race");
        QTest::newRow("day 9") << "9" << "5";
        QTest::newRow("race 13") << "3" << "13";
        QTest::newRow("not numbers") << "x" << "y";
        QTest::newRow("beyond 16 bits") << "99999999999" << "5";
    }
    void openerOutsideSelectors()
    {
        QFETCH(QString, day);
        QFETCH(QString, race);
        ScriptedMessages box;
        frmracerest *w = open(day, race);
        QCOMPARE(box.texts(), kNoResult);
        QCOMPARE(w->grid().rows(), 1);
        choose(w->imcdatescnt, 2, w, &frmracerest::imcdatescnt_Click);
        choose(w->imcracesno, 4, w, &frmracerest::imcracesno_Click);
        QCOMPARE(w->grid().rows(), 7);
    }

    // The exhibition average passes over the absent boat's "-".
    void averageCommand()
    {
        frmracerest *w = open(QStringLiteral("3"), QStringLiteral("5"));
        QVERIFY(rightClick(w->mfgf_restb, "mnurr", 1, ColExhibition));
        QVERIFY(item("mnurr", 2)->isEnabled());
        ScriptedMessages box;
        w->popupGrid(QStringLiteral("mnurr"))->setCol(ColExhibition);
        gridPopup_Click(*frame, QStringLiteral("mnurr"), 2);
        // 6.62 + 6.63 + 6.61 + 6.64 + 6.65 over five boats
        QCOMPARE(box.texts(), QStringList{"平均値は 6.63 です...\r\n\r\n合計 33.15    件数 5件"});
    }
};

QTEST_MAIN(TestRaceResultWindow)
#include "tst_frmracerest.moc"
