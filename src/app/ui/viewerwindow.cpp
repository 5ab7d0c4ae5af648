#include "viewerwindow.h"

#include "common/codetables.h"
#include "common/textforms.h"

#include <QTimer>

namespace kelmon {

QString viewerCaption(const QString &title, const ViewerContext &context, CaptionTail tail)
{
    if (tail == CaptionTail::None)
        return title;
    QString caption = title + QStringLiteral("  (")
        + modkelmon::venueNameWithoutBlanks(cint16(val(context.kyosocode))) + QLatin1Char(' ')
        + modkelmon::shortDate(context.date);
    if (tail == CaptionTail::DateRace)
        caption += QLatin1Char(' ') + format(context.racesno, "@@") + QLatin1Char('R');
    return caption + QLatin1Char(')');
}

void ViewerWindow::setCaption(const QString &title, CaptionTail tail)
{
    captionTitle_ = title;
    captionTail_ = tail;
    refreshCaption();
}

void ViewerWindow::refreshCaption()
{
    setWindowTitle(viewerCaption(captionTitle_, context_, captionTail_));
}

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

QSize ViewerWindow::sizeHint() const { return preferred_; }

void ViewerWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The load runs after the window is on screen, so its frame paints first.
    if (!activated_)
        QTimer::singleShot(0, this, &ViewerWindow::activateFirstTime);
}

} // namespace kelmon
