// The frame window: start-up checks and offers, selection through menus and
// toolbar, closing, compaction, deletion, printing and window arrangement.

#include "app/ui/frmmainmenu.h"
#include "app/ui/frmopening.h"
#include "app/ui/gridpopups.h"
#include "app/ui/startup.h"
#include "app/ui/viewerfactory.h"
#include "app/ui/viewerwindow.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "platform/gridmodel.h"
#include "platform/messages.h"
#include "platform/ui/messagebox.h"
#include "registration/ui/frmdelete.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLockFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace kelmon;

namespace {

class PlainViewer : public ViewerWindow {
public:
    int loads = 0;
    GridModel grid;
    void firstActivation() override { ++loads; }
    GridModel *popupGrid(const QString &) override { return &grid; }
};

// Records the names of the windows in the order they first show.
struct ShowOrder : QObject {
    QStringList windows;
    bool eventFilter(QObject *o, QEvent *event) override
    {
        if (event->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget *>(o)->isWindow()
            && !windows.contains(o->objectName()))
            windows << o->objectName();
        return false;
    }
};

// A new database of the given size in bytes (0: as made).
void resizeDatabase(const test::ProgramFolder &folder, qint64 size)
{
    modkelmon::close_db();
    QVERIFY(QFile(folder.file("kelmon.mdb")).resize(size));
    modkelmon::open_db();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void screenWidthRule()
    {
        QScreen *wide = nullptr;
        QScreen *narrow = nullptr;
        for (QScreen *s : QGuiApplication::screens())
            (s->name() == "wide" ? wide : narrow) = s;
        QVERIFY(wide && narrow && screenWideEnough(wide) && !screenWideEnough(narrow));
        ScriptedMessages box;
        refuseNarrowScreen();
        QCOMPARE(box.shown().size(), std::size_t(1));
    }

    // A second copy finds the lock held; a lock file that cannot be made
    // is a file error with its message, never taken for a second copy.
    void singleInstanceLock()
    {
        test::ProgramFolder folder(false);
        QLockFile first(lockPath());
        QCOMPARE(takeSingleInstanceLock(first), InstanceLock::Taken);
        QLockFile second(lockPath());
        QCOMPARE(takeSingleInstanceLock(second), InstanceLock::Held);
        test::ProgramFolder other(false);
        QVERIFY(QDir().mkpath(other.file("kelmon.lock/inside")));
        QLockFile lock(lockPath());
        QString problem;
        QCOMPARE(takeSingleInstanceLock(lock, &problem), InstanceLock::Failed);
        QCOMPARE(problem, "ロックファイルを作成できません\r\n" + QDir::toNativeSeparators(other.file("kelmon.lock")));
    }

    // The splash shows before the main window and closes 2000 ms after its activation.
    void splashBeforeMainWindow()
    {
        test::ProgramFolder folder;
        ShowOrder order;
        frmmainmenu w;
        qApp->installEventFilter(&order);
        showStartWindows(w);
        qApp->removeEventFilter(&order);
        QCOMPARE(order.windows, (QStringList{"frmopening", "frmmainmenu"}));

        const QPointer<frmopening> splash = new frmopening(&w);
        auto *timer = splash->findChild<QTimer *>("Timer1");
        QVERIFY(timer && !timer->isActive());
        splash->show();
        splash->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(splash));
        QCOMPARE(timer->isActive() ? timer->interval() : 0, 2000);
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QTRY_VERIFY(!splash);
    }

    // At every width the header's separator lines end 115 twips and the title
    // 6360 twips short of the window (15 twips a pixel); the lines lie between
    // the panel's caption and the venue row.
    void headerFollowsTheWindowsWidth()
    {
        test::ProgramFolder folder;
        frmmainmenu w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *lines = w.findChild<QWidget *>("Picture1");
        const QWidget *line[2] = {lines->findChild<QWidget *>("Line1_0"), lines->findChild<QWidget *>("Line1_1")};
        QVERIFY(line[0] && line[1]);
        const int frame = w.frameGeometry().width() - w.width();
        for (int width : {1000, 1280, 900}) {
            w.resize(width - frame, 700);
            QTRY_COMPARE(w.frameGeometry().width(), width);
            for (const QWidget *l : line)
                QCOMPARE(l->geometry().right(), (width * 15 - 115) / 15);
            QTRY_COMPARE(w.headerLabel("lblracesword")->width(), (width * 15 - 6360) / 15);
        }
        QCOMPARE(line[1]->y(), line[0]->y() + 1);
        QVERIFY(line[0]->y() > lines->findChild<QLabel *>()->geometry().bottom());
        QVERIFY(line[1]->y() < w.headerLabel("lblkyosocode")->y());
    }

