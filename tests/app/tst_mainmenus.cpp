// The menu bar, toolbar and popup menus against their lists, and the
// commands behind the toolbar buttons.

#include "app/ui/frmmainmenu.h"
#include "common/modkelmon.h"
#include "platform/messages.h"
#include "registration/ui/frmdelete.h"
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using namespace kelmon;

class TestMainMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuItems_data();
    void menuItems();
    void popupMenus_data();
    void popupMenus();
    void toolbar();
    void toolbarRunsMenuHandlers();
    void deleteAsksBelowTenMegabytes_data();
    void deleteAsksBelowTenMegabytes();
};

void TestMainMenus::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    const char *const rows[][3] = {
        {"mnukyosocodesub_0", "01#   桐   生 ( きりゅう )", ""},
        {"mnukyosocodesub_8", "09#      津    ( つ )", ""},
        {"mnudownload", "デジタル紙面をダウンロード(&W)...", "Ctrl+W"},
        {"mnuhelprun", "ヘルプ(&H)", "F1"},
        {"mnufileline1", "", ""},
    };
    for (const auto &r : rows)
        QTest::newRow(r[0]) << QString(r[0]) << QString::fromUtf8(r[1]) << QString(r[2]);
}

void TestMainMenus::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    test::ProgramFolder folder(false);
    frmmainmenu w;
    QAction *a = w.menus().action(name);
    QVERIFY(a);
    QCOMPARE(a->isSeparator(), caption.isEmpty());
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut().toString(), shortcut);
}

void TestMainMenus::popupMenus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");
    const QString a = "この項目を昇順(小→大)で並び替え", d = "この項目を降順(大→小)で並び替え",
                  v = "この項目の平均値を計算", r = "この選手の情報を表示", c = "このレースの情報を表示",
                  s = "このレースの結果を表示";
    QTest::newRow("mnuri") << "mnuri"
                           << QStringList{a, d, v, "", "この項目を非表示へ", "この項目の後にデータを追加", "", r, c, s, "",
                                          "この項目に対してのヘルプを表示"};
    QTest::newRow("mnury") << "mnury" << QStringList{a, d, "", r};
}

void TestMainMenus::popupMenus()
{
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    test::ProgramFolder folder(false);
    frmmainmenu w;
    QMenu *m = w.menus().menu(name);
    QVERIFY(m);
    QCOMPARE(m->title(), QString("並び替え"));
    const QList<QAction *> actions = m->actions();
    QCOMPARE(actions.size(), items.size());
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(actions[i]->text(), items[i]);
        QCOMPARE(actions[i]->objectName(), QString("%1sub_%2").arg(name).arg(i));
    }
}

void TestMainMenus::toolbar()
{
    // Separators sit between the groups; the viewer buttons and the race-card
    // format buttons are hidden until a paper day is shown.
    test::ProgramFolder folder(false);
    frmmainmenu w;
    QCOMPARE(w.menus().toolbar()->actions().size(), 26);
    for (int i = 1; i <= 26; ++i) {
        QAction *b = w.menus().button(i);
        QVERIFY(b);
        QCOMPARE(b->isSeparator(), i == 2 || i == 5 || i == 8 || i == 10 || i == 18 || i == 22);
        QCOMPARE(b->isVisible(), !((i >= 10 && i <= 17) || (i >= 19 && i <= 22)));
    }
    QCOMPARE(w.menus().button(1)->toolTip(), QString("競走場を選択します"));
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
