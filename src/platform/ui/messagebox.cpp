#include "messagebox.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace kelmon {

QWidget *MessageBoxService::owner() const
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    if (QWidget *w = QApplication::activeWindow())
        return w;
    return parent_;
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
    const int room = screen ? screen->availableGeometry().width() - 120 : widest;   // icon, margins, frame
    label->setMinimumWidth(std::min(widest + 2, room));
}

static QMessageBox::StandardButton showBox(QWidget *owner, QMessageBox::Icon icon, const QString &title,
                                           const QString &text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, lines(text), buttons, owner);
    box.setDefaultButton(defaultButton);
    fitTextLines(box);
    return QMessageBox::StandardButton(box.exec());
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
    QMessageBox::warning(owner(), title, lines(text));
}

} // namespace kelmon
