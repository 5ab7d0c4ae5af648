#pragma once
// The race card without its window: the grid model of one card, its context,
// its column layout and its current item, and the commands the window and
// the main window's menus call on it. Database errors surface as
// kelmon::DbError for the caller's fatal exit.

#include "platform/gridmodel.h"
#include "racecard/boatrow.h"
#include "racecard/cardlayout.h"
#include "racecard/carditems.h"

#include <QString>

namespace kelmon::racecard {

// The card's selection context, held as text like the window's hidden fields.
struct CardContext {
    QString kyosocode = QStringLiteral("0");
    QString setuscode = QStringLiteral("0");
    QString datescnt = QStringLiteral("0");
    QString date = QStringLiteral("0");
    QString racesno = QStringLiteral("1");
};

// Resets the grid to the six fixed columns under the four header rows.
void set_gridheader(GridModel &grid);

// Fixed-column writers for the boat at query position k (1..6).
void disp_yosomark(GridModel &grid, const BoatRow &row, int k, int col);
void disp_wakusno(GridModel &grid, const BoatRow &row, int k, int col);
void disp_racer_profile(GridModel &grid, const BoatRow &row, int k, int col);

// Font of the racer name cells.
inline constexpr const char *kNameFont = "HG丸ｺﾞｼｯｸM-PRO";
// Point size of a racer name in a cell of a width in pixels: by its length
// up to six characters, a longer one as large as the cell holds it whole.
double nameFontSize(const QString &name, int width);

// Fills a reset grid with the boats in order, the fixed columns and every
// block of the layout; draws at most six boats. Returns the boats drawn.
int fillCard(GridModel &grid, const CardLayout &layout, const QVector<BoatRow> &boats);


// The first six boat rows of the context's race in the order of an item
// (0 ascending, 1 descending). Throws kelmon::DbError.
QVector<BoatRow> queryBoats(const CardContext &context, int item, int order);

class RaceCardEngine {
public:
    explicit RaceCardEngine(GridModel &grid) : grid_(grid) {}

    GridModel &grid() { return grid_; }
    const GridModel &grid() const { return grid_; }
    CardContext context;
    CardLayout layout;
    int item_no = 1;
    int boatCount() const { return boats_; }

    // Fills the card for the race of the context, sorted by item_no.
    void disp_raceinfo(int order);
    // The popup's sort entries: refills in the order of item_no (0 ascending,
    // 1 descending) and puts the current cell back where it was, whichever
    // racer the order now draws there.
    void sort_by_item(int order);

    // The current cell in terms that outlive a refill: the row within a
    // boat's rows and that boat (position and frame), the column within a
    // block and that block. Header rows and fixed columns are kept as they are.
    struct CellAnchor {
        int row = 0, col = 0;
        int frame = 0;        // the boat's frame, 0 off the boats' rows
        int block = -1;       // list index of the block under col, -1 off the blocks
        int code = 0;
        int offset = 0;       // column within that block
    };
    CellAnchor currentAnchor() const;
    // Puts the current cell of a refilled card back on the anchor. With
    // sameRace the row follows the boat of the anchor's frame to wherever
    // the new order drew it; otherwise (other racers) the row keeps its
    // place, or goes to the first boat's row when no boat is drawn there.
    // The column follows the block to its new start; a block no longer on
    // the card gives the start of the block now at its place in the list.
    void restoreCurrent(const CellAnchor &anchor, bool sameRace);

    // Layout commands: each changes this card only and refills it in frame
    // order with item_no = 1, also when the layout stays as it was (a
    // clicked block that is no longer on the card). The current cell stays
    // on its racer and block (restoreCurrent).
    void load_m_kanri() { layout = CardLayout::load_m_kanri(); }
    void save_m_kanri() const { layout.save_m_kanri(); }
    void set_normalgrid();
    void set_allgrid();
    void add_column(int menu);
    void del_column();

    // Item commands.
    int get_cell_item(int row, int col) const;
    // Item and popup states for a right-click on (row, col); remembers a
    // non-zero item as the current item. Returns the item (0: no popup).
    int set_popup_menu(int row, int col, PopupState *state);
    // The average of the current item at the grid's current cell.
    AverageResult comp_average() const;
    // The average, shown through the message service.
    void show_average() const;
    // Help topic number of the current item, 0 for none.
    int disp_help() const { return disp_help_context(item_no); }

private:
    template <typename F> void relayout(F &&change);
    GridModel &grid_;
    int boats_ = 0;
    QVector<int> frames_;   // frame of the boat drawn at each position
};

} // namespace kelmon::racecard
