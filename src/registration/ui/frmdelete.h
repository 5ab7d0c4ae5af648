#pragma once
// The deletion dialog: lists every meeting and deletes the chosen one from
// all thirteen paper tables, then compacts the database.

#include "platform/gridmodel.h"

#include <QDialog>

class QMenu;
class QPushButton;

namespace kelmon {

class GridView;
class ProgressStatus;

class frmdelete : public QDialog {
    Q_OBJECT
public:
    explicit frmdelete(QWidget *parent = nullptr);

    GridModel &grid() { return grid_; }
    GridView *mfgf_setus() const { return view_; }
    QPushButton *cmddelete;
    QPushButton *cmdend;
    QMenu *mnusort;
    ProgressStatus *status() const { return status_; }

    void firstActivation();
    void set_grid();
    void disp_f_setus();     // throws DbError
    void cmddelete_Click();
    void cmdend_Click();
    // A press on the grid; a right press pops up the menu.
    void mfgf_setus_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos);

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool refuseWhileRunning();
    // Deletes meeting setuscode from every paper table in one transaction and
    // compacts the database; throws DbError.
    void deleteMeeting(qlonglong setuscode);

    GridModel grid_;
    GridView *view_;
    ProgressStatus *status_;
    bool activated_ = false;
    int selectedRow_ = 0;   // the row chosen with the left button
};

} // namespace kelmon
