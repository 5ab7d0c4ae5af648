// The frame window: start-up checks and offers, selection through menus and
// toolbar, closing, compaction, printing and window arrangement.

#include "app/ui/frmmainmenu.h"
#include "app/ui/viewerfactory.h"
#include "app/ui/startup.h"
#include "app/ui/viewerwindow.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "platform/messages.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

using namespace kelmon;

namespace {

class PlainViewer : public ViewerWindow {
public:
    int loads = 0;
    void firstActivation() override { ++loads; }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void screenWidthRule();
    void secondCopyEndsSilently();
    void lockThatCannotBeMadeIsAnError();
    void mainWindowFillsTheAvailableArea();
    void startupOffers_data();
    void startupOffers();
    void defaultVenueSelectsAtStart();
    void venueFromMenuAndDropDown();
    void viewCommandsFollowSelection();
    void closingAsksFirst();
    void compactionReportsBothSizes();
    void printing();
    void windowArrangement();
    void formatMenuOnlyForRaceCards();
};

void TestMainWindow::screenWidthRule()
{
    QScreen *wide = nullptr;
    QScreen *narrow = nullptr;
    for (QScreen *s : QGuiApplication::screens())
        (s->name() == "wide" ? wide : narrow) = s;
    QVERIFY(wide && narrow);
    QCOMPARE(wide->geometry().width(), 800);
    QVERIFY(screenWideEnough(wide));
    QCOMPARE(narrow->geometry().width(), 799);
    QVERIFY(!screenWideEnough(narrow));
    ScriptedMessages box;
    refuseNarrowScreen();
    QCOMPARE(box.shown().size(), std::size_t(1));
}

void TestMainWindow::secondCopyEndsSilently()
{
    test::ProgramFolder folder(false);
    QLockFile first(lockPath());
    QCOMPARE(takeSingleInstanceLock(first), InstanceLock::Taken);
    QLockFile second(lockPath());
    QCOMPARE(takeSingleInstanceLock(second), InstanceLock::Held);

    // The program itself, started while the lock is held, ends at once without a word.
    QProcess viewer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KELMON_HOME", folder.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    viewer.setProcessEnvironment(env);
    viewer.start(QStringLiteral(KELMON_BUILD_DIR "/kelmon"), {});
    QVERIFY(viewer.waitForFinished(20000));
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(viewer.exitCode(), 0);
    QVERIFY(!QFile::exists(folder.file("kelmon.mdb")));
}

// A lock file that cannot be made is a file error with its message, never
// taken for a second copy.
void TestMainWindow::lockThatCannotBeMadeIsAnError()
{
    test::ProgramFolder folder(false);
    QVERIFY(QDir().mkpath(folder.file("kelmon.lock/inside")));
    QLockFile lock(lockPath());
    QString problem;
    QCOMPARE(takeSingleInstanceLock(lock, &problem), InstanceLock::Failed);
    QCOMPARE(problem, "ロックファイルを作成できません\r\n" + QDir::toNativeSeparators(folder.file("kelmon.lock")));
}

void TestMainWindow::mainWindowFillsTheAvailableArea()
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
void TestMainWindow::startupOffers_data()
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

void TestMainWindow::startupOffers()
{
    QFETCH(qint64, size);
    QFETCH(QString, needle);
    test::ProgramFolder folder;
    read_m_kanri();
    QFETCH(int, checkflag);
    QFETCH(int, regstflag);
    modkelmon::exec("update m_kanri set checkflag = ?, regstflag = ? where kanricode = 1", {checkflag, regstflag});
    QFETCH(int, archives);
    for (int i = 0; i < archives; ++i) {
        QFile f(folder.file(QString("receive/%1.lzh").arg(i)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    if (size) {
        modkelmon::close_db();
        QVERIFY(QFile(folder.file("kelmon.mdb")).resize(size));
    }
    ScriptedMessages box;
    box.answer(false);
    frmmainmenu w;
    w.firstActivation();
    QVERIFY(modkelmon::is_open());
    QCOMPARE(box.shown().size(), std::size_t(needle.isEmpty() ? 0 : 1));
    if (!needle.isEmpty())
        QVERIFY(box.shown()[0].text.contains(needle));
    QVERIFY(folder.exits().empty());
}

void TestMainWindow::defaultVenueSelectsAtStart()
{
    test::ProgramFolder folder;
    read_m_kanri();
    test::insertPaperDay(12, 40, 3, "20011225");
    modkelmon::exec("update m_kanri set kyosocode = 12 where kanricode = 1");
    {
        ScriptedMessages box;
        frmmainmenu w;
        w.firstActivation();
        QVERIFY(box.shown().empty());
        QCOMPARE(w.selection().fields().kyosocode, QString("12"));
        QCOMPARE(w.headerLabel("lbldatescnt")->text(), QString("3日目"));
    }
    modkelmon::open_db();
    modkelmon::exec("update m_kanri set kyosocode = 13 where kanricode = 1");
    modkelmon::close_db();
    ScriptedMessages box;
    frmmainmenu w;
    w.firstActivation();
    QCOMPARE(box.texts(), QStringList{"指定された競走場のデジタル紙面は有りません"});
    QCOMPARE(w.selection().fields().kyosocode, QString("0"));
}

void TestMainWindow::venueFromMenuAndDropDown()
{
    test::ProgramFolder folder;
    test::insertPaperDay(9, 70, 1, "20011201", true, 5, "ＳＧ競走");
    ScriptedMessages box;
    frmmainmenu w;
    w.firstActivation();
    QMenu *drop = w.menus().venueButton()->menu();
    QAction *tsu = drop->actions().at(8);
    tsu->trigger();
    QCOMPARE(w.selection().fields().kyosocode, QString("9"));
    QCOMPARE(w.headerLabel("lblkyosocode")->text(), QString("津"));
    QCOMPARE(w.headerLabel("lblgradecode")->text(), QString("ＳＧ"));
    QCOMPARE(w.headerLabel("lblracesword")->text(), QString(" ＳＧ競走"));

    w.menus().action("mnukyosocodesub_0")->trigger();
    QCOMPARE(box.texts(), QStringList{"指定された競走場のデジタル紙面は有りません"});
    QCOMPARE(w.headerLabel("lblkyosocode")->text(), QString());
    QCOMPARE(w.selection().fields().setuscode, QString("0"));
}

void TestMainWindow::viewCommandsFollowSelection()
{
    test::ProgramFolder folder;
    test::insertPaperDay(3, 10, 1, "20011201");
    test::insertPaperDay(3, 10, 2, "20011202", false);
    ScriptedMessages box;
    frmmainmenu w;
    w.firstActivation();
    for (int i = 10; i <= 17; ++i)
        QVERIFY(!w.menus().button(i)->isVisible() || w.menus().button(i)->isSeparator());
    QVERIFY(!w.menus().action("mnunext_0")->isEnabled());
    w.mnukyosocodesub_Click(2);
    QVERIFY(w.menus().action("mnunext_0")->isEnabled());
    QVERIFY(w.findChild<QPushButton *>("cmdnext_1")->isEnabled());
    QCOMPARE(w.selection().fields().datescnt, QString("2"));
    w.findChild<QPushButton *>("cmdnext_0")->click();
    QCOMPARE(w.selection().fields().datescnt, QString("1"));
    w.menus().action("mnunext_0")->trigger();
    QCOMPARE(box.texts(), QStringList{"それ以前のデジタル紙面は有りません"});
    w.menus().action("mnunext_1")->trigger();
    QCOMPARE(w.selection().fields().datescnt, QString("2"));
}

void TestMainWindow::closingAsksFirst()
{
    test::ProgramFolder folder;
    ScriptedMessages box;
    frmmainmenu w;
    w.show();
    w.firstActivation();
    box.answer(false);
    QVERIFY(!w.close());
    QVERIFY(modkelmon::is_open());
    QCOMPARE(box.shown().back().title, QString("終了の確認です..."));
    box.answer(true);
    w.menus().action("mnuend")->trigger();
    QVERIFY(!w.isVisible());
    QVERIFY(!modkelmon::is_open());
}

void TestMainWindow::compactionReportsBothSizes()
{
    test::ProgramFolder folder;
    ScriptedMessages box;
    frmmainmenu w;
    w.firstActivation();
    {
        modkelmon::Transaction tx;
        for (int i = 0; i < 3000; ++i)
            test::insertRow("f_races", {{"setuscode", i}, {"racesname", QString(300, QChar(0x3042))}});
        tx.commit();
    }
    modkelmon::exec("delete from f_races");
    const qint64 before = modkelmon::database_size();
    box.answer(false);
    w.menus().action("mnuoptimize")->trigger();
    QCOMPARE(modkelmon::database_size(), before);
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
    QVERIFY(folder.exits().empty());
}

void TestMainWindow::printing()
{
    test::ProgramFolder folder;
    ScriptedMessages box;
    frmmainmenu w;
    w.resize(900, 700);
    w.show();
    w.firstActivation();
    w.mnuprint_Click();
    QCOMPARE(box.texts(), QStringList{"印刷可能な画面が有りません"});

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.file("print.pdf"));
    w.setPrinter(&printer);
    auto *viewer = new PlainViewer;
    auto *label = new QLabel("印刷のテスト", viewer);
    label->move(10, 10);
    showViewer(w.mdiArea(), viewer);
    w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList().first());
    w.menus().action("mnuprint")->trigger();
    QFile pdf(folder.file("print.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.contains("/Subtype /Image"));
    QCOMPARE(box.shown().size(), std::size_t(1));
}

void TestMainWindow::windowArrangement()
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
    for (QMdiSubWindow *sub : windows) {
        QCOMPARE(sub->width(), area.width());
        QVERIFY(qAbs(sub->height() - area.height() / 3) <= 1);
    }
    w.mnuwindowsub_Click(1);
    for (QMdiSubWindow *sub : windows) {
        QCOMPARE(sub->height(), area.height());
        QVERIFY(qAbs(sub->width() - area.width() / 3) <= 1);
    }
    windows[0]->showMinimized();
    windows[1]->showMinimized();
    w.mnuwindowsub_Click(3);
    QCOMPARE(windows[0]->y(), windows[1]->y());
    QVERIFY(!windows[0]->geometry().intersects(windows[1]->geometry()));
}

void TestMainWindow::formatMenuOnlyForRaceCards()
{
    test::ProgramFolder folder;
    frmmainmenu w;
    w.show();
    auto *viewer = new PlainViewer;
    showViewer(w.mdiArea(), viewer);
    QTRY_COMPARE(viewer->loads, 1);
    QVERIFY(!w.menus().menu("mnudisp")->menuAction()->isVisible());
    QVERIFY(!w.menus().button(19)->isVisible());
    modkelmon::set_dispmenu_visible(true);
    QVERIFY(w.menus().menu("mnudisp")->menuAction()->isVisible());
    QVERIFY(w.menus().button(21)->isVisible());
}

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
