// Every view command of the main window, from its menu item, its access key
// in the open 表示 menu and its toolbar button, on a registered generated
// meeting: each opens a new window of its kind with the selection's context
// and caption, filled from the database.

#include "app/ui/viewerwindow.h"
#include "platform/messages.h"
#include "racedetails/ui/frmyosodisp.h"
#include "support/fixtures.h"
#include "support/gridshown.h"
#include "support/windowtest.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

using namespace kelmon;

namespace {

// The last venue in the list, whose name is written with a blank: 大　村.
constexpr int kVenue = 24;

struct Command {
    const char *item;
    int button;
    Qt::Key key;
    const char *tip;       // the toolbar button's tool tip
    const char *window;    // class name of the window it opens
    const char *caption;   // the caption it opens with
    const char *datescnt;  // the day of the new window's context
};

const Command kCommands[] = {
    {"mnuraceinfo", 11, Qt::Key_I, "レース情報を表示します", "frmraceinfo",
     "レース情報を表示しています...  (大村 26/11/03  1R)", "3"},
    {"mnuraceyoso", 12, Qt::Key_E, "レース予想を表示します", "frmyosodisp",
     "レース予想を表示しています...  (大村 26/11/03  1R)", "3"},
    // The newest result before the selected day: day 2, its first race.
    {"mnuracerest", 13, Qt::Key_R, "前日のレース結果を表示します", "frmracerest",
     "レース結果を表示しています...  (大村 26/11/02  1R)", "2"},
    {"mnuracer", 14, Qt::Key_T, "選手情報を表示します", "frmracerlist",
     "選手情報を一覧表示しています...  (大村 26/11/03)", "3"},
    {"mnumotor", 15, Qt::Key_M, "モーター情報を表示します", "frmmotorlist",
     "モーター情報を一覧表示しています...  (大村 26/11/03)", "3"},
    {"mnuboats", 16, Qt::Key_B, "ボート情報を表示します", "frmboatslist",
     "ボート情報を一覧表示しています...  (大村 26/11/03)", "3"},
    {"mnudataroom", 17, Qt::Key_D, "データルームを表示します", "frmdataroom",
     "データルームを表示しています...  (大村 26/11/03)", "3"},
};

} // namespace

class TestViewCommands : public test::WindowTest {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::ProgramFolder>();
        QVERIFY(test::registerSamplePapers(*folder, kVenue, QDate(2026, 11, 1), 1, 3));
        showMain(kVenue);
        QCOMPARE(frame->headerLabel("lbldate")->text(), QString("26/11/03"));
        QCOMPARE(frame->headerLabel("lblkyosocode")->text(), QString("大　村"));
    }
    void cleanupTestCase() { closeMain(); }
    void cleanup();
    void everyWayOpensItsWindow_data();
    void everyWayOpensItsWindow();
    void viewMenuKeyInEveryState();
    void formatMenuBetweenViewAndWindow();
    void childWindowKeys();
    void headerButtonsTakeTabFocus();
    void tabCycleReachesEveryStop_data();
    void tabCycleReachesEveryStop();
    void closingActivatesThePreviousChild();

private:
    // A race card, a racer list and an almanac, each activated once; the almanac is active.
    QList<QMdiSubWindow *> openChildren();
    // Alt+V on the frame: the menu it opened, closed again.
    QMenu *altV();
};

void TestViewCommands::everyWayOpensItsWindow_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("way");   // 0 menu item, 1 access key, 2 toolbar button
    for (int c = 0; c < int(std::size(kCommands)); ++c)
        for (int way = 0; way < 3; ++way)
            QTest::addRow("%s %s", kCommands[c].item, way == 0 ? "menu" : way == 1 ? "key" : "button") << c << way;
}

