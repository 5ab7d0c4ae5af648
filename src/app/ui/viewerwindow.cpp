#include "viewerwindow.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"

#include <QMdiSubWindow>
#include <QTimer>
#include <algorithm>

namespace kelmon {

QString viewerCaption(const QString &title, const QString &venue, const ViewerContext &context, CaptionTail tail)
{
    if (tail == CaptionTail::None)
        return title;
    QString caption = title + QStringLiteral("  (") + modkelmon::del_space(venue) + QLatin1Char(' ')
        + modkelmon::shortDate(context.date);
    if (tail == CaptionTail::DateRace)
        caption += QLatin1Char(' ') + format(context.racesno, "@@") + QLatin1Char('R');
    return caption + QLatin1Char(')');
}

QString viewerCaption(const QString &title, const ViewerContext &context, CaptionTail tail)
{
    return viewerCaption(title, modkelmon::get_kyoso_name(cint16(val(context.kyosocode))), context, tail);
}

void ViewerWindow::setCaption(const QString &title, CaptionTail tail, std::optional<QString> venue)
{
    captionTitle_ = title;
    captionTail_ = tail;
    captionVenue_ = std::move(venue);
    refreshCaption();
}

QString ViewerWindow::caption(const ViewerContext &shown) const
{
    return captionVenue_ ? viewerCaption(captionTitle_, *captionVenue_, shown, captionTail_)
                         : viewerCaption(captionTitle_, shown, captionTail_);
}

void ViewerWindow::refreshCaption()
{
    setWindowTitle(caption(context_));
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

namespace {

constexpr Qt::WindowStates kNotNormal = Qt::WindowMaximized | Qt::WindowMinimized;

} // namespace

void ViewerWindow::setClientHeight(int height)
{
    preferred_.setHeight(height);
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub || !(sub->windowState() & kNotNormal)) {
        restoreHeight_.reset();
        fitClientHeight(height);
        return;
    }
    // The child keeps the geometry it had before it was maximized or
    // minimized and takes it back on restore; the height follows then.
    if (!restoreWatched_) {
        restoreWatched_ = true;
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates, Qt::WindowStates now) {
            if ((now & kNotNormal) || !restoreHeight_)
                return;
            const int height = *restoreHeight_;
            restoreHeight_.reset();
            fitClientHeight(height);
        });
    }
    restoreHeight_ = height;
}

void ViewerWindow::fitClientHeight(int height)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub) {
        resize(width(), height);
        return;
    }
    sub->resize(sub->width(), sub->height() - this->height() + height);
    if (QWidget *area = sub->parentWidget(); area && sub->geometry().bottom() > area->height() - 1)
        sub->move(sub->x(), std::max(0, area->height() - sub->height()));
}

void ViewerWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The load runs after the window is on screen, so its frame paints first.
    if (!activated_)
        QTimer::singleShot(0, this, &ViewerWindow::activateFirstTime);
}

} // namespace kelmon
