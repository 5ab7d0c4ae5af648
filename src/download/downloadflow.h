#pragma once
// The download as the dialog runs it, without any widget: dial-up and log-in,
// the list of papers and the remaining count, reserving and fetching one
// archive into the receive folder, acknowledging it. The dialog shows the
// state below and forwards its controls' clicks; it re-reads the state on
// changed().
//
// User name, password, the log-in's cancel flag, the last list answer and the
// chosen row live for the whole run, from one opening of the dialog to the next.

#include "download/kmrdldctl.h"
#include "download/protocol.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QFile;

namespace kelmon {

// Enabled states of the five controls: Connect, Download, Close, Cancel, List.
struct DldButtons {
    bool connect = true;
    bool download = false;
    bool close = true;
    bool cancel = false;
    bool list = false;
    friend bool operator==(const DldButtons &, const DldButtons &) = default;
};

class DownloadFlow : public QObject {
    Q_OBJECT
public:
    explicit DownloadFlow(QObject *parent = nullptr);
    ~DownloadFlow() override;

    // What the window supplies: the connection options dialog and the log-in
    // dialog, each shown modally; the log-in dialog's CloseWindow comes back
    // through PForm_CloseWindow.
    std::function<void()> showOptions;
    std::function<void()> showLogin;

    // Called when the archive is written and read whole, before it takes its
    // name (tests run a clean-up there).
    std::function<void()> beforePlacing;

    // What the window shows.
    const DldButtons &buttons() const { return buttons_; }
    const QStringList &rows() const { return rows_; }   // list titles
    int selectedRow() const { return selectedRow_; }    // -1: none
    const QString &count() const { return count_; }     // remaining downloads as received
    const QString &status() const { return status_; }
    int progressValue() const { return progressValue_; }
    int progressMax() const { return progressMax_; }     // 0: total unknown
    bool hourglass() const { return hourglass_; }
    // Whether either control has a request in flight.
    bool transferring() const { return KmrDldCtl1.busy() || KmrDldCtl2.busy(); }

    // The window's events.
    void load();
    void cmdconect_Click();
    void cmddwld_Click();
    void Command1_Click();
    void cmdoption_Click();
    // Offers to hang up a dial-up connection; the window closes afterwards.
    void cmdclse_Click();
    // Whether the window may close now; warns when it may not.
    bool queryUnload();
    // A row chosen in the list (the status tells the paper's file name).
    void List1_Click(int row);
    void PForm_CloseWindow(const QString &usrName, const QString &pasWord, bool cFlag);

    // Forgets what carries over between openings (tests).
    static void resetRunState();

    kmrdldctl KmrDldCtl1;   // the text requests
    kmrdldctl KmrDldCtl2;   // the archive

Q_SIGNALS:
    void changed();
    void beep();
    void focusList();

private:
    void set_buttons(bool connect, bool download, bool close, bool cancel, bool list);
    void setStatus(const QString &text);
    void idleWith(const QString &text);   // beep, status, T F T F F
    void commonEnd();
    void request(int mode, const QString &query);
    bool existsInReceive(const QString &file) const;

    void ctl1Complete(const QByteArray &body);
    void checkAnswer(const QString &answer);
    void dwldfileAnswer(const QString &answer);
    void delfileAnswer(const QString &answer);
    void ctl1Cancel();
    void ctl2Data(const QByteArray &piece);
    void ctl2Complete(const QByteArray &body);
    void ctl2Cancel();
    void progress(qint64 read, qint64 max);
    bool placeArchive();
    void discardArchive();

    QString baseurl_;
    DldButtons buttons_;
    QStringList rows_;
    int selectedRow_ = -1;
    QString count_;
    QString status_;
    int progressValue_ = 0;
    int progressMax_ = 100;
    bool hourglass_ = false;
    bool listready_ = false;
    int dldmode_ = 0;
    bool fileflag_ = false;
    QString savepath_;
    std::unique_ptr<QFile> archive_;   // the archive as it arrives, under stagedPath_
    QByteArray stagedPath_;            // its temporary name in the receive folder, until put in place
    protocol::LhaStructure structure_;
    bool refused_ = false;      // the archive fetch was stopped as no archive or unwritable
    bool focusList_ = false;    // the list takes the focus after the next change
};

} // namespace kelmon
