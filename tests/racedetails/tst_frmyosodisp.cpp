// The predictions and outcomes windows inside the main window: their openers
// and captions, the race selector, the diagrams' placements, the power-index
// grid that follows the race, and the popup items the windows enable.

#include "app/ui/frmmainmenu.h"
#include "app/ui/mainmenus.h"
#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "platform/pictures.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "racecard/ui/frmraceinfo.h"
#include "racedetails/ui/frmdeme.h"
#include "racedetails/ui/frmyosodisp.h"
#include "racedetails/ui/yosodiagram.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
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

} // namespace

class TestYosoDemeWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramFolder> folder;
    std::unique_ptr<frmmainmenu> frame;

    template <typename W> W *lastWindow()
    {
        QMdiSubWindow *sub = frame->mdiArea()->subWindowList().last();
        frame->mdiArea()->setActiveSubWindow(sub);
        auto *w = qobject_cast<W *>(sub->widget());
        if (w)
            w->activateFirstTime();
        return w;
    }
    frmyosodisp *openPredictions()
    {
        frame->mnuraceyoso_Click();
        return lastWindow<frmyosodisp>();
    }
    static void selectRace(frmyosodisp *w, int race)
    {
        w->imcracesno->setCurrentIndex(race - 1);
        w->imcracesno_Click();
    }
    QAction *item(const QString &menu, int i) const
    {
        return frame->menus().action(QStringLiteral("%1sub_%2").arg(menu).arg(i));
    }
    // A right-click on a cell through the view; true when the menu popped up.
    bool rightClick(GridView *view, const QString &menu, int row, int col)
    {
        const QRect rect = view->viewportRect(QRect(col, row, 1, 1));
        if (!rect.isValid())
            return false;
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, rect.center());
        QMenu *popup = frame->menus().menu(menu);
        const bool shown = popup->isVisible();
        popup->hide();
        return shown;
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        read_m_kanri();
        test::insertPaperDay(kVenue, kSetus, kDay, "20011225");
        test::insertRow("f_races", {{"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", 5}});
        insertRace(1, true);
        insertRace(5, true);
        insertRace(12, false);
        for (int day = 1; day < kDay; ++day)
            test::insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", 5},
                                        {"racesname", "予選"}, {"renban_2ta", "12"}, {"haikin_2ta", 500 * day},
                                        {"ninkido_2ta", day}, {"renban_3ta", "123"}, {"haikin_3ta", 1000 * day},
                                        {"ninkido_3ta", day}});
        frame = std::make_unique<frmmainmenu>();
        frame->resize(1200, 900);
        frame->show();
        frame->mnukyosocodesub_Click(kVenue - 1);
    }
    void cleanup()
    {
        frame.reset();
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    // The command and toolbar button 12 are enabled once a day is selected;
    // the window opens on race 1, its diagrams paint what the panel places
    // (style 150, start-line digits 0, 1, 2 with the boats over their wakes),
    // and its caption follows the selector; race 12 has no prediction.
    void predictionsFromTheMainWindow()
    {
        QVERIFY(frame->menus().action("mnuraceyoso")->isEnabled());
        QVERIFY(frame->menus().button(12)->isEnabled());
        frmyosodisp *w = openPredictions();
        QCOMPARE(w->windowTitle(), QStringLiteral("レース予想を表示しています...  (住之江 01/12/25  1R)"));
        QCOMPARE(w->lblyososword_4[0]->text(), QStringLiteral("第1レース"));
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

        selectRace(w, 12);
        QCOMPARE(w->windowTitle(), QStringLiteral("レース予想を表示しています...  (住之江 01/12/25 12R)"));
        QCOMPARE(w->context().racesno, QString("12"));
        QCOMPARE(w->lblyososword_4[0]->text(), QString());
        QCOMPARE(w->lblstyle->text(), QString());
        QVERIFY(w->formation->shown().isEmpty());
        QVERIFY(w->startLine->shown().isEmpty());
    }

    // Opened, the grid follows every race chosen, a race without prediction
    // included; closed, it is not filled.
    void powerIndicesFollowTheRace()
    {
        frmyosodisp *w = openPredictions();
        const int closedHeight = w->height();
        QCOMPARE(w->cmdpowdisp->text(), QStringLiteral("戦力指数を表示(&O)"));
        QVERIFY(!w->mfgf_point->isVisible());
        w->cmdpowdisp->click();
        QCOMPARE(w->cmdpowdisp->text(), QStringLiteral("戦力指数を閉じる(&X)"));
        QVERIFY(w->mfgf_point->isVisible());
        QCOMPARE(w->height() - closedHeight, twipsToPixels(6510) - twipsToPixels(4665));
        QCOMPARE(w->powerGrid().text(1, 0), QStringLiteral("1R選手"));

        selectRace(w, 5);
        QCOMPARE(w->powerGrid().text(1, 0), QStringLiteral("5R選手"));
        selectRace(w, 12);   // no prediction row
        QCOMPARE(w->powerGrid().text(1, 0), QStringLiteral("12R選"));
        QCOMPARE(w->powerGrid().text(1, 9), QString("3121"));

        w->cmdpowdisp->click();
        QVERIFY(!w->mfgf_point->isVisible());
        QCOMPARE(w->height(), closedHeight);
        selectRace(w, 1);
        QCOMPARE(w->powerGrid().text(1, 0), QStringLiteral("12R選"));
    }

    // Sorting is offered on the bar columns only; the racer item waits for
    // the racer detail window.
    void powerIndexPopup()
    {
        frmyosodisp *w = openPredictions();
        w->cmdpowdisp->click();
        QVERIFY(rightClick(w->mfgf_point, "mnury", 2, 0));
        QVERIFY(!item("mnury", 0)->isEnabled());
        QVERIFY(!item("mnury", 1)->isEnabled());
        QCOMPARE(item("mnury", 3)->isEnabled(), hasViewer(ViewerKind::RacerDetail));
        QVERIFY(rightClick(w->mfgf_point, "mnury", 2, 3));
        QVERIFY(item("mnury", 0)->isEnabled());
        QVERIFY(item("mnury", 1)->isEnabled());
        // Descending by the first index: frame 6 (60) comes first.
        QVERIFY(rightClick(w->mfgf_point, "mnury", 2, 1));
        item("mnury", 1)->trigger();
        QCOMPARE(w->powerGrid().text(1, 10), QString("6"));
        QCOMPARE(w->powerGrid().col(), 1);
    }

    // The race card's buttons open both windows for the card's race, with
    // the captions of their titles.
    void openedFromTheRaceCard()
    {
        frame->mnuraceinfo_Click();
        auto *card = lastWindow<racecard::frmraceinfo>();
        card->imcracesno->setCurrentIndex(4);
        card->imcracesno_Click();
        QVERIFY(card->cmdyosodisp->isEnabled());
        QVERIFY(card->cmddeme->isEnabled());

        card->cmdyosodisp->click();
        frmyosodisp *w = lastWindow<frmyosodisp>();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("レース予想を表示しています...  (住之江 01/12/25  5R)"));
        QCOMPARE(w->imcracesno->currentText(), QString("5"));
        QCOMPARE(w->lblyososword_4[0]->text(), QStringLiteral("第5レース"));

        frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(card->parentWidget()));
        card->cmddeme->click();
        frmdeme *deme = lastWindow<frmdeme>();
        QVERIFY(deme);
        QCOMPARE(deme->windowTitle(), QStringLiteral("出目を表示しています...  (住之江 01/12/25  5R)"));
        QCOMPARE(deme->grid().rows(), 3);
        QCOMPARE(deme->grid().text(2, 0), QStringLiteral("2日目"));
        QCOMPARE(deme->grid().text(2, 3), QStringLiteral("  1,000"));

        // The average is offered on payouts and popularity only; the race
        // result item waits for the race result window.
        QVERIFY(rightClick(deme->mfgf_resta, "mnudm", 1, 1));
        QVERIFY(!item("mnudm", 2)->isEnabled());
        QCOMPARE(item("mnudm", 4)->isEnabled(), hasViewer(ViewerKind::RaceResult));
        for (int col : {3, 4, 6, 7}) {
            QVERIFY(rightClick(deme->mfgf_resta, "mnudm", 2, col));
            QVERIFY(item("mnudm", 2)->isEnabled());
        }
    }

    // A window on a day without earlier results shows its header only and
    // pops no menu; a race outside the selector shows the first race.
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
