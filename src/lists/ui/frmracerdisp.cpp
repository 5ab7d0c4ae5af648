#include "lists/ui/frmracerdisp.h"

#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "lists/racerdisp.h"
#include "lists/ui/listlabels.h"
#include "lists/ui/listwindow.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/yield.h"

#include <QLabel>

namespace kelmon::lists {

namespace {

constexpr int kWidth = 6210;
constexpr int kHeight = 3560;
constexpr int kGridLeft = 120;
constexpr int kGridTop = 1320;
constexpr double kTitlePoints = 15.75;
constexpr int kNameWidth = 1980;
constexpr QRgb kShadow = 0xE0E0E0;

} // namespace

frmracerdisp::frmracerdisp(QWidget *parent) : ViewerWindow(parent)
{
    setObjectName(QStringLiteral("frmracerdisp"));
    setPreferredSize({twipsToPixels(kWidth), twipsToPixels(kHeight)});

    imaPhoto = new QLabel(this);
    imaPhoto->setObjectName(QStringLiteral("imaPhoto"));
    imaPhoto->move(twipsToPixels(130), twipsToPixels(120));

    // Each title stands twice: a light grey copy 15 twips right and down,
    // under the black one, as its shadow.
    auto title = [this](const char *name, int index, const QRect &rect, bool shadow) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index));
        l->setFont(makeFont(DefaultFontName, kTitlePoints, true));
        l->setGeometry(wholeLineRect(rect, l->font()));   // the feet of the characters show
        l->setAttribute(Qt::WA_TranslucentBackground);
        if (shadow)
            l->setStyleSheet(QStringLiteral("color: #%1;").arg(kShadow, 6, 16, QLatin1Char('0')));
        return l;
    };
    lbltourokuno_x[1] = title("lbltourokuno_x", 1, twipsRect(1815, 450, 720, 315), true);
    lblsensyname_x[1] = title("lblsensyname_x", 1, twipsRect(2760, 435, kNameWidth, 315), true);
    lbltourokuno_x[0] = title("lbltourokuno_x", 0, twipsRect(1800, 435, 720, 315), false);
    lblsensyname_x[0] = title("lblsensyname_x", 0, twipsRect(2745, 420, kNameWidth, 315), false);

    const QRect memoRects[3] = {twipsRect(1815, 120, 1560, 180), twipsRect(1800, 880, 3840, 180),
                                twipsRect(1800, 1080, 3840, 180)};
    for (int i = 0; i < 3; ++i) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("lblmemo_%1").arg(i));
        l->setFont(makeFont(DefaultFontName, 9));
        l->setGeometry(memoRects[i]);
        l->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        lblmemo[std::size_t(i)] = l;
    }

    mfgf_restb = new GridView(this);
    mfgf_restb->setObjectName(QStringLiteral("mfgf_restb"));
    mfgf_restb->setDefaultFont(makeFont(DefaultFontName, 9));
    mfgf_restb->setModel(&model_);
    mfgf_restb->setHeadingRowsKeepCurrent(true);
    connect(mfgf_restb, &GridView::cellPressed, this, &frmracerdisp::mfgf_restb_MouseDown);
    mfgf_restb->setGeometry(twipsRect(kGridLeft, kGridTop, kWidth - 240, kHeight - 1440));
}

frmracerdisp::~frmracerdisp()
{
    // The view must not paint a model that is going away.
    mfgf_restb->setModel(nullptr);
}

GridModel *frmracerdisp::popupGrid(const QString &menu)
{
    return menu == QLatin1String("mnurd") ? &model_ : nullptr;
}

void frmracerdisp::firstActivation()
{
    yieldToEvents();
    modkelmon::guarded([this] { disp_racer(); });
    // A missing or unreadable photo leaves the picture empty.
    const QImage photo = loadRacerPhoto(racerPhotoPath(context().tourokuno));
    if (!photo.isNull()) {
        imaPhoto->setPixmap(QPixmap::fromImage(photo));
        imaPhoto->resize(photo.size());
    }
}

void frmracerdisp::disp_racer()
{
    HourglassGuard hourglass;
    const QString number = format(val(context().tourokuno), "0000");
    for (QLabel *l : lbltourokuno_x)
        l->setText(number);
    for (QLabel *l : lblsensyname_x)
        l->clear();
    for (QLabel *l : lblmemo)
        l->clear();
    imaPhoto->clear();
    const RacerHeader header = loadRacerHeader(context().setuscode, context().tourokuno);
    mfgf_restb->hide();
    struct Show {
        GridView *view;
        ~Show()
        {
            view->modelChanged();
            view->show();
        }
    } show{mfgf_restb};
    if (!header.found) {
        // No record of the racer: the results grid stands with its headers alone.
        set_restb_grid(model_);
        return;
    }
    // A long name widens its title rather than lose its last characters.
    for (QLabel *l : lblsensyname_x)
        setOneLineText(l, header.name, twipsToPixels(kNameWidth));
    for (int i = 0; i < 3; ++i)
        lblmemo[std::size_t(i)]->setText(header.memo[i]);
    disp_restb(model_, context().setuscode, context().tourokuno);
}

void frmracerdisp::mfgf_restb_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos)
{
    (void)row;
    (void)col;
    if (button != Qt::RightButton)
        return;
    if (const std::optional<PopupItems> items = racerDetailPopup(model_, hasViewer(ViewerKind::RaceResult)))
        popupViewerMenu(this, QStringLiteral("mnurd"), *items, globalPos);
}

void frmracerdisp::resizeEvent(QResizeEvent *event)
{
    ViewerWindow::resizeEvent(event);
    const int width = this->width() - twipsToPixels(240);
    const int height = this->height() - twipsToPixels(1440);
    // A window too small for the grid leaves it as it was.
    if (width > 0 && height > 0)
        mfgf_restb->setGeometry(twipsToPixels(kGridLeft), twipsToPixels(kGridTop), width, height);
}

} // namespace kelmon::lists
