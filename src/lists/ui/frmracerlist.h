#pragma once
// The racer list window: every racer of one meeting day in one wide grid.

#include "lists/ui/listwindow.h"

namespace kelmon::lists {

class frmracerlist : public ListWindow {
    Q_OBJECT
public:
    explicit frmracerlist(QWidget *parent = nullptr);
    std::optional<PopupItems> popupItems() const override;

protected:
    void loadGrid(GridModel &grid) override;
};

} // namespace kelmon::lists
