#include "lists/ui/frmmachinelist.h"

namespace kelmon::lists {

MachineListWindow::MachineListWindow(const MachineList &list, const Design &design, QWidget *parent)
    : ListWindow(design, parent), list_(list)
{
}

std::optional<PopupItems> MachineListWindow::popupItems() const { return machineListPopup(grid()); }

void MachineListWindow::loadGrid(GridModel &grid)
{
    disp_machinelist(grid, list_, context().setuscode, context().datescnt);
}

frmmotorlist::frmmotorlist(QWidget *parent)
    : MachineListWindow(kMotorList, {"frmmotorlist", "mfgf_motor", "mnumt", 8430, 5510, set_machinelist_grid},
                        parent)
{
}

frmboatslist::frmboatslist(QWidget *parent)
    : MachineListWindow(kBoatList, {"frmboatslist", "mfgf_boats", "mnubt", 8430, 5510, set_machinelist_grid},
                        parent)
{
}

} // namespace kelmon::lists
