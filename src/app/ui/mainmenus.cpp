#include "mainmenus.h"

#include "app/ui/toolbaricons.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace kelmon {

const char *const venueCaptions[24] = {
    "01#   桐   生 ( きりゅう )", "02#   戸   田 ( とだ )",     "03#   江戸川 ( えどがわ )",
    "04#   平和島 ( へいわじま )", "05#   多摩川 ( たまがわ )", "06#   浜名湖 ( はまなこ )",
    "07#   蒲   郡 ( がまごおり )", "08#   常   滑 ( とこなめ )", "09#      津    ( つ )",
    "10#   三   国 ( みくに )",   "11#   琵琶湖 ( びわこ )",   "12#   住之江 ( すみのえ )",
    "13#   尼   崎 ( あまがさき )", "14#   鳴   門 ( なると )",   "15#   丸   亀 ( まるがめ )",
    "16#   児   島 ( こじま )",   "17#   宮   島 ( みやじま )", "18#   徳   山 ( とくやま )",
    "19#   下   関 ( しものせき )", "20#   若   松 ( わかまつ )", "21#   芦   屋 ( あしや )",
    "22#   福   岡 ( ふくおか )", "23#   唐   津 ( からつ )",   "24#   大   村 ( おおむら )",
};

const char *const toolTips[27] = {
    "",
    "競走場を選択します", "", "デジタル紙面をダウンロードします", "デジタル紙面を登録します", "",
    "古いデジタル紙面を削除します", "データベースを最適化します", "", "画面イメージを印刷します", "",
    "レース情報を表示します", "レース予想を表示します", "前日のレース結果を表示します", "選手情報を表示します",
    "モーター情報を表示します", "ボート情報を表示します", "データルームを表示します", "",
    "レース情報を初期状態に戻します", "レース情報を全て表示します", "レース情報の表示形式を記憶します", "",
    "ヘルプを表示します", "ケルモンデジタルのサポート情報を表示します",
    "ケルモンニュースのホームページを表示します", "ケルモンデジタルのバージョン情報を表示します",
};

