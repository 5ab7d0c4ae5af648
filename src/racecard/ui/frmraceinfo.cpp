#include "racecard/ui/frmraceinfo.h"
#include "app/ui/viewerfactory.h"

#include "app/ui/frmmainmenu.h"
#include "app/ui/mainmenus.h"
#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "common/timeforms.h"
#include "platform/fonts.h"
#include "platform/gridmoves.h"
#include "platform/help.h"
#include "platform/hourglass.h"
#include "platform/messages.h"
#include "platform/pictures.h"
#include "platform/twips.h"
#include "platform/ui/gridview.h"
#include "platform/ui/picturecombo.h"
#include "platform/yield.h"
#include "racecard/blockcatalogue.h"
#include "racecard/relatedwindows.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <cmath>
#include <optional>

namespace kelmon::racecard {

using modkelmon::keyValue;

namespace {

const QString kWarningTitle = QStringLiteral("警告です...");
const QString kNoTime = QStringLiteral("  時  分");

// Window and header geometry in twips.
constexpr int kWidth = 13050;
constexpr int kHeight = 6525;
constexpr int kPanelLeft = 120;
constexpr int kPanelWidth = 1455;
constexpr int kGridLeft = 1680;
constexpr int kGridTop = 120;
constexpr int kPredictionTops[3] = {3720, 4320, 4920};

// Which prediction pictures show a frame of a role: large ones first, then
// the small ones (rows of four: winner, second, two thirds).
struct RolePictures {
    std::initializer_list<int> large;
    std::initializer_list<int> small;
};
const RolePictures kRoles[5] = {
    {{}, {}},
    {{0, 4, 8}, {}},
    {{1}, {6, 10}},
    {{5}, {2, 11}},
    {{9}, {3, 7}},
};

} // namespace

frmraceinfo::frmraceinfo(QWidget *parent) : ViewerWindow(parent)
{
    setObjectName(QStringLiteral("frmraceinfo"));
    setFont(makeFont(DefaultFontName));
    setPreferredSize({twipsToPixels(kWidth), twipsToPixels(kHeight)});
    buildHeaderPanel();

    mfgf_wakus = new GridView(this);
    mfgf_wakus->setObjectName(QStringLiteral("mfgf_wakus"));
    mfgf_wakus->setModel(&model_);
    connect(mfgf_wakus, &GridView::cellPressed, this, &frmraceinfo::mfgf_wakus_MouseDown);
    mfgf_wakus->setGeometry(twipsRect(kGridLeft, kGridTop, kWidth - 1800, kHeight - 240));
    refreshButtons();
}

frmraceinfo::~frmraceinfo()
{
    // The view must not paint a model that is going away.
    mfgf_wakus->setModel(nullptr);
}

void frmraceinfo::buildHeaderPanel()
{
    auto label = [this](const QString &text, const QRect &rect, double points = 9, bool bold = false) {
        auto *l = new QLabel(text, this);
        l->setFont(makeFont(DefaultFontName, points, bold));
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(rect);
        return l;
    };
    auto frame = [this](const QRect &rect) {
        auto *f = new QFrame(this);
        f->setFrameShape(QFrame::Box);
        f->setFrameShadow(QFrame::Sunken);
        f->setGeometry(rect);
        f->lower();
        return f;
    };

    imcracesno = new QComboBox(this);
    imcracesno->setObjectName(QStringLiteral("imcracesno"));
    for (int i = 1; i <= 12; ++i)
        imcracesno->addItem(pictures::pixmap(imlraceinfo0, i), QString::number(i),
                            format(double(i), "00") + QLatin1Char('R'));
    imcracesno->setGeometry(twipsRect(kPanelLeft, 120, kPanelWidth, 420));
    fitComboPictures(imcracesno, pictures::size(imlraceinfo0, 1));
    imcracesno->installEventFilter(this);
    imcracesno->view()->installEventFilter(this);
    connect(imcracesno, &QComboBox::activated, this, [this] { imcracesno_Click(); });

    cmddeme = new QPushButton(QStringLiteral("出目(&M)"), this);
    cmddeme->setObjectName(QStringLiteral("cmddeme"));
    cmddeme->setToolTip(QStringLiteral("今節の出目を表示します"));
    cmddeme->setGeometry(twipsRect(kPanelLeft, 550, kPanelWidth, 375));
    connect(cmddeme, &QPushButton::clicked, this,
            [this] { openRelated(ViewerKind::Outcomes, QStringLiteral("出目を表示しています...")); });

    // Eight full-width characters of the bold Gothic fit the panel's width at 8 points.
    lblracesname = label(QString(), twipsRect(kPanelLeft, 1020, kPanelWidth, 300), 8, true);
    lblracesname->setObjectName(QStringLiteral("lblracesname"));

    frame(twipsRect(kPanelLeft, 1410, kPanelWidth, 1530));
    label(QStringLiteral("本場の"), twipsRect(kPanelLeft, 1470, kPanelWidth, 240));
    label(QStringLiteral("発売締切時刻"), twipsRect(kPanelLeft, 1710, kPanelWidth, 240));
    lbltime_1 = label(kNoTime, twipsRect(kPanelLeft, 1980, kPanelWidth, 360), 12, true);
    lbltime_1->setObjectName(QStringLiteral("lbltime_1"));
    label(QStringLiteral("電投締切時刻"), twipsRect(kPanelLeft, 2400, kPanelWidth, 240));
    label(QStringLiteral("３分前"), twipsRect(kPanelLeft, 2640, kPanelWidth, 240));

    QLabel *trifecta = label(QStringLiteral("３連単"), twipsRect(285, 3067, 1125, 360), 10.5, true);
    trifecta->setAutoFillBackground(true);
    trifecta->setStyleSheet(QStringLiteral("background-color: #C0FFFF; border: 1px solid #808080;"));
    frame(twipsRect(kPanelLeft, 3000, kPanelWidth, 2580));

    // The fixed decoration of each row: an arrow after the winner, an arrow
    // after the second and a brace before the two thirds.
    for (int r = 0; r < 3; ++r) {
        const int top = twipsToPixels(kPredictionTops[r]);
        const QPoint places[3] = {{twipsToPixels(460) + 1, top + 4}, {twipsToPixels(1005), top + 4},
                                  {twipsToPixels(1260) - 6, top - 5}};
        for (int j = 0; j < 3; ++j) {
            auto *l = new QLabel(this);
            l->setObjectName(QStringLiteral("imay_%1").arg(3 * r + j));
            const QPixmap pm = pictures::pixmap(imay, 3 * r + j + 1);
            l->setPixmap(pm);
            l->setGeometry(QRect(places[j], pm.size()));
        }
        const QRect pictures[4] = {twipsRect(160, kPredictionTops[r], 300, 300),
                                   twipsRect(705, kPredictionTops[r], 300, 300),
                                   twipsRect(1260, kPredictionTops[r] - 75, 255, 255),
                                   twipsRect(1260, kPredictionTops[r] + 165, 255, 255)};
        for (int j = 0; j < 4; ++j) {
            QLabel *&picture = imayn[std::size_t(4 * r + j)];
            picture = new QLabel(this);
            picture->setObjectName(QStringLiteral("imayn_%1").arg(4 * r + j));
            picture->setGeometry(pictures[j]);
        }
    }

    cmdyosodisp = new QPushButton(QStringLiteral("レース予想(&E)"), this);
    cmdyosodisp->setObjectName(QStringLiteral("cmdyosodisp"));
    cmdyosodisp->setToolTip(QStringLiteral("レース予想を表示します"));
    cmdyosodisp->setGeometry(twipsRect(kPanelLeft, 5660, kPanelWidth, 375));
    connect(cmdyosodisp, &QPushButton::clicked, this,
            [this] { openRelated(ViewerKind::Predictions, QStringLiteral("レース予想を表示しています...")); });
}

void frmraceinfo::refreshButtons()
{
    cmddeme->setEnabled(hasViewer(ViewerKind::Outcomes) && !firstDay_);
    cmdyosodisp->setEnabled(hasViewer(ViewerKind::Predictions));
}

void frmraceinfo::syncContext()
{
    const ViewerContext &c = context();
    engine_.context = {c.kyosocode, c.setuscode, c.datescnt, c.date, c.racesno};
}

void frmraceinfo::firstActivation()
{
    yieldToEvents();
    const bool loaded = modkelmon::guarded([this] {
        syncContext();
        engine_.load_m_kanri();
        // The first day of a meeting has no earlier outcomes.
        firstDay_ = val(context().datescnt) == 1;
        refreshButtons();
        const QString key = format(context().racesno, "00") + QLatin1Char('R');
        const int index = imcracesno->findData(key);
        imcracesno->setCurrentIndex(index >= 0 ? index : 0);
    });
    if (loaded)
        imcracesno_Click();
}

void frmraceinfo::imcracesno_Click()
{
    // The other race's card keeps the current cell's block and row place; the
    // window's first card (a grid not filled yet) starts on the first racer's
    // row, in the first column the keys reach.
    std::optional<RaceCardEngine::CellAnchor> anchor;
    if (model_.rows() > 0)
        anchor = engine_.currentAnchor();
    ViewerContext c = context();
    c.racesno = imcracesno->currentText();
    setContext(c);
    refreshCaption();
    // The grid, header and pictures of the race shown so far go before
    // anything can paint the new caption over them (the yield below, the
    // warning for a race the database no longer holds).
    redraw([this] { set_gridheader(engine_.grid()); });
    lblracesname->clear();
    for (QLabel *picture : imayn)
        picture->clear();
    yieldToEvents();
    modkelmon::guarded([this, &anchor] {
        syncContext();
        // A race the paper does not hold is reported before its pictures
        // and grid are drawn; the card then shows what they find.
        if (!disp_raceheader())
            messages().information(kWarningTitle, QStringLiteral("該当日のデジタル紙面は有りません"));
        disp_yosos();
        engine_.item_no = 1;
        redraw([&] {
            engine_.disp_raceinfo(0);
            if (anchor)
                engine_.restoreCurrent(*anchor, false);
            else
                startAtFirstDataRow(engine_.grid());
        });
    });
}

bool frmraceinfo::disp_raceheader()
{
    lblracesname->clear();
    lblracesname->setToolTip(QString());
    lbltime_1->setText(kNoTime);
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select racesname, time_1 from f_races where setuscode = ? and datescnt = ? and racesno = ?"),
        {keyValue(context().setuscode), keyValue(context().datescnt), keyValue(context().racesno)});
    if (!q.next())
        return false;
    const QString name = q.value(0).toString();
    lblracesname->setText(name.left(8));
    lblracesname->setToolTip(name);
    const QString time = modkelmon::hhmm_time(q.value(1).toString());
    if (!time.isEmpty())
        lbltime_1->setText(time);
    return true;
}

