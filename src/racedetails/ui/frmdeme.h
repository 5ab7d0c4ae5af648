#pragma once
// The outcomes window: what one race number produced on every earlier day of
// the meeting (race name, exacta and trifecta with payouts and popularity).

#include "app/ui/viewerwindow.h"
#include "platform/gridmodel.h"

#include <QPoint>

namespace kelmon {
class GridView;
}

namespace kelmon::racedetails {

class frmdeme : public ViewerWindow {
    Q_OBJECT
public:
    explicit frmdeme(QWidget *parent = nullptr);
    ~frmdeme() override;

    GridModel *popupGrid(const QString &menu) override;
    const GridModel &grid() const { return model_; }

    // A mouse press on the grid; the right button pops up the main window's
    // menu for it when the grid has data rows.
    void mfgf_resta_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos);

    GridView *mfgf_resta = nullptr;

protected:
    void firstActivation() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    GridModel model_;
};

} // namespace kelmon::racedetails
