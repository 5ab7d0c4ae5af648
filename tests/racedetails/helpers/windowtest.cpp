#include "racedetails/helpers/windowtest.h"

#include "app/ui/mainmenus.h"
#include "common/settingsrow.h"
#include "platform/ui/gridview.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

namespace kelmon::test {

void WindowTest::cleanup()
{
    frame.reset();
    QVERIFY(folder->exits().empty());
    folder.reset();
}

void WindowTest::showMain(int venue)
{
    read_m_kanri();
    frame = std::make_unique<frmmainmenu>();
    frame->resize(1200, 900);
    frame->show();
    frame->mnukyosocodesub_Click(venue - 1);
}

QAction *WindowTest::item(const QString &menu, int i) const
{
    return frame->menus().action(QStringLiteral("%1sub_%2").arg(menu).arg(i));
}

bool WindowTest::rightClick(GridView *view, const QString &menu, int row, int col)
{
    const QRect rect = view->viewportRect(QRect(col, row, 1, 1));
    if (!rect.isValid())
        return false;
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, rect.center());
    QMenu *popup = frame->menus().menu(menu);
    const bool shown = popup->isVisible();
    popup->hide();
    return shown;
}

} // namespace kelmon::test
