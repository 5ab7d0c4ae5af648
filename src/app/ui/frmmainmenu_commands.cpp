// The commands of the main window that are not selection or viewer openers:
// dialogs, compaction, printing, window arrangement, help and web pages.

#include "app/ui/frmmainmenu.h"
#include "app/ui/frmkoyomi.h"
#include "app/ui/frmproperty.h"
#include "app/ui/frmversion.h"
#include "download/ui/frmdld.h"
#include "platform/help.h"
#include "registration/ui/frmdatabase.h"
#include "registration/ui/frmdelete.h"
#include "app/ui/printing.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/hourglass.h"
#include "platform/messages.h"
#include "platform/yield.h"
#include "app/ui/viewerfactory.h"
#include "app/selection.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QHash>
#include <QLabel>
#include <QSqlQuery>

namespace kelmon {

namespace {

// Shows a toolbar button pressed while its command runs.
class PressedButton {
public:
    explicit PressedButton(QAction *button) : button_(button)
    {
        button_->setCheckable(true);
        button_->setChecked(true);
    }
    ~PressedButton()
    {
        button_->setChecked(false);
        button_->setCheckable(false);
    }
    PressedButton(const PressedButton &) = delete;
    PressedButton &operator=(const PressedButton &) = delete;

private:
    QAction *button_;
};

} // namespace

bool frmmainmenu::hasCommand(const QString &name) const
{
    static const QHash<QString, ViewerKind> viewers = {
        {QStringLiteral("cmdkoyomi"), ViewerKind::Almanac},       {QStringLiteral("mnuraceinfo"), ViewerKind::RaceCard},
        {QStringLiteral("mnuraceyoso"), ViewerKind::Predictions}, {QStringLiteral("mnuracerest"), ViewerKind::RaceResult},
        {QStringLiteral("mnuracer"), ViewerKind::RacerList},      {QStringLiteral("mnumotor"), ViewerKind::MotorList},
        {QStringLiteral("mnuboats"), ViewerKind::BoatList},       {QStringLiteral("mnudataroom"), ViewerKind::DataRoom},
    };
    if (viewers.contains(name))
        return hasViewer(viewers.value(name));
    return name == QLatin1String("mnunext_0") || name == QLatin1String("mnunext_1")
        || name == QLatin1String("mnudownload");
}

void frmmainmenu::runRegistrationDialog()
{
    frmdatabase dialog(this);
    dialog.exec();
}

void frmmainmenu::runDeleteDialog()
{
    frmdelete dialog(this);
    dialog.exec();
}

void frmmainmenu::mnudownload_Click()
{
    {
        PressedButton pressed(menus_->button(3));
        frmdld dialog(this);
        dialog.exec();
    }
    // Registration follows every download dialog when so set, even when
    // nothing was downloaded.
    if (modkelmon::downlflag == 1)
        mnudatabase_Click();
}

void frmmainmenu::mnudatabase_Click()
{
    PressedButton pressed(menus_->button(4));
    runRegistrationDialog();
}

void frmmainmenu::mnudelete_Click()
{
    PressedButton pressed(menus_->button(6));
    if (modkelmon::database_size() < 10000000
        && !messages().question(QStringLiteral("古いデジタル紙面を削除しますか？"),
                                QStringLiteral("古いデジタル紙面を削除する必要は有りません\r\n\r\n削除しますか？"),
                                false))
        return;
    runDeleteDialog();
}

void frmmainmenu::mnuoptimize_Click()
{
    PressedButton pressed(menus_->button(7));
    if (!messages().question(QStringLiteral("最適化の確認です..."), QStringLiteral("データベースを最適化しますか？")))
        return;
    modkelmon::guarded([] {
        qint64 before = 0;
        qint64 after = 0;
        {
            HourglassGuard hourglass;
            before = modkelmon::database_size();
            modkelmon::optimize_db();
            after = modkelmon::database_size();
        }
        messages().information(QStringLiteral("最適化の完了です..."),
                                QStringLiteral("データベースの最適化が完了しました\r\n\r\n最適化前のサイズは ")
                                    + format(double(before), u"#,0") + QStringLiteral("バイト\r\n最適化後のサイズは ")
                                    + format(double(after), u"#,0") + QStringLiteral("バイト になりました"));
    });
}

void frmmainmenu::mnuprint_Click()
{
    QMdiSubWindow *active = mdi_->activeSubWindow();
    if (!active || !active->widget()) {
        messages().information(QStringLiteral("警告です..."), QStringLiteral("印刷可能な画面が有りません"));
        return;
    }
    HourglassGuard hourglass;
    yieldToEvents();
    // The child's client area as the screen shows it; a missing printer is not an error.
    const QPixmap image = active->widget()->grab();
    yieldToEvents();
    printImage(image, printer_);
}

void frmmainmenu::mnuproperty_Click()
{
    frmproperty dialog(this);
    dialog.exec();
}

void frmmainmenu::mnuversion_Click()
{
    PressedButton pressed(menus_->button(26));
    frmversion dialog(this);
    dialog.exec();
}

void frmmainmenu::mnuwindowsub_Click(int index)
{
    switch (index) {
    case 0: tileWindows(true); break;
    case 1: tileWindows(false); break;
    case 2: mdi_->cascadeSubWindows(); break;
    case 3: arrangeIcons(); break;
    default: break;
    }
}

// Tiles the open, not minimised children one above the other (stacked) or
// side by side, each taking an equal share of the area.
void frmmainmenu::tileWindows(bool stacked)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *w : mdi_->subWindowList(QMdiArea::StackingOrder))
        if (w->isVisible() && !w->isMinimized())
            windows.prepend(w);
    if (windows.isEmpty())
        return;
    const QRect area = mdi_->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *w = windows[i];
        if (w->isMaximized())
            w->showNormal();
        if (stacked) {
            const int top = area.height() * i / n;
            const int bottom = area.height() * (i + 1) / n;
            w->setGeometry(0, top, area.width(), bottom - top);
        } else {
            const int left = area.width() * i / n;
            const int right = area.width() * (i + 1) / n;
            w->setGeometry(left, 0, right - left, area.height());
        }
    }
}

