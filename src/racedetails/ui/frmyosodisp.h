#pragma once
// The predictions window: the paper's prediction of one race (comment words,
// the race character picture, the line-up with marks, racers and comments,
// the waiting formation and the boats near the start line), a race selector,
// and the power-index grid that a button opens below the panel.

#include "app/ui/viewerwindow.h"
#include "platform/gridmodel.h"
#include "racedetails/yosopanel.h"

#include <QPoint>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace kelmon {
class GridView;
}

namespace kelmon::racedetails {

class YosoDiagram;

class frmyosodisp : public ViewerWindow {
    Q_OBJECT
public:
    explicit frmyosodisp(QWidget *parent = nullptr);
    ~frmyosodisp() override;

    GridModel *popupGrid(const QString &menu) override;

    const YosoPanel &panel() const { return panel_; }
    const GridModel &powerGrid() const { return power_; }

    // Race selection: the caption's race, then the panel of that race (and
    // the power indices when they are open).
    void imcracesno_Click();
    // Opens or closes the power-index grid.
    void cmdpowdisp_Click();
    bool powerShown() const;
    // A mouse press on the power-index grid; the right button pops up the
    // main window's menu for it.
    void mfgf_point_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos);

    // Controls.
    QComboBox *imcracesno = nullptr;
    QLabel *imayososword_5 = nullptr;
    std::array<QLabel *, 3> lblyososword{};      // lblyososword_1..3
    std::array<QLabel *, 2> lblyososword_4{};
    QLabel *lblstyle = nullptr;
    std::array<QLabel *, kYosoLines> lblyosos_1{};
    std::array<QLabel *, kYosoLines> lblsunpyo{};
    YosoDiagram *formation = nullptr;    // imastyle
    YosoDiagram *startLine = nullptr;    // imanami, imayosos_3, imayosos_2
    QPushButton *cmdpowdisp = nullptr;
    GridView *mfgf_point = nullptr;

protected:
    void firstActivation() override;

private:
    void buildPanel();
    void showPanel();
    void disp_powp();

    YosoPanel panel_;
    GridModel power_;
};

} // namespace kelmon::racedetails