void TestViewCommands::everyWayOpensItsWindow()
{
    QFETCH(int, command);
    QFETCH(int, way);
    const Command &c = kCommands[command];
    MainMenus &menus = frame->menus();
    QAction *item = menus.action(c.item);
    QVERIFY2(item->isEnabled(), c.item);
    QAction *button = menus.button(c.button);
    QVERIFY(button->isEnabled() && button->isVisible());
    QCOMPARE(button->toolTip(), QString(c.tip));
    const int before = int(frame->mdiArea()->subWindowList().size());
    if (way == 0) {
        item->trigger();
    } else if (way == 1) {
        QMenu *view = menus.menu("mnumenu");
        view->popup(frame->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QTest::keyClick(view, c.key);
    } else {
        button->trigger();
    }
    QTRY_COMPARE(int(frame->mdiArea()->subWindowList().size()), before + 1);
    auto *viewer = lastWindow<ViewerWindow>();
    QVERIFY(viewer);
    QVERIFY2(QString(viewer->metaObject()->className()).endsWith(c.window), viewer->metaObject()->className());
    QCOMPARE(viewer->windowTitle(), QString(c.caption));
    QCOMPARE(viewer->context().kyosocode, QString::number(kVenue));
    QCOMPARE(viewer->context().datescnt, QString(c.datescnt));
    QCOMPARE(viewer->context().racesno, QString("1"));
    if (auto *yoso = qobject_cast<racedetails::frmyosodisp *>(viewer))
        yoso->cmdpowdisp->click();   // its grid shows on request
    QVERIFY2(test::gridShowsData(viewer), c.window);
    viewer->parentWidget()->close();
}

QList<QMdiSubWindow *> TestViewCommands::openChildren()
{
    frame->mnuraceinfo_Click();
    frame->mnuracer_Click();
    frame->cmdkoyomi_Click();
    const QList<QMdiSubWindow *> children = frame->mdiArea()->subWindowList();
    for (QMdiSubWindow *child : children) {
        frame->mdiArea()->setActiveSubWindow(child);
        qobject_cast<ViewerWindow *>(child->widget())->activateFirstTime();
    }
    frame->activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(frame.get());
    return children;
}

// No child windows outlive a test, not even a failed one.
void TestViewCommands::cleanup()
{
    frame->mdiArea()->closeAllSubWindows();
    QTRY_VERIFY(frame->mdiArea()->subWindowList().isEmpty());
}

QMenu *TestViewCommands::altV()
{
    QTest::keyClick(frame.get(), Qt::Key_V, Qt::AltModifier);
    auto *open = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (open)
        QTest::keyClick(open, Qt::Key_Escape);
    if (open && frame->menuBar()->hasFocus())
        QTest::keyClick(frame->menuBar(), Qt::Key_Escape);   // leaves the bar too
    frame->activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(frame.get());
    return open;
}

// Two presses of Alt+V open the view menu twice, unless the race card is
// active: then its format menu shares the key and takes every second press.
void TestViewCommands::viewMenuKeyInEveryState()
{
    QMenu *view = frame->menus().menu("mnumenu");
    const QSet<QMenu *> viewOnly{view}, both{view, frame->menus().menu("mnudisp")};
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame.get()));
    QCOMPARE((QList<QMenu *>{altV(), altV()}), (QList<QMenu *>{view, view}));
    const QList<QMdiSubWindow *> children = openChildren();
    for (int active : {2, 0, 1}) {   // the almanac, the race card, the racer list
        frame->mdiArea()->setActiveSubWindow(children[active]);
        QCOMPARE((QSet<QMenu *>{altV(), altV()}), active == 0 ? both : viewOnly);
    }
}

// The race card's format menu stands between the view and window menus
// whenever the card is active, also each time it comes back after another child.
void TestViewCommands::formatMenuBetweenViewAndWindow()
{
    QStringList plain = {"ファイル(&F)", "表示(&V)", "ウインドウ(&W)", "ヘルプ(&H)"}, withCard = plain;
    withCard.insert(2, "レース情報の形式(&V)");
    const QList<QMdiSubWindow *> children = openChildren();   // the race card, the racer list, the almanac
    for (int active : {0, 2, 0, 1, 0}) {
        frame->mdiArea()->setActiveSubWindow(children[active]);
        QStringList shown;
        for (const QAction *a : frame->menuBar()->actions())
            if (a->isVisible())
                shown << a->text();
        QCOMPARE(shown, active == 0 ? withCard : plain);
    }
}