// Lines up the minimised children along the bottom of the area.
void frmmainmenu::arrangeIcons()
{
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow *w : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        w->move(x, y - size.height() + 1);
        x += size.width();
    }
}

void frmmainmenu::mnuhelprun_Click()
{
    raise();
    help::showHelp(0);
}

void frmmainmenu::mnusupport_Click() { help::openSupportPage(); }

void frmmainmenu::mnuweb_Click() { help::openHomePage(); }

void frmmainmenu::cmdkoyomi_Click()
{
    openViewer(ViewerKind::Almanac, QStringLiteral("暦を表示しています..."), CaptionTail::Date);
}

void frmmainmenu::mnuraceinfo_Click()
{
    openViewer(ViewerKind::RaceCard, QStringLiteral("レース情報を表示しています..."), CaptionTail::DateRace);
}

void frmmainmenu::mnuraceyoso_Click()
{
    openViewer(ViewerKind::Predictions, QStringLiteral("レース予想を表示しています..."), CaptionTail::DateRace);
}

void frmmainmenu::mnuracer_Click()
{
    openViewer(ViewerKind::RacerList, QStringLiteral("選手情報を一覧表示しています..."), CaptionTail::Date);
}

void frmmainmenu::mnumotor_Click()
{
    openViewer(ViewerKind::MotorList, QStringLiteral("モーター情報を一覧表示しています..."), CaptionTail::Date);
}

void frmmainmenu::mnuboats_Click()
{
    openViewer(ViewerKind::BoatList, QStringLiteral("ボート情報を一覧表示しています..."), CaptionTail::Date);
}

void frmmainmenu::mnudataroom_Click()
{
    openViewer(ViewerKind::DataRoom, QStringLiteral("データルームを表示しています..."), CaptionTail::Date);
}

// The result of the newest race before the current day of the meeting.
void frmmainmenu::mnuracerest_Click()
{
    const SelectionFields &f = selection_.fields();
    ViewerContext c;
    bool found = false;
    modkelmon::guarded([&] {
        HourglassGuard hourglass;
        QSqlQuery q = modkelmon::exec(QStringLiteral("select datescnt, \"Date\", racesno from f_resta where setuscode = ? "
                                                     "and datescnt < ? order by datescnt desc, racesno limit 1"),
                                      {fieldNumber(f.setuscode), fieldNumber(f.datescnt)});
        if (!q.next())
            return;
        found = true;
        c.kyosocode = f.kyosocode;
        c.setuscode = f.setuscode;
        c.datescnt = plainNumber(q.value(0).toDouble());
        c.date = q.value(1).toString();
        c.racesno = plainNumber(q.value(2).toDouble());
    });
    if (!found) {
        messages().information(QStringLiteral("警告です..."), QStringLiteral("前日のレース結果は有りません"));
        return;
    }
    ViewerWindow *window = createViewer(ViewerKind::RaceResult);
    if (!window)
        return;
    window->setContext(c);
    window->setCaption(QStringLiteral("レース結果を表示しています..."), CaptionTail::DateRace,
                       headerLabel(QStringLiteral("lblkyosocode"))->text());
    showViewer(mdi_, window);
}

} // namespace kelmon
