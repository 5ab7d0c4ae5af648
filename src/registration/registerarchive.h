#pragma once
// Registration of one paper archive: the paper files read from the archive
// into memory and the photos into photo/ under temporary names, the thirteen
// importers, then the photos put in place, all in one database transaction,
// so an archive is either wholly registered or not at all.

#include "registration/archivenames.h"
#include "registration/importers.h"

#include <QString>
#include <functional>

namespace kelmon {

enum class RegistrationPhase {
    Extracting,   // before the archive is extracted
    Importing,    // after extraction, before the first importer
};

struct RegistrationHooks {
    std::function<void(RegistrationPhase)> phase;
    // One progress step: one after extraction, one after each importer but the
    // race-card one, one per race-card record, one after the photo copy
    // (14 + race-card records per archive).
    std::function<void()> step;
    // After every archive entry read and every imported record (the caller
    // may yield to the event queue here).
    std::function<void()> afterRecord;
};

struct ArchiveRegistration {
    bool registered = false;
    QString message;   // when not registered: the archive's name and the reason, for the user
    int records = 0;   // records imported
};

// What a caller that registers several archives keeps across them: the
// importers' prepared statements and the files of replaced photos. It must
// end before the connection closes.
struct RegistrationSession {
    ImportStatements statements;
    PhotoSpares photos;
};

// Registers the archive at archivePath; the archive itself is left as it is.
// Photos go to the program folder's photo/ (created when missing). A caller
// that registers several archives passes one session for them all. A paper
// file that cannot be read or
// ends inside a record, an archive that cannot be extracted and a photo that
// cannot be copied give registered == false and a message, with nothing of
// the archive left in the database. A database failure rolls back and throws
// kelmon::DbError.
ArchiveRegistration register_archive(const QString &archivePath, const RegistrationHooks &hooks = {},
                                     RegistrationSession *session = nullptr);

// Removes what a registration or a download ended by force left behind: work
// folders and downloads' staging files in receive/, staged photos in photo/.
// Called as a run starts: at most one runs at a time, and no download then.
void removeStaleWorkFiles();

} // namespace kelmon
