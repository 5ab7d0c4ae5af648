#include "download/dialup.h"

namespace kelmon {

namespace {

class NoDialUp : public DialUp {
public:
    bool chk_rasconnect() override { return false; }
    QString get_rasentrylist() override { return {}; }
    void InternetDial(const QString &) override {}
    bool ras_hangup() override { return true; }
};

NoDialUp none;
DialUp *current = &none;

} // namespace

DialUp &dialUp() { return *current; }

void setDialUp(DialUp *service) { current = service ? service : &none; }

ScriptedDialUp::ScriptedDialUp() { setDialUp(this); }

ScriptedDialUp::~ScriptedDialUp()
{
    if (current == this)
        setDialUp(nullptr);
}

bool ScriptedDialUp::ras_hangup()
{
    if (connected) {
        ++hangUps;
        connected = false;
    }
    return true;
}

} // namespace kelmon