// Ctrl+W stays the download's key in every child; Ctrl+F6 and Ctrl+Shift+F6
// go to the next and previous child, Alt+minus opens the active child's
// system menu and Ctrl+F4 closes the active child.
void TestViewCommands::childWindowKeys()
{
    QAction *download = frame->menus().action("mnudownload");
    QVERIFY(disconnect(download, &QAction::triggered, frame.get(), nullptr));   // counted instead of run
    int downloads = 0;
    const QMetaObject::Connection counter = connect(download, &QAction::triggered, this, [&] { ++downloads; });
    const QList<QMdiSubWindow *> children = openChildren();
    QMdiArea *area = frame->mdiArea();
    for (QMdiSubWindow *child : children) {
        area->setActiveSubWindow(child);
        QTest::keyClick(frame.get(), Qt::Key_W, Qt::ControlModifier);
    }
    disconnect(counter);
    connect(download, &QAction::triggered, frame.get(), &frmmainmenu::mnudownload_Click);
    QCOMPARE(downloads, 3);
    QCOMPARE(area->subWindowList(), children);

    area->setActiveSubWindow(children[0]);
    for (const auto &[modifiers, reached] : {std::pair{Qt::KeyboardModifiers(Qt::ControlModifier), 1},
                                            {Qt::ControlModifier, 2}, {Qt::ControlModifier | Qt::ShiftModifier, 1}}) {
        QTest::keyClick(frame.get(), Qt::Key_F6, modifiers);
        QCOMPARE(area->activeSubWindow(), children[reached]);
    }
    QTest::keyClick(frame.get(), Qt::Key_Minus, Qt::AltModifier);
    QTRY_VERIFY(children[1]->systemMenu()->isVisible());
    children[1]->systemMenu()->hide();
    QTest::keyClick(frame.get(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_COMPARE(area->subWindowList(), (QList<QMdiSubWindow *>{children[0], children[2]}));
}

// Tab goes from the active child's controls on to the header's buttons and
// from the last one back into the child; a click on a header button leaves
// the focus in the child; Shift+Tab goes back.
void TestViewCommands::headerButtonsTakeTabFocus()
{
    QMdiSubWindow *list = openChildren()[1];
    frame->mdiArea()->setActiveSubWindow(list);
    QVERIFY(list->isAncestorOf(QApplication::focusWidget()));
    const auto tab = [](Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        return QApplication::focusWidget();
    };
    auto *koyomi = frame->findChild<QPushButton *>("cmdkoyomi");
    QWidget *first = frame->findChild<QPushButton *>("cmdnext_0");
    for (int press = 0; press < 20 && QApplication::focusWidget() != first; ++press)
        tab();
    QCOMPARE(QApplication::focusWidget(), first);
    tab();
    QCOMPARE(tab(), koyomi);
    QWidget *inChild = tab();
    QVERIFY(list->isAncestorOf(inChild));
    QCOMPARE(frame->mdiArea()->activeSubWindow(), list);
    ScriptedMessages box;
    QTest::mouseClick(frame->findChild<QPushButton *>("cmdnext_1"), Qt::LeftButton);
    QCOMPARE(box.texts(), QStringList{"それ以降のデジタル紙面は有りません"});
    QCOMPARE(QApplication::focusWidget(), inChild);
    QCOMPARE(tab(Qt::ShiftModifier), koyomi);
}

void TestViewCommands::tabCycleReachesEveryStop_data()
{
    QTest::addColumn<QList<int>>("opened");   // the windows opened, in turn (ViewerKind)
    QTest::addColumn<int>("state");           // of the last one: 0 as opened, 1 minimized, 2 maximized
    QTest::addColumn<bool>("cardActive");     // Ctrl+F6 on to the first window, the card, afterwards
    QTest::addColumn<QString>("cycle");       // one round of Tab from the header's first button
    const int card = int(ViewerKind::RaceCard), yoso = int(ViewerKind::Predictions),
              almanac = int(ViewerKind::Almanac), zenso = int(ViewerKind::PreviousRuns);
    const QString header = "cmdnext_0 cmdnext_1 cmdkoyomi";
    QTest::newRow("minimized child active beside a card") << QList{card, yoso} << 1 << false << header;
    QTest::newRow("card active beside a minimized child")
        << QList{card, yoso} << 1 << true << header + " imcracesno cmddeme cmdyosodisp mfgf_wakus";
    QTest::newRow("minimized child alone") << QList{yoso} << 1 << false << header;
    // A child without controls is one stop itself.
    QTest::newRow("almanac alone") << QList{almanac} << 0 << false << header + " frmkoyomi";
    QTest::newRow("almanac maximized beside a card") << QList{card, almanac} << 2 << false << header + " frmkoyomi";
    QTest::newRow("previous runs beside a card") << QList{card, zenso} << 0 << false << header + " frmzensodisp";
}

// Tab walks one round of the header's buttons and the active child's
// controls (the child itself where it has none), each once, again and
// again, and Shift+Tab walks it back; a minimized child or what it holds is
// never reached. From outside the round (a minimized child holding the
// focus) Tab enters it at its first stop and Shift+Tab at its last.
void TestViewCommands::tabCycleReachesEveryStop()
{
    QFETCH(QList<int>, opened);
    QFETCH(int, state);
    QFETCH(bool, cardActive);
    QFETCH(QString, cycle);
    QMdiArea *area = frame->mdiArea();
    for (int kind : opened)
        frame->openViewer(ViewerKind(kind), "窓", CaptionTail::DateRace);
    lastWindow<ViewerWindow>();
    QMdiSubWindow *first = area->subWindowList().first(), *last = area->subWindowList().last();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame.get()));
    if (state == 1) {
        QTest::keyClick(frame.get(), Qt::Key_Minus, Qt::AltModifier);   // the system menu's 最小化(&N)
        QTRY_VERIFY(last->systemMenu()->isVisible());
        QTest::keyClick(last->systemMenu(), Qt::Key_N);
        QTRY_VERIFY(last->isMinimized());
    } else if (state == 2) {
        last->showMaximized();
    }
    if (cardActive)
        QTest::keyClick(frame.get(), Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(area->activeSubWindow(), cardActive ? first : last);
    const auto press = [](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        return QApplication::focusWidget();
    };
    const auto walk = [&](Qt::KeyboardModifiers modifiers) {
        QList<QWidget *> reached;
        while (reached.size() < 24)
            reached << press(modifiers);
        return reached;
    };
    const QList<QWidget *> forth = walk({}), back = walk(Qt::ShiftModifier);
    const qsizetype round = QSet<QWidget *>(forth.begin(), forth.end()).size();
    QStringList names;
    for (qsizetype i = 0; i < forth.size(); ++i) {
        QVERIFY(forth[i]);
        QCOMPARE(forth[i], forth[i % round]);
        if (i + 1 < back.size())
            QCOMPARE(back[i], forth[forth.size() - 2 - i]);
        names << forth[i]->objectName();
    }
    QCOMPARE(names.mid(names.indexOf("cmdnext_0"), round).join(' '), cycle);
    if (last->isMinimized() && !cardActive) {
        const QStringList stops = cycle.split(' ');
        for (const auto &[modifiers, entry] : {std::pair{Qt::KeyboardModifiers(), stops.first()},
                                               {Qt::ShiftModifier, stops.last()}}) {
            last->setFocus();
            QCOMPARE(QApplication::focusWidget(), last);
            QCOMPARE(press(modifiers)->objectName(), entry);
        }
    }
}

// Closing the active child activates the one active before it, whatever
// order they were opened in, and so its menus; Ctrl+F6 still goes through
// every child in the order they were opened, a minimized one too.
void TestViewCommands::closingActivatesThePreviousChild()
{
    const QList<QMdiSubWindow *> children = openChildren();   // the race card, the racer list, the almanac
    QMdiArea *area = frame->mdiArea();
    const auto activate = [&](std::initializer_list<int> order) {
        for (int i : order)
            area->setActiveSubWindow(children[i]);
    };
    children[0]->showMinimized();
    activate({0, 2, 1});
    for (int reached : {2, 0, 1}) {
        QTest::keyClick(frame.get(), Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(area->activeSubWindow(), children[reached]);
    }
    QMenu *format = frame->menus().menu("mnudisp");
    activate({2, 0, 1});
    for (int reached : {0, 2}) {
        QTest::keyClick(frame.get(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(area->activeSubWindow(), children[reached]);
        QCOMPARE(format->menuAction()->isVisible(), reached == 0);
    }
    QTest::keyClick(frame.get(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_VERIFY(area->subWindowList().isEmpty());
}

QTEST_MAIN(TestViewCommands)
#include "tst_viewcommands.moc"
