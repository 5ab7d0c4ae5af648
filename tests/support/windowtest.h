#pragma once
// Base of the window tests: a program folder, the main window on a venue, the
// newest MDI child activated, and a right-click on a grid through its view.

#include "app/ui/frmmainmenu.h"
#include "app/ui/mainmenus.h"
#include "app/ui/viewerwindow.h"
#include "common/settingsrow.h"
#include "platform/ui/gridview.h"
#include "support/testenv.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>

namespace kelmon::test {

class WindowTest : public QObject {
protected:
    // The main window, shown, with the venue chosen; call after the fixture rows.
    void showMain(int venue)
    {
        read_m_kanri();
        frame = std::make_unique<frmmainmenu>();
        frame->resize(1200, 900);
        frame->show();
        frame->mnukyosocodesub_Click(venue - 1);
    }
    void closeMain()
    {
        frame.reset();
        QVERIFY(folder->exits().empty());
        folder.reset();
    }
    template <typename W> W *lastWindow()
    {
        QMdiSubWindow *sub = frame->mdiArea()->subWindowList().last();
        frame->mdiArea()->setActiveSubWindow(sub);
        auto *w = qobject_cast<W *>(sub->widget());
        if (w)
            w->activateFirstTime();
        return w;
    }
    QAction *item(const QString &menu, int i) const
    {
        return frame->menus().action(QStringLiteral("%1sub_%2").arg(menu).arg(i));
    }
    // True when the menu popped up.
    bool rightClick(GridView *view, const QString &menu, int row, int col)
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

    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<frmmainmenu> frame;
};

// What a popup command opened: the window's name, day and race, and the
// racer of a racer detail or the date of a race result.
inline QString openedFor(const ViewerWindow *w)
{
    const ViewerContext &c = w->context();
    const QString name = w->objectName();
    const QString more = name == QLatin1String("frmracerdisp") ? c.tourokuno
        : name == QLatin1String("frmracerest")                  ? c.date
                                                                : QString();
    return QStringList({name, c.datescnt, c.racesno, more}).join(u' ').trimmed();
}

} // namespace kelmon::test
