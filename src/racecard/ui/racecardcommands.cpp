#include "racecard/ui/racecardcommands.h"

#include "app/ui/frmmainmenu.h"
#include "common/modkelmon.h"
#include "racecard/carditems.h"
#include "racecard/ui/frmraceinfo.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace kelmon::racecard {

namespace {

// Runs a command on the active race card with the fatal database exit as its
// error handler; nothing when the active child is another kind of window.
template <typename F> void onActiveCard(frmmainmenu &frame, F &&command)
{
    if (frmraceinfo *card = activeRaceCard(frame))
        modkelmon::guarded([&] { command(*card); });
}

} // namespace

frmraceinfo *activeRaceCard(const frmmainmenu &frame)
{
    QMdiSubWindow *sub = frame.mdiArea()->currentSubWindow();
    return sub ? qobject_cast<frmraceinfo *>(sub->widget()) : nullptr;
}

void mnurisub_Click(frmmainmenu &frame, int index)
{
    onActiveCard(frame, [index](frmraceinfo &card) {
        switch (index) {
        case SortAscending:
        case SortDescending: card.sort_by_item(index); break;
        case Average: card.comp_average(); break;
        case Hide: card.del_column(); break;
        case ShowRacer: card.disp_racerdisp(); break;
        case ShowRace:
        case ShowResult: card.disp_racerest(); break;
        case Help: card.disp_help(); break;
        default: break;
        }
    });
}

void mnurisubadd_Click(frmmainmenu &frame, int index)
{
    onActiveCard(frame, [index](frmraceinfo &card) { card.add_column(index); });
}

void mnudispa_Click(frmmainmenu &frame)
{
    onActiveCard(frame, [](frmraceinfo &card) { card.set_normalgrid(); });
}

void mnudispb_Click(frmmainmenu &frame)
{
    onActiveCard(frame, [](frmraceinfo &card) { card.set_allgrid(); });
}

void mnudispc_Click(frmmainmenu &frame)
{
    onActiveCard(frame, [](frmraceinfo &card) { card.save_m_kanri(); });
}

void connectRaceCardCommands(frmmainmenu &frame)
{
    MainMenus &menus = frame.menus();
    auto connectAction = [&frame](QAction *action, auto handler) {
        if (action)
            QObject::connect(action, &QAction::triggered, &frame, handler);
    };
    for (int i = 0; i < kPopupEntries; ++i)
        connectAction(menus.action(QStringLiteral("mnurisub_%1").arg(i)),
                      [&frame, i] { mnurisub_Click(frame, i); });
    for (int i = 0; i < 28; ++i)
        connectAction(menus.action(QStringLiteral("mnurisubadd_%1").arg(i)),
                      [&frame, i] { mnurisubadd_Click(frame, i); });
    connectAction(menus.action(QStringLiteral("mnudispa")), [&frame] { mnudispa_Click(frame); });
    connectAction(menus.action(QStringLiteral("mnudispb")), [&frame] { mnudispb_Click(frame); });
    connectAction(menus.action(QStringLiteral("mnudispc")), [&frame] { mnudispc_Click(frame); });
}

} // namespace kelmon::racecard
