#pragma once
// Code-to-name tables of the shared module: the small integer codes of the
// paper (venue, grade, prefecture, record category, entry-course tendency,
// blood type, prediction mark, frame) as the fixed-width texts every window
// shows, each with a fixed filler for a code outside its table; and the
// shown forms of the stored eight-character dates.

#include <QColor>
#include <QString>
#include <QStringView>
#include <optional>

namespace modkelmon {

inline constexpr int kVenueCount = 24;

QString get_kyoso_name(int kyosocode);    // 1..24, "" otherwise
QString get_grade_name(int gradecode);    // 1..5, "" otherwise
QString get_pref_name(int prefcode);      // 1..47, two ideographic blanks otherwise
QString get_kind_name(int kindcode);      // 1..14, two ideographic blanks otherwise
QString get_sinyu_name(int sinyu_k);      // 1..6, two ideographic blanks otherwise
QString get_blood_name(int blood);        // 1..4, two half-width blanks otherwise
QString get_mark_name(int markcode);      // 1..6, "" otherwise
QString get_color_name(int wakusno);      // 1..6, one ideographic blank otherwise
QString get_circle_number(int wakusno);   // 1..6, "○" otherwise

// Pale tint of a frame's colour for cell backgrounds (0xRRGGBB): white, grey,
// pale red, blue, yellow and green for frames 1..6; none for any other frame,
// so a cell of a frame outside 1..6 keeps its default colour.
std::optional<QRgb> get_wakucolor(int wakusno);

// A stored date yyyymmdd shown as yy/mm/dd (characters 3-4, 5-6, 7-8; a
// shorter text gives shorter pieces).
QString shortDate(QStringView date);
// The weekday of a stored date in full-width brackets, "（火）"; empty when
// the text is not eight digits of a real date ("00000000" included).
QString weekdayText(QStringView date);
// Day of the meeting: "3日目".
QString dayOfMeetingText(int datescnt);
// Race number in captions: right-aligned in two characters, then "R" (" 1R", "12R").
QString raceCaptionText(int racesno);

} // namespace modkelmon
