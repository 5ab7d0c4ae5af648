#include "busydialog.h"

#include "platform/messages.h"
#include "platform/twips.h"
#include "registration/ui/progressstatus.h"

#include <QCloseEvent>
#include <QTimer>

namespace kelmon {

BusyDialog::BusyDialog(const QString &busyMessage, QWidget *parent)
    : QDialog(parent), busyMessage_(busyMessage)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    status_ = new ProgressStatus(0, this);
}

void BusyDialog::placeStatus(int top, int width, int textWidth, const QStringList &texts)
{
    status_->setTextWidth(twipsToPixels(textWidth));
    status_->fitTexts(texts);
    status_->setGeometry(0, twipsToPixels(top), twipsToPixels(width), twipsToPixels(255) + 8);
}

void BusyDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!activated_)
        QTimer::singleShot(0, this, &BusyDialog::firstActivation);
}

void BusyDialog::firstActivation()
{
    if (activated_)
        return;
    activated_ = true;
    load();
}

bool BusyDialog::refuseWhileRunning()
{
    if (!status_->running())
        return false;
    messages().information(QStringLiteral("警告です..."), busyMessage_);
    return true;
}

void BusyDialog::reject()
{
    if (!refuseWhileRunning())
        QDialog::reject();
}

void BusyDialog::closeEvent(QCloseEvent *event)
{
    if (refuseWhileRunning())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

} // namespace kelmon
