#pragma once
// A program folder for download tests: its own settings file, kelmon.ini
// pointing at a loopback paper server that offers generated papers, and a
// short silence timeout.

#include "paperserver/paperserver.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace kelmon::test {

class DownloadEnv {
public:
    // papers: how many generated paper days the server offers.
    explicit DownloadEnv(int papers = 2, bool openDatabase = false);
    ~DownloadEnv();

    ProgramFolder folder;
    PaperServer server;
    QList<SamplePaper> papers;

    QString receive() const { return folder.file("receive"); }
    // File names in receive/, sorted.
    QStringList received() const;
    // The connection options saved as "no modem", so Connect goes straight to log-in.
    static void noModem();
};

// Runs the event loop until done() holds or ms pass; whether it holds.
// Waits for events instead of sleeping between polls, so that the many small
// requests of these tests run at the speed of the loopback interface.
bool waitFor(const std::function<bool()> &done, int ms = 15000);

} // namespace kelmon::test
