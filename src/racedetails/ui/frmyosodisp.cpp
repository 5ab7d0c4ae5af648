#include "racedetails/ui/frmyosodisp.h"

#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/pictures.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/ui/picturecombo.h"
#include "platform/yield.h"
#include "racedetails/powerindex.h"
#include "racedetails/ui/yosodiagram.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace kelmon::racedetails {

namespace {

// The start line and what stands right of it are drawn this far right of
// their places, so the comment column shows its words before the wakes
// begin; the window, and the power-index grid with it, is as much wider.
constexpr int kStartLineShift = 360;
constexpr int kWidth = 6720 + kStartLineShift;
constexpr int kClosedHeight = 4665;
constexpr int kOpenHeight = 6510;
constexpr int kLineStep = 240;

const QString kOpenCaption = QStringLiteral("戦力指数を表示(&O)");
const QString kCloseCaption = QStringLiteral("戦力指数を閉じる(&X)");

// The two diagrams: the waiting formation on the left, the start line with
// the frame marks on the right (twips of the window).
const QRect kFormationArea(120, 2040, 1860, 1620);
const QRect kStartLineArea(3600, 2040, 2520, 1620);

} // namespace

frmyosodisp::frmyosodisp(QWidget *parent) : ViewerWindow(parent)
{
    setObjectName(QStringLiteral("frmyosodisp"));
    setFont(makeFont(DefaultFontName));
    setPreferredSize({twipsToPixels(kWidth), twipsToPixels(kClosedHeight)});
    buildPanel();

    mfgf_point = new GridView(this);
    mfgf_point->setObjectName(QStringLiteral("mfgf_point"));
    mfgf_point->setDefaultFont(makeFont(DefaultFontName));
    mfgf_point->setModel(&power_);
    // The designed size holds the header and six rows exactly; the view's
    // frame is added around it so no scroll bar appears.
    mfgf_point->ensurePolished();
    mfgf_point->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mfgf_point->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frameWidth = mfgf_point->frameWidth();
    mfgf_point->setGeometry(twipsRect(120, 4320, 6375 + kStartLineShift, 1695).adjusted(0, 0, 2 * frameWidth, 2 * frameWidth));
    mfgf_point->hide();
    mfgf_point->setHeadingRowsKeepCurrent(true);
    connect(mfgf_point, &GridView::cellPressed, this, &frmyosodisp::mfgf_point_MouseDown);
}

frmyosodisp::~frmyosodisp()
{
    // The view must not paint a model that is going away.
    mfgf_point->setModel(nullptr);
}

void frmyosodisp::buildPanel()
{
    auto label = [this](const QRect &twips, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop) {
        auto *l = new QLabel(this);
        l->setFont(makeFont(DefaultFontName, 9));
        l->setAlignment(align);
        l->setGeometry(twipsRect(twips.left(), twips.top(), twips.width(), twips.height()));
        return l;
    };

    // The race character picture lies under the selector's corner.
    imayososword_5 = label(QRect(135, 135, 2265, 1185));
    imayososword_5->setObjectName(QStringLiteral("imayososword_5"));

    imcracesno = new QComboBox(this);
    imcracesno->setObjectName(QStringLiteral("imcracesno"));
    for (int i = 1; i <= 12; ++i)
        imcracesno->addItem(pictures::pixmap(imlyosodisp0, i), QString::number(i),
                            format(double(i), "00") + QLatin1Char('R'));
    imcracesno->setGeometry(twipsRect(135, 135, 1455, 420));
    fitComboPictures(imcracesno, pictures::size(imlyosodisp0, 1));
    connect(imcracesno, &QComboBox::activated, this, [this] { imcracesno_Click(); });

    for (int i = 0; i < 3; ++i) {
        QLabel *&word = lblyososword[std::size_t(i)];
        word = label(QRect(3540, 165 + 600 * i, 2970, 540));
        word->setObjectName(QStringLiteral("lblyososword_%1").arg(i + 1));
        word->setWordWrap(true);
    }
    // The fourth word twice, the second a little lower right: a shadowed title.
    // A free text of the paper, it holds its font's whole line, centred where
    // its box is, so a comma or the foot of a bracket shows.
    for (int i = 1; i >= 0; --i) {
        QLabel *&word = lblyososword_4[std::size_t(i)];
        word = label(QRect(120 + 20 * i, 1485 + 15 * i, 2295, 285), Qt::AlignCenter);
        word->setObjectName(QStringLiteral("lblyososword_4_%1").arg(i));
        word->setFont(makeFont(DefaultFontName, 14.25, true));
        word->setGeometry(wholeLineRect(word->geometry(), word->font()));
        if (i == 1)
            word->setStyleSheet(QStringLiteral("color: #A0A0A0;"));
    }

    formation = new YosoDiagram(kFormationArea, this);
    formation->setObjectName(QStringLiteral("imastyle"));
    startLine = new YosoDiagram(kStartLineArea, this, kStartLineShift);
    startLine->setObjectName(QStringLiteral("imayosos_3"));

    // One-line labels hold their font's whole line, centred on the designed
    // line: the commas of the comments show.
    auto line = [&label](int left, int top, int width, Qt::Alignment align = Qt::AlignLeft) {
        QLabel *l = label(QRect(left, top, width, 180), align | Qt::AlignVCenter);
        l->setGeometry(wholeLineRect(l->geometry(), l->font()));
        return l;
    };
    // The heading sits a little higher than designed so its taller glyphs
    // clear the style number below it.
    line(150, 2040, 900)->setText(QStringLiteral("待機行動"));
    // Below the last frame mark with a little room, so the two do not touch.
    line(5580 + kStartLineShift, 3595, 1080)->setText(QStringLiteral("スリット付近"));
    lblstyle = label(QRect(240, 2220, 450, 180), Qt::AlignHCenter | Qt::AlignVCenter);
    lblstyle->setObjectName(QStringLiteral("lblstyle"));
    for (int k = 0; k < kYosoLines; ++k) {
        QLabel *&racer = lblyosos_1[std::size_t(k)];
        racer = line(2160, 2220 + kLineStep * k, 990);
        racer->setObjectName(QStringLiteral("lblyosos_1_%1").arg(k));
        QLabel *&comment = lblsunpyo[std::size_t(k)];
        comment = line(3240, 2220 + kLineStep * k, 720 + kStartLineShift / 2);
        comment->setObjectName(QStringLiteral("lblsunpyo_%1").arg(k));
    }

    cmdpowdisp = new QPushButton(kOpenCaption, this);
    cmdpowdisp->setObjectName(QStringLiteral("cmdpowdisp"));
    cmdpowdisp->setToolTip(QStringLiteral("6艇の戦闘力を比較する戦力指数を表示します"));
    cmdpowdisp->setGeometry(twipsRect(4680, 3840, 1815, 315));
    connect(cmdpowdisp, &QPushButton::clicked, this, &frmyosodisp::cmdpowdisp_Click);
}

