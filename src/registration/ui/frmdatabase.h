#pragma once
// The registration dialog: registers every archive waiting in receive/ and
// compacts the database; or discards what was received.

#include "registration/ui/busydialog.h"
#include <QSet>
#include <QStringList>

class QLabel;
class QPushButton;

namespace kelmon {
struct RegistrationSession;
}

namespace kelmon {


class frmdatabase : public BusyDialog {
    Q_OBJECT
public:
    explicit frmdatabase(QWidget *parent = nullptr);

    QLabel *lblcount;
    QLabel *lblnewspname;
    QPushButton *cmddatabase;
    QPushButton *cmdend;
    QPushButton *cmddelete;

    // The first-activation work: the count and the title of the first archive.
    void cmddatabase_Click();
    void cmddelete_Click();
    void cmdend_Click();

    // Archives of the last run that could not be registered (name and reason).
    QStringList failures() const { return failures_; }
    // Archives of the last run that were registered but not backed up.
    QStringList notBackedUp() const { return notBackedUp_; }

private:
    void load() override;
    // The next archive of receive/ not yet tried in this run, or "".
    QString nextArchive() const;
    void registerOne(const QString &path, RegistrationSession &session);

    QSet<QString> tried_;
    QStringList failures_;
    QStringList notBackedUp_;
};

} // namespace kelmon