namespace {

const MenuItemDef fileItems[] = {
    {"mnunext_0", "前の開催日へ(&U)", ""},
    {"mnunext_1", "次の開催日へ(&N)", ""},
    {"mnufileline1", "", ""},
    {"mnudownload", "デジタル紙面をダウンロード(&W)...", "Ctrl+W"},
    {"mnudatabase", "デジタル紙面を登録(&M)...", "Ctrl+M"},
    {"mnufileline2", "", ""},
    {"mnudelete", "古いデジタル紙面を削除(&D)", ""},
    {"mnuoptimize", "データベースの最適化(&O)", ""},
    {"mnufileline3", "", ""},
    {"mnuprint", "印刷(&P)...", "Ctrl+P"},
    {"mnufileline4", "", ""},
    {"mnuproperty", "プロパティ(&R)", ""},
    {"mnuend", "ケルモンデジタル の終了(&X)", ""},
};

const MenuItemDef viewItems[] = {
    {"mnuraceinfo", "レース情報(&I)", ""},
    {"mnuraceyoso", "レース予想(&E)", ""},
    {"mnuracerest", "レース結果(&R)", ""},
    {"mnumenuline1", "", ""},
    {"mnuracer", "選手情報(&T)", ""},
    {"mnumotor", "モーター情報(&M)", ""},
    {"mnuboats", "ボート情報(&B)", ""},
    {"mnumenuline2", "", ""},
    {"mnudataroom", "データルーム(&D)", ""},
};

const MenuItemDef dispItems[] = {
    {"mnudispa", "表示項目を初期状態へ", ""},
    {"mnudispb", "全ての項目を表示", ""},
    {"mnudisplne1", "", ""},
    {"mnudispc", "この表示形式を記憶", ""},
};

const MenuItemDef windowItems[] = {
    {"mnuwindowsub_0", "上下に並べて表示(&H)", ""},
    {"mnuwindowsub_1", "左右に並べて表示(&V)", ""},
    {"mnuwindowsub_2", "重ねて表示(&C)", ""},
    {"mnuwindowsub_3", "アイコンの整列(&A)", ""},
};

const MenuItemDef helpItems[] = {
    {"mnuhelprun", "ヘルプ(&H)", ""},
    {"mnuhelpline1", "", ""},
    {"mnusupport", "ケルモンデジタル サポート情報(&T)", ""},
    {"mnuweb", "ケルモンニュース Webページ(&W)", ""},
    {"mnuhelpline2", "", ""},
    {"mnuversion", "バージョン情報(&A)...", ""},
};

// Popup item kinds, by their captions.
const char *const ascending = "この項目を昇順(小→大)で並び替え";
const char *const descending = "この項目を降順(大→小)で並び替え";
const char *const average = "この項目の平均値を計算";
const char *const racer = "この選手の情報を表示";
const char *const racecard = "このレースの情報を表示";
const char *const result = "このレースの結果を表示";

struct PopupDef {
    const char *name;     // mnuri ...; its items are named name + "sub_" + index
    std::initializer_list<const char *> items;   // "-" = separator
};

const PopupDef popupDefs[] = {
    {"mnuri", {ascending, descending, average, "-", "この項目を非表示へ", "この項目の後にデータを追加", "-", racer,
               racecard, result, "-", "この項目に対してのヘルプを表示"}},
    {"mnudm", {ascending, descending, average, "-", result}},
    {"mnury", {ascending, descending, "-", racer}},
    {"mnurr", {ascending, descending, average, "-", racer}},
    {"mnurs", {ascending, descending, average, "-", racer, racecard}},
    {"mnurd", {ascending, descending, average, "-", result}},
    {"mnumt", {ascending, descending, average, "-", racer}},
    {"mnubt", {ascending, descending, average, "-", racer}},
    {"mnul1", {ascending, descending, average, "-", racer, racecard}},
    {"mnul2", {ascending, descending, average, "-", racer, racecard}},
    {"mnucr", {ascending, descending, average, "-", racer, racecard}},
    {"mnuks", {ascending, descending, average, "-", racer, racecard}},
};

const char *const addItems[28] = {
    "選手の勝率", "選手の２連対率", "選手の３連対率", "選手の全国勝利度数", "選手の全国着回数率",
    "選手の当地勝利度数", "選手の当地着回数率", "選手の前走３場所成績", "選手の前回当地成績", "選手の次回斡旋予定",
    "選手のコース別実績", "-", "モーターの基本情報", "モーターの勝利度数", "モーターの最高時計", "モーターの前回成績",
    "-", "ボートの基本情報", "ボートの勝利度数", "ボートの前回成績", "-", "今節の成績(着順)",
    "今節の成績(得点状況)", "今節の成績(コース・ＳＴ)", "今節の成績(展示タイム)", "-", "早見", "お知らせ",
};

// Toolbar buttons without a command are drawn as separators.
bool isSeparatorButton(int index)
{
    return index == 2 || index == 5 || index == 8 || index == 10 || index == 18 || index == 22;
}

} // namespace

MainMenus::MainMenus(QMainWindow *window)
{
    buildMenuBar(window);
    buildToolbar(window);
    buildPopups(window);
}

QMenu *MainMenus::addMenu(QMenu *parent, const QString &name, const QString &caption)
{
    QMenu *m = parent ? parent->addMenu(caption) : new QMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    menus_.insert(name, m);
    return m;
}

QAction *MainMenus::addItem(QMenu *menu, const MenuItemDef &item)
{
    QAction *a = *item.caption ? menu->addAction(QString::fromUtf8(item.caption)) : menu->addSeparator();
    a->setObjectName(QString::fromLatin1(item.name));
    if (*item.shortcut)
        a->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
    actions_.insert(a->objectName(), a);
    return a;
}

void MainMenus::buildMenuBar(QMainWindow *window)
{
    bar_ = window->menuBar();
    auto top = [&](const char *name, const char *caption) {
        QMenu *m = bar_->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        menus_.insert(m->objectName(), m);
        barMenus_.append(m->menuAction());
        return m;
    };

    QMenu *file = top("mnufile", "ファイル(&F)");
    QMenu *venues = addMenu(file, QStringLiteral("mnukyosocode"), QStringLiteral("競走場の変更(&K)..."));
    for (int i = 0; i < 24; ++i) {
        QAction *a = venues->addAction(QString::fromUtf8(venueCaptions[i]));
        a->setObjectName(QStringLiteral("mnukyosocodesub_%1").arg(i));
        actions_.insert(a->objectName(), a);
    }
    for (const auto &item : fileItems)
        addItem(file, item);

    QMenu *view = top("mnumenu", "表示(&V)");
    for (const auto &item : viewItems)
        addItem(view, item);

    QMenu *disp = top("mnudisp", "レース情報の形式(&V)");
    for (const auto &item : dispItems)
        addItem(disp, item);

    QMenu *windows = top("mnuwindow", "ウインドウ(&W)");
    for (const auto &item : windowItems)
        addItem(windows, item);

    QMenu *help = top("mnuhelp", "ヘルプ(&H)");
    for (const auto &item : helpItems)
        addItem(help, item);
    // F1 opens the help wherever the focus is.
    actions_.value(QStringLiteral("mnuhelprun"))->setShortcut(QKeySequence(Qt::Key_F1));
    setBarMenuVisible(QStringLiteral("mnudisp"), false);
}

