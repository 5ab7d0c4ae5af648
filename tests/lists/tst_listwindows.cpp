// The racer, motor and boat lists and the racer detail inside the main
// window: opened by the menu commands and toolbar buttons, captions from
// their parts, right-clicks that enable the popup items, and the popup
// commands that open the racer detail and the race card.

#include "app/ui/frmmainmenu.h"
#include "app/ui/mainmenus.h"
#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "common/textforms.h"
#include "common/settingsrow.h"
#include "lists/ui/frmmachinelist.h"
#include "lists/ui/frmracerdisp.h"
#include "lists/ui/frmracerlist.h"
#include "platform/messages.h"
#include "platform/ui/gridview.h"
#include "racecard/ui/frmraceinfo.h"
#include "samplepaper/samplepaper.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kVenue = 12;   // 住之江
constexpr int kSetus = 1234;
constexpr int kDay = 2;

} // namespace

class TestListWindows : public QObject {
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
    int windowCount() const { return int(frame->mdiArea()->subWindowList().size()); }

    // A right-click on the current cell; true when the menu popped up.
    bool rightClick(const QString &menu, const std::function<void()> &click)
    {
        QMenu *popup = frame->menus().menu(menu);
        popup->hide();
        click();
        const bool shown = popup->isVisible();
        popup->hide();
        return shown;
    }
    QAction *item(const QString &menu, int i) const
    {
        return frame->menus().action(QStringLiteral("%1sub_%2").arg(menu).arg(i));
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        read_m_kanri();
        test::insertPaperDay(kVenue, kSetus, kDay, "20011225");
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 3100},
                                    {"sensyname", "鈴木一郎"}, {"hayami_1", 5}, {"hayami_2", 0}});
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 4012},
                                    {"sensyname", "山田太郎"}, {"hayami_1", 2}, {"hayami_2", 11}});
        test::insertRow("f_motor", {{"setuscode", kSetus}, {"datescnt", kDay}, {"motorno", 7}, {"firsttime", 1493},
                                    {"sensyname", "山田太郎"}, {"tourokuno", 4012}});
        test::insertRow("f_motor", {{"setuscode", kSetus}, {"datescnt", kDay}, {"motorno", 8}, {"firsttime", 0}});
        test::insertRow("f_motor", {{"setuscode", kSetus}, {"datescnt", kDay}, {"motorno", 9}, {"firsttime", 1500},
                                    {"sensyname", "鈴木一郎"}, {"tourokuno", 3100}});
        test::insertRow("f_boats", {{"setuscode", kSetus}, {"datescnt", kDay}, {"boatsno", 41}});
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

    // Menu commands and toolbar buttons 14 to 16 open a new list each time.
    void openers_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("rows");
        QTest::newRow("racers") << "mnuracer" << 14 << "frmracerlist" << "選手情報を一覧表示しています...  (住之江 01/12/25)"
                                << 4;
        QTest::newRow("motors") << "mnumotor" << 15 << "frmmotorlist"
                                << "モーター情報を一覧表示しています...  (住之江 01/12/25)" << 4;
        QTest::newRow("boats") << "mnuboats" << 16 << "frmboatslist" << "ボート情報を一覧表示しています...  (住之江 01/12/25)"
                               << 2;
    }
    void openers()
    {
        QFETCH(QString, command);
        QFETCH(int, button);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(int, rows);
        QAction *menuItem = frame->menus().action(command);
        QVERIFY(menuItem->isEnabled());
        QVERIFY(frame->menus().button(button)->isEnabled());
        menuItem->trigger();
        frame->menus().button(button)->trigger();
        QCOMPARE(windowCount(), 2);
        auto *list = lastWindow<ListWindow>();
        QVERIFY(list);
        QCOMPARE(list->objectName(), window);
        QCOMPARE(list->windowTitle(), caption);
        QCOMPARE(list->grid().rows(), rows);
        QCOMPARE(list->context().setuscode, QString::number(kSetus));
        // The race-card format menu is hidden while a list is active.
        QVERIFY(!frame->menus().menu("mnudisp")->menuAction()->isVisible());
    }

    // Racer list: the race card of a race cell, from the list's own context.
    void racerListRaceCard()
    {
        frame->mnuracer_Click();
        auto *list = lastWindow<frmracerlist>();
        GridModel &g = *list->popupGrid("mnurs");
        g.setRow(2);   // 鈴木一郎: race 5 in the first half
        g.setCol(0);
        QVERIFY(!rightClick("mnurs", [&] { list->gridMouseDown(2, 0, Qt::RightButton, QPoint(10, 10)); }));
        g.setCol(16);
        QVERIFY(!rightClick("mnurs", [&] { list->gridMouseDown(2, 16, Qt::LeftButton, QPoint(10, 10)); }));
        QVERIFY(rightClick("mnurs", [&] { list->gridMouseDown(2, 16, Qt::RightButton, QPoint(10, 10)); }));
        QVERIFY(item("mnurs", 5)->isEnabled());

        // The main window's selection moves on; the card keeps the list's day.
        frame->mnukyosocodesub_Click(0);
        ScriptedMessages box;
        item("mnurs", 5)->trigger();
        auto *card = frame->mdiArea()->subWindowList().last()->widget();
        QCOMPARE(card->objectName(), QString("frmraceinfo"));
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25  5R)"));
    }

    // The racer items of the racer list and the motor list open the racer detail.
    void racerItems()
    {
        frame->mnuracer_Click();
        auto *list = lastWindow<frmracerlist>();
        GridModel &g = *list->popupGrid("mnurs");
        g.setRow(3);
        g.setCol(6);
        QVERIFY(rightClick("mnurs", [&] { list->gridMouseDown(3, 6, Qt::RightButton, QPoint(10, 10)); }));
        QVERIFY(item("mnurs", 4)->isEnabled());
        item("mnurs", 4)->trigger();
        auto *detail = lastWindow<frmracerdisp>();
        QVERIFY(detail);
        QCOMPARE(detail->windowTitle(), QString("山田太郎 選手情報を表示しています..."));
        QCOMPARE(detail->context().tourokuno, QString("4012"));
        QCOMPARE(detail->context().datescnt, QString::number(kDay));
        QCOMPARE(detail->lbltourokuno_x[0]->text(), QString("4012"));
        QCOMPARE(detail->lblsensyname_x[1]->text(), QString("山田太郎"));

        frame->mnumotor_Click();
        auto *motors = lastWindow<frmmotorlist>();
        GridModel &m = *motors->popupGrid("mnumt");
        QVERIFY(!motors->popupGrid("mnubt"));
        m.setRow(2);   // motor 8 has no user
        m.setCol(3);
        QVERIFY(rightClick("mnumt", [&] { motors->gridMouseDown(2, 3, Qt::RightButton, QPoint(10, 10)); }));
        QVERIFY(!item("mnumt", 4)->isEnabled());
        m.setRow(3);
        m.setCol(0);
        QVERIFY(rightClick("mnumt", [&] { motors->gridMouseDown(3, 0, Qt::RightButton, QPoint(10, 10)); }));
        QVERIFY(item("mnumt", 4)->isEnabled());
        item("mnumt", 4)->trigger();
        detail = lastWindow<frmracerdisp>();
        QCOMPARE(detail->windowTitle(), QString("鈴木一郎 選手情報を表示しています..."));
        QCOMPARE(detail->context().tourokuno, QString("3100"));
    }

    // The best-time column averages the raw times in tenths of a second,
    // over the motors that have a time: 1.49.3 and 1.50.0 give 1.49.7 (rounded).
    void bestTimeAverage()
    {
        frame->mnumotor_Click();
        auto *motors = lastWindow<frmmotorlist>();
        GridModel &m = *motors->popupGrid("mnumt");
        m.setRow(1);
        m.setCol(4);
        ScriptedMessages box;
        item("mnumt", 2)->trigger();
        QCOMPARE(box.texts().size(), 1);
        QVERIFY2(box.texts().first().startsWith("平均値は 1.49.7 です"), qPrintable(box.texts().first()));
        QVERIFY2(box.texts().first().contains("件数 2件"), qPrintable(box.texts().first()));
    }

    // The racer detail: photo, results and the popup of its grid.
    void racerDetail()
    {
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", kDay}, {"tourokuno", 12},
                                    {"sensyname", "佐藤"}, {"tourokuki", 99}, {"adress", 40}});
        test::insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", 1}, {"racesno", 4}, {"wakusno", 3},
                                    {"tourokuno", 12}, {"cyakucode", 2}, {"tenjitime", 6.8}, {"starttime", 12}});
        test::insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", 1}, {"racesno", 4}, {"Date", "20011224"}});
        QDir().mkpath(photoFolder());
        QFile photo(QDir(photoFolder()).filePath("0012.gif"));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.write(racerPhotoGif(12));
        photo.close();

        ViewerWindow *w = createViewer(ViewerKind::RacerDetail);
        ViewerContext c;
        c.kyosocode = QString::number(kVenue);
        c.setuscode = QString::number(kSetus);
        c.datescnt = QString::number(kDay);
        c.date = "20011225";
        c.tourokuno = "12";
        w->setContext(c);
        w->setCaption("佐藤 選手情報を表示しています...", CaptionTail::None);
        showViewer(frame->mdiArea(), w);
        auto *detail = lastWindow<frmracerdisp>();
        QCOMPARE(detail->lbltourokuno_x[1]->text(), QString("0012"));
        QCOMPARE(detail->lblmemo[0]->text(), QString("99期 福岡"));
        QVERIFY(!detail->imaPhoto->pixmap().isNull());
        QCOMPARE(detail->grid().rows(), 2);
        QCOMPARE(detail->grid().text(1, 3), QString("２着"));
        QCOMPARE(detail->grid().text(1, 13), QString("20011224"));

        GridModel &g = *detail->popupGrid("mnurd");
        g.setCol(9);
        QVERIFY(rightClick("mnurd", [&] { detail->mfgf_restb_MouseDown(1, 9, Qt::RightButton, QPoint(10, 10)); }));
        QVERIFY(!item("mnurd", 0)->isEnabled());
        QVERIFY(!item("mnurd", 2)->isEnabled());
        QCOMPARE(item("mnurd", 4)->isEnabled(), hasViewer(ViewerKind::RaceResult));
        g.setCol(6);
        QVERIFY(rightClick("mnurd", [&] { detail->mfgf_restb_MouseDown(1, 6, Qt::RightButton, QPoint(10, 10)); }));
        QVERIFY(item("mnurd", 0)->isEnabled());
        QVERIFY(item("mnurd", 2)->isEnabled());
    }

    // The race card's racer item opens the racer detail of the row's boat.
    void raceCardRacerItem()
    {
        test::insertRow("f_races", {{"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", 1}});
        for (int f = 1; f <= 6; ++f)
            test::insertRow("f_wakus", {{"setuscode", kSetus}, {"datescnt", kDay}, {"racesno", 1}, {"wakusno", f},
                                        {"tourokuno", 4000 + f}, {"sensyname", QStringLiteral("選手%1").arg(f)}});
        frame->mnuraceinfo_Click();
        auto *card = lastWindow<racecard::frmraceinfo>();
        QVERIFY(card);
        const int row = 5 * 3 + 2;   // inside the third boat's rows
        GridModel &g = card->engine().grid();
        const int number = int(val(g.text(5 * 3, 4).left(4)));
        QVERIFY2(number >= 4001 && number <= 4006, qPrintable(g.text(5 * 3, 4)));
        g.setRow(row);
        g.setCol(4);
        QVERIFY(rightClick("mnuri", [&] { card->mfgf_wakus_MouseDown(row, 4, Qt::RightButton, QPoint(10, 10)); }));
        QVERIFY(item("mnuri", 7)->isEnabled());
        item("mnuri", 7)->trigger();
        auto *detail = lastWindow<frmracerdisp>();
        QVERIFY(detail);
        QCOMPARE(detail->context().tourokuno, QString::number(number));
        QCOMPARE(detail->context().racesno, QString("1"));
        QCOMPARE(detail->windowTitle(), QStringLiteral("選手%1 選手情報を表示しています...").arg(number - 4000));
    }

    // No f_racer row: the number, the header-only grid, no popup, no photo.
    void racerDetailWithoutRecord()
    {
        QDir().mkpath(photoFolder());
        QFile photo(QDir(photoFolder()).filePath("0055.gif"));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.write("\x89PNG\r\n\x1a\n not a gif");
        photo.close();
        ViewerWindow *w = createViewer(ViewerKind::RacerDetail);
        ViewerContext c;
        c.setuscode = QString::number(kSetus);
        c.tourokuno = "55";
        w->setContext(c);
        showViewer(frame->mdiArea(), w);
        auto *detail = lastWindow<frmracerdisp>();
        QCOMPARE(detail->lbltourokuno_x[0]->text(), QString("0055"));
        QCOMPARE(detail->lblsensyname_x[0]->text(), QString());
        QCOMPARE(detail->grid().rows(), 1);
        QCOMPARE(detail->grid().cols(), 14);
        QCOMPARE(detail->grid().text(0, 9), QString("減点"));
        QVERIFY(detail->imaPhoto->pixmap().isNull());
        QVERIFY(!rightClick("mnurd", [&] { detail->mfgf_restb_MouseDown(0, 0, Qt::RightButton, QPoint(10, 10)); }));
    }
};

QTEST_MAIN(TestListWindows)
#include "tst_listwindows.moc"
