#pragma once
// Layout of the thirteen paper tables and the settings table: every column in
// order with its kind (N number, S text, G text with private-use expansion)
// and declared type. The importers insert positionally in this order.

#include <cstddef>
#include <span>

namespace kelmon {

struct PaperColumn {
    const char *name;
    char kind;          // 'N', 'S' or 'G'
    const char *type;   // declared SQLite type
};

struct PaperTable {
    const char *name;       // f_setus ...
    const char *file;       // kelmfa.txt ... ("" for m_kanri)
    const PaperColumn *columns;
    std::size_t columnCount;
    const char *primaryKey; // comma-separated key columns
    std::span<const PaperColumn> cols() const { return {columns, columnCount}; }
};

struct PaperIndex {
    const char *table;
    const char *name;
    const char *columns;    // comma-separated
};

// The thirteen paper tables in registration order, then m_kanri.
std::span<const PaperTable> allTables();
std::span<const PaperIndex> allIndexes();
// The table of that name, or nullptr.
const PaperTable *findTable(const char *name);

} // namespace kelmon
