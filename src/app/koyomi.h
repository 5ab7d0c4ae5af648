#pragma once
// What the almanac window shows for one paper day: the almanac facts of the
// day (f_setfg), the semi-final system of the meeting (f_setus) and the
// notices for new motors and boats. Loaded without widgets.

#include <QString>
#include <QVariant>

namespace kelmon {

struct Koyomi {
    QString yusyuCount;   // number of top point scorers ("18", "6", "12")
    QString yusyuSystem;  // name of the semi-final system
    QString kyuse;
    QString rokki;
    QString zikkan;
    QString eto;
    QString time08;       // high tide, HH時MM分 (empty when blank)
    QString time10;       // low tide, HH時MM分 (empty when blank)
    bool mtnew = false;   // the motors of the meeting are new
    bool btnew = false;   // the boats of the meeting are new
};

// The two texts of the semi-final sentence for a yusyuflag value; both empty
// for a value outside 0..3 or one that is not a whole number.
void yusyu_texts(const QVariant &yusyuflag, QString *count, QString *system);

// Reads the day given by the window's context texts (their numeric values).
// A missing meeting or day leaves the fields empty. Throws kelmon::DbError.
Koyomi load_koyomi(const QString &kyosocode, const QString &setuscode, const QString &datescnt);

} // namespace kelmon
