#include "lists/ui/frmdataroom.h"

#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "lists/dataroom.h"
#include "lists/ui/listlabels.h"
#include "lists/ui/listwindow.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/yield.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTabBar>

namespace kelmon::lists {

namespace {

// The client area the window opens with, in twips.
constexpr int kWidth = 6130;
constexpr int kHeight = 5925;
constexpr int kGridTop = 1080;
constexpr QRgb kDisabledCaption = 0x707070;

struct Tab {
    const char16_t *caption;
    const char16_t *toolTip;
};
const Tab kTabs[3] = {
    {u"Today's ランキング", u"今日のランキングを表示します"},
    {u"着回数率", u"選手の着回数率を表示します"},
    {u"回収率", u"選手の回収率を表示します"},
};

} // namespace

frmdataroom::frmdataroom(QWidget *parent) : ViewerWindow(parent)
{
    setObjectName(QStringLiteral("frmdataroom"));
    setFont(makeFont(DefaultFontName));
    setPreferredSize({twipsToPixels(kWidth), twipsToPixels(kHeight)});

    tabPane_ = new QFrame(this);
    tabPane_->setFrameShape(QFrame::StyledPanel);
    tab1 = new QTabBar(this);
    tab1->setObjectName(QStringLiteral("tab1"));
    tab1->setDrawBase(false);
    for (const Tab &t : kTabs) {
        const int i = tab1->addTab(QString::fromUtf16(t.caption));
        tab1->setTabToolTip(i, QString::fromUtf16(t.toolTip));
    }
    connect(tab1, &QTabBar::currentChanged, this, [this] { tab1_Click(); });

    buildPage(0, u"", u"", u"");
    buildPage(1, u"選手の着回数率 （最近１年間）", u"～ 1着の多い選手は誰？ 3着の多い選手は誰？～",
              u"選手の 1着 から 6着 までの着回数率を比較してみよう！");
    buildPage(2, u"選手の回収率 （最近１２０日間）", u"～最近120日間で、この選手に関する舟券を全て同額で買った～",
              u"あなたの財布の中身は…  元金×回収率！");

    cmdtokhmlist = new QPushButton(QStringLiteral("得点早見表(&H)"), fradr[0]);
    cmdtokhmlist->setObjectName(QStringLiteral("cmdtokhmlist"));
    cmdtokhmlist->setToolTip(QStringLiteral("各選手が予選を突破するための条件（得点率）を表示します"));
    cmdtokhmlist->setGeometry(twipsRect(4200, 80, 1335, 315));
    // Disabled, the caption stays readable on the light face of the button
    // (the style's own grey nearly matches the face).
    QPalette palette = cmdtokhmlist->palette();
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(kDisabledCaption));
    cmdtokhmlist->setPalette(palette);
    connect(cmdtokhmlist, &QPushButton::clicked, this, [this] { cmdtokhmlist_Click(); });

    resize(twipsToPixels(kWidth), twipsToPixels(kHeight));
    tab1_Click();
}

frmdataroom::~frmdataroom()
{
    // The views must not paint models that are going away.
    for (GridView *view : mfgdr)
        view->setModel(nullptr);
}

void frmdataroom::buildPage(int index, const char16_t *title, const char16_t *subtitle, const char16_t *note)
{
    QFrame *page = new QFrame(this);
    page->setObjectName(QStringLiteral("fradr_%1").arg(index));
    page->setFrameShape(QFrame::NoFrame);
    fradr[std::size_t(index)] = page;

    auto *band = new QFrame(page);
    band->setGeometry(twipsRect(0, 0, 5610, 975));
    band->setAutoFillBackground(true);
    band->setStyleSheet(QStringLiteral("background-color: #808080;"));

    // The ranking page's labels are written when its kind is known.
    QLabel *labels[3] = {
        placeLabel(page, QString::fromUtf16(title), twipsRect(240, 120, index == 0 ? 3660 : 5205, 285),
                   makeFont(QStringLiteral("HG丸ｺﾞｼｯｸM-PRO"), 14.25, true), 0xFF8000),
        placeLabel(page, QString::fromUtf16(subtitle), twipsRect(120, 480, 5340, 180), font(), 0xFFFF00),
        placeLabel(page, QString::fromUtf16(note), twipsRect(120, 720, 5340, 180), font(), 0xFFFF00),
    };
    if (index == 0)
        for (int i = 0; i < 3; ++i) {
            lbllunks[std::size_t(i)] = labels[i];
            labels[i]->setObjectName(QStringLiteral("lbllunks_%1").arg(i));
        }

    auto *view = new GridView(page);
    view->setObjectName(QStringLiteral("mfgdr_%1").arg(index));
    view->setModel(&models_[std::size_t(index)]);
    view->setDefaultFont(makeFont(DefaultFontName, 9));
    view->setGeometry(twipsRect(0, kGridTop, 5610, 3990));
    view->setHeadingRowsKeepCurrent(true);
    connect(view, &GridView::cellPressed, this,
            [this, index](int, int, Qt::MouseButton button, const QPoint &globalPos) {
                mfgdr_MouseDown(index, button, globalPos);
            });
    mfgdr[std::size_t(index)] = view;
}

