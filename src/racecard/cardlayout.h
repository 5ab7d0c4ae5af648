#pragma once
// The column layout of one race card: the block list ri (codes in left-to-
// right order, ended by the first 0) and the start-column list rc. Start
// columns are always derived from the codes (6 + the widths of the blocks
// before), so the builders never write past the grid.

#include <QVector>
#include <array>

namespace kelmon::racecard {

class CardLayout {
public:
    static constexpr int kSlots = 30;   // ri(0..29), rc(0..29)

    CardLayout() = default;
    // A layout from a list of codes, sanitised like a stored one.
    static CardLayout fromCodes(const QVector<int> &codes);
    static CardLayout normal();   // 1, 2, 3, 4, 5, 12, 16, 19, 23
    static CardLayout all();      // 1..24

    int ri(int i) const { return (i >= 0 && i < kSlots) ? ri_[std::size_t(i)] : 0; }
    int rc(int i) const { return (i >= 0 && i < kSlots) ? rc_[std::size_t(i)] : 0; }
    int count() const;                  // blocks on the card
    QVector<int> codes() const;
    QVector<int> startColumns() const;
    bool contains(int code) const;
    int indexOf(int code) const;        // -1 when absent
    // Grid columns of the filled card: the fixed part and every block.
    int columnCount() const;
    // The block holding a grid column at or past column 6: its list index,
    // or -1 past the last block.
    int blockAtColumn(int col) const;

    void clear();
    void set_normalgrid() { *this = normal(); }
    void set_allgrid() { *this = all(); }
    // Adds the block of an add-menu entry after the block of the clicked item
    // (at the front for the fixed part, item 1). A code already on the card,
    // a separator entry, or a clicked item whose block is not on the card
    // changes nothing. Returns whether the layout changed.
    bool add_column(int menu, int clickedItem);
    // Removes the block of the clicked item; returns whether it was there.
    bool del_column(int clickedItem);

    // The stored layout (settings row kanricode 1). A row that is missing
    // gives the normal layout. Throws kelmon::DbError.
    static CardLayout load_m_kanri();
    // Makes this layout the stored one. Throws kelmon::DbError.
    void save_m_kanri() const;

    friend bool operator==(const CardLayout &, const CardLayout &) = default;

private:
    void setCodes(const QVector<int> &codes);
    std::array<int, kSlots> ri_{};
    std::array<int, kSlots> rc_{};
};

} // namespace kelmon::racecard
