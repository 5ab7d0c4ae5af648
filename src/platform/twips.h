#pragma once
// Window, column and row sizes are kept in twips (1/1440 inch). The viewer
// draws at 96 dots per inch, so 15 twips make one pixel; Qt's own scaling
// takes care of screens with other densities.

#include <QRect>
#include <algorithm>

namespace kelmon {

inline constexpr int TwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel. A positive size never
// vanishes: 10 twips (a separator line) still gives one pixel.
constexpr int twipsToPixels(int twips)
{
    if (twips <= 0)
        return 0;
    return std::max(1, (twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

// Font sizes are given in points; at 96 dpi one point is 4/3 of a pixel.
constexpr int pointsToPixels(double points)
{
    if (points <= 0)
        return 0;
    return std::max(1, int(points * 96.0 / 72.0 + 0.5));
}

// A rectangle given in twips (left, top, width, height), in pixels.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

} // namespace kelmon
