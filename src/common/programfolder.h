#pragma once
// The program folder: kelmon.mdb, receive/, photo/, backup/ and the help.
// $KELMON_HOME when set, otherwise the per-user data location
// ($XDG_DATA_HOME/kelmon, by default ~/.local/share/kelmon).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kelmon {

QString programFolder();
// Overrides the folder (tests); an empty text goes back to the environment.
void setProgramFolder(const QString &folder);

// An entry of the program folder by name, matched without regard to case:
// the existing entry's real path when one matches, else folder + "/" + name.
QString programPath(const QString &name);
// The same inside a folder.
QString pathInFolder(const QString &folder, const QString &name);

// The names of the files in folder that end in "." + suffix (without regard
// to case), sorted. A name whose bytes are no valid text for the system
// (written by another system, e.g. in code page 932) is first renamed in its
// folder, each byte of 0x80 or above written as %XX, so that the file can be
// counted, opened and removed like any other. A folder that exists but
// cannot be read lists nothing and sets *readable (when given) to false.
QStringList filesWithSuffix(const QString &folder, const QString &suffix, bool *readable = nullptr);

// The content of a regular file of at most maxBytes (a link is followed and
// its target checked the same way), read without ever waiting: a named pipe,
// a device, a socket, a folder or a larger file gives nothing.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes);

// Creates a new file for writing in folder, under a name that no entry has:
// stem, this process's id and a serial. An existing entry is never opened,
// and a link never followed. The file is held (holdStagingFile) as long as
// the descriptor is open. Returns its descriptor and its path in *path, or -1
// and an empty path when no file can be made. Renamed to its own name once
// written, the file takes the name from whatever had it, a link included,
// without writing into it.
int createStagingFile(const QString &folder, const QString &stem, QByteArray *path);
// Called by createStagingFile between making a file and holding it (tests
// run a clean-up there); an empty hook removes it.
void setStagingHook(std::function<void()> hook);
// Marks the staging file open under fd, for writing, as being written until
// that descriptor (and any copy of it) is closed: the clean-up leaves it.
// False when another opening holds it.
bool holdStagingFile(int fd);
// The stems of the staging files: an archive being downloaded into receive/,
// a photo being registered into photo/.
inline const QString downloadStagingStem = QStringLiteral(".kelmon-download-");
inline const QString photoStagingStem = QStringLiteral(".kelmon-photo-");
// Removes the entries in folder named stem + "*" that no running work writes:
// every file that no writer holds, in this process or another, and every
// link whatever it points to (the link itself, never followed). A file that
// cannot be opened to tell, and a folder, are left.
void removeStagingLeftovers(const QString &folder, const QString &stem);

// Creates the program folder and receive/, photo/, backup/ when missing.
// On failure returns false and puts a message for the user into *error.
bool ensureProgramFolder(QString *error);

QString databasePath();   // kelmon.mdb
QString receiveFolder();  // receive/
QString photoFolder();    // photo/
QString backupFolder();   // backup/

} // namespace kelmon
