#include "printing.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

namespace kelmon {

bool printImage(const QPixmap &image, QPrinter *printer)
{
    std::unique_ptr<QPrinter> ownPrinter;
    if (!printer) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return false;
        ownPrinter = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        printer = ownPrinter.get();
    }
    QPainter painter;
    if (image.isNull() || !painter.begin(printer))
        return false;
    // The image keeps the size it has on a 96 dpi screen, shrunk to the page
    // when it is larger.
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const double perPixel = printer->resolution() / 96.0;
    QSizeF size(image.width() * perPixel, image.height() * perPixel);
    if (size.width() > page.width() || size.height() > page.height())
        size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRectF(QPointF(0, 0), size), image, image.rect());
    return painter.end();
}

} // namespace kelmon