void frmraceinfo::disp_yosos()
{
    // Every picture is cleared first, so a prediction without some role never
    // keeps the previous race's frames.
    for (QLabel *picture : imayn)
        picture->clear();
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select yosos_1 from f_yosos where setuscode = ? and datescnt = ? and racesno = ?"),
        {keyValue(context().setuscode), keyValue(context().datescnt), keyValue(context().racesno)});
    if (!q.next())
        return;
    // One role digit per frame, frame 1 first; the position is the frame, so
    // leading blanks are not trimmed away.
    const QString roles = q.value(0).toString();
    for (int frame = 1; frame <= 6; ++frame) {
        const int role = int(val(roles.mid(frame - 1, 1)));
        if (role < 1 || role > 4)
            continue;
        for (int i : kRoles[role].large)
            imayn[std::size_t(i)]->setPixmap(pictures::pixmap(imlraceinfo1, pictures::frameLarge(frame)));
        for (int i : kRoles[role].small)
            imayn[std::size_t(i)]->setPixmap(pictures::pixmap(imlraceinfo1, pictures::frameSmall(frame)));
    }
}

// Runs a fill of the model with the grid hidden, then paints it once. Hiding
// the grid passes the keyboard on to the next control; a grid that had the
// keyboard takes it back when it shows again.
template <typename F> void frmraceinfo::redraw(F &&fill)
{
    HourglassGuard hourglass;
    struct Show {
        GridView *view;
        bool focused;
        ~Show()
        {
            view->modelChanged();
            view->show();
            if (focused)
                view->setFocus(Qt::OtherFocusReason);
        }
    } show{mfgf_wakus, mfgf_wakus->hasFocus()};
    mfgf_wakus->hide();
    fill();
}

