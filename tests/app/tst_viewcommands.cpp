// Every view command of the main window, from its menu item, its access key
// in the open 表示 menu and its toolbar button, on a registered generated
// meeting: each opens a new window of its kind with the selection's context
// and caption, filled from the database.

#include "app/ui/viewerwindow.h"
#include "racedetails/ui/frmyosodisp.h"
#include "support/fixtures.h"
#include "support/gridshown.h"
#include "support/windowtest.h"

#include <QLabel>
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
    void everyWayOpensItsWindow_data();
    void everyWayOpensItsWindow();
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

QTEST_MAIN(TestViewCommands)
#include "tst_viewcommands.moc"
