#pragma once
// The download dialog: shows the download's state (buttons, list of papers,
// remaining count, status, progress) and hands the user's clicks to it.

#include "download/downloadflow.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace kelmon {

class frmdld : public QDialog {
    Q_OBJECT
public:
    explicit frmdld(QWidget *parent = nullptr);

    DownloadFlow flow;

    QPushButton *cmdconect;
    QPushButton *cmddwld;
    QPushButton *cmdclse;
    QPushButton *Command1;
    QPushButton *cmdoption;
    QListWidget *List1;
    QLabel *Label3;
    QStatusBar *StatusBar1;
    QProgressBar *ProgressBar1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void render();
    void cmdclse_Click();
    void runDownload();
    bool syncing_ = false;
    int shadedWhite_ = -1;    // the list's and the count's back colour applied: 1 white, 0 grey, -1 none yet
    QStringList shownRows_;   // what the list shows
};

} // namespace kelmon
