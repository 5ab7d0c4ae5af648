#pragma once
// The list windows (racers, motors, boats): one grid filling the window, laid
// out on creation, loaded once on the first activation, and a right-click
// that enables items of one of the main window's popup menus and pops it up.

#include "app/ui/viewerwindow.h"
#include "lists/listcolumns.h"
#include "platform/gridmodel.h"

#include <QPoint>

namespace kelmon {
class GridView;
}

namespace kelmon::lists {

class ListWindow : public ViewerWindow {
    Q_OBJECT
public:
    struct Design {
        const char *window;    // frmracerlist
        const char *grid;      // mfgf_racer
        const char *menu;      // mnurs
        int widthTwips;
        int heightTwips;
        void (*layout)(GridModel &grid);   // lays out the empty grid
    };
    explicit ListWindow(const Design &design, QWidget *parent = nullptr);
    ~ListWindow() override;

    const GridModel &grid() const { return model_; }
    GridView *view() const { return view_; }
    GridModel *popupGrid(const QString &menu) override;

    // The grid's mouse press: a right button pops the menu up.
    void gridMouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos);
    // The items the right-click enables on the current cell; nothing: no popup.
    virtual std::optional<PopupItems> popupItems() const = 0;

protected:
    // Fills the laid-out grid from the context; throws kelmon::DbError.
    virtual void loadGrid(GridModel &grid) = 0;

    void firstActivation() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Design design_;
    GridModel model_;
    GridView *view_ = nullptr;
};

} // namespace kelmon::lists
