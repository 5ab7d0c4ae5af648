#pragma once
// Picture lists, drawn at run time. A picture is addressed by its list and its
// 1-based index in the list, the way grid cells (GridPicture), picture combo
// boxes and picture labels name them. Pictures are drawn on first use and kept.

#include <QImage>
#include <QPixmap>
#include <QSize>

namespace kelmon {

struct GridPicture;

// The lists. 0 is "no list".
enum PictureList : int {
    // Race card.
    imlraceinfo0 = 1,  // 1..12: race badges 1R..12R, 76 x 23, for the race selector
    imlraceinfo1,      // 1..6 frames 20 x 20; 7..12 frames 17 x 17;
                       // 13..25 bars 18 wide, 3..39 high, #78A7F5; 26..38 the same in #B2EC6E
    imay,              // 1..9: the fixed decoration of the prediction area, three per row:
                       // arrow after the winner, arrow after the second, brace of the thirds
    // Predictions window.
    imlyosodisp0,      // 1..12: race badges, 76 x 23
    imlyosodisp1,      // 1..6 boats 44 x 20; 7..9 waves 50/70/90 x 20; 10..15 race words 151 x 79;
                       // 16..21 frame marks 17 x 17; 22..44 power bars 1, 3, .. 45 x 12
    // Race result window.
    imlracerest0,      // 1..12: race badges, 76 x 23
    imlracerest1,      // 1..7 day badges 50 x 23; 8..13 boats 44 x 32; 14 wave 50 x 32
    imlstartdiagram,   // 1 background of the start diagram 199 x 159 (drawn stretched); 2 its flag 26 x 26
};

namespace pictures {

// Number of pictures in a list; 0 for an unknown list.
int count(int list);
// Size of a picture in pixels; an invalid size when there is no such picture.
QSize size(int list, int index);
// The picture; a null image when there is no such picture.
QImage image(int list, int index);
QPixmap pixmap(int list, int index);
QPixmap pixmap(const GridPicture &picture);

// Frame colours 1..6 (white, black, red, blue, yellow, green) and the colour
// of the digit drawn on them; black for any other frame.
QRgb frameColor(int frame);
QRgb frameDigitColor(int frame);

// Indices inside the lists, for the callers that compute them.
constexpr int frameLarge(int frame) { return frame; }            // imlraceinfo1
constexpr int frameSmall(int frame) { return 6 + frame; }        // imlraceinfo1
constexpr int courseBar(int period, int height) { return (period == 0 ? 12 : 25) + height; } // h 1..13
constexpr int boatPicture(int frame) { return frame; }           // imlyosodisp1
constexpr int wavePicture(int digit) { return 7 + digit; }       // imlyosodisp1, digit 0..2
constexpr int frameMark(int frame) { return 15 + frame; }        // imlyosodisp1
constexpr int powerBar(int band) { return 21 + band; }           // imlyosodisp1, band 1..23
constexpr int resultBoat(int frame) { return 7 + frame; }        // imlracerest1
constexpr int resultWave = 14;                                   // imlracerest1

// The six race words of the predictions window, in list order from 10.
inline constexpr const char16_t *raceWords[6] = {u"混戦", u"激戦", u"波乱", u"小波乱", u"穴気配", u"本命戦"};

} // namespace pictures
} // namespace kelmon
