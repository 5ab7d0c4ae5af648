#include "messagebox.h"

#include <QApplication>
#include <QMessageBox>

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

void MessageBoxService::information(const QString &title, const QString &text)
{
    QMessageBox::information(owner(), title, lines(text));
}

bool MessageBoxService::question(const QString &title, const QString &text, bool defaultYes)
{
    return QMessageBox::question(owner(), title, lines(text), QMessageBox::Yes | QMessageBox::No,
                                 defaultYes ? QMessageBox::Yes : QMessageBox::No)
        == QMessageBox::Yes;
}

void MessageBoxService::critical(const QString &title, const QString &text)
{
    QMessageBox::critical(owner(), title, lines(text));
}

void MessageBoxService::exclamation(const QString &title, const QString &text)
{
    QMessageBox::warning(owner(), title, lines(text));
}

} // namespace kelmon
