#pragma once
// The program folder: kelmon.mdb, receive/, photo/, backup/ and the help.
// $KELMON_HOME when set, otherwise the per-user data location.

#include <QString>

namespace kelmon {

QString programFolder();
// Overrides the folder (tests); an empty text goes back to the environment.
void setProgramFolder(const QString &folder);

// An entry of the program folder by name, matched without regard to case:
// the existing entry's real path when one matches, else folder + "/" + name.
QString programPath(const QString &name);
// The same inside a folder.
QString pathInFolder(const QString &folder, const QString &name);

// Creates the program folder and receive/, photo/, backup/ when missing.
// On failure returns false and puts a message for the user into *error.
bool ensureProgramFolder(QString *error);

QString databasePath();   // kelmon.mdb
QString receiveFolder();  // receive/
QString photoFolder();    // photo/
QString backupFolder();   // backup/

} // namespace kelmon