void frmraceinfo::disp_raceinfo(int order)
{
    redraw([&] { engine_.disp_raceinfo(order); });
}

void frmraceinfo::sort_by_item(int order)
{
    redraw([&] { engine_.sort_by_item(order); });
}

void frmraceinfo::add_column(int menu)
{
    redraw([&] { engine_.add_column(menu); });
}

void frmraceinfo::del_column()
{
    redraw([&] { engine_.del_column(); });
}

void frmraceinfo::set_normalgrid()
{
    redraw([&] { engine_.set_normalgrid(); });
}

void frmraceinfo::set_allgrid()
{
    redraw([&] { engine_.set_allgrid(); });
}

void frmraceinfo::save_m_kanri()
{
    HourglassGuard hourglass;
    engine_.save_m_kanri();
}

void frmraceinfo::comp_average() { engine_.show_average(); }

void frmraceinfo::disp_help()
{
    const int item = engine_.item_no;
    const int topic = engine_.disp_help();
    if (item >= 1 && item <= 87 && topic > 0)
        help::showHelp(topic);
}

void frmraceinfo::disp_racerdisp()
{
    openTarget(racerTarget(model_, engine_.context));
}

void frmraceinfo::disp_racerest()
{
    if (const std::optional<RelatedTarget> target = clickedTarget(model_, engine_.context, engine_.item_no))
        openTarget(*target);
}

