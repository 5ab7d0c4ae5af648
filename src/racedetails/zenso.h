#pragma once
// The previous runs of one boat slot, read without widgets: one of the eight
// earlier records the race card carries for the slot (the racer's last three
// meetings and last meeting at this venue, the last two users of its motor
// and of its boat) as a description line and up to fourteen result cells,
// two per day, each coloured by the kind of race it was run in.

#include <QColor>
#include <QSqlRecord>
#include <QString>
#include <array>
#include <optional>

namespace kelmon::racedetails {

inline constexpr int kZensoCells = 14;

struct ZensoCell {
    QString text;                  // result words; empty for no result
    std::optional<QRgb> color;     // colour of the race kind; none for no run
};

struct ZensoPanel {
    QString comment;               // lblcomment
    std::array<ZensoCell, kZensoCells> cells{};   // lblcyakucode 0..13
};

// The panel of an f_wakus row for panel number flag 1..8; any other flag
// gives a blank description and no cells. A unit whose race kind is not a
// number above 0 leaves its cell blank; a kind without a colour (6..9)
// draws its result without colour; units beyond the fourteenth are dropped.
ZensoPanel zensoPanel(const QSqlRecord &wakus, int flag);

// The context of the window: meeting, day, race and frame as text.
struct ZensoKey {
    QString setuscode;
    QString datescnt;
    QString racesno;
    QString wakusno;
};

// The panel of a boat slot; nothing when the slot has no f_wakus row.
// Throws kelmon::DbError.
std::optional<ZensoPanel> disp_zenso(const ZensoKey &key, int flag);

} // namespace kelmon::racedetails
