// The predictions and outcomes windows inside the main window: openers and
// captions, the race selector, the diagrams' placements, the power-index grid
// that follows the race, one popup path each and their edge states.

#include "app/ui/viewerfactory.h"
#include "platform/pictures.h"
#include "racecard/ui/frmraceinfo.h"
#include "support/windowtest.h"
#include "racedetails/ui/frmdeme.h"
#include "racedetails/ui/frmyosodisp.h"
#include "racedetails/ui/yosodiagram.h"
#include "support/fixtures.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

namespace {

constexpr int kVenue = 12;   // 住之江
constexpr int kSetus = 555;
constexpr int kDay = 3;

void insertRace(int race, bool prediction)
{
    for (int f = 1; f <= 6; ++f)
        test::insertRow("f_wakus", {{"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", race}, {"wakusno", f},
                                    {"tourokuno", 3000 + 10 * race + f},
                                    {"sensyname", QStringLiteral("%1R選手%2").arg(race).arg(f)},
                                    {"flag_ss", 1}, {"giryosisu", QString::number(10 * f)}});
    if (prediction)
        test::insertRow("f_yosos", {{"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", race},
                                    {"yosos_1", "123456"}, {"yosos_2", "123456"}, {"yosos_3", "012012"},
                                    {"Style", "150"}, {"yososword_4", QStringLiteral("第%1レース").arg(race)}});
}

void selectRace(frmyosodisp *w, int race)
{
    w->imcracesno->setCurrentIndex(race - 1);
    w->imcracesno_Click();
}

} // namespace

class TestYosoDemeWindows : public test::WindowTest {
    Q_OBJECT

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        test::insertPaperDay(kVenue, kSetus, kDay, "20011225");
        test::insertRow("f_races", {{"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", 5}});
        insertRace(1, true);
        insertRace(5, true);
        insertRace(12, false);
        for (int day = 1; day < kDay; ++day)
            test::insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", 5},
                                        {"renban_2ta", "12"}, {"haikin_2ta", 500 * day}, {"renban_3ta", "123"}});
        showMain(kVenue);
    }
    void cleanup() { closeMain(); }

    // Opened on race 1, the diagrams paint what the panel places (style 150,
    // start-line digits 0, 1, 2 with the boats over their wakes); the caption
    // and the open power-index grid follow the race, one without a
    // prediction included; sorting is offered on the bar columns.
    void predictionsFromTheMainWindow()
    {
        frame->mnuraceyoso_Click();
        frmyosodisp *w = lastWindow<frmyosodisp>();
        QCOMPARE(w->windowTitle(), QStringLiteral("レース予想を表示しています...  (住之江 01/12/25  1R)"));
        QCOMPARE(w->lblyosos_1[2]->text(), QStringLiteral("× 1R選手"));
        const QVector<YosoPlacement> formation = w->formation->shown();
        QCOMPARE(formation.size(), 6);
        for (int k = 0; k < 6; ++k)
            QCOMPARE(formation[k], (YosoPlacement{{imlyosodisp1, k + 1}, k == 0 ? 1200 : 240, 2100 + 240 * k}));
        const QVector<YosoPlacement> line = w->startLine->shown();
        QCOMPARE(line.size(), 18);
        const int boatLeft[3] = {4440, 4680, 4920};
        const int waveLeft[3] = {3840, 3720, 3720};
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(line[k], (YosoPlacement{{imlyosodisp1, 7 + k % 3}, waveLeft[k % 3], 2140 + 240 * k}));
            QCOMPARE(line[6 + k], (YosoPlacement{{imlyosodisp1, k + 1}, boatLeft[k % 3], 2100 + 240 * k}));
        }

        w->cmdpowdisp->click();
        QVERIFY(w->mfgf_point->isVisible());
        selectRace(w, 12);   // no prediction row
        QCOMPARE(w->windowTitle(), QStringLiteral("レース予想を表示しています...  (住之江 01/12/25 12R)"));
        QCOMPARE(w->context().racesno, QString("12"));
        QCOMPARE(w->lblyososword_4[0]->text(), QString());
        QVERIFY(w->formation->shown().isEmpty());
        QVERIFY(w->startLine->shown().isEmpty());
        QCOMPARE(w->powerGrid().text(1, 0), QStringLiteral("12R選"));
        QCOMPARE(w->powerGrid().text(1, 9), QString("3121"));

        // Descending by the first index: frame 6 (60) comes first.
        QVERIFY(rightClick(w->mfgf_point, "mnury", 2, 0));
        QVERIFY(!item("mnury", 1)->isEnabled());
        QVERIFY(rightClick(w->mfgf_point, "mnury", 2, 1));
        item("mnury", 1)->trigger();
        QCOMPARE(w->powerGrid().text(1, 10), QString("6"));
    }

    // The race card's button opens the outcomes window for the card's race;
    // it offers the average on payouts only.
    void openedFromTheRaceCard()
    {
        frame->mnuraceinfo_Click();
        auto *card = lastWindow<racecard::frmraceinfo>();
        card->imcracesno->setCurrentIndex(4);
        card->imcracesno_Click();
        card->cmddeme->click();
        frmdeme *deme = lastWindow<frmdeme>();
        QVERIFY(deme);
        QCOMPARE(deme->windowTitle(), QStringLiteral("出目を表示しています...  (住之江 01/12/25  5R)"));
        QCOMPARE(deme->grid().rows(), 3);
        QCOMPARE(deme->grid().text(2, 3), QStringLiteral("  1,000"));
        QVERIFY(rightClick(deme->mfgf_resta, "mnudm", 1, 1));
        QVERIFY(!item("mnudm", 2)->isEnabled());
        QVERIFY(rightClick(deme->mfgf_resta, "mnudm", 2, 3));
        QVERIFY(item("mnudm", 2)->isEnabled());
    }

    // A day without earlier results shows the header only and pops no menu;
    // a race outside the selector shows the first race.
    void edgeStates()
    {
        ViewerContext c;
        c.kyosocode = QString::number(kVenue);
        c.setuscode = QString::number(kSetus);
        c.datescnt = "1";
        c.date = "20011223";
        c.racesno = "5";
        ViewerWindow *deme = createViewer(ViewerKind::Outcomes);
        deme->setContext(c);
        deme->setCaption(QStringLiteral("出目を表示しています..."), CaptionTail::DateRace);
        showViewer(frame->mdiArea(), deme);
        auto *outcomes = lastWindow<frmdeme>();
        QCOMPARE(outcomes->grid().rows(), 1);
        QVERIFY(!rightClick(outcomes->mfgf_resta, "mnudm", 0, 3));

        c.datescnt = QString::number(kDay);
        c.date = "20011225";
        c.racesno = "13";
        ViewerWindow *yoso = createViewer(ViewerKind::Predictions);
        yoso->setContext(c);
        yoso->setCaption(QStringLiteral("レース予想を表示しています..."), CaptionTail::DateRace);
        showViewer(frame->mdiArea(), yoso);
        auto *predictions = lastWindow<frmyosodisp>();
        QCOMPARE(predictions->imcracesno->currentText(), QString("1"));
        QCOMPARE(predictions->windowTitle(), QStringLiteral("レース予想を表示しています...  (住之江 01/12/25  1R)"));
    }
};

QTEST_MAIN(TestYosoDemeWindows)
#include "tst_frmyosodisp.moc"
