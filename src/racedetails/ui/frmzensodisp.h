#pragma once
// The previous-runs window of one boat slot: a description line and up to
// fourteen result cells (two per day for seven days) coloured by the kind of
// race, with the colour legend. The opener names the slot (lblwakusno) and
// which of the eight earlier records to show (lblflag).

#include "app/ui/viewerwindow.h"

#include <array>

class QFrame;
class QLabel;

namespace kelmon::racedetails {

class frmzensodisp : public ViewerWindow {
    Q_OBJECT
public:
    explicit frmzensodisp(QWidget *parent = nullptr);

    QLabel *lblcomment = nullptr;
    std::array<QLabel *, 14> lblcyakucode{};
    std::array<QLabel *, 5> legend{};

protected:
    void firstActivation() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void disp_zenso(int flag);

    std::array<QFrame *, 2> line1{};
};

} // namespace kelmon::racedetails
