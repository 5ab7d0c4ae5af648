#include "lists/ui/listwindow.h"

#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/yield.h"

namespace kelmon::lists {

namespace {

constexpr int kMargin = 120;   // twips around the grid

} // namespace

ListWindow::ListWindow(const Design &design, QWidget *parent) : ViewerWindow(parent), design_(design)
{
    setObjectName(QString::fromLatin1(design.window));
    setPreferredSize({twipsToPixels(design.widthTwips), twipsToPixels(design.heightTwips)});
    view_ = new GridView(this);
    view_->setObjectName(QString::fromLatin1(design.grid));
    view_->setDefaultFont(makeFont(DefaultFontName, 9));
    design.layout(model_);
    view_->setModel(&model_);
    view_->modelChanged();
    view_->setHeadingRowsKeepCurrent(true);
    connect(view_, &GridView::cellPressed, this, &ListWindow::gridMouseDown);
    view_->setGeometry(twipsRect(kMargin, kMargin, design.widthTwips - 2 * kMargin,
                                 design.heightTwips - 2 * kMargin));
}

ListWindow::~ListWindow()
{
    // The view must not paint a model that is going away.
    view_->setModel(nullptr);
}

GridModel *ListWindow::popupGrid(const QString &menu)
{
    return menu == QLatin1String(design_.menu) ? &model_ : nullptr;
}

void ListWindow::firstActivation()
{
    yieldToEvents();
    HourglassGuard hourglass;
    view_->hide();
    modkelmon::guarded([this] { loadGrid(model_); });
    view_->modelChanged();
    view_->show();
}

void ListWindow::gridMouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos)
{
    (void)row;
    (void)col;
    if (button != Qt::RightButton)
        return;
    if (const std::optional<PopupItems> items = popupItems())
        popupViewerMenu(this, QString::fromLatin1(design_.menu), *items, globalPos);
}

void ListWindow::resizeEvent(QResizeEvent *event)
{
    ViewerWindow::resizeEvent(event);
    const int margin = twipsToPixels(kMargin);
    const int width = this->width() - 2 * margin;
    const int height = this->height() - 2 * margin;
    // A window too small for the grid leaves it as it was.
    if (width > 0 && height > 0)
        view_->setGeometry(margin, margin, width, height);
}

} // namespace kelmon::lists