void frmyosodisp::firstActivation()
{
    yieldToEvents();
    const QString key = format(context().racesno, "00") + QLatin1Char('R');
    const int index = imcracesno->findData(key);
    // A race outside the selector shows the first race.
    imcracesno->setCurrentIndex(index >= 0 ? index : 0);
    imcracesno_Click();
}

void frmyosodisp::imcracesno_Click()
{
    ViewerContext c = context();
    c.racesno = imcracesno->currentText();
    setContext(c);
    refreshCaption();
    panel_.clear();
    {
        HourglassGuard hourglass;
        modkelmon::guarded([this] {
            panel_.load(context().setuscode, context().datescnt, context().racesno);
            // The open power indices follow the race even when the paper has
            // no prediction for it, so they never show another race's boats.
            if (powerShown())
                disp_powp();
        });
    }
    showPanel();
}

void frmyosodisp::showPanel()
{
    for (std::size_t i = 0; i < 3; ++i)
        lblyososword[i]->setText(panel_.words[i]);
    for (QLabel *word : lblyososword_4)
        word->setText(panel_.word4);
    imayososword_5->setPixmap(pictures::pixmap(panel_.wordPicture));
    lblstyle->setText(panel_.styleLabel);
    for (std::size_t k = 0; k < std::size_t(kYosoLines); ++k) {
        lblyosos_1[k]->setText(panel_.lines[k]);
        // The wakes begin where the column ends: a comment shows the
        // characters that fit whole, never part of one.
        QLabel *comment = lblsunpyo[k];
        const QFontMetrics metrics(comment->font());
        QString text = panel_.comments[k];
        while (!text.isEmpty() && metrics.horizontalAdvance(text) > comment->width())
            text.chop(1);
        comment->setText(text);
    }
    formation->setPlacements(QVector<YosoPlacement>(panel_.styleBoats.begin(), panel_.styleBoats.end()));
    // Wakes first, so the boats are drawn over them.
    QVector<YosoPlacement> line(panel_.waves.begin(), panel_.waves.end());
    line += QVector<YosoPlacement>(panel_.lineBoats.begin(), panel_.lineBoats.end());
    line += QVector<YosoPlacement>(panel_.frameMarks.begin(), panel_.frameMarks.end());
    startLine->setPlacements(line);
}

bool frmyosodisp::powerShown() const { return cmdpowdisp->text() == kCloseCaption; }

void frmyosodisp::disp_powp()
{
    mfgf_point->hide();
    struct Show {
        GridView *view;
        ~Show()
        {
            view->modelChanged();
            view->show();
        }
    } show{mfgf_point};
    racedetails::disp_powp(power_, context().setuscode, context().datescnt, context().racesno);
}

void frmyosodisp::cmdpowdisp_Click()
{
    if (!powerShown()) {
        {
            HourglassGuard hourglass;
            modkelmon::guarded([this] { disp_powp(); });
        }
        setClientHeight(twipsToPixels(kOpenHeight));
        cmdpowdisp->setText(kCloseCaption);
    } else {
        mfgf_point->hide();
        setClientHeight(twipsToPixels(kClosedHeight));
        cmdpowdisp->setText(kOpenCaption);
    }
}

GridModel *frmyosodisp::popupGrid(const QString &menu)
{
    return menu == QLatin1String("mnury") ? &power_ : nullptr;
}

void frmyosodisp::mfgf_point_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos)
{
    (void)row;
    (void)col;
    if (button != Qt::RightButton || power_.rows() <= 1)
        return;
    // The commands act on the current cell: the name column has no sort of
    // its own here, and the racer item needs the racer detail window.
    const bool sortable = power_.col() != 0;
    popupViewerMenu(this, QStringLiteral("mnury"),
                    {{0, sortable}, {1, sortable}, {3, hasViewer(ViewerKind::RacerDetail)}}, globalPos);
}

} // namespace kelmon::racedetails
