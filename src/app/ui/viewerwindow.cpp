#include "viewerwindow.h"

#include <QTimer>

namespace kelmon {

ViewerWindow::ViewerWindow(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void ViewerWindow::activateFirstTime()
{
    if (activated_)
        return;
    activated_ = true;
    firstActivation();
}

void ViewerWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The load runs after the window is on screen, so its frame paints first.
    if (!activated_)
        QTimer::singleShot(0, this, &ViewerWindow::activateFirstTime);
}

} // namespace kelmon
