#pragma once
// Placements of the start diagram under the race result: one row per entry
// course from the inside, each with the racer's mark, name and start timing,
// and the boat of the racer's frame placed left of the start line by its
// start timing with a wave behind it. Positions are in twips of the result
// window; pictures are indexes of the picture list imlracerest1.

#include "racedetails/resultrow.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace kelmon::racedetails {

// Fixed geometry of the diagram, in twips of the result window.
namespace startdiagram {
inline constexpr int kLeft = 120, kTop = 3480, kWidth = 6135, kHeight = 1695;   // frame (Shape1)
inline constexpr int kImageTop = 3495, kImageHeight = 1680;                      // background (Image1)
inline constexpr int kBadgeLeft = 5880, kBadgeTop = 3360, kBadgeSize = 390;       // small picture (Image2)
inline constexpr int kStartLineX = 5640, kSecondLineX = 2640;                     // Line1 (0), (1)
inline constexpr int kLineTop = 3480, kLineBottom = 5160;
inline constexpr int kTextLeft = 360, kTextTop = 3660, kTextWidth = 1260, kTextHeight = 180;
inline constexpr int kBoatTop = 3540, kBoatWidth = 660, kBoatHeight = 300;
inline constexpr int kWaveTop = 3580, kWaveWidth = 750, kWaveHeight = 300;
inline constexpr int kRowStep = 240;
} // namespace startdiagram

// One course row of the diagram.
struct StartPlacement {
    QString text;        // lblsensyname: mark, name, start timing (or Ｆ, Ｌ)
    int boatPicture = 0; // imlracerest1 index of the frame's boat
    double boatLeft = 0; // imasinyuno
    int boatTop = 0;
    int wavePicture = 0; // imlracerest1 index of the wave
    double waveLeft = 0; // imanami
    int waveTop = 0;
};

// Rows of courses 1..6 (index course - 1); a course without an entering boat
// stays empty. Boats that did not enter (course 0), with a course beyond 6 or
// a frame outside 1..6 are not drawn.
using StartDiagram = std::array<std::optional<StartPlacement>, 6>;
StartDiagram disp_sinyu(const QList<RestbRow> &rows);

} // namespace kelmon::racedetails
