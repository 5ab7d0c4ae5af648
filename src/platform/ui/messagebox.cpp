#include "messagebox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace kelmon {

// A box's owner takes the box with it when it goes, so it must outlast the
// box. An open modal dialog does: it closes only by the user, who cannot reach
// it past the box. The main window does. The active window need not: the
// splash is active at start on some desktops and closes itself on its timer,
// whatever is open over it; so only an ordinary window or dialog is taken.
QWidget *MessageBoxService::owner() const
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    if (parent_)
        return parent_;
    QWidget *w = QApplication::activeWindow();
    return w && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog) ? w : nullptr;
}

// Texts of the system use CR LF; Qt wants plain line feeds.
static QString lines(const QString &text)
{
    QString t = text;
    return t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void fitTextLines(QMessageBox &box)
{
    // Qt wraps a box's text at half the screen's width, which breaks the
    // system's lines inside words and numbers ("800×6" / "00ピクセル"). The
    // text's own line breaks are where it may break: the label is made as
    // wide as its widest line, as far as the screen allows.
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString &line : box.text().split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen *screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        label->setMinimumWidth(widest + 2);
        return;
    }
    const QRect area = screen->availableGeometry();
    const int width = std::min(widest + 2, area.width() - 120);   // icon, margins, frame
    label->setMinimumWidth(width);

    // A text taller than the screen's room (a long list of files) scrolls in
    // an area as high as that room, so the buttons stay within reach.
    QLayout *layout = box.layout();
    if (!layout)
        return;
    const int textHeight = metrics.boundingRect(QRect(0, 0, width, 1 << 24), Qt::TextWordWrap, box.text()).height()
                           + 2 * label->margin();
    const auto *buttons = box.findChild<QDialogButtonBox *>();
    const QMargins margins = layout->contentsMargins();
    const int frame = 64;   // title bar and frame, not known before the box shows
    const int room = area.height() - frame - margins.top() - margins.bottom() - 2 * std::max(layout->spacing(), 0)
                     - (buttons ? buttons->sizeHint().height() : 0);
    if (textHeight <= room)
        return;
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("textscroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setWidgetResizable(true);
    delete layout->replaceWidget(label, scroll);
    scroll->setWidget(label);
    scroll->setMinimumSize(width + scroll->verticalScrollBar()->sizeHint().width(), room);
    scroll->setMaximumHeight(room);
}

static QMessageBox::StandardButton showBox(QWidget *owner, QMessageBox::Icon icon, const QString &title,
                                           const QString &text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    // Made on the heap: should the owner go all the same, it takes the box
    // with it and the box is not deleted twice; the question is then taken
    // as not answered.
    const QPointer<QMessageBox> box = new QMessageBox(icon, title, lines(text), buttons, owner);
    box->setDefaultButton(defaultButton);
    fitTextLines(*box);
    const int answer = box->exec();
    if (!box)
        return QMessageBox::NoButton;
    delete box.data();
    return QMessageBox::StandardButton(answer);
}

void MessageBoxService::information(const QString &title, const QString &text)
{
    showBox(owner(), QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxService::question(const QString &title, const QString &text, bool defaultYes)
{
    return showBox(owner(), QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                   defaultYes ? QMessageBox::Yes : QMessageBox::No)
        == QMessageBox::Yes;
}

void MessageBoxService::critical(const QString &title, const QString &text)
{
    showBox(owner(), QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxService::exclamation(const QString &title, const QString &text)
{
    showBox(owner(), QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace kelmon