    void mainWindowFillsTheAvailableArea()
    {
        for (QScreen *screen : QGuiApplication::screens()) {
            test::ProgramFolder folder;
            frmmainmenu w;
            placeMainWindow(w, screen);
            QCOMPARE(w.frameGeometry(), screen->availableGeometry());
        }
    }

    // The size warning and the registration offer at start; the needle is the
    // computed part of the one question expected, empty for none.
    void startupOffers_data()
    {
        QTest::addColumn<qint64>("size");   // 0: left as made
        QTest::addColumn<int>("checkflag");
        QTest::addColumn<int>("regstflag");
        QTest::addColumn<int>("archives");
        QTest::addColumn<QString>("needle");
        QTest::newRow("exactly 10,000,000") << qint64(10000000) << 1 << 1 << 0 << "";
        QTest::newRow("one byte more") << qint64(10000001) << 1 << 1 << 0 << "現在のデータベースサイズは 10,000,001バイト です";
        QTest::newRow("check off") << qint64(10000001) << 0 << 1 << 0 << "";
        QTest::newRow("two waiting") << qint64(0) << 1 << 1 << 2 << "デジタル紙面が 2 件ダウンロードされています";
        QTest::newRow("offer off") << qint64(0) << 1 << 0 << 2 << "";
    }

    void startupOffers()
    {
        QFETCH(qint64, size);
        QFETCH(int, checkflag);
        QFETCH(int, regstflag);
        QFETCH(int, archives);
        QFETCH(QString, needle);
        test::ProgramFolder folder;
        read_m_kanri();
        modkelmon::exec("update m_kanri set checkflag = ?, regstflag = ? where kanricode = 1", {checkflag, regstflag});
        for (int i = 0; i < archives; ++i)
            QVERIFY(QFile(folder.file(QString("receive/%1.lzh").arg(i))).open(QIODevice::WriteOnly));
        if (size)
            resizeDatabase(folder, size);
        modkelmon::close_db();
        ScriptedMessages box;
        frmmainmenu w;
        w.firstActivation();
        QVERIFY(modkelmon::is_open());
        QCOMPARE(box.shown().size(), std::size_t(needle.isEmpty() ? 0 : 1));
        if (!needle.isEmpty())
            QVERIFY(box.shown()[0].text.contains(needle));
        QVERIFY(folder.exits().empty());
    }

