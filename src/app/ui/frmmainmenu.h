#pragma once
// The frame window: menus, toolbar, the selection header and the area that
// holds every viewer window.

#include "app/selection.h"
#include "app/ui/mainmenus.h"
#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"

#include <QMainWindow>
#include <memory>

class QGridLayout;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;
class QPushButton;

namespace kelmon {


class frmmainmenu : public QMainWindow {
    Q_OBJECT
public:
    explicit frmmainmenu(QWidget *parent = nullptr);
    ~frmmainmenu() override;

    MainMenus &menus() { return *menus_; }
    QMdiArea *mdiArea() const { return mdi_; }
    const Selection &selection() const { return selection_; }
    // The visible header label of a name (lblkyosocode, lblgradecode,
    // lblracesword, lbldate, lblweekday, lbldatescnt).
    QLabel *headerLabel(const QString &name) const;

    // The one-time work of the first activation: connection, settings row,
    // size warning, registration offer, default venue.
    void firstActivation();

    // Selection and navigation.
    void mnukyosocodesub_Click(int index);
    void tlbmainmenu_ButtonMenuClick(const QString &itemText);
    void cmdnext_Click(int index);
    void set_menuenabled(bool flag);

    // Viewer openers.
    void cmdkoyomi_Click();
    void mnuraceinfo_Click();
    void mnuraceyoso_Click();
    void mnuracerest_Click();
    void mnuracer_Click();
    void mnumotor_Click();
    void mnuboats_Click();
    void mnudataroom_Click();
    // Shows a new viewer window of a kind as a child with the current
    // selection (race 1) and a caption of the title and the selection.
    void openViewer(ViewerKind kind, const QString &title, CaptionTail tail);

    // Commands of the menus and toolbar.
    void mnudownload_Click();
    void mnudatabase_Click();
    void mnudelete_Click();
    void mnuoptimize_Click();
    void mnuprint_Click();
    void mnuproperty_Click();
    void mnuversion_Click();
    void mnuend_Click();
    void mnuwindowsub_Click(int index);
    void mnuhelprun_Click();
    void mnusupport_Click();
    void mnuweb_Click();

    // Tab (next) and Shift+Tab from wherever the focus is in the frame or a
    // child window: on to the next or previous stop of the header's buttons
    // and the current child's controls, wrapping; false when there is none.
    bool moveTabFocus(bool next);

    // Shows or hides the race-card format menu and toolbar buttons 19 to 22.
    void set_dispmenu_visible(bool visible);
    // The printer the print command uses; nullptr = the system's default printer.
    void setPrinter(QPrinter *printer) { printer_ = printer; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildHeader();
    void placeHeader();
    // Whether the window or dialog behind a command is part of this build.
    bool hasCommand(const QString &name) const;
    void runRegistrationDialog();
    void runDeleteDialog();
    void connectCommands();
    void addChildWindowKeys();
    QList<QWidget *> headerStops() const;
    QList<QWidget *> tabCycle() const;
    void showSelection();
    void subWindowActivated(QMdiSubWindow *window);
    void tileWindows(bool stacked);
    void arrangeIcons();

    std::unique_ptr<MainMenus> menus_;
    QMdiArea *mdi_ = nullptr;
    Selection selection_;
    QHash<QString, QLabel *> labels_;
    QGridLayout *header_ = nullptr;
    QWidget *Line1[2] = {nullptr, nullptr};   // the separator lines of the header
    QPushButton *cmdnext_[2] = {nullptr, nullptr};
    QPushButton *cmdkoyomi_ = nullptr;
    QPrinter *printer_ = nullptr;
    bool firstActivated_ = false;
};

} // namespace kelmon
