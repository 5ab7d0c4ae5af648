// Opening every kind of viewer window on a database of one meeting and on one
// of 2,000 paper days: the load (the window's first activation: its queries
// and fills) followed by the first paint must not grow with the database.
// Both databases hold the same six registered generated days; the large one
// also holds copies of them with the meeting code moved back a year each.
// Each window is opened on the last registered day, race 7, the first racer
// of that race (a race result: the day before); rounds alternate between the
// two databases, each going first every other round, and the median of each
// side is compared. Ratios are reported, never asserted.
// Usage: bench_viewer_open [days] [rounds]   (default 2000 days, 7 rounds)

#include "benchsupport.h"
#include "app/ui/viewerfactory.h"
#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "common/settingsrow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kelmon;

namespace {

constexpr int kMeetingDays = 6;

struct Kind {
    ViewerKind kind;
    const char *name;
    CaptionTail tail;
};

const Kind kKinds[] = {
    {ViewerKind::RaceCard, "race card", CaptionTail::DateRace},
    {ViewerKind::Predictions, "predictions", CaptionTail::DateRace},
    {ViewerKind::Outcomes, "outcomes", CaptionTail::DateRace},
    {ViewerKind::RaceResult, "race result", CaptionTail::DateRace},
    {ViewerKind::PreviousRuns, "previous runs", CaptionTail::None},
    {ViewerKind::RacerList, "racer list", CaptionTail::Date},
    {ViewerKind::MotorList, "motor list", CaptionTail::Date},
    {ViewerKind::BoatList, "boat list", CaptionTail::Date},
    {ViewerKind::RacerDetail, "racer detail", CaptionTail::None},
    {ViewerKind::DataRoom, "data room", CaptionTail::Date},
    {ViewerKind::Points, "points table", CaptionTail::Date},
    {ViewerKind::Almanac, "almanac", CaptionTail::Date},
};

// The context every window opens with: the newest registered day, race 7.
ViewerContext measuredContext()
{
    ViewerContext c;
    QSqlQuery q = modkelmon::exec(QStringLiteral("SELECT kyosocode, setuscode, datescnt, \"Date\" FROM f_setfg "
                                                 "ORDER BY setuscode DESC, datescnt DESC LIMIT 1"));
    if (!q.next())
        bench::die(QStringLiteral("no paper day"));
    c.kyosocode = q.value(0).toString();
    c.setuscode = q.value(1).toString();
    c.datescnt = q.value(2).toString();
    c.date = q.value(3).toString();
    c.racesno = QStringLiteral("7");
    c.wakusno = QStringLiteral("1");
    c.flag = QStringLiteral("1");
    c.tourokuno = modkelmon::scalar(QStringLiteral("SELECT tourokuno FROM f_wakus WHERE setuscode = ? AND datescnt = ? "
                                                   "AND racesno = 7 AND wakusno = 1"),
                                    {c.setuscode, c.datescnt})
                      .toString();
    return c;
}

// Nanoseconds from creating the window to its first painted image. A race
// result is read a day earlier: a paper carries the results of the days
// before its own.
qint64 timeOpen(const Kind &k, ViewerContext context)
{
    if (k.kind == ViewerKind::RaceResult)
        context.datescnt = QString::number(context.datescnt.toInt() - 1);
    QElapsedTimer clock;
    clock.start();
    ViewerWindow *window = createViewer(k.kind);
    window->setContext(context);
    window->setCaption(QStringLiteral("bench"), k.tail);
    window->resize(window->sizeHint());
    window->activateFirstTime();
    const QPixmap painted = window->grab();
    const qint64 ns = clock.nsecsElapsed();
    if (painted.isNull())
        bench::die(QStringLiteral("%1 painted nothing").arg(QLatin1String(k.name)));
    delete window;
    return ns;
}

qint64 median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double ms(qint64 ns) { return ns / 1.0e6; }

} // namespace

int main(int argc, char **argv)
{
    bench::headless();
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int days = argc > 1 ? std::max(kMeetingDays, std::atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const int copies = (days + kMeetingDays - 1) / kMeetingDays - 1;

    QTemporaryDir tmp;
    if (!tmp.isValid())
        bench::die(QStringLiteral("no temporary folder"));
    const QStringList archives = bench::writePaperDays(tmp.filePath(QStringLiteral("archives")), kMeetingDays, true);
    const QString small = tmp.filePath(QStringLiteral("small"));
    const QString large = tmp.filePath(QStringLiteral("large"));
    QElapsedTimer clock;
    clock.start();
    for (const QString &folder : {small, large}) {
        bench::openDatabase(folder);
        read_m_kanri();
        bench::registerAll(archives);
    }
    bench::replicateMeetings(copies);
    const qint64 largeDays = modkelmon::scalar(QStringLiteral("SELECT count(*) FROM f_setfg")).toLongLong();
    std::printf("databases: %d paper days and %lld paper days, built in %.1f s\n", kMeetingDays,
                static_cast<long long>(largeDays), clock.elapsed() / 1000.0);

    std::vector<const Kind *> kinds;
    for (const Kind &k : kKinds)
        if (hasViewer(k.kind))
            kinds.push_back(&k);
    std::vector<std::vector<qint64>> smallNs(kinds.size()), largeNs(kinds.size());
    for (int round = 0; round < rounds; ++round) {
        // Which database goes first alternates, so neither side always meets
        // the caches the other one left.
        const QStringList order = round % 2 ? QStringList{large, small} : QStringList{small, large};
        for (const QString &folder : order) {
            bench::openDatabase(folder);
            const ViewerContext context = measuredContext();
            for (std::size_t i = 0; i < kinds.size(); ++i)
                (folder == small ? smallNs : largeNs)[i].push_back(timeOpen(*kinds[i], context));
        }
    }
    modkelmon::close_db();

    std::printf("median of %d rounds, load and first paint:\n", rounds);
    std::printf("  %-14s %12s %12s %8s\n", "window", "1 meeting", "large", "ratio");
    qint64 smallTotal = 0;
    qint64 largeTotal = 0;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const qint64 s = median(smallNs[i]);
        const qint64 l = median(largeNs[i]);
        smallTotal += s;
        largeTotal += l;
        std::printf("  %-14s %9.2f ms %9.2f ms %8.2f\n", kinds[i]->name, ms(s), ms(l), double(l) / double(s));
    }
    std::printf("all %zu windows: %.2f ms and %.2f ms\n", kinds.size(), ms(smallTotal), ms(largeTotal));
    std::printf("ratio %lld days / %d days, end to end: %.2f\n", static_cast<long long>(largeDays), kMeetingDays,
                double(largeTotal) / double(smallTotal));
    setProgramFolder(QString());
    return 0;
}
