#include "support/gridshown.h"

#include "platform/gridmodel.h"
#include "platform/messages.h"
#include "platform/ui/gridview.h"

#include <QAction>
#include <QMenu>
#include <QtTest>
#include <algorithm>
#include <numeric>

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

void clickCell(GridView *view, int row, int col)
{
    const QRect rect = view->viewportRect(QRect(col, row, 1, 1));
    QVERIFY2(rect.isValid(), "the cell is not in the view");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

QPoint pressKeys(GridView *view, const QList<QKeyCombination> &keys, Qt::KeyboardModifiers extra)
{
    for (const QKeyCombination key : keys)
        QTest::keyClick(view, key.key(), key.keyboardModifiers() | extra);
    return {view->model()->col(), view->model()->row()};
}

QString menuStates(const QMenu *menu)
{
    QString states;
    for (const QAction *a : menu->actions())
        states += a->isSeparator() ? u'|' : a->isEnabled() ? u'+' : u'.';
    return states;
}

QString keyPopup(GridView *view, QMenu *menu, QKeyCombination key, bool *atCell)
{
    QTest::keyClick(view, key.key(), key.keyboardModifiers());
    const bool shown = menu->isVisible();
    if (atCell) {
        const GridModel *m = view->model();
        const QRect cell = view->viewportRect(m->mergedRange(m->row(), m->col()));
        *atCell = shown && QRect(view->viewport()->mapToGlobal(cell.topLeft()), cell.size()).contains(menu->pos());
    }
    menu->hide();
    return shown ? menuStates(menu) : QString();
}

bool cellShown(const GridView *view, int row, int col)
{
    const QRect rect = view->viewportRect(QRect(col, row, 1, 1));
    return rect.isValid() && view->viewport()->rect().contains(rect)
        && view->cellAt(rect.topLeft()) == QPoint(col, row) && view->cellAt(rect.bottomRight()) == QPoint(col, row);
}

std::pair<QString, QString> runColumnCommand(QAction *item, int command, const GridModel &grid, int col,
                                             const ScriptedMessages &box)
{
    const auto numbers = [&] {
        QList<double> shown;
        for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
            bool ok = false;
            const double n = grid.text(r, col).trimmed().remove(u',').toDouble(&ok);
            if (ok)
                shown << n;
        }
        return shown;
    };
    const auto joined = [](const QList<double> &values) {
        QStringList texts;
        for (double v : values)
            texts << QString::number(v);
        return texts.join(u' ');
    };
    QList<double> before = numbers();
    item->trigger();
    if (command == 2) {
        const double sum = std::accumulate(before.begin(), before.end(), 0.0);
        return {box.texts().join(u'\n'), QStringLiteral("平均値は %1 です...\r\n\r\n合計 %2    件数 %3件")
                                             .arg(QString::number(sum / before.size(), 'f', 2))
                                             .arg(QString::number(sum, 'g', 12))
                                             .arg(before.size())};
    }
    std::stable_sort(before.begin(), before.end());
    if (command == 1)
        std::reverse(before.begin(), before.end());
    return {joined(numbers()), joined(before)};
}

} // namespace kelmon::test
