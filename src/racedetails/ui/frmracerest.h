#pragma once
// The race result window: day and race selectors, the result header with
// winning boats, payouts, popularity, wind, wave, decisive move and race
// development, the result grid of the boats and the start diagram.

#include "app/ui/viewerwindow.h"
#include "platform/gridmodel.h"

#include <QPoint>
#include <array>

class QComboBox;
class QLabel;

namespace kelmon {
class GridView;
}

namespace kelmon::racedetails {

class StartDiagramView;

class frmracerest : public ViewerWindow {
    Q_OBJECT
public:
    explicit frmracerest(QWidget *parent = nullptr);
    ~frmracerest() override;

    GridModel *popupGrid(const QString &menu) override;
    const GridModel &grid() const { return model_; }

    // A day or a race chosen in the selectors (the first activation runs the day's).
    void imcdatescnt_Click();
    void imcracesno_Click();
    // The grid's mouse press; a right button pops up the result menu.
    void mfgf_restb_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos);

    // Controls.
    QComboBox *imcdatescnt = nullptr;
    QComboBox *imcracesno = nullptr;
    QLabel *lblracesname = nullptr;
    std::array<QLabel *, 3> lblrenban_3ta{};
    QLabel *lblhaikin_2ta = nullptr;
    QLabel *lblninkido_2ta = nullptr;
    QLabel *lblhaikin_3ta = nullptr;
    QLabel *lblninkido_3ta = nullptr;
    QLabel *lblkazemuki = nullptr;
    QLabel *lblkazesoku = nullptr;
    QLabel *lblnami = nullptr;
    QLabel *lblkimarite = nullptr;
    QLabel *lbltenkai = nullptr;
    GridView *mfgf_restb = nullptr;
    StartDiagramView *diagram = nullptr;

protected:
    void firstActivation() override;

private:
    void buildHeader();
    void clear_racerest();
    void set_mfgf_restb();
    void disp_raceresult();
    void showNoResult();
    void updateCaption();

    GridModel model_;
    // Right after a day without any result, the caption shows no race either.
    bool raceUnknown_ = false;
};

} // namespace kelmon::racedetails
