// The list windows, the data room, the points table and the racer detail
// inside the main window: their openers, captions and context, and one popup
// path of each.

#include "app/ui/viewerfactory.h"
#include "common/programfolder.h"
#include "lists/helpers/listfixture.h"
#include "lists/ui/frmdataroom.h"
#include "lists/ui/frmracerdisp.h"
#include "lists/ui/frmracerlist.h"
#include "lists/ui/frmtokhmlist.h"
#include "lists/ui/listlabels.h"
#include "platform/messages.h"
#include "samplepaper/samplepaper.h"
#include "support/gridshown.h"
#include "support/textfit.h"
#include "support/windowtest.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kVenue = 12;   // 住之江
constexpr int kSetus = 1234;
constexpr int kDay = 2;
const QString kDay1225 = "  (住之江 01/12/25";

void row(const char *table, std::initializer_list<test::Field> fields)
{
    test::insertDayRow(table, kSetus, kDay, fields);
}

} // namespace

class TestListWindows : public test::WindowTest {
    Q_OBJECT

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
        test::insertPaperDay(kVenue, kSetus, kDay, "20011225");
        row("f_racer", {{"tourokuno", 3100}, {"sensyname", "鈴木一郎"}, {"hayami_1", 5}, {"tourokuki", 95},
                        {"Weight", 47}});
        row("f_racer", {{"tourokuno", 4012}, {"sensyname", "山田太郎"}, {"hayami_1", 2}, {"hayami_2", 11},
                        {"tourokuki", 80}, {"Weight", 52}});
        row("f_motor", {{"motorno", 7}, {"sensyname", "山田太郎"}, {"tourokuno", 4012}});
        row("f_motor", {{"motorno", 8}});
        row("f_boats", {{"boatsno", 41}});
        row("f_lunks", {{"lunkscode", 1}, {"tourokuno", 3100}, {"sensyname", "鈴木一郎"}, {"hayami_1", 11}, {"hayami_2", 3},
                        {"fukuritu", 30}});
        showMain(kVenue);
    }
    void cleanup() { closeMain(); }

    // A label designed one line high stays one line, widened for a longer
    // text; a taller one wraps within its width.
    void labelsFitTheirText()
    {
        QWidget parent;
        QFont font;
        font.setPixelSize(12);
        const QString text = QStringLiteral("優勝戦出場選手の一覧");
        const QLabel *one = lists::placeLabel(&parent, text, QRect(0, 0, 20, 12), font, {}, {});
        QVERIFY(!one->wordWrap() && one->width() >= QFontMetrics(font).horizontalAdvance(text));
        const QLabel *two = lists::placeLabel(&parent, text, QRect(0, 0, 20, 36), font, {}, {});
        QVERIFY(two->wordWrap() && two->width() == 20);
    }

    // Menu command and toolbar button each open a new window of the day.
    void openers_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("menu");   // the popup menu of its (first) grid
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("rows");
        QTest::newRow("racers") << "mnuracer" << 14 << "mnurs" << "選手情報を一覧表示しています..." + kDay1225 + ")" << 4;
        QTest::newRow("motors") << "mnumotor" << 15 << "mnumt" << "モーター情報を一覧表示しています..." + kDay1225 + ")" << 3;
        QTest::newRow("boats") << "mnuboats" << 16 << "mnubt" << "ボート情報を一覧表示しています..." + kDay1225 + ")" << 2;
        QTest::newRow("data room") << "mnudataroom" << 17 << "mnul2" << "データルームを表示しています..." + kDay1225 + ")" << 3;
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
    }

    // The keys keep the racer list's current cell off the heading rows, the
    // name column and the hidden column 43; the popup acts on the cell chosen.
    void keysMoveTheCurrentCell()
    {
        frame->mnuracer_Click();
        auto *list = lastWindow<frmracerlist>();
        GridView *view = list->view();
        test::clickCell(view, 2, 1);
        using test::pressKeys;
        QCOMPARE(pressKeys(view, {Qt::Key_Up, Qt::Key_Left}), QPoint(1, 2));
        QCOMPARE(pressKeys(view, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right}), QPoint(2, 3));
        QCOMPARE(pressKeys(view, {Qt::Key_End}), QPoint(42, 3));
        QCOMPARE(pressKeys(view, {Qt::Key_Right}), QPoint(42, 3));
        QVERIFY(test::cellShown(view, 3, 42));
        QCOMPARE(pressKeys(view, {Qt::Key_PageUp}), QPoint(42, 2));
        QCOMPARE(pressKeys(view, {Qt::ControlModifier | Qt::Key_Home}), QPoint(1, 2));
        QVERIFY(test::cellShown(view, 2, 1));
        QVERIFY(rightClick(view, "mnurs", 2, 16));
        QCOMPARE(QPoint(list->popupGrid("mnurs")->col(), list->popupGrid("mnurs")->row()), QPoint(16, 2));
    }

    // A right-click on a heading row keeps the current data row: a heading of
    // one column makes its column current, a group heading leaves the column.
    // The menu's items and command are those of the current cell then: a
    // sort or average takes the heading's column, a racer or race command
    // the row. On the fixed name column of a data row the cell clicked
    // becomes current. Items as in popupKeys. The last data row is current
    // before the first click, which makes a first data row current as any
    // other: two heading rows above it, one, or its fixed name cell.
    void headingRightClick_data()
    {
        // 0 racer list, 1..3 data room of that ranking kind, 4 motor list, 5 boat list, 9 racer detail
        QTest::addColumn<int>("window");
        QTest::addColumn<QPoint>("chosen");   // the cell clicked first, x = col, y = row
        QTest::addColumn<QPoint>("pressed");  // the cell right-clicked
        QTest::addColumn<QPoint>("current");
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("opened");  // test::openedFor, for a racer or race command
        // 鈴木一郎 runs race 5 first, 山田太郎 races 2 and 11; the ranking's 鈴木一郎 races 11 and 3.
        const QString card = "...|++";
        QTest::newRow("racer list 前半") << 0 << QPoint(16, 2) << QPoint(16, 1) << QPoint(16, 2) << card << 5
                                       << "frmraceinfo 2 5";
        QTest::newRow("racer list group") << 0 << QPoint(16, 3) << QPoint(17, 0) << QPoint(16, 3) << card << 5
                                          << "frmraceinfo 2 2";
        // From 期 to 体重, a heading two rows high, by either of its rows.
        QTest::newRow("racer list 体重 descending") << 0 << QPoint(3, 2) << QPoint(4, 1) << QPoint(4, 2) << "+++|+."
                                                   << 1 << "";
        QTest::newRow("racer list 体重 average") << 0 << QPoint(3, 2) << QPoint(4, 0) << QPoint(4, 2) << "+++|+." << 2
                                                << "";
        QTest::newRow("motor list №") << 4 << QPoint(1, 2) << QPoint(0, 0) << QPoint(0, 2) << "++.|." << 1 << "";
        QTest::newRow("motor list first row") << 4 << QPoint(1, 1) << QPoint(0, 0) << QPoint(0, 1) << "++.|+" << 1
                                              << "";
        QTest::newRow("boat list first row") << 5 << QPoint(1, 1) << QPoint(0, 0) << QPoint(0, 1) << "++.|." << 1
                                             << "";
        QTest::newRow("data room 前半") << 1 << QPoint(8, 2) << QPoint(8, 1) << QPoint(8, 2) << card << 5
                                       << "frmraceinfo 2 11";
        QTest::newRow("data room R") << 3 << QPoint(9, 2) << QPoint(8, 1) << QPoint(8, 2) << card << 5
                                     << "frmraceinfo 2 11";
        QTest::newRow("data room 2連対率") << 1 << QPoint(1, 2) << QPoint(6, 0) << QPoint(6, 2) << "+++|+." << 2 << "";
        QTest::newRow("data room group") << 2 << QPoint(7, 2) << QPoint(6, 0) << QPoint(7, 2) << card << 5
                                         << "frmraceinfo 2 3";
        QTest::newRow("room name") << 1 << QPoint(8, 2) << QPoint(0, 2) << QPoint(0, 2) << "+++|+." << 4
                                   << "frmracerdisp 2 1 3100";
        QTest::newRow("room name chosen") << 1 << QPoint(0, 2) << QPoint(8, 1) << QPoint(8, 2) << card << 5
                                          << "frmraceinfo 2 11";
        QTest::newRow("detail") << 9 << QPoint(6, 1) << QPoint(1, 0) << QPoint(1, 1) << "++.|+" << 4
                                << "frmracerest 1 4 20011224";
    }
    void headingRightClick()
    {
        QFETCH(int, window);
        QFETCH(QPoint, chosen);
        QFETCH(QPoint, pressed);
        QFETCH(QPoint, current);
        QFETCH(int, command);
        const QString menu = window == 0 ? "mnurs" : window == 4 ? "mnumt" : window == 5 ? "mnubt"
                                                 : window == 9 ? "mnurd" : window == 2 ? "mnul1" : "mnul2";
        GridView *view = nullptr;
        if (window == 0 || window == 4 || window == 5) {
            row("f_boats", {{"boatsno", 42}});
            window == 0 ? frame->mnuracer_Click() : window == 4 ? frame->mnumotor_Click() : frame->mnuboats_Click();
            view = lastWindow<ListWindow>()->view();
        } else if (window == 9) {
            row("f_racer", {{"tourokuno", 12}, {"sensyname", "佐藤"}});
            test::insertDayRow("f_restb", kSetus, 1, {{"racesno", 4}, {"wakusno", 3}, {"tourokuno", 12}});
            test::insertDayRow("f_restb", kSetus, 1, {{"racesno", 9}, {"wakusno", 1}, {"tourokuno", 12}});
            test::insertDayRow("f_resta", kSetus, 1, {{"racesno", 4}, {"Date", "20011224"}});
            view = racerDetail("12")->mfgf_restb;
        } else {
            row("f_lunks", {{"lunkscode", 2}, {"tourokuno", 4012}, {"sensyname", "山田太郎"}, {"fukuritu", 45}});
            modkelmon::exec("update f_setfg set lunksflag = ?", {window});
            frame->mnudataroom_Click();
            view = lastWindow<frmdataroom>()->mfgdr[0];
        }
        view->model()->setRow(view->model()->rows() - 1);
        test::clickCell(view, chosen.y(), chosen.x());
        QVERIFY(rightClick(view, menu, pressed.y(), pressed.x()));
        const GridModel *grid = view->model();
        QCOMPARE(QPoint(grid->col(), grid->row()), current);
        QTEST(test::menuStates(frame->menus().menu(menu)), "items");
        ScriptedMessages box;
        if (command <= 2) {
            const auto [shown, expected] =
                test::runColumnCommand(item(menu, command), command, *grid, current.x(), box);
            QCOMPARE(shown, expected);
        } else {
            item(menu, command)->trigger();
            QTEST(test::openedFor(lastWindow<ViewerWindow>()), "opened");
        }
    }

    // The Menu key and Shift+F10 pop up the grid's menu at the current cell
    // with the items a right click there enables: in the racer list, the data
    // room and the racer detail. Items: ascending, descending, average, |,
    // racer (or race result), race card.
    void popupKeys()
    {
        using test::keyPopup;
        using test::pressKeys;
        frame->mnuracer_Click();
        GridView *view = lastWindow<frmracerlist>()->view();
        QMenu *menu = frame->menus().menu("mnurs");
        test::clickCell(view, 2, 2);
        // The prefecture: sorted, not averaged, no race.
        QCOMPARE(keyPopup(view, menu, Qt::Key_Menu), QString("++.|+."));
        QCOMPARE(pressKeys(view, QList<QKeyCombination>(14, Qt::Key_Right)), QPoint(16, 2));
        // 鈴木一郎's first race: the race card only.
        QCOMPARE(keyPopup(view, menu, Qt::ShiftModifier | Qt::Key_F10), QString("...|++"));
        QVERIFY(rightClick(view, "mnurs", 2, 16));
        QCOMPARE(test::menuStates(menu), QString("...|++"));

        // The data room's semi-final ranking: the frame cell goes by the race to its left.
        modkelmon::exec("update f_setfg set lunksflag = 3");
        frame->mnudataroom_Click();
        view = lastWindow<frmdataroom>()->mfgdr[0];
        menu = frame->menus().menu("mnul2");
        test::clickCell(view, 2, 8);
        QCOMPARE(pressKeys(view, {Qt::Key_Right}), QPoint(9, 2));
        QCOMPARE(keyPopup(view, menu, Qt::Key_Menu), QString("...|++"));   // off the test screen: placed by it
        QCOMPARE(pressKeys(view, {Qt::Key_Home}), QPoint(1, 2));   // the number, after the fixed name
        QCOMPARE(keyPopup(view, menu, Qt::ShiftModifier | Qt::Key_F10), QString("+++|+."));

        // The racer detail: the penalty column is neither sorted nor averaged.
        row("f_racer", {{"tourokuno", 12}, {"sensyname", "佐藤"}});
        test::insertDayRow("f_restb", kSetus, 1, {{"racesno", 4}, {"wakusno", 3}, {"tourokuno", 12}, {"cyakucode", 2}});
        view = racerDetail("12")->mfgf_restb;
        menu = frame->menus().menu("mnurd");
        test::clickCell(view, 1, 6);
        QCOMPARE(keyPopup(view, menu, Qt::Key_Menu).left(4), QString("+++|"));
        QCOMPARE(pressKeys(view, {Qt::Key_End}), QPoint(9, 1));
        const QString penalty = keyPopup(view, menu, Qt::Key_Menu);
        QCOMPARE(penalty.left(4), QString("...|"));
        QVERIFY(rightClick(view, "mnurd", 1, 9));
        QCOMPARE(test::menuStates(menu), penalty);
    }

    // The race card of a race cell comes from the list's own day, whatever
    // the main window shows by then.
    void racerListRaceCard()
    {
        frame->mnuracer_Click();
        auto *list = lastWindow<frmracerlist>();
        QVERIFY(rightClick(list->view(), "mnurs", 2, 16));   // 鈴木一郎: race 5 in the first half
        frame->mnukyosocodesub_Click(0);
        ScriptedMessages box;
        item("mnurs", 5)->trigger();
        auto *card = frame->mdiArea()->subWindowList().last()->widget();
        QCOMPARE(card->objectName(), QString("frmraceinfo"));
        QCOMPARE(card->windowTitle(), "レース情報を表示しています..." + kDay1225 + "  5R)");
    }

    // The tabs switch pages; a semi-final ranking's frame cell opens the race
    // card of the race to its left.
    void dataRoomRaceCard()
    {
        modkelmon::exec("update f_setfg set lunksflag = 3");
        frame->mnudataroom_Click();
        auto *room = lastWindow<frmdataroom>();
        QCOMPARE(room->lbllunks[0]->text(), QString("準優がけ ベスト１２"));
        room->tab1->setCurrentIndex(2);   // a tab shows its own page alone
        QVERIFY(room->fradr[2]->isVisible() && !room->fradr[0]->isVisible());
        room->tab1->setCurrentIndex(0);
        QVERIFY(rightClick(room->mfgdr[0], "mnul2", 2, 9));
        item("mnul2", 5)->trigger();
        auto *card = lastWindow<ViewerWindow>();
        QCOMPARE(card->context().racesno, QString("11"));
        QCOMPARE(card->windowTitle(), "レース情報を表示しています..." + kDay1225 + " 11R)");
    }

    // The points standing's button opens the points table of the room's day.
    void pointsTable()
    {
        row("f_tokhm", {{"tokujun_ks", 1}, {"sensyname", "鈴木一郎"}, {"tokuritu_ks", 6.5}, {"tokhm_k1z1", 7.25}});
        modkelmon::exec("update f_setus set bordrcnt = 6");
        modkelmon::exec("update f_setfg set lunksflag = 2");
        frame->mnudataroom_Click();
        lastWindow<frmdataroom>()->cmdtokhmlist->click();
        auto *points = lastWindow<frmtokhmlist>();
        QVERIFY(points);
        QCOMPARE(points->windowTitle(), "得点早見表を表示しています..." + kDay1225 + ")");
        QCOMPARE(points->context().racesno, QString("1"));
        QCOMPARE(points->lblbordrcnt[0]->text(), QString("6.00"));
        QCOMPARE(points->blocks().text(1, 1), QString("7.25"));
        // Every label reads whole (the rate above the legend, the italic "!!",
        // the example's labels side by side); the shadow lies far enough off to be seen.
        QCOMPARE(test::windowTextProblems(points, "points"), QStringList());
        const QPoint shadow = points->lblbordrcnt[1]->pos() - points->lblbordrcnt[0]->pos();
        QVERIFY(shadow.x() >= 2 && shadow.y() >= 2);
    }

    // Alt+H presses the data room's points-table button while the focus is in
    // the room and the button is shown; on the room's other page it opens the
    // help menu.
    void accessKeyOfTheActiveChild()
    {
        modkelmon::exec("update f_setfg set lunksflag = 2");
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QMenu *help = frame->menus().menu("mnuhelp");
        frame->mnudataroom_Click();
        auto *room = lastWindow<frmdataroom>();
        QMdiSubWindow *roomWindow = frame->mdiArea()->activeSubWindow();
        for (int page : {0, 1}) {
            frame->mdiArea()->setActiveSubWindow(roomWindow);
            room->tab1->setCurrentIndex(page);
            room->mfgdr[page]->setFocus();
            QTest::keyClick(room->mfgdr[page], Qt::Key_H, Qt::AltModifier);
            QTRY_VERIFY(page ? help->isVisible() : frame->mdiArea()->subWindowList().size() == 2);
            QCOMPARE(help->isVisible(), page == 1);
        }
        help->hide();
        QVERIFY(lastWindow<frmtokhmlist>());
        QCOMPARE(frame->mdiArea()->subWindowList().size(), 2);
    }

    // Alt+H opens the help menu, and no points table, where the data room's
    // button does not take it: the button disabled (a ranking other than the
    // points standing), or the focus on the frame's own button outside the
    // room, the active child.
    void accessKeyLeftToTheMenu_data()
    {
        QTest::addColumn<int>("kind");   // the ranking kind: 2 enables the button, and the focus is the frame's
        QTest::newRow("button disabled") << 1;
        QTest::newRow("focus on the frame's button") << 2;
    }
    void accessKeyLeftToTheMenu()
    {
        QFETCH(int, kind);
        modkelmon::exec("update f_setfg set lunksflag = ?", {kind});
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QMenu *help = frame->menus().menu("mnuhelp");
        frame->mnudataroom_Click();
        auto *room = lastWindow<frmdataroom>();
        QVERIFY(room->cmdtokhmlist->isVisible());
        QCOMPARE(room->cmdtokhmlist->isEnabled(), kind == 2);
        QWidget *focus = kind == 2 ? frame->findChild<QWidget *>("cmdkoyomi") : room->mfgdr[0];
        focus->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(focus->hasFocus());
        QCOMPARE(frame->mdiArea()->activeSubWindow()->widget(), room);
        QTest::keyClick(focus, Qt::Key_H, Qt::AltModifier);
        QTRY_VERIFY(help->isVisible());
        help->hide();
        QCOMPARE(frame->mdiArea()->subWindowList().size(), 1);
    }

    // A ranking longer than its grid opens on its first row, in view when the
    // grid takes the focus; Down and Page Down move on from it.
    void longRankingStartsAtTheTop()
    {
        modkelmon::exec("update f_setfg set lunksflag = 2");
        for (int i = 2; i <= 40; ++i)
            row("f_lunks", {{"lunkscode", i}, {"tourokuno", 5000 + i}});
        frame->mnudataroom_Click();
        GridView *view = lastWindow<frmdataroom>()->mfgdr[0];
        view->setFocus(Qt::TabFocusReason);
        QVERIFY(test::cellShown(view, view->model()->row(), view->model()->col()));
        QCOMPARE(test::pressKeys(view, {Qt::Key_Down}).y(), 3);
        QVERIFY(test::pressKeys(view, {Qt::Key_PageDown}).y() > 3);
    }

    // The racer list's start timing and a long racer name read whole; the
    // data room's disabled button keeps a readable caption.
    void textsFit()
    {
        modkelmon::exec("update f_racer set st_ks_avg = 0.19 where tourokuno = 3100");
        modkelmon::exec("update f_setfg set lunksflag = 1");
        frame->mnudataroom_Click();
        const QPalette &palette = lastWindow<frmdataroom>()->cmdtokhmlist->palette();
        QVERIFY(std::abs(qGray(palette.color(QPalette::Disabled, QPalette::ButtonText).rgb())
                         - qGray(palette.color(QPalette::Disabled, QPalette::Button).rgb())) >= 80);
        frame->mnuracer_Click();
        QCOMPARE(lastWindow<frmracerlist>()->grid().text(2, 39), QString("0.19"));
        QCOMPARE(test::gridFitProblems(lastWindow<frmracerlist>()->view(), "racers"), QStringList());
        row("f_racer", {{"tourokuno", 12}, {"sensyname", "長谷川　真由美"}});
        QCOMPARE(test::windowTextProblems(racerDetail("12"), "racer"), QStringList());
    }

    // The racer detail shows header, photo and results and pops up its menu;
    // without an f_racer row only the number and the header row, and a photo
    // that is no GIF is not shown.
    void racerDetailWindow()
    {
        row("f_racer", {{"tourokuno", 12}, {"sensyname", "佐藤"}, {"tourokuki", 99}, {"adress", 40}});
        test::insertDayRow("f_restb", kSetus, 1, {{"racesno", 4}, {"wakusno", 3}, {"tourokuno", 12}, {"cyakucode", 2}});
        QDir().mkpath(photoFolder());
        for (const auto &[file, content] : {std::pair{"0012.GIF", racerPhotoGif(12)},
                                            std::pair{"0055.gif", QByteArray("\x89PNG\r\n\x1a\n not a gif")}}) {
            QFile photo(QDir(photoFolder()).filePath(file));
            QVERIFY(photo.open(QIODevice::WriteOnly) && photo.write(content) == content.size());
        }
        auto *detail = racerDetail("12");
        QCOMPARE(detail->lblmemo[0]->text(), QString("99期 福岡"));
        QVERIFY(!detail->imaPhoto->pixmap().isNull());
        QCOMPARE(detail->grid().text(1, 3), QString("２着"));
        QVERIFY(rightClick(detail->mfgf_restb, "mnurd", 1, 9));
        QVERIFY(!item("mnurd", 0)->isEnabled());

        detail = racerDetail("55");
        QCOMPARE(detail->lbltourokuno_x[0]->text(), QString("0055"));
        QCOMPARE(detail->lblsensyname_x[0]->text(), QString());
        QCOMPARE(detail->grid().rows(), 1);
        QCOMPARE(detail->grid().text(0, 9), QString("減点"));
        QVERIFY(detail->imaPhoto->pixmap().isNull());
    }

    // A photo is read only from a regular file of at most 1 MiB, through a
    // link alike: a named pipe (77, linked as 78) neither holds the window nor shows.
    void racerPhotoOnlyFromARegularFile()
    {
        const QDir photos(photoFolder());
        QVERIFY(QDir().mkpath(photos.path()));
        const QByteArray gif = racerPhotoGif(12);
        for (const auto &[name, size] : {std::pair{"0012.gif", 0}, {"0080.gif", (1 << 20) + 1}, {"0081.gif", 1 << 20}}) {
            QFile f(photos.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(gif + QByteArray(std::max(0, size - int(gif.size())), 0)));
        }
        const QByteArray pipe = QFile::encodeName(photos.filePath("0077.gif"));
        QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);
        QVERIFY(QFile::link(photos.filePath("0077.gif"), photos.filePath("0078.gif")));
        QVERIFY(QFile::link(photos.filePath("0012.gif"), photos.filePath("0079.gif")));
        // A window waiting on the pipe is let go by a writer, which says so.
        std::atomic<bool> done{false}, released{false};
        std::thread writer([&] {
            for (; !done; ::usleep(10000))
                if (const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                    released = ::close(fd) == 0;
        });
        QStringList shown;
        for (const char *number : {"12", "77", "78", "79", "80", "81"})
            shown << QString(number) + (racerDetail(number)->imaPhoto->pixmap().isNull() ? "" : " shown");
        done = true;
        writer.join();
        QVERIFY(!released);
        QCOMPARE(shown, QStringList({"12 shown", "77", "78", "79 shown", "80", "81 shown"}));
    }

    // A photo is decoded only when the width and height it declares are at
    // most 512 pixels, however few bytes declare them, on the whole picture
    // or on its frame alone.
    void racerPhotoOfAPhotoSizeOnly()
    {
        // A GIF of a 2 x 2 two-colour frame, declaring a picture of w x h and a frame of fw x fh.
        auto declaring = [](quint16 w, quint16 h, quint16 fw, quint16 fh) {
            const quint16 sizes[6] = {w, h, 0, 0, fw, fh};   // little-endian
            const char *s = reinterpret_cast<const char *>(sizes);
            return "GIF89a" + QByteArray(s, 4) + QByteArray("\x80\0\0\0\0\0\xff\xff\xff\x2c", 10) + QByteArray(s + 4, 8)
                + QByteArray("\0\x02\x02\x4c\x01\0\x3b", 7);
        };
        const QList<QRgb> palette{qRgb(0, 0, 0), qRgb(255, 255, 255)};
        // From the sixth on: a 1 x 1 frame on a screen too large, wide or high
        // alone (513 and 5633 read with their bytes swapped would pass, 2176 =
        // 0x880 read with a signed low byte), or within the bound (384 = 0x180).
        const QByteArray files[] = {declaring(5700, 5700, 5700, 5700), declaring(0, 0, 5700, 5700),
                                    buildGif(513, 1, palette, QByteArray(513, 1)),
                                    buildGif(1, 513, palette, QByteArray(513, 1)),
                                    buildGif(512, 512, palette, QByteArray(512 * 512, 1)),
                                    declaring(5700, 5700, 1, 1), declaring(513, 1, 1, 1), declaring(1, 513, 1, 1),
                                    declaring(5633, 1, 1, 1), declaring(1, 5633, 1, 1), declaring(512, 512, 1, 1),
                                    declaring(1, 1, 1, 1), declaring(2176, 1, 1, 1), declaring(1, 2176, 1, 1),
                                    declaring(384, 384, 1, 1)};
        QVERIFY(QDir().mkpath(photoFolder()));
        QString shown;
        for (int i = 0; i < int(std::size(files)); ++i) {
            const QString number = QStringLiteral("%1").arg(90 + i, 4, 10, QLatin1Char('0'));
            QFile f(QDir(photoFolder()).filePath(number + ".gif"));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(files[i]) == files[i].size());
            f.close();
            const QSize size = racerDetail(number)->imaPhoto->pixmap().size();
            shown += QStringLiteral(" %1:%2x%3").arg(i).arg(size.width()).arg(size.height());
        }
        QCOMPARE(shown, QString(" 0:0x0 1:0x0 2:0x0 3:0x0 4:512x512 5:0x0 6:0x0 7:0x0 8:0x0 9:0x0 10:512x512 11:1x1"
                                " 12:0x0 13:0x0 14:384x384"));
    }
};

QTEST_MAIN(TestListWindows)
#include "tst_listwindows.moc"
