#pragma once
// The menu bar, the toolbar and the popup menus of the main window, built
// from tables. Every menu item and toolbar button carries its system name as
// its object name ("mnuraceinfo", "mnukyosocodesub_8", "tlbmainmenu_11"), so
// that handlers, tests and the windows that enable popup items find them.

#include <QHash>
#include <QList>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;

namespace kelmon {

struct MenuItemDef {
    const char *name;      // mnu... ; "-" lines are separators named like the system's (mnufileline1)
    const char *caption;   // "" for a separator
    const char *shortcut;  // "" for none
};

// The 24 venue captions of the venue menu and the toolbar's drop-down.
extern const char *const venueCaptions[24];
// The tool tips of toolbar buttons 1..26 ("" where a button has none).
extern const char *const toolTips[27];

class MainMenus {
public:
    // Builds the menu bar, the toolbar and the popup menus into window.
    explicit MainMenus(QMainWindow *window);

    QAction *action(const QString &name) const;      // menu item by name
    QMenu *menu(const QString &name) const;          // top-level, sub or popup menu by name
    QAction *button(int index) const;                // toolbar button 1..26
    QToolBar *toolbar() const { return toolbar_; }
    QToolButton *venueButton() const { return venueButton_; }
    // Popup menus of the viewer grids: mnuri, mnudm, mnury, ...
    QStringList popupNames() const;
    // Shows or hides a menu of the menu bar. A hidden menu leaves the bar, so
    // that its access key goes to the shown menu with the same letter.
    void setBarMenuVisible(const QString &name, bool visible);

private:
    QMenu *addMenu(QMenu *parent, const QString &name, const QString &caption);
    QAction *addItem(QMenu *menu, const MenuItemDef &item);
    void buildMenuBar(QMainWindow *window);
    void buildToolbar(QMainWindow *window);
    void buildPopups(QMainWindow *window);

    QHash<QString, QAction *> actions_;
    QHash<QString, QMenu *> menus_;
    QList<QAction *> buttons_;   // index 0 unused
    QStringList popups_;
    QMenuBar *bar_ = nullptr;
    QList<QAction *> barMenus_;   // the menus of the bar in their order, hidden ones too
    QToolBar *toolbar_ = nullptr;
    QToolButton *venueButton_ = nullptr;
};

} // namespace kelmon
