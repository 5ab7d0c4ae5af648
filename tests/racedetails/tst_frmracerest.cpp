// The race result window inside the main window: opened by the main window's
// result command on the newest earlier day, its selectors and caption, a day
// without results, openers naming a day or race the selectors do not offer,
// the right-click enabling and the popup commands on its grid.

#include "app/ui/frmmainmenu.h"
#include "app/ui/gridpopups.h"
#include "app/ui/mainmenus.h"
#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "platform/messages.h"
#include "racedetails/restresult.h"
#include "racedetails/ui/frmracerest.h"
#include "racedetails/ui/startdiagramview.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;
using test::insertRow;

namespace {

constexpr int kVenue = 12;   // 住之江
constexpr int kSetus = 24010112;
const QString kTitle = QStringLiteral("レース結果を表示しています...");

void insertRace(int day, int race)
{
    insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", race},
                          {"Date", QStringLiteral("2024010%1").arg(day)}, {"racesname", "一般戦"},
                          {"renban_2ta", "31"}, {"renban_3ta", "315"}, {"haikin_2ta", 1230}, {"ninkido_2ta", 4},
                          {"haikin_3ta", 5670}, {"ninkido_3ta", 12}, {"kazemuki", "北"}, {"kazesoku", 3},
                          {"nami", 5}, {"kimarite", "まくり"}});
    // Frames 1..6 finish 3, 1, 2, 4, 5 and absent.
    const int codes[6] = {3, 1, 2, 4, 5, 14};
    for (int f = 1; f <= 6; ++f)
        insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", race}, {"wakusno", f},
                              {"cyakucode", codes[f - 1]}, {"sinyuno", f == 6 ? 0 : f}, {"starttime", 10 + f},
                              {"tenjitime", f == 6 ? 0.0 : 6.6 + f / 100.0}, {"tourokuno", 4000 + f},
                              {"sensyname", QStringLiteral("選手%1").arg(f)}, {"yososno", f}});
}

} // namespace

class TestRaceResultWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> folder;
    std::unique_ptr<frmmainmenu> frame;

    frmracerest *lastResult()
    {
        QMdiSubWindow *sub = frame->mdiArea()->subWindowList().last();
        frame->mdiArea()->setActiveSubWindow(sub);
        auto *w = qobject_cast<frmracerest *>(sub->widget());
        if (w)
            w->activateFirstTime();
        return w;
    }
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
        return lastResult();
    }
    static void choose(QComboBox *box, int index, frmracerest *w, void (frmracerest::*click)())
    {
        box->setCurrentIndex(index);
        (w->*click)();
    }
    bool rightClick(frmracerest *w, int col, Qt::MouseButton button = Qt::RightButton)
    {
        QMenu *popup = frame->menus().menu("mnurr");
        popup->hide();
        w->mfgf_restb_MouseDown(1, col, button, QPoint(10, 10));
        const bool shown = popup->isVisible();
        popup->hide();
        return shown;
    }
    bool itemEnabled(int i) const { return frame->menus().action(QStringLiteral("mnurrsub_%1").arg(i))->isEnabled(); }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        read_m_kanri();
        test::insertPaperDay(kVenue, kSetus, 4, "20240104");
        insertRace(2, 1);
        insertRace(3, 5);
        insertRace(3, 7);
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

    // The main window's command opens the first race of the newest earlier day.
    void openedByResultCommand()
    {
        frame->mnuracerest_Click();
        frmracerest *w = lastResult();
        QVERIFY(w);
        QCOMPARE(w->imcdatescnt->currentData().toString(), QStringLiteral("03D"));
        QCOMPARE(w->imcracesno->currentData().toString(), QStringLiteral("05R"));
        QCOMPARE(w->windowTitle(), kTitle + QStringLiteral("  (住之江 24/01/03  5R)"));
        QCOMPARE(w->lblracesname->text(), QStringLiteral("一般戦"));
        QCOMPARE(w->lblrenban_3ta[2]->text(), QStringLiteral("5"));
        QCOMPARE(w->lblninkido_3ta->text(), QStringLiteral("人気  12番"));
        QCOMPARE(w->lblkazesoku->text() + w->lblnami->text(), QStringLiteral("3ｍ5㎝"));
        QCOMPARE(w->grid().rows(), 7);
        QCOMPARE(w->grid().text(1, ColName), QStringLiteral("選手2"));
        QCOMPARE(w->grid().text(6, ColResult), QStringLiteral("欠場 外"));
        int drawn = 0;
        for (const auto &row : w->diagram->placements())
            drawn += row.has_value();
        QCOMPARE(drawn, 5);

        // Another race of the day replaces the race only.
        choose(w->imcracesno, 6, w, &frmracerest::imcracesno_Click);
        QCOMPARE(w->windowTitle(), kTitle + QStringLiteral("  (住之江 24/01/03  7R)"));
        QCOMPARE(w->grid().rows(), 7);
    }

    // A day without results: dashes, the message, an empty window; a race
    // chosen then replaces only the race.
    void dayWithoutResults()
    {
        frmracerest *w = open(QStringLiteral("3"), QStringLiteral("5"));
        ScriptedMessages box;
        choose(w->imcdatescnt, 5, w, &frmracerest::imcdatescnt_Click);
        QCOMPARE(w->windowTitle(), kTitle + QStringLiteral("  (住之江 --/--/-- --R)"));
        QCOMPARE(box.texts(), QStringList{"指定されたレース結果は有りません"});
        QCOMPARE(box.shown().front().title, QStringLiteral("警告です..."));
        QCOMPARE(w->grid().rows(), 1);
        QCOMPARE(w->lblracesname->text(), QString());
        QVERIFY(!w->diagram->placements()[0]);
        choose(w->imcracesno, 6, w, &frmracerest::imcracesno_Click);
        QCOMPARE(w->windowTitle(), kTitle + QStringLiteral("  (住之江 --/--/--  7R)"));
        QCOMPARE(box.texts().size(), 2);
    }

    // Openers naming a day or a race that the selectors do not offer get the
    // no-result message and a usable, empty window.
    void openerOutsideSelectors_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("race");
        QTest::newRow("day 9") << "9" << "5";
        QTest::newRow("day 0") << "0" << "5";
        QTest::newRow("race 13") << "3" << "13";
        QTest::newRow("race 0") << "3" << "0";
        QTest::newRow("not numbers") << "x" << "y";
        QTest::newRow("beyond 16 bits") << "99999999999" << "5";
    }
    void openerOutsideSelectors()
    {
        QFETCH(QString, day);
        QFETCH(QString, race);
        ScriptedMessages box;
        frmracerest *w = open(day, race);
        QCOMPARE(box.texts(), QStringList{"指定されたレース結果は有りません"});
        QCOMPARE(w->grid().rows(), 1);
        QVERIFY(!rightClick(w, ColStart));
        // The selectors still work.
        choose(w->imcdatescnt, 2, w, &frmracerest::imcdatescnt_Click);
        choose(w->imcracesno, 4, w, &frmracerest::imcracesno_Click);
        QCOMPARE(w->grid().rows(), 7);
    }

    void rightClickEnabling_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("sort");
        QTest::addColumn<bool>("average");
        QTest::newRow("result") << int(ColResult) << true << false;
        QTest::newRow("name") << int(ColName) << false << false;
        QTest::newRow("start timing") << int(ColStart) << true << true;
        QTest::newRow("exhibition") << int(ColExhibition) << true << true;
        QTest::newRow("penalty") << int(ColPenalty) << false << false;
    }
    void rightClickEnabling()
    {
        QFETCH(int, col);
        QFETCH(bool, sort);
        QFETCH(bool, average);
        frmracerest *w = open(QStringLiteral("3"), QStringLiteral("5"));
        QVERIFY(rightClick(w, col));
        QCOMPARE(itemEnabled(0), sort);
        QCOMPARE(itemEnabled(1), sort);
        QCOMPARE(itemEnabled(2), average);
        QCOMPARE(itemEnabled(4), hasViewer(ViewerKind::RacerDetail));
        QVERIFY(!rightClick(w, col, Qt::LeftButton));
    }

    // The popup commands on this grid: the exhibition average passes over the
    // absent boat's "-", the finish sorts by its code, the racer item opens
    // the racer of the current row.
    void popupCommands()
    {
        frmracerest *w = open(QStringLiteral("3"), QStringLiteral("5"));
        GridModel &grid = *w->popupGrid(QStringLiteral("mnurr"));
        ScriptedMessages box;
        grid.setRow(1);
        grid.setCol(ColExhibition);
        gridPopup_Click(*frame, QStringLiteral("mnurr"), 2);
        // 6.62 + 6.63 + 6.61 + 6.64 + 6.65 over five boats
        QCOMPARE(box.texts(), QStringList{"平均値は 6.63 です...\r\n\r\n合計 33.15    件数 5件"});
        grid.setCol(ColResult);
        gridPopup_Click(*frame, QStringLiteral("mnurr"), 1);
        QCOMPARE(grid.text(1, ColResult), QStringLiteral("欠場 外"));
        QCOMPARE(grid.text(6, ColResult), QStringLiteral("１着"));
        QCOMPARE(grid.col(), int(ColResult));
        if (!hasViewer(ViewerKind::RacerDetail))
            return;
        const int windows = int(frame->mdiArea()->subWindowList().size());
        grid.setRow(6);
        gridPopup_Click(*frame, QStringLiteral("mnurr"), 4);
        QCOMPARE(int(frame->mdiArea()->subWindowList().size()), windows + 1);
        auto *detail = qobject_cast<ViewerWindow *>(frame->mdiArea()->subWindowList().last()->widget());
        QCOMPARE(detail->context().tourokuno, QStringLiteral("4002"));
        QCOMPARE(detail->windowTitle(), QStringLiteral("選手2 選手情報を表示しています..."));
    }
};

QTEST_MAIN(TestRaceResultWindow)
#include "tst_frmracerest.moc"
