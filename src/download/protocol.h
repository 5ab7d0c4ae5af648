#pragma once
// The publisher's server protocol: the four requests the download dialog
// sends (log-in and list, reservation, archive fetch, acknowledgement), how
// their text answers read, and which archive names and bodies are accepted.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace kelmon::protocol {

// The page every request goes to, directly under the base address.
inline constexpr const char *kPage = "wckelmoni2.ASP";

// The server's base address: key "baseurl" of group "WEB" in kelmon.ini in the
// program folder, always ending in "/"; a missing or unusable value gives
// kDefaultBaseUrl.
inline constexpr const char *kDefaultBaseUrl = "https://example.com/kelmon/server/";
QString baseUrl();

// A value as it goes into a query: as it stands, except the characters that
// would change the query's meaning or cannot stand in an address. "&", "=",
// "#", "+", "%", blanks, control characters, the characters an address may
// not hold ("\"<>\\^`{|}") and non-ASCII characters (as their code page 932
// bytes) are percent-encoded.
QString queryValue(const QString &value);

QString checkQuery(const QString &user, const QString &password);
QString dwldfileQuery(const QString &user, const QString &fileName);
QString fileQuery(const QString &transferKey, const QString &archiveName);
QString delfileQuery(const QString &user);
// base + page + "?" + query, sent exactly as built.
QUrl requestUrl(const QString &base, const QString &query);

// A text answer: the body read as code page 932, without white space at both ends.
QString answerText(const QByteArray &body);

// The answers that stand for a refusal or a failure, tested on the whole
// answer text without regard to letter case.
enum class Special { None, False, Non, Error, Empty };
Special special(const QString &answer);
// The status text of a special answer ("" for None).
QString specialStatus(Special s);

// The list answer: file names then the remaining count. Valid only when the
// last element is decimal digits or "∞".
struct CheckAnswer {
    bool valid = false;
    QStringList files;
    QString count;
    bool sample = false;   // the count is "∞"
};
CheckAnswer readCheckAnswer(const QString &answer);

// The reservation answer: the transfer key, then the archive name to fetch.
// Valid only when the name is a plain archive name (below).
struct DwldfileAnswer {
    bool valid = false;
    QString key;
    QString name;
};
DwldfileAnswer readDwldfileAnswer(const QString &answer);

// The acknowledgement answer: "True" (letter case ignored) and the new count,
// or anything else for an archive the server doubts.
struct DelfileAnswer {
    bool acknowledged = false;   // the first element is "True"
    bool valid = false;          // acknowledged, with a count
    QString count;
};
DelfileAnswer readDelfileAnswer(const QString &answer);

// How long the archive fetch may take in all: a slow but working line brings
// a paper day's archive (a few hundred kilobytes) in well under a minute, and
// even the largest archive registration accepts at 28 KB/s.
inline constexpr int kArchiveDeadlineMs = 10 * 60 * 1000;

// A file name from the server that may be written into the receive folder: a
// plain name ending in ".lzh" (letter case ignored) with no folder part, no
// "..", no ":", no leading dot and no control characters.
bool isPlainArchiveName(const QString &name);

// Whether the bytes begin like an LHA archive (a first header with a
// "-lh?-" or "-lz?-" method mark). Error pages and empty bodies do not.
bool looksLikeLhaArchive(const QByteArray &data);

// Follows an LHA archive's structure as its bytes arrive, holding no more than
// the fixed part of one header: each header's method mark and sizes, the
// entry's packed data skipped by its size, up to the end mark (a zero byte
// where the next header would start). Without the end mark an archive may
// have been cut between two entries, whatever length was announced; bytes
// after it are left to the archive's reader. Bytes that cannot begin a
// header are told as soon as they come.
class LhaStructure {
public:
    void feed(QByteArrayView bytes);
    // At least one entry, then the end mark.
    bool complete() const { return state_ == State::End && entries_ > 0; }
    // Something that cannot continue an archive has been seen.
    bool broken() const { return state_ == State::Broken; }

private:
    enum class State { Header, Data, End, Broken };
    void headerRead();
    State state_ = State::Header;
    QByteArray head_;   // the fixed part of the header being read
    qint64 skip_ = 0;   // the rest of the current header and its packed data
    int entries_ = 0;
};

} // namespace kelmon::protocol
