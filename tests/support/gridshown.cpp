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

void fillGrid(GridModel &m, const QStringList &lines, int fixedRows)
{
    int cols = 0;
    for (const QString &line : lines)
        cols = std::max(cols, int(line.split(u'|').size()));
    m.setCols(cols);
    m.setRows(int(lines.size()));
    m.setFixedRows(fixedRows);
    for (int r = 0; r < lines.size(); ++r) {
        const QStringList cells = lines[r].split(u'|');
        for (int c = 0; c < cells.size(); ++c)
            m.setText(r, c, cells[c]);
    }
}

} // namespace kelmon::test
