#include "support/gridshown.h"

#include "platform/gridmodel.h"
#include "platform/ui/gridview.h"

namespace kelmon::test {

bool gridShowsData(const QWidget *window)
{
    for (const GridView *view : window->findChildren<GridView *>()) {
        const GridModel *m = view->model();
        for (int r = m ? m->fixedRows() : 0; m && r < m->rows(); ++r)
            for (int col = 0; col < m->cols(); ++col)
                if (!m->text(r, col).trimmed().isEmpty())
                    return true;
    }
    return false;
}

} // namespace kelmon::test
