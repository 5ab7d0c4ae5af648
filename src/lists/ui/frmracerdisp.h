#pragma once
// The racer detail window: registration number and name as a title, memo
// lines, the photo, and the grid of the racer's results in the meeting.

#include "app/ui/viewerwindow.h"
#include "platform/gridmodel.h"

#include <QPoint>
#include <array>

class QLabel;

namespace kelmon {
class GridView;
}

namespace kelmon::lists {

class frmracerdisp : public ViewerWindow {
    Q_OBJECT
public:
    explicit frmracerdisp(QWidget *parent = nullptr);
    ~frmracerdisp() override;

    const GridModel &grid() const { return model_; }
    GridModel *popupGrid(const QString &menu) override;

    // The grid's mouse press: a right button pops up the menu mnurd.
    void mfgf_restb_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos);

    std::array<QLabel *, 2> lbltourokuno_x{};
    std::array<QLabel *, 2> lblsensyname_x{};
    std::array<QLabel *, 3> lblmemo{};
    QLabel *imaPhoto = nullptr;
    GridView *mfgf_restb = nullptr;

protected:
    void firstActivation() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void disp_racer();

    GridModel model_;
};

} // namespace kelmon::lists
