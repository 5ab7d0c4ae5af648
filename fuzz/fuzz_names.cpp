// Fuzz target: the decoding of archive names into paper titles, and the test
// for the entry names that extraction writes.
//
// Input: a name in UTF-8 (broken sequences become U+FFFD). A finding is a
// crash or sanitizer report, an accepted entry name that a path could be
// built from (a folder part, "." or ".."), or a title that breaks the name's
// own form (a decodable name gives a title ending in ")").

#include "fuzzsupport.h"

#include "platform/archive.h"
#include "registration/archivenames.h"

using namespace kelmon;

KELMON_FUZZ_INITIALIZE_ONLY

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &archiveName : {name, name + QStringLiteral(".lzh"), QString::fromLatin1(
                                                  reinterpret_cast<const char *>(data), qsizetype(size))}) {
        const QString title = get_newspname(archiveName);
        if (title != archiveName && !title.endsWith(u')'))
            fuzz::finding(QStringLiteral("title of %1: %2").arg(archiveName, title));
    }
    if (isPaperEntryName(name)) {
        if (name.contains(u'/') || name.contains(u'\\') || name == QLatin1String(".") || name == QLatin1String("..")
            || name.contains(QChar(0)))
            fuzz::finding(QStringLiteral("accepted entry name: %1").arg(name));
        if (!isPaperEntryName(name.toLower()))
            fuzz::finding(QStringLiteral("accepted only as written: %1").arg(name));
    }
    return 0;
}
