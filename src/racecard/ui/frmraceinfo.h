#pragma once
// The race card window: the race selector, the race header with its deadline,
// the paper's trifecta prediction as pictures, the buttons to the outcomes and
// the predictions, and the card grid filled by the race card engine.

#include "app/ui/viewerwindow.h"
#include "platform/gridmodel.h"
#include "racecard/cardengine.h"

#include <QPoint>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace kelmon {
enum class ViewerKind;
class GridView;
class MainMenus;
}

namespace kelmon::racecard {

struct RelatedTarget;

class frmraceinfo : public ViewerWindow {
    Q_OBJECT
public:
    explicit frmraceinfo(QWidget *parent = nullptr);
    ~frmraceinfo() override;

    bool isRaceCard() const override { return true; }

    RaceCardEngine &engine() { return engine_; }
    const GridModel &grid() const { return model_; }

    // Race selection: the selected race's header, pictures and card.
    void imcracesno_Click();
    // The grid's mouse press; a right button pops up the card's menu.
    void mfgf_wakus_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos);

    // Commands the main window's menus call on the active card. They throw
    // kelmon::DbError for the caller's fatal exit.
    void disp_raceinfo(int order);
    void sort_by_item(int order);   // keeps the current cell
    void disp_help();
    void comp_average();
    void add_column(int menu);
    void del_column();
    void set_normalgrid();
    void set_allgrid();
    void save_m_kanri();
    // The racer of the clicked row (entry 7).
    void disp_racerdisp();
    // What the clicked cell names (entries 8 and 9): a result of this
    // meeting, the early race's card, or previous runs.
    void disp_racerest();

    // Controls.
    QComboBox *imcracesno = nullptr;
    QPushButton *cmddeme = nullptr;
    QPushButton *cmdyosodisp = nullptr;
    QLabel *lblracesname = nullptr;
    QLabel *lbltime_1 = nullptr;
    std::array<QLabel *, 12> imayn{};
    GridView *mfgf_wakus = nullptr;

protected:
    void firstActivation() override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeaderPanel();
    void syncContext();
    // Fills the race's name and deadline; false when the database holds no
    // such race (the labels are then empty).
    bool disp_raceheader();
    void disp_yosos();
    void refreshButtons();
    void openRelated(ViewerKind kind, const QString &title);
    void showBeside(ViewerWindow *window);
    void openTarget(const RelatedTarget &target);
    MainMenus *mainMenus() const;
    template <typename F> void redraw(F &&fill);

    GridModel model_;
    RaceCardEngine engine_{model_};
    bool firstDay_ = false;
};

} // namespace kelmon::racecard
