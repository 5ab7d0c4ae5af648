#pragma once
// Printing of a window's image: what the screen shows of it, on one page.

class QPixmap;
class QPrinter;

namespace kelmon {

// Prints image on printer, or on the system's default printer when printer is
// nullptr. Returns false when there is no printer or the page cannot be drawn.
bool printImage(const QPixmap &image, QPrinter *printer);

} // namespace kelmon
