// The toolbar, the commands behind its buttons, and the delete command.

#include "app/ui/frmmainmenu.h"
#include "common/modkelmon.h"
#include "platform/messages.h"
#include "registration/ui/frmdelete.h"
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QtTest>

using namespace kelmon;

class TestMainMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void toolbar();
    void toolbarRunsMenuHandlers();
    void deleteAsksBelowTenMegabytes_data();
    void deleteAsksBelowTenMegabytes();
};

// Separators sit between the groups; the viewer and race-card format buttons
// stay hidden until a paper day is shown.
void TestMainMenus::toolbar()
{
    test::ProgramFolder folder(false);
    frmmainmenu w;
    for (int i = 1; i <= 26; ++i) {
        QCOMPARE(w.menus().button(i)->isSeparator(), i == 2 || i == 5 || i == 8 || i == 10 || i == 18 || i == 22);
        QCOMPARE(w.menus().button(i)->isVisible(), !((i >= 10 && i <= 17) || (i >= 19 && i <= 22)));
    }
}

void TestMainMenus::toolbarRunsMenuHandlers()
{
    test::ProgramFolder folder;
    ScriptedMessages box;
    frmmainmenu w;
    w.firstActivation();
    w.menus().button(7)->trigger();
    QCOMPARE(box.shown().back().title, QString("最適化の確認です..."));
    w.menus().button(9)->trigger();
    QCOMPARE(box.shown().back().text, QString("印刷可能な画面が有りません"));
    // A button whose menu item is disabled does nothing.
    const std::size_t shown = box.shown().size();
    w.menus().action("mnuraceyoso")->setEnabled(false);
    w.menus().button(12)->trigger();
    QCOMPARE(box.shown().size(), shown);
    QVERIFY(!w.menus().button(12)->isEnabled());
}

void TestMainMenus::deleteAsksBelowTenMegabytes_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("asks");
    QTest::newRow("9,999,999 bytes") << qint64(9999999) << true;
    QTest::newRow("10,000,000 bytes") << qint64(10000000) << false;
}

void TestMainMenus::deleteAsksBelowTenMegabytes()
{
    QFETCH(qint64, size);
    QFETCH(bool, asks);
    test::ProgramFolder folder;
    modkelmon::close_db();
    QFile file(folder.file("kelmon.mdb"));
    QVERIFY(file.resize(size));
    modkelmon::open_db();
    ScriptedMessages box;
    frmmainmenu w;
    bool opened = false;
    // The dialog, when it opens, is closed again at once.
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto *d = qobject_cast<frmdelete *>(QApplication::activeModalWidget())) {
            opened = true;
            d->close();
        }
    });
    closer.start(10);
    w.menus().action("mnudelete")->trigger();   // a question is answered No
    if (asks) {
        QCOMPARE(box.shown().size(), std::size_t(1));
        QCOMPARE(box.shown()[0].title, QString("古いデジタル紙面を削除しますか？"));
        QCOMPARE(box.shown()[0].text, QString("古いデジタル紙面を削除する必要は有りません\r\n\r\n削除しますか？"));
        QVERIFY(!opened);
    } else {
        QVERIFY(box.shown().empty());
        QVERIFY(opened);
    }
    QVERIFY(!w.menus().button(6)->isChecked());
}

QTEST_MAIN(TestMainMenus)
#include "tst_mainmenus.moc"
