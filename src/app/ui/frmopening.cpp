#include "frmopening.h"

#include "app/ui/frmversion.h"
#include "platform/fonts.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QVersionNumber>

namespace kelmon {

namespace {

QPixmap splashPicture()
{
    QPixmap pm(420, 180);
    QPainter p(&pm);
    QLinearGradient sky(0, 0, 0, 180);
    sky.setColorAt(0, QColor(0x0b, 0x3d, 0x91));
    sky.setColorAt(1, QColor(0x2a, 0x7a, 0xd0));
    p.fillRect(pm.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    // Six wakes, one per frame colour, on the water below the texts: a wake
    // behind white letters would leave them unreadable.
    const QColor frames[6] = {Qt::white, Qt::black, QColor(0xe0, 0x20, 0x20), QColor(0x20, 0x40, 0xe0),
                              QColor(0xf0, 0xd0, 0x20), QColor(0x20, 0xa0, 0x40)};
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(frames[i], 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(40 + i * 10, 170 - i * 3, 380 - i * 30, 150 - i * 6);
    }
    QFont f = makeFont(DefaultFontName);
    f.setPixelSize(38);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 16, 420, 60), Qt::AlignCenter, QStringLiteral("ケルモンデジタル"));
    f.setPixelSize(16);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 70, 420, 30), Qt::AlignCenter, QStringLiteral("デジタル紙面ビューア"));
    return pm;
}

} // namespace

frmopening::frmopening(QWidget *owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmopening"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *picture = new QLabel(this);
    picture->setPixmap(splashPicture());
    layout->addWidget(picture);
    const QVersionNumber v = QVersionNumber::fromString(programVersion());
    lblversion_ = new QLabel(QStringLiteral("Version%1.%2.%3").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion()),
                             this);
    lblversion_->setObjectName(QStringLiteral("lblversion"));
    lblversion_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblversion_->setContentsMargins(0, 2, 8, 2);
    layout->addWidget(lblversion_);
    adjustSize();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &QWidget::close);
}

void frmopening::countDown()
{
    if (counting_)
        return;
    counting_ = true;
    Timer1->start();
}

bool frmopening::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        countDown();
    return QWidget::event(event);
}

QString frmopening::versionText() const { return lblversion_->text(); }

} // namespace kelmon
