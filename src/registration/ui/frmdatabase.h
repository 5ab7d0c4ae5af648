#pragma once
// The registration dialog: registers every archive waiting in receive/ and
// compacts the database; or discards what was received.

#include <QDialog>
#include <QSet>
#include <QStringList>

class QLabel;
class QPushButton;

namespace kelmon {

class ProgressStatus;

class frmdatabase : public QDialog {
    Q_OBJECT
public:
    explicit frmdatabase(QWidget *parent = nullptr);

    QLabel *lblcount;
    QLabel *lblnewspname;
    QPushButton *cmddatabase;
    QPushButton *cmdend;
    QPushButton *cmddelete;
    ProgressStatus *status() const { return status_; }

    // The first-activation work: the count and the title of the first archive.
    void firstActivation();
    void cmddatabase_Click();
    void cmddelete_Click();
    void cmdend_Click();

    // Archives of the last run that could not be registered (name and reason).
    QStringList failures() const { return failures_; }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool refuseWhileRunning();
    // The next archive of receive/ not yet tried in this run, or "".
    QString nextArchive() const;
    void registerOne(const QString &path);

    ProgressStatus *status_;
    bool activated_ = false;
    QSet<QString> tried_;
    QStringList failures_;
};

} // namespace kelmon
