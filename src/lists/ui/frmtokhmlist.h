#pragma once
// The points quick-reference table: the meeting's assumed border rate, a
// legend explaining how to read a block, and one block per racer of the
// what-if points rates for the places of his two races of the day.

#include "app/ui/viewerwindow.h"
#include "platform/gridmodel.h"

#include <array>

class QLabel;

namespace kelmon {
class GridView;
}

namespace kelmon::lists {

class frmtokhmlist : public ViewerWindow {
    Q_OBJECT
public:
    explicit frmtokhmlist(QWidget *parent = nullptr);
    ~frmtokhmlist() override;

    const GridModel &blocks() const { return tokhm_; }
    const GridModel &sample() const { return sample_; }

    GridView *mfgf_tokhm = nullptr;
    GridView *mfgsample = nullptr;
    std::array<QLabel *, 2> lblbordrcnt{};

protected:
    void firstActivation() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    GridModel tokhm_;
    GridModel sample_;
};

} // namespace kelmon::lists
