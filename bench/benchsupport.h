#pragma once
// Shared set-up of the benchmarks: failing loudly, fresh databases and
// generated paper days.

#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "samplepaper/samplepaper.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace kelmon::bench {

// A benchmark that cannot run says why and exits 1.
[[noreturn]] inline void die(const QString &what)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(what));
    std::exit(1);
}

// Points the program at folder and opens its database (created with every
// table and index when new).
inline void openDatabase(const QString &folder)
{
    modkelmon::close_db();
    setProgramFolder(folder);
    try {
        modkelmon::open_db();
    } catch (const DbError &e) {
        die(e.description);
    }
}

// Writes `days` consecutive generated paper days into dir; returns their paths.
inline QStringList writePaperDays(const QString &dir, int days, bool photos)
{
    SamplePaperOptions options;
    options.date = QDate(2024, 5, 1);
    options.day = 1;
    options.venue = 1;
    options.photos = photos;
    QString error;
    const QStringList names = writeSamplePapers(dir, options, days, &error);
    if (names.size() != days)
        die(error);
    QStringList paths;
    for (const QString &name : names)
        paths << QDir(dir).filePath(name);
    return paths;
}

} // namespace kelmon::bench
