// The list windows, the data room, the points table and the racer detail
// inside the main window: their openers, captions and context, and one popup
// path of each.

#include "app/ui/frmmainmenu.h"
#include "app/ui/mainmenus.h"
#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "common/settingsrow.h"
#include "lists/helpers/listfixture.h"
#include "lists/ui/frmdataroom.h"
#include "lists/ui/frmracerdisp.h"
#include "lists/ui/frmracerlist.h"
#include "lists/ui/frmtokhmlist.h"
#include "platform/messages.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kVenue = 12;   // 住之江
constexpr int kSetus = 1234;
constexpr int kDay = 2;

void row(const char *table, std::initializer_list<test::Field> fields)
{
    test::insertDayRow(table, kSetus, kDay, fields);
}

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
    // A click on the current cell; true when the menu popped up.
    bool popsUp(const char *menu, const std::function<void()> &click)
    {
        QMenu *popup = frame->menus().menu(menu);
        popup->hide();
        click();
        const bool shown = popup->isVisible();
        popup->hide();
        return shown;
    }
    QAction *item(const char *menu, int i) const
    {
        return frame->menus().action(QStringLiteral("%1sub_%2").arg(QLatin1String(menu)).arg(i));
    }
    frmracerdisp *racerDetail(const QString &tourokuno)
    {
        ViewerWindow *w = createViewer(ViewerKind::RacerDetail);
        ViewerContext c;
        c.setuscode = QString::number(kSetus);
        c.tourokuno = tourokuno;
        w->setContext(c);
        showViewer(frame->mdiArea(), w);
        return lastWindow<frmracerdisp>();
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        read_m_kanri();
        test::insertPaperDay(kVenue, kSetus, kDay, "20011225");
        row("f_racer", {{"tourokuno", 3100}, {"sensyname", "鈴木一郎"}, {"hayami_1", 5}});
        row("f_racer", {{"tourokuno", 4012}, {"sensyname", "山田太郎"}, {"hayami_1", 2}, {"hayami_2", 11}});
        row("f_motor", {{"motorno", 7}, {"sensyname", "山田太郎"}, {"tourokuno", 4012}});
        row("f_motor", {{"motorno", 8}});
        row("f_boats", {{"boatsno", 41}});
        row("f_lunks", {{"lunkscode", 1}, {"tourokuno", 3100}, {"sensyname", "鈴木一郎"}, {"hayami_1", 11}, {"hayami_2", 3}});
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

    // Menu command and toolbar button each open a new window of the day.
    void openers_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("menu");   // the popup menu of its (first) grid
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("rows");
        const QString day = "  (住之江 01/12/25)";
        QTest::newRow("racers") << "mnuracer" << 14 << "mnurs" << "選手情報を一覧表示しています..." + day << 4;
        QTest::newRow("motors") << "mnumotor" << 15 << "mnumt" << "モーター情報を一覧表示しています..." + day << 3;
        QTest::newRow("boats") << "mnuboats" << 16 << "mnubt" << "ボート情報を一覧表示しています..." + day << 2;
        QTest::newRow("data room") << "mnudataroom" << 17 << "mnul2" << "データルームを表示しています..." + day << 3;
    }
    void openers()
    {
        QFETCH(QString, command);
        QFETCH(int, button);
        QFETCH(QString, menu);
        frame->menus().action(command)->trigger();
        frame->menus().button(button)->trigger();
        QCOMPARE(int(frame->mdiArea()->subWindowList().size()), 2);
        auto *w = lastWindow<ViewerWindow>();
        QTEST(w->windowTitle(), "caption");
        QCOMPARE(w->context().setuscode, QString::number(kSetus));
        QTEST(w->popupGrid(menu)->rows(), "rows");
        // The race card's format menu is hidden while a list is active.
        QVERIFY(!frame->menus().menu("mnudisp")->menuAction()->isVisible());
    }

    // The race card of a race cell comes from the list's own day, whatever
    // the main window shows by then.
    void racerListRaceCard()
    {
        frame->mnuracer_Click();
        auto *list = lastWindow<frmracerlist>();
        GridModel &g = *list->popupGrid("mnurs");
        g.setRow(2);   // 鈴木一郎: race 5 in the first half
        g.setCol(16);
        QVERIFY(!popsUp("mnurs", [&] { list->gridMouseDown(2, 16, Qt::LeftButton, QPoint(10, 10)); }));
        QVERIFY(popsUp("mnurs", [&] { list->gridMouseDown(2, 16, Qt::RightButton, QPoint(10, 10)); }));
        frame->mnukyosocodesub_Click(0);
        ScriptedMessages box;
        item("mnurs", 5)->trigger();
        auto *card = frame->mdiArea()->subWindowList().last()->widget();
        QCOMPARE(card->objectName(), QString("frmraceinfo"));
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25  5R)"));
    }

    // A semi-final ranking's frame cell opens the race card of the race to its left.
    void dataRoomRaceCard()
    {
        modkelmon::exec("update f_setfg set lunksflag = 3");
        frame->mnudataroom_Click();
        auto *room = lastWindow<frmdataroom>();
        QCOMPARE(room->lbllunks[0]->text(), QString("準優がけ ベスト１２"));
        room->grid(0).setRow(2);
        room->grid(0).setCol(9);
        QVERIFY(popsUp("mnul2", [&] { room->mfgdr_MouseDown(0, Qt::RightButton, QPoint()); }));
        item("mnul2", 5)->trigger();
        auto *card = lastWindow<ViewerWindow>();
        QCOMPARE(card->objectName(), QString("frmraceinfo"));
        QCOMPARE(card->context().racesno, QString("11"));
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25 11R)"));
    }

    // The points standing's button opens the points table of the room's day.
    void pointsTable()
    {
        row("f_tokhm", {{"tokujun_ks", 1}, {"sensyname", "鈴木一郎"}, {"tokuritu_ks", 6.5}, {"tokhm_k1z1", 7.25}});
        modkelmon::exec("update f_setus set bordrcnt = 6");
        modkelmon::exec("update f_setfg set lunksflag = 2");
        frame->mnudataroom_Click();
        auto *room = lastWindow<frmdataroom>();
        room->cmdtokhmlist->click();
        auto *points = lastWindow<frmtokhmlist>();
        QVERIFY(points);
        QCOMPARE(points->windowTitle(), QString("得点早見表を表示しています...  (住之江 01/12/25)"));
        QCOMPARE(points->context().racesno, QString("1"));
        QCOMPARE(points->lblbordrcnt[0]->text(), QString("6.00"));
        QCOMPARE(points->blocks().text(1, 1), QString("7.25"));
    }

    // The racer detail shows header, photo and results and pops up its menu;
    // without an f_racer row only the number and the header row, and a photo
    // that is no GIF is not shown.
    void racerDetailWindow()
    {
        row("f_racer", {{"tourokuno", 12}, {"sensyname", "佐藤"}, {"tourokuki", 99}, {"adress", 40}});
        test::insertDayRow("f_restb", kSetus, 1, {{"racesno", 4}, {"wakusno", 3}, {"tourokuno", 12}, {"cyakucode", 2}});
        QDir().mkpath(photoFolder());
        for (const auto &[file, content] : {std::pair{"0012.gif", racerPhotoGif(12)},
                                            std::pair{"0055.gif", QByteArray("\x89PNG\r\n\x1a\n not a gif")}}) {
            QFile photo(QDir(photoFolder()).filePath(file));
            QVERIFY(photo.open(QIODevice::WriteOnly) && photo.write(content) == content.size());
        }
        auto *detail = racerDetail("12");
        QCOMPARE(detail->lbltourokuno_x[1]->text(), QString("0012"));
        QCOMPARE(detail->lblmemo[0]->text(), QString("99期 福岡"));
        QVERIFY(!detail->imaPhoto->pixmap().isNull());
        QCOMPARE(detail->grid().text(1, 3), QString("２着"));
        detail->popupGrid("mnurd")->setCol(9);
        QVERIFY(popsUp("mnurd", [&] { detail->mfgf_restb_MouseDown(1, 9, Qt::RightButton, QPoint(10, 10)); }));
        QVERIFY(!item("mnurd", 0)->isEnabled());

        detail = racerDetail("55");
        QCOMPARE(detail->lbltourokuno_x[0]->text(), QString("0055"));
        QCOMPARE(detail->lblsensyname_x[0]->text(), QString());
        QCOMPARE(detail->grid().rows(), 1);
        QCOMPARE(detail->grid().text(0, 9), QString("減点"));
        QVERIFY(detail->imaPhoto->pixmap().isNull());
        QVERIFY(!popsUp("mnurd", [&] { detail->mfgf_restb_MouseDown(0, 0, Qt::RightButton, QPoint(10, 10)); }));
    }
};

QTEST_MAIN(TestListWindows)
#include "tst_listwindows.moc"
