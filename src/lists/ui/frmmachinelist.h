#pragma once
// The motor list and the boat list: one window class with two descriptors.

#include "lists/motorboatlist.h"
#include "lists/ui/listwindow.h"

namespace kelmon::lists {

class MachineListWindow : public ListWindow {
    Q_OBJECT
public:
    MachineListWindow(const MachineList &list, const Design &design, QWidget *parent = nullptr);
    std::optional<PopupItems> popupItems() const override;

protected:
    void loadGrid(GridModel &grid) override;

private:
    MachineList list_;
};

class frmmotorlist : public MachineListWindow {
    Q_OBJECT
public:
    explicit frmmotorlist(QWidget *parent = nullptr);
};

class frmboatslist : public MachineListWindow {
    Q_OBJECT
public:
    explicit frmboatslist(QWidget *parent = nullptr);
};

} // namespace kelmon::lists