void MainMenus::setBarMenuVisible(const QString &name, bool visible)
{
    QAction *item = menus_.value(name)->menuAction();
    item->setVisible(visible);
    // The bar holds the access keys of all its menus, hidden or not, and
    // shares a key between its menus in turn: a hidden menu would take every
    // second press of its letter.
    const QList<QAction *> shown = bar_->actions();
    if (shown.contains(item) == visible)
        return;
    if (!visible) {
        bar_->removeAction(item);
        return;
    }
    QAction *before = nullptr;
    for (qsizetype i = barMenus_.indexOf(item) + 1; i < barMenus_.size() && !before; ++i)
        if (shown.contains(barMenus_[i]))
            before = barMenus_[i];
    bar_->insertAction(before, item);
}

void MainMenus::buildToolbar(QMainWindow *window)
{
    toolbar_ = window->addToolBar(QStringLiteral("tlbmainmenu"));
    toolbar_->setObjectName(QStringLiteral("tlbmainmenu"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));
    buttons_.append(nullptr);
    for (int i = 1; i <= 26; ++i) {
        QAction *a = nullptr;
        if (isSeparatorButton(i)) {
            a = toolbar_->addSeparator();
        } else if (i == 1) {
            venueButton_ = new QToolButton(toolbar_);
            venueButton_->setIcon(toolbarIcon(1));
            venueButton_->setPopupMode(QToolButton::InstantPopup);
            auto *drop = new QMenu(venueButton_);
            drop->setObjectName(QStringLiteral("tlbmainmenu_1_menu"));
            for (int v = 0; v < 24; ++v)
                drop->addAction(QString::fromUtf8(venueCaptions[v]))->setObjectName(
                    QStringLiteral("tlbmainmenu_1_%1").arg(v));
            venueButton_->setMenu(drop);
            a = toolbar_->addWidget(venueButton_);
            venueButton_->setToolTip(QString::fromUtf8(toolTips[1]));
        } else {
            a = toolbar_->addAction(toolbarIcon(i), QString());
        }
        a->setObjectName(QStringLiteral("tlbmainmenu_%1").arg(i));
        if (*toolTips[i])
            a->setToolTip(QString::fromUtf8(toolTips[i]));
        buttons_.append(a);
    }
    for (int i : {19, 20, 21, 22})
        buttons_[i]->setVisible(false);
}

void MainMenus::buildPopups(QMainWindow *window)
{
    for (const auto &popup : popupDefs) {
        const QString name = QString::fromLatin1(popup.name);
        QMenu *m = new QMenu(QStringLiteral("並び替え"), window);
        m->setObjectName(name);
        menus_.insert(name, m);
        popups_ << name;
        int index = 0;
        for (const char *caption : popup.items) {
            const QString itemName = QStringLiteral("%1sub_%2").arg(name).arg(index);
            QAction *a = nullptr;
            if (name == QLatin1String("mnuri") && index == 5) {
                QMenu *add = addMenu(m, QStringLiteral("mnurisubadd"), QString::fromUtf8(caption));
                for (int k = 0; k < 28; ++k) {
                    QAction *item = QString::fromUtf8(addItems[k]) == QLatin1String("-")
                        ? add->addSeparator()
                        : add->addAction(QString::fromUtf8(addItems[k]));
                    item->setObjectName(QStringLiteral("mnurisubadd_%1").arg(k));
                    actions_.insert(item->objectName(), item);
                }
                a = add->menuAction();
            } else if (QString::fromUtf8(caption) == QLatin1String("-")) {
                a = m->addSeparator();
            } else {
                a = m->addAction(QString::fromUtf8(caption));
            }
            a->setObjectName(itemName);
            actions_.insert(itemName, a);
            ++index;
        }
    }
}

QAction *MainMenus::action(const QString &name) const { return actions_.value(name); }
QMenu *MainMenus::menu(const QString &name) const { return menus_.value(name); }
QAction *MainMenus::button(int index) const { return index >= 1 && index <= 26 ? buttons_[index] : nullptr; }
QStringList MainMenus::popupNames() const { return popups_; }

} // namespace kelmon
