#include "app/ui/frmkoyomi.h"

#include "app/koyomi.h"
#include "common/modkelmon.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "platform/yield.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>

namespace {

using kelmon::TwipsPerPixel;
using kelmon::twipsToPixels;

constexpr int kLabelHeight = 16;           // tall enough for a 9 pt Japanese line
constexpr int kClientWidthTw = 4215;       // 4335 outer less the borders
constexpr int kClientHeightTw = 1620;      // 1980 outer less the caption and borders
constexpr int kSeparatorStartTw = 4200;    // design end of the separator lines
constexpr int kSeparatorMarginTw = 115;    // lines end this far short of the outer right edge

const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

frmkoyomi::frmkoyomi(QWidget *parent)
    : ViewerWindow(parent), separatorEnd_(twipsToPixels(kSeparatorStartTw))
{
    setObjectName(QStringLiteral("frmkoyomi"));
    setWindowTitle(QStringLiteral("暦を表示しています..."));
    setFont(kelmon::makeFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    addLabel(QStringLiteral("九星"), 120, 120, 360);
    addLabel(QStringLiteral("六輝"), 600, 120, 360);
    addLabel(QStringLiteral("十干"), 1080, 120, 360);
    addLabel(QStringLiteral("干支"), 1920, 120, 360);
    addLabel(QStringLiteral("満潮時刻"), 2520, 120, 720);
    addLabel(QStringLiteral("干潮時刻"), 2520, 360, 720);
    lblkyuse = addLabel({}, 120, 360, 360);
    lblrokki = addLabel({}, 600, 360, 360);
    lblzikkan = addLabel({}, 1080, 360, 630);
    lbleto = addLabel({}, 1920, 360, 480);
    // The design widths were made for a narrower face; where the texts of
    // Noto Sans CJK JP need more room the labels take it from the free space
    // beside them, keeping their design edges.
    lbltime_08 = addLabel({}, 3360, 120, 840);
    lbltime_10 = addLabel({}, 3360, 360, 840);

    addLabel(QStringLiteral("得点上位者"), 120, 720, 900);
    lblyusyuflag[0] = addLabel({}, 1020, 720, 240);
    addLabel(QStringLiteral("名による"), 1320, 720, 900);
    lblyusyuflag[1] = addLabel({}, 2220, 720, 1380);
    for (QLabel *label : lblyusyuflag) {
        setTextColour(label, kBlue);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    // A fixed-pitch face, so that "ボート  は" lines up with "モーターは".
    const QFont noticeFont = kelmon::makeFont(kelmon::DefaultFontName, 9);
    lblmtnewflag = addLabel(QStringLiteral("モーターは新機 又は 使用開始から３節未満です"), 120, 1080, 3960);
    lblbtnewflag = addLabel(QStringLiteral("ボート  は新艇 又は 使用開始から３節未満です"), 120, 1320, 3960);
    for (QLabel *notice : {lblmtnewflag, lblbtnewflag}) {
        notice->setFont(noticeFont);
        setTextColour(notice, kRed);
        notice->hide();
    }

    resize(sizeHint());
}

QSize frmkoyomi::sizeHint() const { return {twipsToPixels(kClientWidthTw), twipsToPixels(kClientHeightTw)}; }

QLabel *frmkoyomi::addLabel(const QString &text, int left, int top, int width)
{
    auto *label = new QLabel(text, this);
    label->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), kLabelHeight);
    return label;
}

void frmkoyomi::disp_f_setfg()
{
    const kelmon::Koyomi day = kelmon::load_koyomi(context().kyosocode, context().setuscode, context().datescnt);
    lblyusyuflag[0]->setText(day.yusyuCount);
    lblyusyuflag[1]->setText(day.yusyuSystem);
    lblkyuse->setText(day.kyuse);
    lblrokki->setText(day.rokki);
    lblzikkan->setText(day.zikkan);
    lbleto->setText(day.eto);
    lbltime_08->setText(day.time08);
    lbltime_10->setText(day.time10);
    lblmtnewflag->setVisible(day.mtnew);
    lblbtnewflag->setVisible(day.btnew);
}

void frmkoyomi::firstActivation()
{
    kelmon::yieldToEvents();
    modkelmon::guarded([this] { disp_f_setfg(); });
}

int frmkoyomi::outerWidth() const
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub->width();
    if (isWindow())
        return frameGeometry().width();
    return width();
}

void frmkoyomi::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    separatorEnd_ = (outerWidth() * TwipsPerPixel - kSeparatorMarginTw) / TwipsPerPixel;
    update();
}

void frmkoyomi::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(0, twipsToPixels(600), separatorEnd_, twipsToPixels(600));
    painter.setPen(QColor(0xFF, 0xFF, 0xFF));
    painter.drawLine(0, twipsToPixels(615), separatorEnd_, twipsToPixels(615));
}
