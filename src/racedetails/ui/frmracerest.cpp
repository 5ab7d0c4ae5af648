#include "racedetails/ui/frmracerest.h"

#include "app/ui/frmmainmenu.h"
#include "app/ui/mainmenus.h"
#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/messages.h"
#include "platform/pictures.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/ui/picturecombo.h"
#include "platform/yield.h"
#include "racedetails/restresult.h"
#include "racedetails/startdiagram.h"
#include "racedetails/ui/startdiagramview.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>

namespace kelmon::racedetails {

namespace {

constexpr int kWidth = 6615;
constexpr int kHeight = 5700;
const QString kNoDate = QStringLiteral("00000000");
const QString kFixedFont = DefaultFontName;
const QString kProportionalFont = QStringLiteral("ＭＳ Ｐゴシック");

QString dayKey(const QString &datescnt) { return format(datescnt, "00") + QLatin1Char('D'); }
QString raceKey(const QString &racesno) { return format(racesno, "00") + QLatin1Char('R'); }

} // namespace

frmracerest::frmracerest(QWidget *parent) : ViewerWindow(parent)
{
    setObjectName(QStringLiteral("frmracerest"));
    setFont(makeFont(kFixedFont, 9));
    setPreferredSize({twipsToPixels(kWidth), twipsToPixels(kHeight)});
    buildHeader();

    mfgf_restb = new GridView(this);
    mfgf_restb->setObjectName(QStringLiteral("mfgf_restb"));
    mfgf_restb->setModel(&model_);
    // Header and six boats fill the grid's height exactly; a frame would
    // push the last boat out of sight.
    mfgf_restb->setFrameShape(QFrame::NoFrame);
    mfgf_restb->setGeometry(twipsRect(120, 1680, 6135, 1710));
    mfgf_restb->setHeadingRowsKeepCurrent(true);
    connect(mfgf_restb, &GridView::cellPressed, this, &frmracerest::mfgf_restb_MouseDown);
    diagram = new StartDiagramView(this);
    set_mfgf_restb();
}

frmracerest::~frmracerest()
{
    // The view must not paint a model that is going away.
    mfgf_restb->setModel(nullptr);
}

void frmracerest::buildHeader()
{
    // A named label shows a text of the paper, which may reach below its
    // characters (a comma, a descender, the foot of a bracket): it holds its
    // font's whole line, centred where its box is. The captions keep their boxes.
    auto label = [this](const char *name, const QRect &rect, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter,
                        const QString &text = QString(), const QFont &font = makeFont(kFixedFont, 9)) {
        auto *l = new QLabel(text, this);
        l->setFont(font);
        l->setAlignment(align);
        if (name)
            l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(name ? wholeLineRect(rect, font) : rect);
        return l;
    };

    // The pictures name the day and the race; the items' texts are not drawn.
    imcdatescnt = new PictureCombo(this);
    imcdatescnt->setObjectName(QStringLiteral("imcdatescnt"));
    for (int i = 1; i <= 7; ++i)
        imcdatescnt->addItem(pictures::pixmap(imlracerest1, i), QString::number(i), dayKey(QString::number(i)));
    // The selectors are as tall as their pictures need, and the day
    // selector as wide: its pictures show at their size, not scaled down.
    imcdatescnt->setGeometry(twipsRect(120, 120, 1185, 405));
    fitComboPictures(imcdatescnt, pictures::size(imlracerest1, 1));
    connect(imcdatescnt, &QComboBox::activated, this, [this] { imcdatescnt_Click(); });

    imcracesno = new PictureCombo(this);
    imcracesno->setObjectName(QStringLiteral("imcracesno"));
    for (int i = 1; i <= 12; ++i)
        imcracesno->addItem(pictures::pixmap(imlracerest0, i), QString::number(i), raceKey(QString::number(i)));
    imcracesno->setGeometry(twipsRect(1290, 120, 1455, 405));
    fitComboPictures(imcracesno, pictures::size(imlracerest0, 1));
    connect(imcracesno, &QComboBox::activated, this, [this] { imcracesno_Click(); });

    // The name begins right of the race selector and ends where it did.
    lblracesname = label("lblracesname", twipsRect(2850, 158, 3390, 360), Qt::AlignLeft | Qt::AlignVCenter, QString(),
                         makeFont(kProportionalFont, 15.75, true));

    auto *shape = new QFrame(this);
    shape->setFrameShape(QFrame::Box);
    shape->setGeometry(twipsRect(120, 600, 6135, 975));
    shape->lower();

    const int renbanLeft[3] = {240, 900, 1560};
    for (int k = 0; k < 3; ++k) {
        QLabel *&l = lblrenban_3ta[std::size_t(k)];
        // 330 twips hold a digit of the bold face drawn here, centred where 300 were.
        l = label(nullptr, twipsRect(renbanLeft[k] - 15, 540, 330, 675), Qt::AlignCenter);
        l->setObjectName(QStringLiteral("lblrenban_3ta_%1").arg(k));
        l->setFont(makeFont(QStringLiteral("Comic Sans MS"), 24, true));
    }
    label(nullptr, twipsRect(600, 795, 210, 195), Qt::AlignCenter, QStringLiteral("→"));
    label(nullptr, twipsRect(1260, 795, 210, 195), Qt::AlignCenter, QStringLiteral("→"));
    label(nullptr, twipsRect(3480, 720, 450, 180), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("2連単"));
    label(nullptr, twipsRect(3480, 960, 450, 180), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("3連単"));
    // The payouts reach up to the popularity labels: a seven-digit payout
    // with its separators takes that room, in a smaller font (disp_raceresult).
    // Holding their font's whole line, they show the commas below the digits
    // at the full size.
    lblhaikin_2ta = label("lblhaikin_2ta", twipsRect(4320, 720, 960, 180));
    lblhaikin_3ta = label("lblhaikin_3ta", twipsRect(4320, 960, 960, 180));
    lblninkido_2ta = label("lblninkido_2ta", twipsRect(5280, 720, 900, 180));
    lblninkido_3ta = label("lblninkido_3ta", twipsRect(5280, 960, 900, 180));
    lblkazemuki = label("lblkazemuki", twipsRect(240, 1320, 540, 180));
    lblkazesoku = label("lblkazesoku", twipsRect(840, 1320, 360, 180));
    label(nullptr, twipsRect(1380, 1320, 360, 180), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("波高"));
    lblnami = label("lblnami", twipsRect(1920, 1320, 360, 180));
    lblkimarite = label("lblkimarite", twipsRect(2400, 1320, 900, 180));
    lbltenkai = label("lbltenkai", twipsRect(3480, 1320, 2700, 180));
}

GridModel *frmracerest::popupGrid(const QString &menu)
{
    return menu == QLatin1String("mnurr") ? &model_ : nullptr;
}

void frmracerest::firstActivation()
{
    yieldToEvents();
    const int day = imcdatescnt->findData(dayKey(context().datescnt));
    const int race = imcracesno->findData(raceKey(context().racesno));
    imcdatescnt->setCurrentIndex(day);
    imcracesno->setCurrentIndex(race);
    if (day >= 0 && race >= 0) {
        imcdatescnt_Click();
        return;
    }
    // The opener named a day or a race the selectors do not offer.
    clear_racerest();
    set_mfgf_restb();
    showNoResult();
}

void frmracerest::imcdatescnt_Click()
{
    ViewerContext c = context();
    c.datescnt = imcdatescnt->currentText();
    setContext(c);
    clear_racerest();
    set_mfgf_restb();
    modkelmon::guarded([this] {
        ViewerContext c = context();
        {
            HourglassGuard hourglass;
            c.date = get_racedate(c.setuscode, c.datescnt);
        }
        setContext(c);
        raceUnknown_ = c.date == kNoDate;
        updateCaption();
        disp_raceresult();
    });
}

void frmracerest::imcracesno_Click()
{
    ViewerContext c = context();
    c.racesno = imcracesno->currentText();
    setContext(c);
    raceUnknown_ = false;
    updateCaption();
    clear_racerest();
    set_mfgf_restb();
    modkelmon::guarded([this] { disp_raceresult(); });
}

// The caption from its title and the context: a day without results shows
// dashes for its date, and for the race until a race is chosen.
void frmracerest::updateCaption()
{
    ViewerContext shown = context();
    if (shown.date == kNoDate)
        shown.date = QStringLiteral("--------");
    if (raceUnknown_)
        shown.racesno = QStringLiteral("--");
    setWindowTitle(caption(shown));
}

void frmracerest::clear_racerest()
{
    for (QLabel *l : {lblracesname, lblhaikin_2ta, lblninkido_2ta, lblhaikin_3ta, lblninkido_3ta, lblkazemuki,
                      lblkazesoku, lblnami, lblkimarite, lbltenkai})
        l->clear();
    for (QLabel *l : lblrenban_3ta)
        l->clear();
    diagram->clear();
}

void frmracerest::set_mfgf_restb()
{
    racedetails::set_mfgf_restb(model_);
    model_.setRows(1);
    mfgf_restb->modelChanged();
}

void frmracerest::showNoResult()
{
    messages().information(QStringLiteral("警告です..."), QStringLiteral("指定されたレース結果は有りません"));
}

void frmracerest::disp_raceresult()
{
    const RaceKey key{context().setuscode, context().datescnt, context().racesno};
    std::optional<RaceResultHeader> header;
    QList<RestbRow> rows;
    {
        HourglassGuard hourglass;
        header = load_raceresult(key);
        if (header)
            rows = load_restb(key);
    }
    if (!header) {
        showNoResult();
        return;
    }
    lblracesname->setText(header->racesname);
    for (int k = 0; k < 3; ++k)
        lblrenban_3ta[std::size_t(k)]->setText(header->renban[std::size_t(k)]);
    for (const auto &[label, text] : {std::pair{lblhaikin_2ta, header->haikin_2ta}, {lblhaikin_3ta, header->haikin_3ta}}) {
        const QRect box = label->contentsRect();
        label->setFont(makeFont(kFixedFont, fittedPoints(text, box.width(), box.height())));
        label->setText(text);
    }
    lblninkido_2ta->setText(header->ninkido_2ta);
    lblninkido_3ta->setText(header->ninkido_3ta);
    lblkazemuki->setText(header->kazemuki);
    lblkazesoku->setText(header->kazesoku);
    lblnami->setText(header->nami);
    lblkimarite->setText(header->kimarite);
    lbltenkai->setText(header->tenkai);

    mfgf_restb->hide();
    fill_restb(model_, rows);
    mfgf_restb->modelChanged();
    mfgf_restb->show();
    diagram->setPlacements(disp_sinyu(rows));
}

void frmracerest::mfgf_restb_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos)
{
    Q_UNUSED(row);
    if (button != Qt::RightButton || model_.rows() <= 1)
        return;
    auto *frame = qobject_cast<frmmainmenu *>(window());
    if (!frame)
        return;
    MainMenus &menus = frame->menus();
    const bool sortable = col != ColName && col != ColPenalty;
    const bool averaged = col == ColStart || col == ColExhibition;
    const bool enabled[5] = {sortable, sortable, averaged, true, hasViewer(ViewerKind::RacerDetail)};
    for (int i = 0; i < 5; ++i)
        if (QAction *a = menus.action(QStringLiteral("mnurrsub_%1").arg(i)); a && !a->isSeparator())
            a->setEnabled(enabled[i]);
    if (QMenu *popup = menus.menu(QStringLiteral("mnurr")))
        popup->popup(globalPos);
}

} // namespace kelmon::racedetails
