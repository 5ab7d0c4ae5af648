#pragma once
// The program's help: HTML pages shipped with the program, one per topic,
// opened in the desktop's browser. F1, the help command and the race card's
// per-item help all come here with a context number; the support page and
// the publisher's home page are opened the same way.

#include <QString>
#include <QUrl>
#include <functional>

namespace kelmon::help {

// Opens a URL in the desktop's browser; returns false when nothing opened it.
using UrlOpener = std::function<bool(const QUrl &)>;
// Replaces the opener (tests record the URL); an empty one restores
// QDesktopServices::openUrl.
void setUrlOpener(UrlOpener opener);

// The folder of the help pages: "help" next to the executable when it holds
// index.html, otherwise "help" in the program folder. Empty when neither has
// the pages.
QString helpFolder();

// The page of a topic: topicNNNN.html of the help folder, index.html for
// context 0 or a topic without a page of its own. Invalid when there is no
// help folder.
QUrl topicUrl(int context = 0);

// Opens the page of a topic (0 = contents). Without a help folder, or when
// nothing opens the page, it warns through the message service and returns
// false; the support and home page commands warn the same way.
bool showHelp(int context = 0);

// The support page and the publisher's home page. Both are configuration
// values: keys "support" and "home" of group "WEB" in kelmon.ini in the
// program folder; a missing or empty value gives the default below.
inline constexpr const char *kDefaultSupportUrl = "https://example.com/kelmon/support";
inline constexpr const char *kDefaultHomeUrl = "https://example.com/kelmon/";
QUrl supportUrl();
QUrl homeUrl();
// A web address of group "WEB" in kelmon.ini by key; a missing, empty or
// unusable value gives the fallback.
QUrl configuredUrl(const char *key, const char *fallback);
// Path of the configuration file read by supportUrl and homeUrl.
QString configPath();

bool openSupportPage();
bool openHomePage();

} // namespace kelmon::help
