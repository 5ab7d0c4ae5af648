#pragma once
// The current selection of the main window (venue, meeting, paper day) and
// its navigation: choosing a venue selects its newest paper day; previous and
// next move day by day across the venue's meetings by date.

#include <QString>

class QSqlQuery;

namespace kelmon {

// The hidden selection fields, as text; "0" means none.
struct SelectionFields {
    QString kyosocode = QStringLiteral("0");
    QString setuscode = QStringLiteral("0");
    QString date = QStringLiteral("0");
    QString datescnt = QStringLiteral("0");
};

// What the header panel shows.
struct SelectionHeader {
    QString kyosoName;      // lblkyosocode: padded venue name
    QString gradeName;      // lblgradecode
    QString racesword;      // lblracesword: one blank + the title
    QString racesTip;       // tool tip: the trimmed title
    QString date;           // lbldate: yy/mm/dd
    QString weekday;        // lblweekday: "（" weekday "）"
    QString datescnt;       // lbldatescnt: "N日目"
};

class Selection {
public:
    enum class Outcome {
        Selected,   // a paper day is selected
        NoPaper,    // the venue has no paper day: the selection is now empty
        NoEarlier,  // no earlier paper day: nothing changed
        NoLater,    // no later paper day: nothing changed
        Ignored     // nothing selected to move from
    };

    const SelectionFields &fields() const { return fields_; }
    const SelectionHeader &header() const { return header_; }
    bool hasPaper() const { return hasPaper_; }

    // Venue menu item index 0..23 (venue code - 1). Throws DbError.
    Outcome selectVenue(int index);
    // 0 previous, 1 next paper day of the current venue. Throws DbError.
    Outcome moveDay(int index);
    // Back to nothing selected.
    void clear();

    // The warning of an outcome, or "" for none.
    static QString warningText(Outcome outcome);

private:
    // Shows the f_setfg row (setuscode, Date, datescnt) the query stands on, and its meeting.
    void showDay(QSqlQuery &row);
    void showMeeting();

    SelectionFields fields_;
    SelectionHeader header_;
    bool hasPaper_ = false;
};

// Numeric value of a hidden field for SQL (non-numeric gives 0).
qlonglong fieldNumber(const QString &field);

} // namespace kelmon