    // On a desktop that activates the splash, the start-up questions come while
    // it is active; it closes itself on its timer. Questions left open past
    // that stay open and their answers are carried out: No to the size warning,
    // Yes to the registration offer (its dialog opens).
    void startupQuestionsOutliveTheSplash()
    {
        test::ProgramFolder folder;
        read_m_kanri();
        modkelmon::exec("update m_kanri set checkflag = 1, regstflag = 1, kyosocode = 0 where kanricode = 1");
        QVERIFY(QFile(folder.file("receive/1.lzh")).open(QIODevice::WriteOnly));
        resizeDatabase(folder, 10000001);
        modkelmon::close_db();
        MessageBoxService boxes;
        setMessageService(&boxes);
        const auto restore = qScopeGuard([] { setMessageService(nullptr); });
        frmmainmenu w;
        startViewer(w, boxes);
        const QPointer<frmopening> splash = w.findChild<frmopening *>();
        QVERIFY(splash);
        struct Activations : QObject {
            int count = 0;
            bool eventFilter(QObject *, QEvent *e) override { return (count += e->type() == QEvent::WindowActivate, false); }
        } activations;
        splash->installEventFilter(&activations);
        splash->activateWindow();

        QStringList seen;   // each box's first line, and the dialogs opened
        int activeBeforeQuestion = -1;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (modal && modal->objectName() == "frmdatabase") {
                seen << modal->objectName();
                static_cast<QDialog *>(modal)->reject();
            } else if (box && splash && activeBeforeQuestion < 0) {
                // The splash's time runs out while the first question is open.
                activeBeforeQuestion = activations.count;
                QMetaObject::invokeMethod(splash->findChild<QTimer *>("Timer1"), "timeout");
            } else if (box && !splash) {
                seen << box->text().section('\n', 0, 0);
                box->button(seen.last().contains("10Ｍバイト") ? QMessageBox::No : QMessageBox::Yes)->click();
            }
        });
        answer.start(10);
        QTRY_COMPARE(seen.size(), 3);
        answer.stop();
        QVERIFY(activeBeforeQuestion > 0);
        QCOMPARE(seen, (QStringList{"デジタル紙面のデータベースが 10Ｍバイトを越えています",
                                    "デジタル紙面が 1 件ダウンロードされています", "frmdatabase"}));
        QVERIFY(w.isVisible() && modkelmon::is_open() && folder.exits().empty());
    }

    // The stored venue is chosen at start, here the last one; a venue without
    // paper, chosen from the toolbar's drop-down, empties the header.
    void venueAtStartAndFromDropDown()
    {
        test::ProgramFolder folder;
        read_m_kanri();
        test::insertPaperDay(24, 70, 3, "20011201", true, 5, "ＳＧ競走");
        modkelmon::exec("update m_kanri set kyosocode = 24 where kanricode = 1");
        modkelmon::close_db();
        ScriptedMessages box;
        frmmainmenu w;
        w.firstActivation();
        QCOMPARE(w.selection().fields().kyosocode, QString("24"));
        const QStringList header{"大　村", "ＳＧ", " ＳＧ競走", "01/12/01", "（土）", "3日目"};
        const QStringList names{"lblkyosocode", "lblgradecode", "lblracesword", "lbldate", "lblweekday", "lbldatescnt"};
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(w.headerLabel(names[i])->text(), header[i]);
        QVERIFY(box.shown().empty());
        w.menus().venueButton()->menu()->actions().at(0)->trigger();
        QCOMPARE(box.texts(), QStringList{"指定された競走場のデジタル紙面は有りません"});
        QCOMPARE(w.headerLabel("lblkyosocode")->text(), QString());
        QCOMPARE(w.selection().fields().setuscode, QString("0"));
    }

    // Before a day is shown the view commands are off and their buttons hidden;
    // the day buttons move between days, and the results command opens the
    // newest earlier day of the meeting.
    void selectionDrivesMenusAndToolbar()
    {
        test::ProgramFolder folder;
        test::insertPaperDay(3, 10, 1, "20011201");
        test::insertPaperDay(3, 10, 2, "20011202", false);
        for (auto [day, race] : {std::pair{1, 2}, {1, 1}, {2, 1}})
            test::insertRow("f_resta", {{"setuscode", 10}, {"datescnt", day}, {"racesno", race},
                                        {"Date", QString("2001120%1").arg(day)}});
        setViewerCreator(ViewerKind::RaceResult, [] { return new PlainViewer; });
        ScriptedMessages box;
        frmmainmenu w;
        w.firstActivation();
        MainMenus &m = w.menus();
        for (int i = 1; i <= 26; ++i) {
            QCOMPARE(m.button(i)->isSeparator(), i == 2 || i == 5 || i == 8 || i == 10 || i == 18 || i == 22);
            QCOMPARE(m.button(i)->isVisible(), !((i >= 10 && i <= 17) || (i >= 19 && i <= 22)));
        }
        QVERIFY(!m.action("mnunext_0")->isEnabled());
        m.button(12)->trigger();   // its menu item is off: nothing happens
        QVERIFY(w.mdiArea()->subWindowList().isEmpty());

        w.mnukyosocodesub_Click(2);
        for (int i = 10; i <= 17; ++i)
            QVERIFY(m.button(i)->isVisible());
        QVERIFY(m.action("mnunext_0")->isEnabled());
        QVERIFY(w.findChild<QPushButton *>("cmdnext_1")->isEnabled());
        QCOMPARE(w.selection().fields().datescnt, QString("2"));
        m.action("mnuracerest")->trigger();
        QCOMPARE(w.mdiArea()->subWindowList().size(), 1);
        auto *result = qobject_cast<ViewerWindow *>(w.mdiArea()->subWindowList().first()->widget());
        QCOMPARE(result->windowTitle(), QString("レース結果を表示しています...  (江戸川 01/12/01  1R)"));
        QCOMPARE(result->context().datescnt, QString("1"));

        w.findChild<QPushButton *>("cmdnext_0")->click();
        QCOMPARE(w.selection().fields().datescnt, QString("1"));
        m.action("mnunext_0")->trigger();
        m.action("mnuracerest")->trigger();
        QCOMPARE(box.texts(), (QStringList{"それ以前のデジタル紙面は有りません", "前日のレース結果は有りません"}));
        m.action("mnunext_1")->trigger();
        QCOMPARE(w.selection().fields().datescnt, QString("2"));
    }

    // Captions take the venue as the header shows it: blank for a meeting
    // without its f_setus row, also after the window switches its race.
    void captionsTakeTheHeadersVenue()
    {
        test::ProgramFolder folder;
        test::insertPaperDay(3, 10, 2, "20011202", false);
        test::insertRow("f_resta", {{"setuscode", 10}, {"datescnt", 1}, {"racesno", 4}, {"Date", "20011201"}});
        for (ViewerKind kind : {ViewerKind::RaceCard, ViewerKind::RaceResult, ViewerKind::RacerList})
            setViewerCreator(kind, [] { return new PlainViewer; });
        ScriptedMessages box;
        frmmainmenu w;
        w.mnukyosocodesub_Click(2);
        w.mnuraceinfo_Click();
        w.mnuracerest_Click();
        w.mnuracer_Click();
        QStringList captions;
        for (QMdiSubWindow *sub : w.mdiArea()->subWindowList())
            captions << sub->widget()->windowTitle();
        auto *card = qobject_cast<ViewerWindow *>(w.mdiArea()->subWindowList().first()->widget());
        ViewerContext c = card->context();
        c.racesno = "12";
        card->setContext(c);
        card->refreshCaption();
        captions << card->windowTitle();
        QCOMPARE(captions, (QStringList{"レース情報を表示しています...  ( 01/12/02  1R)",
                                        "レース結果を表示しています...  ( 01/12/01  4R)",
                                        "選手情報を一覧表示しています...  ( 01/12/02)",
                                        "レース情報を表示しています...  ( 01/12/02 12R)"}));
        QVERIFY(box.shown().empty());
    }

    void deleteAsksBelowTenMegabytes_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("asks");
        QTest::newRow("9,999,999 bytes") << qint64(9999999) << true;
        QTest::newRow("10,000,000 bytes") << qint64(10000000) << false;
    }

    void deleteAsksBelowTenMegabytes()
    {
        QFETCH(qint64, size);
        QFETCH(bool, asks);
        test::ProgramFolder folder;
        resizeDatabase(folder, size);
        ScriptedMessages box;
        frmmainmenu w;
        bool opened = false;   // the dialog, when it opens, is closed again at once
        QTimer::singleShot(50, &w, [&] {
            if (auto *d = qobject_cast<frmdelete *>(QApplication::activeModalWidget()))
                opened = d->close();
        });
        w.menus().action("mnudelete")->trigger();   // a question is answered No
        QCOMPARE(opened, !asks);
        QCOMPARE(box.texts(), asks ? QStringList{"古いデジタル紙面を削除する必要は有りません\r\n\r\n削除しますか？"}
                                   : QStringList());
        QVERIFY(!w.menus().button(6)->isChecked());
    }

    // The result item of an outcomes grid opens the result of the clicked
    // row's day in the opener's race.
    void popupOpensTheRowsResult()
    {
        test::ProgramFolder folder;
        setViewerCreator(ViewerKind::RaceResult, [] { return new PlainViewer; });
        frmmainmenu w;
        auto *opener = new PlainViewer;
        opener->setContext({"3", "10", "3", "20011203", "5"});
        opener->grid.setRows(3);
        opener->grid.setCols(2);
        opener->grid.setColWidth(0, 600);
        opener->grid.setText(2, 0, "2日目");
        opener->grid.setRow(2);
        opener->grid.setCol(0);
        showViewer(w.mdiArea(), opener);
        w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList().first());
        gridPopup_Click(w, "mnudm", 4);
        QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
        const ViewerContext &c = qobject_cast<ViewerWindow *>(w.mdiArea()->subWindowList().last()->widget())->context();
        QCOMPARE((QStringList{c.kyosocode, c.setuscode, c.datescnt, c.racesno}), (QStringList{"3", "10", "2", "5"}));
    }

    // Printing, compaction and closing, from their menu items and buttons.
    void fileCommands()
    {
        test::ProgramFolder folder;
        ScriptedMessages box;
        frmmainmenu w;
        w.resize(900, 700);
        w.show();
        w.firstActivation();
        w.menus().button(9)->trigger();
        QCOMPARE(box.texts(), QStringList{"印刷可能な画面が有りません"});

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.file("print.pdf"));
        w.setPrinter(&printer);
        auto *viewer = new PlainViewer;
        new QLabel("印刷のテスト", viewer);
        showViewer(w.mdiArea(), viewer);
        w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList().first());
        w.menus().action("mnuprint")->trigger();
        QFile pdf(folder.file("print.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.readAll().contains("/Subtype /Image"));
        QCOMPARE(box.shown().size(), std::size_t(1));

        modkelmon::exec("create table pad as with recursive n(i) as (select 1 union all select i + 1 from n "
                        "where i < 3000) select i, randomblob(600) from n");
        modkelmon::exec("drop table pad");
        const qint64 before = modkelmon::database_size();
        w.menus().action("mnuoptimize")->trigger();   // answered No
        QCOMPARE(modkelmon::database_size(), before);
        QCOMPARE(box.shown().back().title, QString("最適化の確認です..."));
        box.answer(true);
        w.menus().button(7)->trigger();
        const qint64 after = modkelmon::database_size();
        QVERIFY(after < before);
        QCOMPARE(box.shown().back().title, QString("最適化の完了です..."));
        QCOMPARE(box.shown().back().text,
                 QString("データベースの最適化が完了しました\r\n\r\n最適化前のサイズは %1バイト\r\n最適化後のサイズは "
                         "%2バイト になりました")
                     .arg(QLocale(QLocale::English).toString(before), QLocale(QLocale::English).toString(after)));
        QVERIFY(!w.menus().button(7)->isChecked());

        box.answer(false);
        QVERIFY(!w.close());
        QVERIFY(modkelmon::is_open());
        QCOMPARE(box.shown().back().title, QString("終了の確認です..."));
        box.answer(true);
        w.menus().action("mnuend")->trigger();
        QVERIFY(!w.isVisible());
        QVERIFY(!modkelmon::is_open());
    }

    // Window arrangement, and the format menu only for race cards.
    void windowArrangement()
    {
        test::ProgramFolder folder;
        frmmainmenu w;
        w.resize(1000, 800);
        w.show();
        for (int i = 0; i < 3; ++i)
            showViewer(w.mdiArea(), new PlainViewer);
        const QList<QMdiSubWindow *> windows = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);
        const QRect area = w.mdiArea()->viewport()->rect();
        w.mnuwindowsub_Click(0);
        for (QMdiSubWindow *sub : windows)
            QVERIFY(sub->width() == area.width() && qAbs(sub->height() - area.height() / 3) <= 1);
        w.mnuwindowsub_Click(1);
        for (QMdiSubWindow *sub : windows)
            QVERIFY(sub->height() == area.height() && qAbs(sub->width() - area.width() / 3) <= 1);
        windows[0]->showMinimized();
        windows[1]->showMinimized();
        w.mnuwindowsub_Click(3);
        QCOMPARE(windows[0]->y(), windows[1]->y());
        QVERIFY(!windows[0]->geometry().intersects(windows[1]->geometry()));
        // The race-card format menu shows only for a race card.
        auto *viewer = new PlainViewer;
        showViewer(w.mdiArea(), viewer);
        QTRY_COMPARE(viewer->loads, 1);
        QVERIFY(!w.menus().menu("mnudisp")->menuAction()->isVisible());
        QVERIFY(!w.menus().button(19)->isVisible());
        modkelmon::set_dispmenu_visible(true);
        QVERIFY(w.menus().menu("mnudisp")->menuAction()->isVisible());
        QVERIFY(w.menus().button(21)->isVisible());
    }
};

int main(int argc, char **argv)
{
    // Two screens, 800 and 799 pixels wide, for the start-up width rule.
    QTemporaryDir config;
    QFile json(config.filePath("screens.json"));
    json.open(QIODevice::WriteOnly);
    json.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 800, "height": 600},
                              {"name": "narrow", "x": 800, "y": 0, "width": 799, "height": 600}]})");
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + json.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmmainmenu.moc"
