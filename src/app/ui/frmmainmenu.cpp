#include "frmmainmenu.h"

#include "app/ui/viewerwindow.h"
#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "common/textforms.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/messages.h"
#include "platform/twips.h"
#include "platform/ui/childaccesskeys.h"
#include "platform/yield.h"
#include "racecard/ui/racecardcommands.h"
#include "app/ui/gridpopups.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelmon {

namespace {
const QString warningTitle = QStringLiteral("警告です...");
}

frmmainmenu::frmmainmenu(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmmainmenu"));
    setWindowTitle(QStringLiteral("ケルモンデジタル"));
    menus_ = std::make_unique<MainMenus>(this);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("mdiarea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdi_, 1);
    setCentralWidget(central);

    connectCommands();
    addChildWindowKeys();
    racecard::connectRaceCardCommands(*this);
    connectGridPopups(*this);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &frmmainmenu::subWindowActivated);
    modkelmon::set_dispmenu_handler([this](bool visible) { set_dispmenu_visible(visible); });
    set_menuenabled(false);
    // Downloading from the publisher's server is not part of this build.
    menus_->action(QStringLiteral("mnudownload"))->setEnabled(hasCommand(QStringLiteral("mnudownload")));
}

frmmainmenu::~frmmainmenu()
{
    // Children closing during destruction must not reach the menus.
    disconnect(mdi_, nullptr, this, nullptr);
    modkelmon::set_dispmenu_handler({});
}

QWidget *frmmainmenu::buildHeader()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Picture1"));
    panel->setFrameShape(QFrame::StyledPanel);
    header_ = new QGridLayout(panel);
    QGridLayout *grid = header_;
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);

    auto caption = [panel](const char *text) {
        auto *l = new QLabel(QString::fromUtf8(text), panel);
        l->setStyleSheet(QStringLiteral("color: #404040;"));
        return l;
    };
    auto value = [this, panel](const char *name, int minWidth) {
        auto *l = new QLabel(panel);
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(minWidth);
        QFont f = makeFont(DefaultFontName, 11, true);
        l->setFont(f);
        labels_.insert(l->objectName(), l);
        return l;
    };

    // Row 1 holds the separator lines under the panel's caption.
    grid->addWidget(caption("現在選択されている値"), 0, 0, 1, 2);
    grid->setRowMinimumHeight(1, 6);
    const QColor lineColours[2] = {QColor(0x80, 0x80, 0x80), QColor(0xFF, 0xFF, 0xFF)};
    for (int i = 0; i < 2; ++i) {
        Line1[i] = new QWidget(panel);
        Line1[i]->setObjectName(QStringLiteral("Line1_%1").arg(i));
        Line1[i]->setAutoFillBackground(true);
        QPalette palette = Line1[i]->palette();
        palette.setColor(QPalette::Window, lineColours[i]);
        Line1[i]->setPalette(palette);
    }
    grid->addWidget(caption("競走場"), 2, 0);
    grid->addWidget(value("lblkyosocode", 70), 2, 1);
    grid->addWidget(caption("開催コード"), 2, 2);
    grid->addWidget(value("lblgradecode", 40), 2, 3);
    // The title takes the width the window gives it (placeHeader), as far as
    // the row has room.
    QLabel *title = value("lblracesword", 1);
    title->setTextInteractionFlags(Qt::NoTextInteraction);
    title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(title, 2, 4, 1, 5);
    grid->addWidget(caption("開催日"), 3, 0);
    grid->addWidget(value("lbldate", 70), 3, 1);
    grid->addWidget(value("lblweekday", 40), 3, 2);
    grid->addWidget(caption("日程"), 3, 3);
    grid->addWidget(value("lbldatescnt", 50), 3, 4);

    const char *arrows[2] = {"◀ 前へ", "次へ ▶"};
    const char *tips[2] = {"この競走場の前のデジタル紙面を表示します", "この競走場の次のデジタル紙面を表示します"};
    for (int i = 0; i < 2; ++i) {
        cmdnext_[i] = new QPushButton(QString::fromUtf8(arrows[i]), panel);
        cmdnext_[i]->setObjectName(QStringLiteral("cmdnext_%1").arg(i));
        cmdnext_[i]->setToolTip(QString::fromUtf8(tips[i]));
        // Reached by Tab; a click leaves the focus in the active child.
        cmdnext_[i]->setFocusPolicy(Qt::TabFocus);
        grid->addWidget(cmdnext_[i], 3, 5 + i);
        connect(cmdnext_[i], &QPushButton::clicked, this, [this, i] { cmdnext_Click(i); });
    }
    cmdkoyomi_ = new QPushButton(QStringLiteral("暦を表示"), panel);
    cmdkoyomi_->setObjectName(QStringLiteral("cmdkoyomi"));
    cmdkoyomi_->setToolTip(QStringLiteral("今日の暦（こよみ）を表示します"));
    cmdkoyomi_->setFocusPolicy(Qt::TabFocus);
    grid->addWidget(cmdkoyomi_, 3, 7);
    connect(cmdkoyomi_, &QPushButton::clicked, this, &frmmainmenu::cmdkoyomi_Click);
    grid->setColumnStretch(8, 1);
    // The panel follows the window's width; once its layout has placed the
    // rows, the lines and the title follow (placeHeader).
    panel->installEventFilter(this);
    return panel;
}

