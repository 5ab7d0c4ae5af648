#pragma once
// A modal dialog that runs long work with a progress bar in its status bar
// and refuses to close (close box, Escape, its end button) while the bar shows.

#include <QDialog>
#include <QStringList>

namespace kelmon {

class ProgressStatus;

// The status text while the database is compacted after a run.
inline const QString kOptimizing = QStringLiteral("ＤＢ最適化中...");

class BusyDialog : public QDialog {
    Q_OBJECT
public:
    // busyMessage: the warning shown when a close is refused.
    BusyDialog(const QString &busyMessage, QWidget *parent = nullptr);
    ProgressStatus *status() const { return status_; }
    // The one-time work of the first activation (runs once, also when called
    // before the dialog is shown).
    void firstActivation();

public Q_SLOTS:
    void reject() override;

protected:
    // Places the status bar; textWidth is its first panel's width (twips),
    // widened where one of the texts it will show would not fit.
    void placeStatus(int top, int width, int textWidth, const QStringList &texts);
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    virtual void load() = 0;

private:
    bool refuseWhileRunning();

    QString busyMessage_;
    ProgressStatus *status_;
    bool activated_ = false;
};

} // namespace kelmon
