#include "app/ui/gridpopups.h"

#include "app/ui/frmmainmenu.h"
#include "app/ui/viewerfactory.h"
#include "common/textforms.h"
#include "platform/gridpopup.h"
#include "platform/messages.h"
#include "platform/ui/gridview.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace kelmon {

namespace {

// Shows a window the command opened, with its context and caption.
void open(frmmainmenu &frame, ViewerKind kind, const ViewerContext &context, const QString &title,
          CaptionTail tail)
{
    ViewerWindow *window = createViewer(kind);
    if (!window)
        return;
    window->setContext(context);
    window->setCaption(title, tail);
    showViewer(frame.mdiArea(), window);
}

// Repaints the views of a grid the command changed.
void repaint(ViewerWindow &viewer, const GridModel *grid)
{
    for (GridView *view : viewer.findChildren<GridView *>())
        if (view->model() == grid)
            view->modelChanged();
}

} // namespace

void connectGridPopups(frmmainmenu &frame)
{
    MainMenus &menus = frame.menus();
    for (const QString &menu : menus.popupNames()) {
        const gridpopup::Member *m = gridpopup::member(menu);
        if (!m)
            continue;
        for (int i = 0; i < int(m->items.size()); ++i) {
            QAction *item = menus.action(QStringLiteral("%1sub_%2").arg(menu).arg(i));
            if (item)
                QObject::connect(item, &QAction::triggered, &frame,
                                 [&frame, menu, i] { gridPopup_Click(frame, menu, i); });
        }
    }
}

void gridPopup_Click(frmmainmenu &frame, const QString &menu, int index)
{
    using gridpopup::Command;
    const gridpopup::Member *m = gridpopup::member(menu);
    QMdiSubWindow *sub = frame.mdiArea()->activeSubWindow();
    auto *viewer = sub ? qobject_cast<ViewerWindow *>(sub->widget()) : nullptr;
    GridModel *grid = viewer && m ? viewer->popupGrid(menu) : nullptr;
    if (!grid)
        return;
    const ViewerContext &opener = viewer->context();
    switch (gridpopup::command(*m, index)) {
    case Command::SortAscending:
    case Command::SortDescending:
        if (gridpopup::sort(*grid, *m, gridpopup::command(*m, index) == Command::SortAscending))
            repaint(*viewer, grid);
        break;
    case Command::Average:
        if (const auto a = gridpopup::average(*grid, *m))
            messages().information(a->title, a->text);
        break;
    case Command::RacerDetail:
        if (const auto racer = gridpopup::racer(*grid, *m)) {
            ViewerContext c = opener;
            c.tourokuno = racer->tourokuno;
            open(frame, ViewerKind::RacerDetail, c, racer->name + QStringLiteral(" 選手情報を表示しています..."),
                 CaptionTail::None);
        }
        break;
    case Command::RaceResult: {
        const auto row = menu == QLatin1String("mnurd") ? gridpopup::racerResult(*grid)
                                                        : gridpopup::outcomeResult(*grid, int(val(opener.racesno)));
        if (row) {
            ViewerContext c = opener;
            c.datescnt = QString::number(row->datescnt);
            c.racesno = QString::number(row->racesno);
            if (!row->date.isEmpty())
                c.date = row->date;
            open(frame, ViewerKind::RaceResult, c, QStringLiteral("レース結果を表示しています..."),
                 CaptionTail::DateRace);
        }
        break;
    }
    case Command::RaceCard:
        if (const auto race = gridpopup::race(*grid, *m)) {
            ViewerContext c = opener;
            c.racesno = QString::number(*race);
            open(frame, ViewerKind::RaceCard, c, QStringLiteral("レース情報を表示しています..."),
                 CaptionTail::DateRace);
        }
        break;
    case Command::None:
        break;
    }
}

} // namespace kelmon