void frmdataroom::firstActivation()
{
    // The window paints before it loads; it shows no hourglass.
    yieldToEvents();
    for (GridView *view : mfgdr)
        view->hide();
    const DayKey key{context().kyosocode, context().setuscode, context().datescnt};
    modkelmon::guarded([&] {
        const RankingPage page = set_dataroom(key, models_[0], models_[1], models_[2]);
        if (page.title)
            lbllunks[0]->setText(*page.title);
        if (page.subtitle)
            lbllunks[1]->setText(*page.subtitle);
        if (page.note)
            lbllunks[2]->setText(*page.note);
        if (page.pointsButton)
            cmdtokhmlist->setEnabled(*page.pointsButton);
        disp_lunks(key, lbllunks[0]->text(), models_[0]);
        disp_cyakukai(key, models_[1]);
        disp_kaisyu(key, models_[2]);
    });
    for (GridView *view : mfgdr) {
        view->modelChanged();
        view->show();
    }
    tab1_Click();
}

void frmdataroom::tab1_Click()
{
    const QString caption = tab1->tabText(tab1->currentIndex());
    for (int i = 0; i < 3; ++i)
        if (caption == QString::fromUtf16(kTabs[i].caption)) {
            for (int j = 0; j < 3; ++j)
                fradr[std::size_t(j)]->setVisible(j == i);
            fradr[std::size_t(i)]->raise();
        }
}

GridModel *frmdataroom::popupGrid(const QString &menu)
{
    if (menu == QLatin1String("mnul1") || menu == QLatin1String("mnul2"))
        return &models_[0];
    if (menu == QLatin1String("mnucr"))
        return &models_[1];
    if (menu == QLatin1String("mnuks"))
        return &models_[2];
    return nullptr;
}

void frmdataroom::mfgdr_MouseDown(int index, Qt::MouseButton button, const QPoint &globalPos)
{
    if (button != Qt::RightButton || index < 0 || index > 2)
        return;
    const auto popup = dataroomPopup(index, lbllunks[0]->text(), models_[std::size_t(index)]);
    if (!popup)
        return;
    // The racer detail opens only where the program has it.
    popupViewerMenu(this, popup->menu,
                    {{0, popup->sortAverage}, {1, popup->sortAverage}, {2, popup->sortAverage},
                     {4, hasViewer(ViewerKind::RacerDetail)}, {5, popup->raceCard}},
                    globalPos);
}

void frmdataroom::cmdtokhmlist_Click()
{
    ViewerWindow *window = createViewer(ViewerKind::Points);
    if (!window)
        return;
    ViewerContext c = context();
    c.racesno = QStringLiteral("1");
    window->setContext(c);
    window->setCaption(QStringLiteral("得点早見表を表示しています..."), CaptionTail::Date);
    showViewer(viewerArea(this), window);
}

void frmdataroom::resizeEvent(QResizeEvent *event)
{
    ViewerWindow::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int margin = twipsToPixels(120);
    // A window too small for a step leaves that control as it was.
    const QRect strip(margin, margin, w - 2 * margin, h - 2 * margin);
    if (strip.width() > 0 && strip.height() > 0) {
        const int tabHeight = tab1->sizeHint().height();
        tab1->setGeometry(strip.left() + 2, strip.top(), strip.width() - 4, tabHeight);
        tabPane_->setGeometry(strip.adjusted(0, tabHeight - 1, 0, 0));
    }
    const QRect page(twipsToPixels(240), twipsToPixels(600), w - twipsToPixels(480), h - twipsToPixels(840));
    if (page.width() <= 0 || page.height() <= 0)
        return;
    for (int i = 0; i < 3; ++i) {
        fradr[std::size_t(i)]->setGeometry(page);
        const int gridHeight = page.height() - twipsToPixels(1125);
        const int gridWidth = page.width() - twipsToPixels(45);
        if (gridHeight > 0 && gridWidth > 0)
            mfgdr[std::size_t(i)]->setGeometry(0, twipsToPixels(kGridTop), gridWidth, gridHeight);
    }
}

} // namespace kelmon::lists
