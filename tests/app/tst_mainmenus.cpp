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
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using namespace kelmon;

class TestMainMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuItems_data();
    void menuItems();
    void menuBarOrder();
    void popupMenus_data();
    void popupMenus();
    void toolbar_data();
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
        {"mnukyosocodesub_23", "24#   大   村 ( おおむら )", ""},
        {"mnunext_0", "前の開催日へ(&U)", ""},
        {"mnunext_1", "次の開催日へ(&N)", ""},
        {"mnudownload", "デジタル紙面をダウンロード(&W)...", "Ctrl+W"},
        {"mnudatabase", "デジタル紙面を登録(&M)...", "Ctrl+M"},
        {"mnudelete", "古いデジタル紙面を削除(&D)", ""},
        {"mnuoptimize", "データベースの最適化(&O)", ""},
        {"mnuprint", "印刷(&P)...", "Ctrl+P"},
        {"mnuproperty", "プロパティ(&R)", ""},
        {"mnuend", "ケルモンデジタル の終了(&X)", ""},
        {"mnuraceinfo", "レース情報(&I)", ""},
        {"mnuraceyoso", "レース予想(&E)", ""},
        {"mnuracerest", "レース結果(&R)", ""},
        {"mnuracer", "選手情報(&T)", ""},
        {"mnumotor", "モーター情報(&M)", ""},
        {"mnuboats", "ボート情報(&B)", ""},
        {"mnudataroom", "データルーム(&D)", ""},
        {"mnudispa", "表示項目を初期状態へ", ""},
        {"mnudispb", "全ての項目を表示", ""},
        {"mnudispc", "この表示形式を記憶", ""},
        {"mnuwindowsub_0", "上下に並べて表示(&H)", ""},
        {"mnuwindowsub_1", "左右に並べて表示(&V)", ""},
        {"mnuwindowsub_2", "重ねて表示(&C)", ""},
        {"mnuwindowsub_3", "アイコンの整列(&A)", ""},
        {"mnuhelprun", "ヘルプ(&H)", "F1"},
        {"mnusupport", "ケルモンデジタル サポート情報(&T)", ""},
        {"mnuweb", "ケルモンニュース Webページ(&W)", ""},
        {"mnuversion", "バージョン情報(&A)...", ""},
        {"mnufileline1", "", ""},
        {"mnudisplne1", "", ""},
        {"mnuhelpline2", "", ""},
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

void TestMainMenus::menuBarOrder()
{
    test::ProgramFolder folder(false);
    frmmainmenu w;
    QStringList titles;
    for (QAction *a : w.menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, QStringList({"ファイル(&F)", "表示(&V)", "レース情報の形式(&V)", "ウインドウ(&W)", "ヘルプ(&H)"}));
    QVERIFY(!w.menus().menu("mnudisp")->menuAction()->isVisible());
    QMenu *file = w.menus().menu("mnufile");
    QCOMPARE(file->actions().first()->text(), QString("競走場の変更(&K)..."));
    QCOMPARE(file->actions().size(), 14);
    QCOMPARE(w.menus().menu("mnukyosocode")->actions().size(), 24);
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
    QTest::newRow("mnudm") << "mnudm" << QStringList{a, d, v, "", s};
    QTest::newRow("mnury") << "mnury" << QStringList{a, d, "", r};
    QTest::newRow("mnurr") << "mnurr" << QStringList{a, d, v, "", r};
    QTest::newRow("mnurs") << "mnurs" << QStringList{a, d, v, "", r, c};
    QTest::newRow("mnurd") << "mnurd" << QStringList{a, d, v, "", s};
    for (const char *name : {"mnumt", "mnubt"})
        QTest::newRow(name) << name << QStringList{a, d, v, "", r};
    for (const char *name : {"mnul1", "mnul2", "mnucr", "mnuks"})
        QTest::newRow(name) << name << QStringList{a, d, v, "", r, c};
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
    if (name == "mnuri") {
        QMenu *add = w.menus().menu("mnurisubadd");
        QCOMPARE(add->actions().size(), 28);
        QCOMPARE(add->actions()[0]->text(), QString("選手の勝率"));
        QVERIFY(add->actions()[11]->isSeparator());
        QCOMPARE(add->actions()[23]->text(), QString("今節の成績(コース・ＳＴ)"));
        QCOMPARE(add->actions()[27]->text(), QString("お知らせ"));
    }
}

void TestMainMenus::toolbar_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<bool>("separator");
    QTest::addColumn<bool>("visibleAtStart");
    const char *const tips[27] = {
        "", "競走場を選択します", "", "デジタル紙面をダウンロードします", "デジタル紙面を登録します", "",
        "古いデジタル紙面を削除します", "データベースを最適化します", "", "画面イメージを印刷します", "",
        "レース情報を表示します", "レース予想を表示します", "前日のレース結果を表示します", "選手情報を表示します",
        "モーター情報を表示します", "ボート情報を表示します", "データルームを表示します", "",
        "レース情報を初期状態に戻します", "レース情報を全て表示します", "レース情報の表示形式を記憶します", "",
        "ヘルプを表示します", "ケルモンデジタルのサポート情報を表示します",
        "ケルモンニュースのホームページを表示します", "ケルモンデジタルのバージョン情報を表示します"};
    for (int i = 1; i <= 26; ++i) {
        const bool separator = i == 2 || i == 5 || i == 8 || i == 10 || i == 18 || i == 22;
        const bool hidden = (i >= 10 && i <= 17) || (i >= 19 && i <= 22);
        QTest::newRow(qPrintable(QString::number(i))) << i << QString::fromUtf8(tips[i]) << separator << !hidden;
    }
}

void TestMainMenus::toolbar()
{
    QFETCH(int, button);
    QFETCH(QString, tip);
    QFETCH(bool, separator);
    QFETCH(bool, visibleAtStart);
    test::ProgramFolder folder(false);
    frmmainmenu w;
    QAction *b = w.menus().button(button);
    QVERIFY(b);
    QCOMPARE(b->isSeparator(), separator);
    QCOMPARE(b->isVisible(), visibleAtStart);
    if (!tip.isEmpty())
        QCOMPARE(b->toolTip(), tip);
    QCOMPARE(w.menus().toolbar()->actions().size(), 26);
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
