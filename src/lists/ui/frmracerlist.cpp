#include "lists/ui/frmracerlist.h"

#include "lists/racerlist.h"

namespace kelmon::lists {

frmracerlist::frmracerlist(QWidget *parent)
    : ListWindow({"frmracerlist", "mfgf_racer", "mnurs", 9450, 6000, set_racerlist_grid}, parent)
{
}

std::optional<PopupItems> frmracerlist::popupItems() const { return racerListPopup(grid()); }

void frmracerlist::loadGrid(GridModel &grid)
{
    disp_racerlist(grid, context().setuscode, context().datescnt);
}

} // namespace kelmon::lists
