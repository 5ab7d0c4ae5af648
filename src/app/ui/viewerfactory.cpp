#include "app/ui/viewerfactory.h"

#include "app/ui/frmkoyomi.h"
#include "app/ui/frmmainmenu.h"
#include "app/ui/mainmenus.h"
#include "lists/ui/frmmachinelist.h"
#include "lists/ui/frmracerdisp.h"
#include "lists/ui/frmracerlist.h"
#include "lists/ui/frmdataroom.h"
#include "lists/ui/frmtokhmlist.h"
#include "racecard/ui/frmraceinfo.h"
#include "racedetails/ui/frmracerest.h"
#include "racedetails/ui/frmzensodisp.h"
#include "racedetails/ui/frmdeme.h"
#include "racedetails/ui/frmyosodisp.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <algorithm>
#include <array>

namespace kelmon {

namespace {

constexpr std::size_t kKinds = std::size_t(ViewerKind::Points) + 1;

template <typename W> ViewerWindow *make() { return new W; }

std::array<std::function<ViewerWindow *()>, kKinds> &creators()
{
    static std::array<std::function<ViewerWindow *()>, kKinds> table = [] {
        std::array<std::function<ViewerWindow *()>, kKinds> t;
        t[std::size_t(ViewerKind::RaceCard)] = make<racecard::frmraceinfo>;
        t[std::size_t(ViewerKind::Almanac)] = make<frmkoyomi>;
        t[std::size_t(ViewerKind::RacerList)] = make<lists::frmracerlist>;
        t[std::size_t(ViewerKind::MotorList)] = make<lists::frmmotorlist>;
        t[std::size_t(ViewerKind::BoatList)] = make<lists::frmboatslist>;
        t[std::size_t(ViewerKind::RacerDetail)] = make<lists::frmracerdisp>;
        t[std::size_t(ViewerKind::DataRoom)] = make<lists::frmdataroom>;
        t[std::size_t(ViewerKind::Points)] = make<lists::frmtokhmlist>;
        t[std::size_t(ViewerKind::RaceResult)] = make<racedetails::frmracerest>;
        t[std::size_t(ViewerKind::PreviousRuns)] = make<racedetails::frmzensodisp>;
        t[std::size_t(ViewerKind::Predictions)] = make<racedetails::frmyosodisp>;
        t[std::size_t(ViewerKind::Outcomes)] = make<racedetails::frmdeme>;
        return t;
    }();
    return table;
}

// The frame of a viewer window inside the main window. Tab and Shift+Tab
// follow the main window's order, which goes on from the viewer's controls
// to the buttons of its header.
class ViewerSubWindow : public QMdiSubWindow {
protected:
    bool focusNextPrevChild(bool next) override
    {
        auto *frame = qobject_cast<frmmainmenu *>(window());
        return frame ? frame->moveTabFocus(next) : QMdiSubWindow::focusNextPrevChild(next);
    }
    // Closing the active child activates the child that was active before
    // it, the one the user came from, whatever order they were opened in. The
    // area picks the next child by its activation order when the active one
    // goes, and that order stays the order of opening for Ctrl+F6 and Ctrl+Tab.
    void closeEvent(QCloseEvent *event) override
    {
        QMdiArea *area = mdiArea();
        const QMdiArea::WindowOrder order = area ? area->activationOrder() : QMdiArea::CreationOrder;
        if (area)
            area->setActivationOrder(QMdiArea::ActivationHistoryOrder);
        QMdiSubWindow::closeEvent(event);
        if (area)
            area->setActivationOrder(order);
    }
};

} // namespace

QList<QWidget *> tabStops(const QWidget *container)
{
    QList<QWidget *> stops;
    for (QWidget *w = container->nextInFocusChain(); w && w != container; w = w->nextInFocusChain())
        if (container->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            stops.append(w);
    return stops;
}

ViewerWindow *createViewer(ViewerKind kind)
{
    const auto &create = creators()[std::size_t(kind)];
    return create ? create() : nullptr;
}

bool hasViewer(ViewerKind kind) { return bool(creators()[std::size_t(kind)]); }

void setViewerCreator(ViewerKind kind, std::function<ViewerWindow *()> creator)
{
    creators()[std::size_t(kind)] = std::move(creator);
}

void showViewer(QMdiArea *area, ViewerWindow *window)
{
    if (!area) {
        window->show();
        return;
    }
    auto *child = new ViewerSubWindow;
    child->setWidget(window);
    area->addSubWindow(child);
    child->setAttribute(Qt::WA_DeleteOnClose);
    // The frame gives the keys of its children (Ctrl+F4 closes one); the
    // child's own close key would be Ctrl+W here, the download's key.
    for (QAction *item : child->systemMenu()->actions())
        item->setShortcuts({});
    child->resize(child->sizeHint());
    child->show();
    // The area places a new window beside the open ones; where that puts it
    // past the right or bottom edge (its close button out of sight), it moves
    // left or up until it lies inside, never past the left or top edge.
    if (child->isMaximized())
        return;
    const QSize space = area->viewport()->size();
    const QRect placed = child->geometry();
    const QPoint inside(std::max(0, std::min(placed.x(), space.width() - placed.width())),
                        std::max(0, std::min(placed.y(), space.height() - placed.height())));
    if (inside != placed.topLeft())
        child->move(inside);
}

QMdiArea *viewerArea(const QWidget *viewer)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(viewer ? viewer->parentWidget() : nullptr);
    return sub ? sub->mdiArea() : nullptr;
}

bool popupViewerMenu(const QWidget *viewer, const QString &menu, const std::map<int, bool> &enabled,
                     const QPoint &globalPos)
{
    auto *frame = qobject_cast<frmmainmenu *>(viewer ? viewer->window() : nullptr);
    QMenu *popup = frame ? frame->menus().menu(menu) : nullptr;
    if (!popup)
        return false;
    for (const auto &[index, on] : enabled)
        if (QAction *item = frame->menus().action(menu + QStringLiteral("sub_%1").arg(index)))
            item->setEnabled(on);
    popup->popup(globalPos);
    return true;
}

} // namespace kelmon
