#pragma once
// The racer detail of one meeting: the title and memo lines from the racer's
// newest day, the grid of the racer's results in the meeting, the photo's
// file, and which popup items a right-click enables.

#include "lists/listcolumns.h"

#include <QImage>

namespace kelmon::lists {

inline constexpr int kRestbCols = 14;

struct RacerHeader {
    bool found = false;   // an f_racer row of the meeting exists
    QString number;       // registration number, four digits
    QString name;         // trimmed
    QString memo[3];      // term and prefecture; current rates; last year's rates
};

// The header of the racer `tourokuno` in meeting `setuscode` (context texts).
// Throws kelmon::DbError.
RacerHeader loadRacerHeader(const QString &setuscode, const QString &tourokuno);

// Lays out the empty results grid (header row only).
void set_restb_grid(GridModel &grid);
// Lays out and fills the results grid: one row per race of the racer in the
// meeting, by day and race. Throws kelmon::DbError.
void disp_restb(GridModel &grid, const QString &setuscode, const QString &tourokuno);

// The popup items of menu mnurd for the current cell; nothing without rows.
// resultWindow: whether a race result window can be opened at all.
std::optional<PopupItems> racerDetailPopup(const GridModel &grid, bool resultWindow);

// The photo file of a racer: photo/NNNN.gif in the program folder (names
// matched without regard to case).
QString racerPhotoPath(const QString &tourokuno);
// The photo, read only as a GIF; a null image when the file is missing, is
// no regular file, is larger than a photo may be (in bytes, or in the width or
// height it declares for its logical screen or its first frame), has a frame
// whose image data would yield more pixels than the frame holds, or is not a
// readable GIF.
QImage loadRacerPhoto(const QString &path);

} // namespace kelmon::lists
