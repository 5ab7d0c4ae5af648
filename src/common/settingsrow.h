#pragma once
// The settings row m_kanri (kanricode = 1): created with its default values
// when missing, and the four start-up settings read from it.

#include <QString>

namespace kelmon {

// The default row's values, positionally: kanricode, ri01..ri30, rc01..rc30,
// kyosocode, checkflag, regstflag, downlflag.
extern const int defaultSettingsRow[65];

// The four start-up settings, and how the settings dialog names each.
enum class StartupSetting { Venue, SizeCheck, RegistrationOffer, AfterDownload };
QString startupSettingCaption(StartupSetting setting);

// Reads the four start-up settings into modkelmon's shared settings, inserting
// the default row first when there is none. A value out of range (a venue
// outside 0..24, a number beyond 16 bits) is read as its default; the return
// value then names what was replaced, one setting a line by the settings
// dialog's captions, for a message to the user.
// Throws kelmon::DbError.
QString read_m_kanri();

// Writes the four start-up settings from modkelmon's shared settings.
void write_startup_settings();

} // namespace kelmon
