#pragma once
// Base of the window tests: a program folder, the main window on a venue, the
// newest MDI child activated, and a right-click on a grid through its view.

#include "app/ui/frmmainmenu.h"
#include "support/testenv.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <memory>

class QAction;

namespace kelmon {
class GridView;
}

namespace kelmon::test {

class WindowTest : public QObject {
    Q_OBJECT
protected slots:
    void cleanup();

protected:
    // The main window, shown, with the venue chosen; call after the fixture rows.
    void showMain(int venue);
    template <typename W> W *lastWindow()
    {
        QMdiSubWindow *sub = frame->mdiArea()->subWindowList().last();
        frame->mdiArea()->setActiveSubWindow(sub);
        auto *w = qobject_cast<W *>(sub->widget());
        if (w)
            w->activateFirstTime();
        return w;
    }
    QAction *item(const QString &menu, int i) const;
    // True when the menu popped up.
    bool rightClick(GridView *view, const QString &menu, int row, int col);

    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<frmmainmenu> frame;
};

} // namespace kelmon::test
