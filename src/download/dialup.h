#pragma once
// Dial-up connections: whether one is up, the entries that can be dialled,
// dialling one and hanging up. The download dialog dials before it logs in
// when the connection options ask for it. This system has no dial-up service,
// so the one in force by default reports no connection and no entries; tests
// install a scripted one.

#include <QString>
#include <QStringList>

namespace kelmon {

class DialUp {
public:
    virtual ~DialUp() = default;
    // Whether a dial-up connection is up.
    virtual bool chk_rasconnect() = 0;
    // The names of the entries that can be dialled, joined with ","; empty when none.
    virtual QString get_rasentrylist() = 0;
    // Dials the entry of that name; the caller does not look at the outcome.
    virtual void InternetDial(const QString &entryName) = 0;
    // Hangs up the connection that is up; true when none is up afterwards.
    virtual bool ras_hangup() = 0;
};

// The service in force: until another is installed, one without any
// connection or entry (dialling does nothing, hanging up succeeds).
DialUp &dialUp();
// Installs a service (not owned); nullptr restores the default.
void setDialUp(DialUp *service);

// A dial-up service played from a script, recording what was asked of it.
class ScriptedDialUp : public DialUp {
public:
    ScriptedDialUp();            // installs itself
    ~ScriptedDialUp() override;  // restores the default

    bool connected = false;
    QStringList entries;
    QStringList dialled;         // entry names passed to InternetDial, in order
    int hangUps = 0;

    bool chk_rasconnect() override { return connected; }
    QString get_rasentrylist() override { return entries.join(u','); }
    void InternetDial(const QString &entryName) override { dialled << entryName; }
    bool ras_hangup() override;
};

} // namespace kelmon
