#pragma once
// The data room's loaders, without widgets: the day's ranking kind with the
// page's title, subtitle and note, the header layouts of its three grids, the
// rows of the stored ranking, the finish-place rates and the payout-return
// rates, and which popup menu a right click on a grid offers.

#include "platform/gridmodel.h"

#include <QString>
#include <optional>

namespace kelmon::lists {

// The meeting day a window shows, as its context fields hold it.
struct DayKey {
    QString kyosocode;
    QString setuscode;
    QString datescnt;
};

// Kinds of the stored ranking (f_setfg.lunksflag) with the texts of the
// ranking page.
struct RankingKind {
    int flag;
    const char16_t *title;
    const char16_t *subtitle;
    const char16_t *note;
};
// The kind of a lunksflag value, nullptr for any value outside 1..5.
const RankingKind *rankingKind(double lunksflag);

// Titles the ranking grid's layout is told by.
inline constexpr char16_t kPointsTitle[] = u"得点率順位表";
// True for the semi-final kinds (race and frame columns).
bool isSemiFinalTitle(const QString &title);

// What set_dataroom writes on the ranking page; an unset member leaves the
// control as it was.
struct RankingPage {
    std::optional<QString> title;      // lbllunks(0)
    std::optional<QString> subtitle;   // lbllunks(1)
    std::optional<QString> note;       // lbllunks(2)
    std::optional<bool> pointsButton;  // cmdtokhmlist enabled
};

// Reads the day's f_setfg row and lays out the two header rows of the three
// grids: the ranking grid by the kind (the points layout for kind 2, the
// best-n layout otherwise, with race and frame columns for kinds 3 and 4),
// the finish-place and payout-return grids always alike. Without a row for
// the day the page says so and the ranking grid gets the best-n layout, so
// the stored rows always find their columns. Throws kelmon::DbError.
RankingPage set_dataroom(const DayKey &key, GridModel &ranking, GridModel &places, GridModel &returns);

// The rows of the day's stored ranking under the layout the title names.
void disp_lunks(const DayKey &key, const QString &title, GridModel &ranking);
// The racers' finish-place rates of the last year, by registration number.
void disp_cyakukai(const DayKey &key, GridModel &places);
// The racers' payout-return rates of the last 120 days, by registration number.
void disp_kaisyu(const DayKey &key, GridModel &returns);

// The popup menu of a right click on grid `index` (0 ranking, 1 finish-place
// rates, 2 payout-return rates) and the states of its items, taken from the
// grid's current cell; nothing when the grid has no data rows.
struct DataRoomPopup {
    QString menu;          // mnul1, mnul2, mnucr, mnuks
    bool sortAverage;      // items 0, 1 and 2
    bool raceCard;         // item 5
};
std::optional<DataRoomPopup> dataroomPopup(int index, const QString &rankingTitle, const GridModel &grid);

} // namespace kelmon::lists
