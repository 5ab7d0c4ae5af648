#include "paper_schema.h"

#include <cstring>

namespace kelmon {

const PaperTable *findTable(const char *name)
{
    for (const auto &t : allTables())
        if (std::strcmp(t.name, name) == 0)
            return &t;
    return nullptr;
}

} // namespace kelmon
