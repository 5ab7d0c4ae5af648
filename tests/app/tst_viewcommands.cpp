// Every view command of the main window, from its menu item, its access key
// in the open 表示 menu and its toolbar button, on a registered generated
// meeting: each opens a new window of its kind with the selection's context
// and caption, filled from the database.

#include "app/ui/frmmainmenu.h"
#include "app/ui/viewerwindow.h"
#include "common/modkelmon.h"
#include "platform/gridmodel.h"
#include "platform/messages.h"
#include "platform/ui/gridview.h"
#include "racedetails/ui/frmyosodisp.h"
#include "registration/registerarchive.h"
#include "samplepaper/samplepaper.h"
#include "support/gridshown.h"
#include "support/testenv.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace kelmon;

namespace {

// The venue, meeting dates and day the test selects: 江戸川, the third day.
constexpr int kVenue = 3;
const QDate kFirstDay(2026, 11, 1);

struct Command {
    const char *item;
    int button;
    Qt::Key key;
    const char *window;    // class name of the window it opens
    const char *caption;   // the caption it opens with
    const char *datescnt;  // the day of the new window's context
    const char *racesno;
};

const Command kCommands[] = {
    {"mnuraceinfo", 11, Qt::Key_I, "frmraceinfo", "レース情報を表示しています...  (江戸川 26/11/03  1R)", "3", "1"},
    {"mnuraceyoso", 12, Qt::Key_E, "frmyosodisp", "レース予想を表示しています...  (江戸川 26/11/03  1R)", "3", "1"},
    // The newest result before the selected day: day 2, its first race.
    {"mnuracerest", 13, Qt::Key_R, "frmracerest", "レース結果を表示しています...  (江戸川 26/11/02  1R)", "2", "1"},
    {"mnuracer", 14, Qt::Key_T, "frmracerlist", "選手情報を一覧表示しています...  (江戸川 26/11/03)", "3", "1"},
    {"mnumotor", 15, Qt::Key_M, "frmmotorlist", "モーター情報を一覧表示しています...  (江戸川 26/11/03)", "3", "1"},
    {"mnuboats", 16, Qt::Key_B, "frmboatslist", "ボート情報を一覧表示しています...  (江戸川 26/11/03)", "3", "1"},
    {"mnudataroom", 17, Qt::Key_D, "frmdataroom", "データルームを表示しています...  (江戸川 26/11/03)", "3", "1"},
};

} // namespace

class TestViewCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyWayOpensItsWindow_data();
    void everyWayOpensItsWindow();

private:
    std::unique_ptr<test::ProgramFolder> folder_;
    std::unique_ptr<frmmainmenu> frame_;
};

void TestViewCommands::initTestCase()
{
    folder_ = std::make_unique<test::ProgramFolder>();
    SamplePaperOptions options;
    options.venue = kVenue;
    options.date = kFirstDay;
    options.day = 1;
    options.meetingDays = 6;
    QString error;
    const QStringList names = writeSamplePapers(folder_->file("receive"), options, 3, &error);
    QVERIFY2(names.size() == 3, qPrintable(error));
    for (const QString &name : names)
        QVERIFY(register_archive(folder_->file("receive/" + name)).registered);
    for (const QString &name : names)
        QFile::remove(folder_->file("receive/" + name));
    frame_ = std::make_unique<frmmainmenu>();
    frame_->resize(1200, 900);
    frame_->show();
    frame_->firstActivation();
    frame_->mnukyosocodesub_Click(kVenue - 1);
    QCOMPARE(frame_->headerLabel("lbldate")->text(), QString("26/11/03"));
}

void TestViewCommands::cleanupTestCase()
{
    if (frame_)
        frame_->mdiArea()->closeAllSubWindows();
    frame_.reset();
    folder_.reset();
}

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
    MainMenus &menus = frame_->menus();
    QAction *item = menus.action(c.item);
    QVERIFY(item);
    QVERIFY2(item->isEnabled(), c.item);
    QVERIFY(menus.button(c.button)->isEnabled());
    const int before = int(frame_->mdiArea()->subWindowList().size());
    switch (way) {
    case 0:
        item->trigger();
        break;
    case 1: {
        QMenu *view = menus.menu("mnumenu");
        view->popup(frame_->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QTest::keyClick(view, c.key);
        break;
    }
    case 2:
        menus.button(c.button)->trigger();
        break;
    }
    QTRY_COMPARE(int(frame_->mdiArea()->subWindowList().size()), before + 1);
    QMdiSubWindow *sub = frame_->mdiArea()->subWindowList(QMdiArea::CreationOrder).last();
    auto *viewer = qobject_cast<ViewerWindow *>(sub->widget());
    QVERIFY(viewer);
    QVERIFY2(QString(viewer->metaObject()->className()).endsWith(c.window), viewer->metaObject()->className());
    QCOMPARE(viewer->windowTitle(), QString(c.caption));
    QCOMPARE(viewer->context().kyosocode, QString::number(kVenue));
    QCOMPARE(viewer->context().datescnt, QString(c.datescnt));
    QCOMPARE(viewer->context().racesno, QString(c.racesno));
    QVERIFY(!viewer->context().setuscode.isEmpty() && viewer->context().setuscode != "0");
    viewer->activateFirstTime();
    QVERIFY(folder_->exits().empty());
    // The predictions show their power indices on request.
    if (auto *yoso = qobject_cast<racedetails::frmyosodisp *>(viewer)) {
        QVERIFY(std::any_of(yoso->lblsunpyo.begin(), yoso->lblsunpyo.end(),
                            [](const QLabel *l) { return !l->text().trimmed().isEmpty(); }));
        yoso->cmdpowdisp->click();
    }
    QVERIFY2(test::gridShowsData(viewer), c.window);
    sub->close();
}

QTEST_MAIN(TestViewCommands)
#include "tst_viewcommands.moc"