void frmraceinfo::openTarget(const RelatedTarget &target)
{
    static const ViewerKind kinds[] = {ViewerKind::RacerDetail, ViewerKind::RaceResult, ViewerKind::RaceCard,
                                       ViewerKind::PreviousRuns};
    ViewerWindow *window = createViewer(kinds[int(target.kind)]);
    if (!window)
        return;
    ViewerContext c = context();
    c.kyosocode = target.context.kyosocode;
    c.setuscode = target.context.setuscode;
    c.datescnt = target.context.datescnt;
    c.date = target.context.date;
    c.racesno = target.context.racesno;
    c.tourokuno = target.tourokuno;
    c.wakusno = target.wakusno;
    c.flag = target.flag;
    window->setContext(c);
    const bool tail = target.kind == RelatedKind::RaceResult || target.kind == RelatedKind::RaceCard;
    window->setCaption(target.title, tail ? CaptionTail::DateRace : CaptionTail::None);
    showBeside(window);
}

void frmraceinfo::openRelated(ViewerKind kind, const QString &title)
{
    ViewerWindow *window = createViewer(kind);
    if (!window)
        return;
    ViewerContext c = context();
    c.racesno = imcracesno->currentText();
    window->setContext(c);
    window->setCaption(title, CaptionTail::DateRace);
    showBeside(window);
}

// Shows a window the card opened as a sibling child of the same frame.
void frmraceinfo::showBeside(ViewerWindow *window)
{
    showViewer(viewerArea(this), window);
}

MainMenus *frmraceinfo::mainMenus() const
{
    auto *frame = qobject_cast<frmmainmenu *>(window());
    return frame ? &frame->menus() : nullptr;
}

void frmraceinfo::mfgf_wakus_MouseDown(int row, int col, Qt::MouseButton button, const QPoint &globalPos)
{
    if (button != Qt::RightButton)
        return;
    PopupState state;
    if (engine_.set_popup_menu(row, col, &state) == 0)
        return;
    MainMenus *menus = mainMenus();
    if (!menus)
        return;
    // Entries whose window is not part of the program stay disabled.
    const int item = engine_.item_no;
    state.enabled[ShowRacer] = state.enabled[ShowRacer] && hasViewer(ViewerKind::RacerDetail);
    state.enabled[ShowRace] = state.enabled[ShowRace] && hasViewer(ViewerKind::RaceCard);
    state.enabled[ShowResult] = state.enabled[ShowResult]
        && hasViewer(isPreviousRunsItem(item) ? ViewerKind::PreviousRuns : ViewerKind::RaceResult);
    for (int entry : {SortAscending, SortDescending, Average, Hide, Add, ShowRacer, ShowRace, ShowResult})
        if (QAction *a = menus->action(QStringLiteral("mnurisub_%1").arg(entry)))
            a->setEnabled(state.enabled[std::size_t(entry)]);
    for (int menu = 0; menu < kAddMenuEntries; ++menu)
        if (QAction *a = menus->action(QStringLiteral("mnurisubadd_%1").arg(menu)); a && !a->isSeparator())
            a->setEnabled(state.addEnabled[std::size_t(menu)]);
    if (QMenu *popup = menus->menu(QStringLiteral("mnuri")))
        popup->popup(globalPos);
}

void frmraceinfo::resizeEvent(QResizeEvent *event)
{
    ViewerWindow::resizeEvent(event);
    const int left = twipsToPixels(kGridLeft);
    const int top = twipsToPixels(kGridTop);
    const int width = this->width() - twipsToPixels(1800);
    const int height = this->height() - twipsToPixels(240);
    // A window too small for the grid leaves it as it was.
    if (width > 0 && height > 0)
        mfgf_wakus->setGeometry(left, top, width, height);
}

bool frmraceinfo::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == imcracesno || watched == imcracesno->view()) && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (watched == imcracesno) {
                // Left and right step through the races like up and down.
                const int step = key->key() == Qt::Key_Left ? -1 : 1;
                const int index = imcracesno->currentIndex() + step;
                if (index >= 0 && index < imcracesno->count()) {
                    imcracesno->setCurrentIndex(index);
                    imcracesno_Click();
                }
            }
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            // The open list still closes with these.
            return watched == imcracesno;
        default:
            return true;   // typed characters and every other key change nothing
        }
    }
    return ViewerWindow::eventFilter(watched, event);
}

} // namespace kelmon::racecard
