#pragma once
// The data room: three pages of a tab strip for one meeting day, the day's
// stored ranking, the racers' finish-place rates and their payout-return
// rates, each in a grid with two heading rows; the ranking page opens the
// points quick-reference table.

#include "app/ui/viewerwindow.h"
#include "platform/gridmodel.h"

#include <QPoint>
#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QTabBar;

namespace kelmon {
class GridView;
}

namespace kelmon::lists {

class frmdataroom : public ViewerWindow {
    Q_OBJECT
public:
    explicit frmdataroom(QWidget *parent = nullptr);
    ~frmdataroom() override;

    GridModel *popupGrid(const QString &menu) override;
    const GridModel &grid(int index) const { return models_[std::size_t(index)]; }
    GridModel &grid(int index) { return models_[std::size_t(index)]; }

    // Shows the page of the selected tab.
    void tab1_Click();
    // A mouse press on grid `index`; the right button pops up its menu.
    void mfgdr_MouseDown(int index, Qt::MouseButton button, const QPoint &globalPos);
    // Opens the points quick-reference table of this window's day.
    void cmdtokhmlist_Click();

    QTabBar *tab1 = nullptr;
    std::array<QFrame *, 3> fradr{};
    std::array<GridView *, 3> mfgdr{};
    std::array<QLabel *, 3> lbllunks{};
    QPushButton *cmdtokhmlist = nullptr;

protected:
    void firstActivation() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildPage(int index, const char16_t *title, const char16_t *subtitle, const char16_t *note);

    std::array<GridModel, 3> models_;
    QFrame *tabPane_ = nullptr;
};

} // namespace kelmon::lists
