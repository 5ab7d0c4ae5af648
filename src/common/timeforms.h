#pragma once
// Text forms of stored times: the clock time of day and the race time.

#include <QString>
#include <QStringView>

namespace modkelmon {

// A clock time stored as four characters HHMM shown as "HH時MM分". The value
// is trimmed of blanks first; a blank value gives an empty text (the caller
// then leaves its label unwritten). A shorter value shows the characters it
// has in those places.
QString hhmm_time(QStringView time);

// A race time stored as one number of up to four digits, minutes, seconds and
// tenths, shown as "1.49.6" (1496) or "0.95.8" (958). Only times greater than
// zero have this form; zero, negative and unusable values give an empty text.
QString race_time(double time);

} // namespace modkelmon