// The separator lines end 115 twips and the meeting title 6360 twips short of
// the window's right edge, whatever its width.
void frmmainmenu::placeHeader()
{
    if (!header_)
        return;
    const int width = pixelsToTwips(frameGeometry().width());
    const int lineEnd = std::max(0, width - 115) / TwipsPerPixel;
    const QRect row = header_->cellRect(1, 0);
    const int y = row.isValid() ? row.center().y() - 1 : 0;
    for (int i = 0; i < 2; ++i)
        Line1[i]->setGeometry(0, y + i, lineEnd + 1, 1);
    headerLabel(QStringLiteral("lblracesword"))->setMaximumWidth(std::max(0, width - 6360) / TwipsPerPixel);
}

bool frmmainmenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && header_ && watched == header_->parentWidget())
        placeHeader();
    return QMainWindow::eventFilter(watched, event);
}

QLabel *frmmainmenu::headerLabel(const QString &name) const { return labels_.value(name); }

void frmmainmenu::connectCommands()
{
    auto on = [this](const char *name, auto handler) {
        QAction *a = menus_->action(QString::fromLatin1(name));
        Q_ASSERT(a);
        connect(a, &QAction::triggered, this, handler);
    };
    for (int i = 0; i < 24; ++i)
        connect(menus_->action(QStringLiteral("mnukyosocodesub_%1").arg(i)), &QAction::triggered, this,
                [this, i] { mnukyosocodesub_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(menus_->action(QStringLiteral("mnunext_%1").arg(i)), &QAction::triggered, this,
                [this, i] { cmdnext_Click(i); });
    for (int i = 0; i < 4; ++i)
        connect(menus_->action(QStringLiteral("mnuwindowsub_%1").arg(i)), &QAction::triggered, this,
                [this, i] { mnuwindowsub_Click(i); });
    on("mnudownload", &frmmainmenu::mnudownload_Click);
    on("mnudatabase", &frmmainmenu::mnudatabase_Click);
    on("mnudelete", &frmmainmenu::mnudelete_Click);
    on("mnuoptimize", &frmmainmenu::mnuoptimize_Click);
    on("mnuprint", &frmmainmenu::mnuprint_Click);
    on("mnuproperty", &frmmainmenu::mnuproperty_Click);
    on("mnuend", &frmmainmenu::mnuend_Click);
    on("mnuraceinfo", &frmmainmenu::mnuraceinfo_Click);
    on("mnuraceyoso", &frmmainmenu::mnuraceyoso_Click);
    on("mnuracerest", &frmmainmenu::mnuracerest_Click);
    on("mnuracer", &frmmainmenu::mnuracer_Click);
    on("mnumotor", &frmmainmenu::mnumotor_Click);
    on("mnuboats", &frmmainmenu::mnuboats_Click);
    on("mnudataroom", &frmmainmenu::mnudataroom_Click);
    on("mnuhelprun", &frmmainmenu::mnuhelprun_Click);
    on("mnusupport", &frmmainmenu::mnusupport_Click);
    on("mnuweb", &frmmainmenu::mnuweb_Click);
    on("mnuversion", &frmmainmenu::mnuversion_Click);

    // The venue drop-down of toolbar button 1.
    connect(menus_->venueButton()->menu(), &QMenu::triggered, this,
            [this](QAction *item) { tlbmainmenu_ButtonMenuClick(item->text()); });

    // Toolbar buttons run exactly the menu items' handlers and follow their state.
    static const struct { int button; const char *item; } buttonItems[] = {
        {3, "mnudownload"}, {4, "mnudatabase"}, {6, "mnudelete"},   {7, "mnuoptimize"}, {9, "mnuprint"},
        {11, "mnuraceinfo"}, {12, "mnuraceyoso"}, {13, "mnuracerest"}, {14, "mnuracer"},  {15, "mnumotor"},
        {16, "mnuboats"},   {17, "mnudataroom"}, {19, "mnudispa"},   {20, "mnudispb"},  {21, "mnudispc"},
        {23, "mnuhelprun"}, {24, "mnusupport"},  {25, "mnuweb"},     {26, "mnuversion"},
    };
    for (const auto &bi : buttonItems) {
        QAction *button = menus_->button(bi.button);
        QAction *item = menus_->action(QString::fromLatin1(bi.item));
        connect(button, &QAction::triggered, item, [item] {
            if (item->isEnabled())
                item->trigger();
        });
        button->setEnabled(item->isEnabled());
        connect(item, &QAction::changed, button, [button, item] { button->setEnabled(item->isEnabled()); });
    }
}

// The keys a multiple-document frame gives its child windows: Ctrl+F4
// closes the active child, Ctrl+F6 and Ctrl+Shift+F6 go to the next and the
// previous child, Alt+minus opens the active child's system menu; the
// access keys of the active child's buttons come before the menu bar's.
void frmmainmenu::addChildWindowKeys()
{
    auto key = [this](QKeyCombination keys, auto handler) {
        auto *a = new QAction(this);
        a->setShortcut(QKeySequence(keys));
        addAction(a);
        connect(a, &QAction::triggered, this, handler);
    };
    key(Qt::CTRL | Qt::Key_F4, [this] {
        if (QMdiSubWindow *child = mdi_->activeSubWindow())
            child->close();
    });
    key(Qt::CTRL | Qt::Key_F6, [this] { mdi_->activateNextSubWindow(); });
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_F6, [this] { mdi_->activatePreviousSubWindow(); });
    key(Qt::ALT | Qt::Key_Minus, [this] {
        if (QMdiSubWindow *child = mdi_->activeSubWindow())
            child->showSystemMenu();
    });
    new ChildAccessKeys(mdi_, this);
}

QList<QWidget *> frmmainmenu::headerStops() const
{
    QList<QWidget *> stops;
    for (QPushButton *button : {cmdnext_[0], cmdnext_[1], cmdkoyomi_})
        if (button->isVisible() && button->isEnabled())
            stops.append(button);
    return stops;
}

// The order Tab walks: the header's buttons, then the controls of the
// current child window (the child itself where it has none). A minimized
// child offers none. Nothing else of the frame is a stop: the toolbar's
// commands are the menus', and a minimized child is reached by Ctrl+F6 and
// restored from its system menu.
QList<QWidget *> frmmainmenu::tabCycle() const
{
    QList<QWidget *> cycle = headerStops();
    QMdiSubWindow *child = mdi_->currentSubWindow();
    if (child && !child->isMinimized()) {
        const QList<QWidget *> stops = tabStops(child);
        cycle += stops.isEmpty() ? QList<QWidget *>{child} : stops;
    }
    return cycle;
}

bool frmmainmenu::moveTabFocus(bool next)
{
    const QList<QWidget *> cycle = tabCycle();
    if (cycle.isEmpty())
        return false;
    // The stop that holds the focus; from anywhere else Tab enters the cycle
    // at its first stop and Shift+Tab at its last.
    qsizetype at = -1;
    for (QWidget *w = QApplication::focusWidget(); w && w != this && at < 0; w = w->parentWidget())
        at = cycle.indexOf(w);
    const qsizetype n = cycle.size();
    const qsizetype to = at < 0 ? (next ? 0 : n - 1) : (at + (next ? 1 : n - 1)) % n;
    QWidget *stop = cycle[to];
    // A child without controls is one stop. Its frame, given the focus by
    // Tab, would hand it on at once to the next control it finds; its
    // contents hold it instead, and stand for the child in the cycle.
    if (auto *child = qobject_cast<QMdiSubWindow *>(stop); child && child->widget())
        stop = child->widget();
    stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool frmmainmenu::focusNextPrevChild(bool next)
{
    return moveTabFocus(next);
}

void frmmainmenu::firstActivation()
{
    if (firstActivated_)
        return;
    firstActivated_ = true;
    yieldToEvents();
    modkelmon::guarded([this] {
        {
            HourglassGuard hourglass;
            modkelmon::open_db();
        }
        QString replaced;
        {
            HourglassGuard hourglass;
            replaced = read_m_kanri();
        }
        if (!replaced.isEmpty())
            messages().information(warningTitle,
                                   QStringLiteral("設定の値が正しくないため既定値を使用します\r\n\r\n") + replaced);
        if (modkelmon::checkflag == 1) {
            const qint64 size = modkelmon::database_size();
            if (size > 10000000
                && messages().question(
                    warningTitle,
                    QStringLiteral("デジタル紙面のデータベースが 10Ｍバイトを越えています\r\n"
                                   "このままでは処理が遅くなる可能性があります...\r\n\r\n"
                                   "古いデジタル紙面を削除しますか？\r\n\r\n現在のデータベースサイズは ")
                        + format(double(size), u"#,0") + QStringLiteral("バイト です")))
                runDeleteDialog();
        }
        int count = 0;
        {
            HourglassGuard hourglass;
            count = modkelmon::count_lzh_files();
        }
        if (modkelmon::regstflag == 1 && count > 0
            && messages().question(QStringLiteral("登録の確認です..."),
                                   QStringLiteral("デジタル紙面が %1 件ダウンロードされています\r\n\r\n"
                                                  "ケルモンデジタルのデータベースへ登録しますか？")
                                       .arg(count)))
            runRegistrationDialog();
        if (modkelmon::kyosocode > 0)
            mnukyosocodesub_Click(modkelmon::kyosocode - 1);
    });
}

void frmmainmenu::mnukyosocodesub_Click(int index)
{
    if (index < 0 || index > 23)
        return;
    modkelmon::guarded([this, index] {
        Selection::Outcome outcome;
        {
            HourglassGuard hourglass;
            outcome = selection_.selectVenue(index);
        }
        showSelection();
        if (outcome != Selection::Outcome::Selected) {
            set_menuenabled(false);
            messages().information(warningTitle, Selection::warningText(outcome));
            return;
        }
        set_menuenabled(true);
        if (modkelmon::kyosocode != 0)
            mnuraceinfo_Click();
    });
}

void frmmainmenu::tlbmainmenu_ButtonMenuClick(const QString &itemText)
{
    mnukyosocodesub_Click(static_cast<int>(val(itemText.left(2))) - 1);
}

void frmmainmenu::cmdnext_Click(int index)
{
    modkelmon::guarded([this, index] {
        Selection::Outcome outcome;
        {
            HourglassGuard hourglass;
            outcome = selection_.moveDay(index);
        }
        if (outcome == Selection::Outcome::Selected)
            showSelection();
        else if (outcome != Selection::Outcome::Ignored)
            messages().information(warningTitle, Selection::warningText(outcome));
    });
}

void frmmainmenu::showSelection()
{
    const SelectionHeader &h = selection_.header();
    labels_.value(QStringLiteral("lblkyosocode"))->setText(h.kyosoName);
    labels_.value(QStringLiteral("lblgradecode"))->setText(h.gradeName);
    labels_.value(QStringLiteral("lblracesword"))->setText(h.racesword);
    labels_.value(QStringLiteral("lblracesword"))->setToolTip(h.racesTip);
    labels_.value(QStringLiteral("lbldate"))->setText(h.date);
    labels_.value(QStringLiteral("lblweekday"))->setText(h.weekday);
    labels_.value(QStringLiteral("lbldatescnt"))->setText(h.datescnt);
}

void frmmainmenu::set_menuenabled(bool flag)
{
    for (const char *name : {"mnunext_0", "mnunext_1", "mnuraceinfo", "mnuraceyoso", "mnuracerest", "mnuracer",
                             "mnumotor", "mnuboats", "mnudataroom"})
        menus_->action(QString::fromLatin1(name))->setEnabled(flag && hasCommand(QString::fromLatin1(name)));
    cmdkoyomi_->setEnabled(flag && hasCommand(QStringLiteral("cmdkoyomi")));
    cmdnext_[0]->setEnabled(flag);
    cmdnext_[1]->setEnabled(flag);
    for (int i = 10; i <= 17; ++i)
        menus_->button(i)->setVisible(flag);
}

void frmmainmenu::subWindowActivated(QMdiSubWindow *window)
{
    auto *viewer = window ? qobject_cast<ViewerWindow *>(window->widget()) : nullptr;
    set_dispmenu_visible(viewer && viewer->isRaceCard());
    if (viewer)
        viewer->activateFirstTime();
}

void frmmainmenu::set_dispmenu_visible(bool visible)
{
    menus_->setBarMenuVisible(QStringLiteral("mnudisp"), visible);
    for (int i : {19, 20, 21, 22})
        menus_->button(i)->setVisible(visible);
}

void frmmainmenu::openViewer(ViewerKind kind, const QString &title, CaptionTail tail)
{
    ViewerWindow *window = createViewer(kind);
    if (!window)
        return;
    ViewerContext c;
    const SelectionFields &f = selection_.fields();
    c.kyosocode = f.kyosocode;
    c.setuscode = f.setuscode;
    c.datescnt = f.datescnt;
    c.date = f.date;
    c.racesno = QStringLiteral("1");
    window->setContext(c);
    window->setCaption(title, tail, headerLabel(QStringLiteral("lblkyosocode"))->text());
    showViewer(mdi_, window);
}

void frmmainmenu::closeEvent(QCloseEvent *event)
{
    if (!messages().question(QStringLiteral("終了の確認です..."), QStringLiteral("ケルモンデジタルを終了しますか？"))) {
        event->ignore();
        return;
    }
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    mdi_->closeAllSubWindows();
    modkelmon::close_db();
    event->accept();
}

void frmmainmenu::mnuend_Click() { close(); }

} // namespace kelmon
