// The data room and the points table inside the main window: opened by the
// menu command, toolbar button and the ranking page's button with their
// captions and context, one page per tab, the right-click's items, and the
// popup commands on the data room's grids.

#include "app/ui/frmmainmenu.h"
#include "app/ui/gridpopups.h"
#include "app/ui/mainmenus.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "lists/ui/frmdataroom.h"
#include "lists/ui/frmtokhmlist.h"
#include "platform/messages.h"
#include "platform/ui/gridview.h"
#include "racecard/ui/frmraceinfo.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kVenue = 1;   // 桐　生
constexpr int kSetus = 2468;
constexpr int kDay = 4;

void insertRanking(int position, int tourokuno, const QString &name, int race, int second)
{
    test::insertRow("f_lunks", {{"setuscode", kSetus}, {"datescnt", kDay}, {"lunkscode", position},
                                {"tourokuno", tourokuno}, {"sensyname", name}, {"syuso_all", 20},
                                {"syuso_1", position}, {"hayami_1", race}, {"hayami_2", second}});
}

} // namespace

class TestDataRoomWindow : public QObject {
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
    frmdataroom *openDataRoom(int lunksflag)
    {
        modkelmon::exec("update f_setfg set lunksflag = ?", {lunksflag});
        frame->mnudataroom_Click();
        return lastWindow<frmdataroom>();
    }
    QAction *item(const QString &menu, int i) const
    {
        return frame->menus().action(QStringLiteral("%1sub_%2").arg(menu).arg(i));
    }
    // A right-click on a cell of grid `index`; the menu that popped up, or "".
    QString rightClick(frmdataroom *room, int index, int row, int col)
    {
        room->grid(index).setRow(row);
        room->grid(index).setCol(col);
        for (const char *m : {"mnul1", "mnul2", "mnucr", "mnuks"})
            frame->menus().menu(m)->hide();
        room->mfgdr_MouseDown(index, Qt::RightButton, QPoint());
        QString shown;
        for (const char *m : {"mnul1", "mnul2", "mnucr", "mnuks"})
            if (frame->menus().menu(m)->isVisible()) {
                shown = m;
                frame->menus().menu(m)->hide();
            }
        return shown;
    }
    QList<bool> states(const QString &menu) const
    {
        return {item(menu, 0)->isEnabled(), item(menu, 1)->isEnabled(), item(menu, 2)->isEnabled(),
                item(menu, 5)->isEnabled()};
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        read_m_kanri();
        test::insertPaperDay(kVenue, kSetus, kDay, "20261206");
        insertRanking(1, 3100, "鈴木一郎", 11, 3);
        insertRanking(2, 4012, "山田太郎", 5, 0);
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 3100},
                                    {"sensyname", "鈴木一郎"}, {"hayami_1", 2}, {"hayami_2", 0}});
        frame = std::make_unique<frmmainmenu>();
        frame->resize(1200, 800);
        frame->show();
        frame->mnukyosocodesub_Click(kVenue - 1);
    }
    void cleanup()
    {
        frame.reset();
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    void openedFromTheMainWindow()
    {
        QVERIFY(frame->menus().action("mnudataroom")->isEnabled());
        QVERIFY(frame->menus().button(17)->isEnabled());
        frame->menus().button(17)->trigger();
        auto *room = lastWindow<frmdataroom>();
        QVERIFY(room);
        QCOMPARE(room->windowTitle(), QString("データルームを表示しています...  (桐生 26/12/06)"));
        QCOMPARE(room->lbllunks[0]->text(), QString());   // lunksflag 0: labels stay empty
        QCOMPARE(room->grid(0).cols(), 10);
        QCOMPARE(room->grid(0).rows(), 4);
        QCOMPARE(room->grid(1).rows(), 3);
        QCOMPARE(room->grid(2).rows(), 2);
        // The first page shows; each tab shows exactly its page.
        QVERIFY(room->fradr[0]->isVisible() && !room->fradr[1]->isVisible() && !room->fradr[2]->isVisible());
        QCOMPARE(room->tab1->tabText(0), QString("Today's ランキング"));
        QCOMPARE(room->tab1->tabToolTip(2), QString("選手の回収率を表示します"));
        room->tab1->setCurrentIndex(2);
        QVERIFY(!room->fradr[0]->isVisible() && !room->fradr[1]->isVisible() && room->fradr[2]->isVisible());
        // A later activation reloads nothing and keeps the page.
        room->grid(0).sort(0, false);
        const QString first = room->grid(0).text(2, 0);
        room->activateFirstTime();
        QCOMPARE(room->grid(0).text(2, 0), first);
        QVERIFY(room->fradr[2]->isVisible());
    }

    void rightClicks()
    {
        frmdataroom *room = openDataRoom(3);
        QCOMPARE(room->lbllunks[0]->text(), QString("準優がけ ベスト１２"));
        QVERIFY(!room->cmdtokhmlist->isEnabled());
        // Semi-final ranking: the frame cell follows the race cell of its row.
        QCOMPARE(rightClick(room, 0, 2, 9), QString("mnul2"));
        QCOMPARE(states("mnul2"), (QList<bool>{false, false, false, true}));
        QCOMPARE(room->grid(0).text(2, 9), QString("3枠"));
        QCOMPARE(rightClick(room, 0, 2, 2), QString("mnul2"));
        QCOMPARE(states("mnul2"), (QList<bool>{true, true, true, false}));
        // The finish-place page: an empty second race offers no race card.
        QCOMPARE(rightClick(room, 1, 2, 9), QString("mnucr"));
        QCOMPARE(states("mnucr"), (QList<bool>{false, false, false, false}));
        QCOMPARE(rightClick(room, 1, 2, 8), QString("mnucr"));
        QCOMPARE(states("mnucr"), (QList<bool>{false, false, false, true}));
        // The payout page has no rows: nothing pops up; nor does a left click.
        QCOMPARE(rightClick(room, 2, 1, 0), QString());
        room->grid(1).setCol(0);
        room->mfgdr_MouseDown(1, Qt::LeftButton, QPoint());
        QVERIFY(!frame->menus().menu("mnucr")->isVisible());

        frmdataroom *points = openDataRoom(2);
        QVERIFY(points->cmdtokhmlist->isEnabled());
        QCOMPARE(points->grid(0).cols(), 8);
        QCOMPARE(rightClick(points, 0, 3, 6), QString("mnul1"));
        QCOMPARE(states("mnul1"), (QList<bool>{false, false, false, true}));
        QCOMPARE(rightClick(points, 0, 3, 5), QString("mnul1"));
        QCOMPARE(states("mnul1"), (QList<bool>{true, true, true, false}));
    }

    // The popup commands act on the grid of the active data room.
    void popupCommands()
    {
        frmdataroom *room = openDataRoom(4);
        ScriptedMessages box;
        // The average of the "1着" column counts the two data rows only: the
        // heading "1着" is no entry.
        rightClick(room, 0, 2, 2);
        gridPopup_Click(*frame, "mnul2", 2);
        QCOMPARE(box.texts(), QStringList{"平均値は 1.50 です...\r\n\r\n合計 3    件数 2件"});
        gridPopup_Click(*frame, "mnul2", 1);
        QCOMPARE(room->grid(0).text(2, 0), QString("山田太郎"));
        // The race card from a frame cell opens the race of the cell to its left.
        const int before = int(frame->mdiArea()->subWindowList().size());
        room->grid(0).setRow(3);
        room->grid(0).setCol(9);
        gridPopup_Click(*frame, "mnul2", 5);
        QCOMPARE(int(frame->mdiArea()->subWindowList().size()), before + 1);
        auto *card = qobject_cast<racecard::frmraceinfo *>(frame->mdiArea()->subWindowList().last()->widget());
        QVERIFY(card);
        QCOMPARE(card->context().racesno, QString("11"));
        QCOMPARE(card->context().setuscode, QString::number(kSetus));
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (桐生 26/12/06 11R)"));

        // The racer detail from the finish-place page: the row's number and name.
        frame->mdiArea()->setActiveSubWindow(frame->mdiArea()->subWindowList().at(before - 1));
        room->grid(1).setRow(2);
        room->grid(1).setCol(3);
        gridPopup_Click(*frame, "mnucr", 4);
        ViewerWindow *detail = qobject_cast<ViewerWindow *>(frame->mdiArea()->subWindowList().last()->widget());
        QVERIFY(detail && detail != card);
        QCOMPARE(detail->context().tourokuno, QString("3100"));
        QCOMPARE(detail->context().datescnt, QString::number(kDay));
        QCOMPARE(detail->windowTitle(), QString("鈴木一郎 選手情報を表示しています..."));
    }

    void pointsTableFromTheRankingPage()
    {
        test::insertRow("f_tokhm", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tokujun_ks", 1},
                                    {"sensyname", "鈴木一郎"}, {"tokuritu_ks", 6.5}, {"tokhm_k1z1", 7.25}});
        modkelmon::exec("update f_setus set bordrcnt = 6");
        frmdataroom *room = openDataRoom(2);
        ViewerContext c = room->context();
        c.racesno = "7";
        room->setContext(c);
        room->cmdtokhmlist->click();
        auto *points = lastWindow<frmtokhmlist>();
        QVERIFY(points);
        QCOMPARE(points->windowTitle(), QString("得点早見表を表示しています...  (桐生 26/12/06)"));
        QCOMPARE(points->context().racesno, QString("1"));
        QCOMPARE(points->context().datescnt, QString::number(kDay));
        QCOMPARE(points->lblbordrcnt[0]->text(), QString("6.00"));
        QCOMPARE(points->lblbordrcnt[1]->text(), QString("6.00"));
        QCOMPARE(points->blocks().rows(), 2);
        QCOMPARE(points->blocks().text(1, 1), QString("7.25"));
        QCOMPARE(points->blocks().backColor(1, 1), std::optional<QRgb>(0xFFFFC0));
        QCOMPARE(points->sample().text(7, 3), QString("②⑥"));
    }

    // Without the day's row the page says so, the ranking keeps the best-n
    // layout and its stored rows fill it; nothing is fatal.
    void missingDayRow()
    {
        modkelmon::exec("delete from f_setfg");
        frame->mnudataroom_Click();
        auto *room = lastWindow<frmdataroom>();
        QCOMPARE(room->lbllunks[1]->text(), QString("お客様のデータベースが壊れています"));
        QCOMPARE(room->lbllunks[2]->text(), QString("ランキングを表示できません"));
        QCOMPARE(room->grid(0).cols(), 10);
        QCOMPARE(room->grid(0).text(2, 8), QString("11R"));
        QCOMPARE(room->grid(0).text(2, 9), QString(" 3R"));
    }
};

QTEST_MAIN(TestDataRoomWindow)
#include "tst_frmdataroom.moc"
