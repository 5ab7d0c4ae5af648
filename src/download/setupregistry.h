#pragma once
// The per-user settings of the download side (user name, password, whether to
// keep them, the connection options): an INI file of the application KELMONI,
// group SETUP. It holds a password, so it is readable by its owner only.

#include <QString>

namespace kelmon::setup {

// The settings file: the per-user configuration location of KELMONI unless
// overridden (tests); an empty text goes back to the default.
QString filePath();
void setFilePath(const QString &path);

// The value of a key of group SETUP as text; fallback when the key is missing.
QString value(const QString &key, const QString &fallback = QString());
// The value read as a whole number (VB-like: leading digits, else 0);
// fallback when the key is missing.
int number(const QString &key, int fallback);
// Whether the value reads as "True" (letter case ignored); false when missing.
bool isTrue(const QString &key);

// Writes or removes a key; the file is left readable by its owner only.
void setValue(const QString &key, const QString &text);
void remove(const QString &key);

} // namespace kelmon::setup
