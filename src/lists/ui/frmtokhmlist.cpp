#include "lists/ui/frmtokhmlist.h"

#include "common/modkelmon.h"
#include "lists/tokhm.h"
#include "lists/ui/listlabels.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/yield.h"

#include <QLabel>

namespace kelmon::lists {

namespace {

// The client area the window opens with, in twips.
constexpr int kWidth = 8415;
constexpr int kHeight = 4850;
constexpr int kGridLeft = 4245;
constexpr int kGridTop = 120;

constexpr QRgb kOrange = 0xFF8000;
// The rate and its "!!" are designed at 27.75 points; the substitute font's
// lines stand so much taller that the digits would run into the legend below,
// so they are drawn a step smaller.
constexpr double kRatePoints = 24;
constexpr int kShadowPixels = 2;
constexpr int kRateWidth = 1300;
const QString kLabelFont = QStringLiteral("ＭＳ Ｐゴシック");

QFont italicFont(double points, bool bold)
{
    QFont f = makeFont(kLabelFont, points, bold);
    f.setItalic(true);
    return f;
}

} // namespace

frmtokhmlist::frmtokhmlist(QWidget *parent) : ViewerWindow(parent)
{
    setObjectName(QStringLiteral("frmtokhmlist"));
    setFont(makeFont(DefaultFontName));
    setPreferredSize({twipsToPixels(kWidth), twipsToPixels(kHeight)});

    placeLabel(this, QStringLiteral("想定ボーダー"), twipsRect(120, 240, 2175, 360), italicFont(18, true), kOrange);
    // The rate twice: a darker copy right of and below the rate, under it, as
    // its shadow. The design's 20 twips are one pixel, which the edges of the
    // glyphs swallow, so the shadow lies two pixels off.
    const QRect rate = twipsRect(2400, 120, kRateWidth, 555);
    lblbordrcnt[1] = placeLabel(this, QString(), rate.translated(kShadowPixels, kShadowPixels),
                                italicFont(kRatePoints, true), 0xC000C0);
    lblbordrcnt[0] = placeLabel(this, QString(), rate, italicFont(kRatePoints, true), 0xFF00FF);
    lblbordrcnt[0]->setObjectName(QStringLiteral("lblbordrcnt_0"));
    lblbordrcnt[1]->setObjectName(QStringLiteral("lblbordrcnt_1"));
    placeLabel(this, QStringLiteral("!!"), twipsRect(3600, 120, 360, 555), italicFont(kRatePoints, false), kOrange);

    // The explanation under the legend; rows move down where the text needs
    // more lines than the design font did.
    QLabel *heading = placeLabel(this, QStringLiteral("【得点早見表の見方】"), twipsRect(180, 2880, 1620, 180), font(),
                                 0x0000FF);
    QLabel *purpose = placeLabel(this, QStringLiteral("　各選手が予選を突破するための条件（得点率）を示したものです。"),
                                 twipsRect(180, 3120, 4005, 345), font());
    QLabel *axes = placeLabel(
        this, QStringLiteral("　横軸は前半戦の着順で、縦軸は後半戦の着順。縦横の交差する部分が予選終了時の得点率となる。"),
        twipsRect(180, 3480, 4005, 345), font());
    QLabel *example = placeLabel(this, QStringLiteral("　例：上表"), twipsRect(180, 3900, 750, 180), font());
    QLabel *shaded = placeLabel(this, QStringLiteral("網かけ部"), twipsRect(1020, 3900, 705, 180), font(),
                                std::nullopt, kTokhmSampleColor);
    QLabel *reading = placeLabel(this, QStringLiteral("→前半②着　後半⑥着"), twipsRect(1980, 3900, 1740, 180), font());
    QLabel *caveat = placeLabel(
        this, QStringLiteral("※減点その他が発生した場合は、早見表の得点率と異なる可能性が有ります。"),
        twipsRect(180, 4200, 4005, 345), font(), 0xFF0000);
    stackLabels({{heading}, {purpose}, {axes}, {example, shaded, reading}, {caveat}});
    // The window opens tall enough for the explanation.
    setPreferredSize({twipsToPixels(kWidth), std::max(twipsToPixels(kHeight), caveat->geometry().bottom() + 8)});

    mfgsample = new GridView(this);
    mfgsample->setObjectName(QStringLiteral("mfgsample"));
    mfgsample->setModel(&sample_);
    mfgsample->setDefaultFont(makeFont(DefaultFontName, 9));
    mfgsample->setGeometry(twipsRect(120, 720, 4080, 2115));

    mfgf_tokhm = new GridView(this);
    mfgf_tokhm->setObjectName(QStringLiteral("mfgf_tokhm"));
    mfgf_tokhm->setModel(&tokhm_);
    mfgf_tokhm->setDefaultFont(makeFont(DefaultFontName, 9));
    mfgf_tokhm->setGeometry(twipsRect(kGridLeft, kGridTop, 4060, 4610));
    resize(sizeHint());
}

frmtokhmlist::~frmtokhmlist()
{
    mfgf_tokhm->setModel(nullptr);
    mfgsample->setModel(nullptr);
}

void frmtokhmlist::firstActivation()
{
    yieldToEvents();
    HourglassGuard hourglass;
    mfgf_tokhm->hide();
    mfgsample->hide();
    const DayKey key{context().kyosocode, context().setuscode, context().datescnt};
    modkelmon::guarded([&] {
        const QString border = disp_bordrcnt(key);
        for (QLabel *label : lblbordrcnt)
            setOneLineText(label, border, twipsToPixels(kRateWidth));
        disp_tokhm(key, border, tokhm_);
        set_sample_grid(sample_);
    });
    for (GridView *view : {mfgf_tokhm, mfgsample}) {
        view->modelChanged();
        view->show();
    }
}

void frmtokhmlist::resizeEvent(QResizeEvent *event)
{
    ViewerWindow::resizeEvent(event);
    // Only the racers' grid follows the window; the legend side stays.
    const int w = width() - twipsToPixels(4355);
    const int h = height() - twipsToPixels(240);
    if (w > 0 && h > 0)
        mfgf_tokhm->setGeometry(twipsToPixels(kGridLeft), twipsToPixels(kGridTop), w, h);
}

} // namespace kelmon::lists
