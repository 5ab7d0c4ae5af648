#pragma once
// The deletion dialog: lists every meeting and deletes the chosen one from
// all thirteen paper tables, then compacts the database.

#include "platform/gridmodel.h"

#include "registration/ui/busydialog.h"

class QMenu;
class QPushButton;

namespace kelmon {

class GridView;

class frmdelete : public BusyDialog {
    Q_OBJECT
public:
    explicit frmdelete(QWidget *parent = nullptr);

    GridModel &grid() { return grid_; }
    GridView *mfgf_setus() const { return view_; }
    QPushButton *cmddelete;
    QPushButton *cmdend;
    QMenu *mnusort;

    void set_grid();
    void disp_f_setus();     // throws DbError
    void cmddelete_Click();
    void cmdend_Click();
    // A press on the grid; a right press pops up the menu.
    void mfgf_setus_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos);

private:
    void load() override;
    // Deletes meeting setuscode from every paper table in one transaction and
    // compacts the database; throws DbError.
    void deleteMeeting(qlonglong setuscode);

    GridModel grid_;
    GridView *view_;
    int selectedRow_ = 0;   // the row chosen with the left button or the keys
};

} // namespace kelmon
