// kelmon_genpaper: writes generated sample papers (LHA archives) into a folder
// and prints the names of the files written, one per line.
//
//   kelmon_genpaper --out DIR [--venue N] [--date yyyymmdd] [--day N]
//                   [--days K] [--seed S] [--level 0|1|2] [--no-photos]

#include "samplepaper/samplepaper.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelmon_genpaper"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes generated sample papers."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Folder to write into."), QStringLiteral("DIR"));
    const QCommandLineOption venue(QStringLiteral("venue"), QStringLiteral("Venue code 1..24."), QStringLiteral("N"));
    const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("Date of the (first) paper day."),
                                  QStringLiteral("yyyymmdd"));
    const QCommandLineOption day(QStringLiteral("day"), QStringLiteral("Day of the meeting 1..6."), QStringLiteral("N"));
    const QCommandLineOption days(QStringLiteral("days"), QStringLiteral("Number of consecutive paper days."),
                                  QStringLiteral("K"), QStringLiteral("1"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the simulation."), QStringLiteral("S"),
                                  QStringLiteral("1"));
    const QCommandLineOption level(QStringLiteral("level"), QStringLiteral("LHA header level 0, 1 or 2."),
                                   QStringLiteral("L"), QStringLiteral("2"));
    const QCommandLineOption noPhotos(QStringLiteral("no-photos"), QStringLiteral("Leave out the racer photos."));
    parser.addOptions({out, venue, date, day, days, seed, level, noPhotos});
    parser.process(app);

    QTextStream err(stderr);
    if (!parser.isSet(out)) {
        err << "kelmon_genpaper: --out DIR is required\n";
        return 2;
    }
    auto number = [&](const QCommandLineOption &o, long long lo, long long hi, long long *value) {
        bool ok = false;
        const long long v = parser.value(o).toLongLong(&ok);
        if (!ok || v < lo || v > hi) {
            err << "kelmon_genpaper: --" << o.names().first() << " must be a number from " << lo << " to " << hi << "\n";
            return false;
        }
        *value = v;
        return true;
    };
    kelmon::SamplePaperOptions options;
    long long v = 0;
    if (parser.isSet(venue)) {
        if (!number(venue, 1, 24, &v))
            return 2;
        options.venue = int(v);
    }
    if (parser.isSet(day)) {
        if (!number(day, 1, 6, &v))
            return 2;
        options.day = int(v);
    }
    if (parser.isSet(date)) {
        options.date = QDate::fromString(parser.value(date), QStringLiteral("yyyyMMdd"));
        if (!options.date.isValid()) {
            err << "kelmon_genpaper: --date must be a date written yyyymmdd\n";
            return 2;
        }
    }
    if (!number(seed, 0, 0xffffffffLL, &v))
        return 2;
    options.seed = quint32(v);
    if (!number(level, 0, 2, &v))
        return 2;
    options.lhaLevel = int(v);
    options.photos = !parser.isSet(noPhotos);
    long long count = 1;
    if (!number(days, 1, 100000, &count))
        return 2;

    QString error;
    const QStringList names = kelmon::writeSamplePapers(parser.value(out), options, int(count), &error);
    QTextStream cout(stdout);
    for (const QString &name : names)
        cout << name << "\n";
    cout.flush();
    if (!error.isEmpty()) {
        err << "kelmon_genpaper: " << error << "\n";
        return 1;
    }
    return 0;
}
