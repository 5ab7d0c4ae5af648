#include "racedetails/ui/frmdeme.h"

#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/yield.h"
#include "racedetails/demegrid.h"

namespace kelmon::racedetails {

namespace {

constexpr int kWidth = 6615;
constexpr int kHeight = 2580;
constexpr int kMargin = 120;

// The columns whose average means something: payouts and popularity.
bool averageColumn(int col) { return col == 3 || col == 4 || col == 6 || col == 7; }

} // namespace

frmdeme::frmdeme(QWidget *parent) : ViewerWindow(parent)
{
    setObjectName(QStringLiteral("frmdeme"));
    setFont(makeFont(DefaultFontName));
    setPreferredSize({twipsToPixels(kWidth), twipsToPixels(kHeight)});
    mfgf_resta = new GridView(this);
    mfgf_resta->setObjectName(QStringLiteral("mfgf_resta"));
    mfgf_resta->setDefaultFont(makeFont(DefaultFontName, 9));
    mfgf_resta->setModel(&model_);
    set_mfgf_resta(model_);
    mfgf_resta->modelChanged();
    mfgf_resta->setHeadingRowsKeepCurrent(true);
    connect(mfgf_resta, &GridView::cellPressed, this, &frmdeme::mfgf_resta_MouseDown);
}

frmdeme::~frmdeme()
{
    // The view must not paint a model that is going away.
    mfgf_resta->setModel(nullptr);
}

void frmdeme::firstActivation()
{
    yieldToEvents();
    HourglassGuard hourglass;
    mfgf_resta->hide();
    modkelmon::guarded(
        [this] { disp_f_resta(model_, context().setuscode, context().racesno, context().datescnt); });
    mfgf_resta->modelChanged();
    mfgf_resta->show();
}

void frmdeme::resizeEvent(QResizeEvent *event)
{
    ViewerWindow::resizeEvent(event);
    const int margin = twipsToPixels(kMargin);
    const int width = this->width() - 2 * margin;
    const int height = this->height() - 2 * margin;
    // A window too small for the grid leaves it as it was.
    if (width > 0 && height > 0)
        mfgf_resta->setGeometry(margin, margin, width, height);
}

GridModel *frmdeme::popupGrid(const QString &menu)
{
    return menu == QLatin1String("mnudm") ? &model_ : nullptr;
}

void frmdeme::mfgf_resta_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos)
{
    (void)row;
    (void)col;
    if (button != Qt::RightButton || model_.rows() <= 1)
        return;
    // The race result item needs the race result window.
    popupViewerMenu(this, QStringLiteral("mnudm"),
                    {{2, averageColumn(model_.col())}, {4, hasViewer(ViewerKind::RaceResult)}}, globalPos);
}

} // namespace kelmon::racedetails
