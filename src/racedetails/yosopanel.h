#pragma once
// The prediction panel of one race as the paper gives it (f_yosos, with the
// racer names from f_wakus): three comment words, the fourth word, the race
// character picture, six lines in the paper's order with mark, racer, comment
// and frame mark, the waiting formation with its style label, and the boats
// and wakes near the start line. Pictures are named by list and index and
// placed in twips on the window, so the window only paints what this holds.

#include "platform/gridmodel.h"

#include <QString>
#include <array>
#include <optional>

namespace kelmon::racedetails {

// A picture at a place of the predictions window, in twips.
struct YosoPlacement {
    GridPicture picture;   // null: nothing shown
    int left = 0;
    int top = 0;
    friend bool operator==(const YosoPlacement &, const YosoPlacement &) = default;
};

// Digit `i` (1-based) of a packed digit field: the value of the character at
// that place, 0 for a blank, any other character or a missing place.
int yosoDigit(const QString &digits, int i);

// The waiting formation of a style code: its label and the left edge of the
// boat at each panel position 1..6. A code that is not one of the fifteen
// the paper uses is shown as "3:3".
struct YosoStyle {
    QString label;
    std::array<int, 6> lefts{};
};
YosoStyle yosoStyle(const QString &style);

// The race character picture (index in the predictions list) of a word, 0
// for a word that has none.
int yosoWordPicture(const QString &word);

inline constexpr int kYosoLines = 6;

class YosoPanel {
public:
    YosoPanel();

    // Empties every text and picture; where the pictures stand is kept.
    void clear();
    // Fills the panel with the prediction of a race (meeting, day and race
    // as context texts). False, with the panel left as it was, when the
    // paper has no prediction for the race. Throws kelmon::DbError.
    bool load(const QString &setuscode, const QString &datescnt, const QString &racesno);

    std::array<QString, 3> words;       // lblyososword_1..3
    QString word4;                      // lblyososword_4(0) and (1)
    GridPicture wordPicture;            // imayososword_5
    QString styleLabel;                 // lblstyle
    // Per panel line (element k is panel position k + 1).
    std::array<QString, kYosoLines> lines;              // lblyosos_1: mark and racer
    std::array<QString, kYosoLines> comments;           // lblsunpyo
    std::array<YosoPlacement, kYosoLines> styleBoats;   // imastyle: waiting formation
    std::array<YosoPlacement, kYosoLines> waves;        // imanami: wakes near the start line
    std::array<YosoPlacement, kYosoLines> lineBoats;    // imayosos_3: boats near the start line
    std::array<YosoPlacement, kYosoLines> frameMarks;   // imayosos_2: small mark beside a line

private:
    void applyStyle(const QString &style);
    void applyLines(const QString &marks, const QString &positions,
                    const std::array<std::optional<QString>, 6> &names);
    void applyStartLine(const QString &positions, const QString &digits);
};

} // namespace kelmon::racedetails
