#include "app/ui/frmversion.h"

#include "platform/fonts.h"
#include "platform/twips.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <array>

namespace {

using kelmon::twipsRect;
constexpr int px(int twips) { return kelmon::twipsToPixels(twips); }


// Outer sizes of the dialog in twips; the caption and borders take 405 of
// the height, so the history (top 2160) lies below the collapsed dialog.
constexpr int kWidthTw = 6015;
constexpr int kCollapsedTw = 2370;
constexpr int kExpandedTw = 4710;
constexpr int kFrameTw = 405;

const QString kShowCaption = QStringLiteral("履歴を表示(&O)");
const QString kHideCaption = QStringLiteral("履歴を閉じる(&X)");

constexpr std::array<const char *, 6> kHistory{
    "2.1.3 02/03/05 紙面ダウンロード部分を修正しました",
    "2.1.2 02/02/23 WindowsXPでの表示を一部修正しました",
    "2.1.1 01/12/30 WindowsXP対応を行いました",
    "2.1.0 01/08/17 3連単対応を行いました",
    "2.0.0 00/07/20 MDIに変更しました",
    "1.0.0 00/06/19",
};

// The dialog's picture: a boat on a wave, drawn at run time.
QPixmap emblem(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0x40, 0x90));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    QPainterPath hull;
    hull.moveTo(size * 0.18, size * 0.52);
    hull.lineTo(size * 0.82, size * 0.52);
    hull.lineTo(size * 0.68, size * 0.64);
    hull.lineTo(size * 0.26, size * 0.64);
    hull.closeSubpath();
    p.drawPath(hull);
    p.setBrush(QColor(0xFF, 0xC0, 0x00));
    p.drawRect(QRectF(size * 0.42, size * 0.40, size * 0.14, size * 0.12));
    p.setPen(QPen(QColor(0x80, 0xC0, 0xFF), size * 0.05));
    p.setBrush(Qt::NoBrush);
    QPainterPath wave;
    wave.moveTo(size * 0.15, size * 0.74);
    wave.cubicTo(size * 0.35, size * 0.66, size * 0.5, size * 0.82, size * 0.85, size * 0.72);
    p.drawPath(wave);
    return pixmap;
}

} // namespace

namespace kelmon {

QString programVersion()
{
    return QStringLiteral(KELMON_VERSION);
}

} // namespace kelmon

frmversion::frmversion(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ケルモンデジタル のバージョン情報を表示しています..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *image = new QLabel(this);
    image->setPixmap(emblem(px(1200)));
    image->setGeometry(twipsRect(240, 180, 1200, 1200));

    lblversion = new QLabel(QStringLiteral("Version ") + kelmon::programVersion(), this);
    lblversion->setFont(kelmon::makeFont(QStringLiteral("Comic Sans MS"), 14));
    lblversion->setGeometry(twipsRect(1665, 180, 4110, 420));

    auto *title = new QLabel(QStringLiteral("Kelmon Digital Paper Viewer"), this);
    title->setFont(kelmon::makeFont(QStringLiteral("Comic Sans MS"), 9));
    title->setGeometry(twipsRect(1665, 600, 4110, 255));

    auto *notice = new QLabel(QStringLiteral("デジタル紙面の閲覧ソフトウェア\n紙面の無断転載を禁じます"), this);
    notice->setFont(kelmon::makeFont(QStringLiteral("ＭＳ ゴシック"), 9));
    // Just below the picture, so its second line keeps clear of the bottom
    // edge in the taller line height of the font drawn here.
    notice->setGeometry(twipsRect(240, 1380, 3840, 540));
    notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdend = new QPushButton(QStringLiteral("OK"), this);
    cmdend->setGeometry(twipsRect(4200, 1200, 1575, 315));
    cmdend->setDefault(true);
    connect(cmdend, &QPushButton::clicked, this, &QDialog::accept);

    cmdinfo = new QPushButton(kShowCaption, this);
    cmdinfo->setGeometry(twipsRect(4200, 1560, 1575, 315));
    connect(cmdinfo, &QPushButton::clicked, this, &frmversion::cmdinfo_Click);

    txtInfo = new QPlainTextEdit(this);
    txtInfo->setFont(kelmon::makeFont(QStringLiteral("ＭＳ ゴシック"), 9));
    txtInfo->setGeometry(twipsRect(120, 2160, 5655, 2055));
    txtInfo->setReadOnly(true);
    // Read-only, yet the caret moves with the arrow keys.
    txtInfo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtInfo->setTabChangesFocus(true);
    txtInfo->setContextMenuPolicy(Qt::NoContextMenu);
    txtInfo->setPlainText(historyText());
    txtInfo->installEventFilter(this);

    setFixedWidth(px(kWidthTw));
    setClientHeight(collapsedHeight());
}

QString frmversion::historyText()
{
    QStringList lines;
    for (const char *line : kHistory)
        lines << QString::fromUtf8(line);
    return lines.join(QStringLiteral("\r\n"));
}

int frmversion::collapsedHeight() { return px(kCollapsedTw - kFrameTw); }

int frmversion::expandedHeight() { return px(kExpandedTw - kFrameTw); }

bool frmversion::historyShown() const { return cmdinfo->text() != kShowCaption; }

void frmversion::setClientHeight(int height) { setFixedHeight(height); }

void frmversion::cmdinfo_Click()
{
    if (historyShown()) {
        setClientHeight(collapsedHeight());
        cmdinfo->setText(kShowCaption);
        // The history is now out of sight: the focus must not stay in it,
        // where Enter and Escape are swallowed.
        cmdinfo->setFocus();
    } else {
        setClientHeight(expandedHeight());
        cmdinfo->setText(kHideCaption);
    }
}

void frmversion::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - frameGeometry().width()) / 2,
             area.top() + (area.height() - frameGeometry().height()) / 2);
    }
}

bool frmversion::eventFilter(QObject *watched, QEvent *event)
{
    // Only the arrow keys reach the history, so nothing can be typed into it
    // and Escape or Enter there do not end the dialog; Tab still moves on.
    if (watched == txtInfo && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        default:
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
