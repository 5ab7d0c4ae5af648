// Fill of the race card (query and every built block into the grid model) on
// a database of one registered paper day and on one of 2,000 paper days: the
// fill must not grow with the database. The rows come from generated papers
// through register_archive, so every block has its columns filled; the large
// database holds 100 registered days and copies of them a year further back
// each. Times the first fill on a freshly opened connection (cold) and the
// median of many fills after it (warm), and the first paint of the filled
// all-blocks card.
// Usage: bench_racecard_fill [days]   (default 2000)

#include "benchsupport.h"
#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "common/settingsrow.h"
#include "platform/gridmodel.h"
#include "platform/ui/gridview.h"
#include "racecard/cardengine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <tuple>

using namespace kelmon;
using namespace kelmon::racecard;

namespace {

// Days that go through the importers; the rest are copies of them.
constexpr int kRegisteredDays = 100;
constexpr int kBoats = 6;
constexpr int kRace = 7;
// The measured paper day: the fourth of the first meeting, so that the
// blocks of this meeting's earlier days are filled too.
constexpr int kMeasuredDay = 3;

// The race every measurement reads: present in both databases.
struct RaceKey {
    QString setuscode, datescnt;
};

// Creates the database of a program folder from registered archives, copied
// `copies` times a year further back.
void buildDatabase(const QString &folder, const QStringList &archives, int copies)
{
    bench::openDatabase(folder);
    read_m_kanri();
    bench::registerAll(archives);
    bench::replicateMeetings(copies);
    modkelmon::close_db();
}

// The columns of f_wakus that are empty (null or blank text) in every row of
// the race, out of all of them.
QString emptyColumns(const RaceKey &key)
{
    const PaperTable *table = findTable("f_wakus");
    int empty = 0;
    for (const PaperColumn &c : table->cols()) {
        const QString name = QLatin1Char('"') + QLatin1String(c.name) + QLatin1Char('"');
        const int filled = modkelmon::scalar(QStringLiteral("select count(*) from f_wakus where setuscode = ? and datescnt = ?"
                                                            " and racesno = ? and %1 is not null and %1 <> ''")
                                                 .arg(name),
                                             {key.setuscode, key.datescnt, kRace})
                               .toInt();
        empty += filled == 0 ? 1 : 0;
    }
    return QStringLiteral("%1 of %2").arg(empty).arg(table->columnCount);
}

struct Timing {
    double coldUs = 0;
    double medianUs = 0;
    double firstPaintMs = 0;
};

// The first fill of the all-blocks card on a fresh connection, the median
// over `runs` fills after it, and the time of the first paint of the filled
// card.
Timing measure(const QString &folder, const RaceKey &key, int runs)
{
    setProgramFolder(folder);
    modkelmon::open_db();
    GridModel grid;
    RaceCardEngine card(grid);
    card.context.setuscode = key.setuscode;
    card.context.datescnt = key.datescnt;
    card.context.racesno = QString::number(kRace);
    card.layout = CardLayout::all();
    QElapsedTimer timer;
    Timing t;
    timer.start();
    card.disp_raceinfo(0);
    t.coldUs = timer.nsecsElapsed() / 1000.0;
    if (card.boatCount() != kBoats) {
        std::fprintf(stderr, "expected %d boats, found %d\n", kBoats, card.boatCount());
        std::exit(1);
    }
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        card.item_no = (i % 2) ? 7 : 1;   // frame order and a sorted order
        timer.start();
        card.disp_raceinfo(i % 2);
        times << timer.nsecsElapsed() / 1000.0;
    }
    std::sort(times.begin(), times.end());
    t.medianUs = times[times.size() / 2];

    GridView view;
    view.resize(1280, 700);
    view.setModel(&grid);
    timer.start();
    view.modelChanged();
    const QImage image = view.renderAll();
    t.firstPaintMs = timer.nsecsElapsed() / 1.0e6;
    Q_UNUSED(image);
    modkelmon::close_db();
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    bench::headless();
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int days = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    const int copies = std::max(0, (days + kRegisteredDays - 1) / kRegisteredDays - 1);

    // Built in memory when the machine has a memory file system, measured in
    // the ordinary temporary folder.
    std::unique_ptr<QTemporaryDir> buildDir = bench::memoryFolder();
    QTemporaryDir measured;
    if (!measured.isValid())
        bench::die(QStringLiteral("no temporary folder"));
    QElapsedTimer build;
    build.start();
    const QStringList archives = bench::writePaperDays(buildDir->filePath(QStringLiteral("archives")),
                                                       std::min(days, kRegisteredDays), false);
    const QString small = measured.filePath(QStringLiteral("small"));
    const QString large = measured.filePath(QStringLiteral("large"));
    for (const auto &[name, target, list, n] :
         {std::tuple{QStringLiteral("small"), small, archives.mid(std::min(kMeasuredDay, int(archives.size()) - 1), 1), 0},
          std::tuple{QStringLiteral("large"), large, archives, copies}}) {
        const QString folder = buildDir->filePath(name);
        buildDatabase(folder, list, n);
        if (!QDir().mkpath(target) || !QFile::copy(QDir(folder).filePath(QStringLiteral("kelmon.mdb")),
                                                   QDir(target).filePath(QStringLiteral("kelmon.mdb"))))
            bench::die(QStringLiteral("cannot copy the database into %1").arg(target));
    }
    buildDir.reset();

    // The race of the one registered day, the same in both databases.
    bench::openDatabase(small);
    RaceKey key;
    {
        QSqlQuery q = modkelmon::exec(QStringLiteral("select setuscode, datescnt from f_wakus where racesno = ? limit 1"), {kRace});
        if (!q.next())
            bench::die(QStringLiteral("no race %1 registered").arg(kRace));
        key = {q.value(0).toString(), q.value(1).toString()};
    }
    const QString empty = emptyColumns(key);
    modkelmon::close_db();
    bench::openDatabase(large);
    const qint64 largeDays = modkelmon::scalar(QStringLiteral("select count(*) from f_setfg")).toLongLong();
    modkelmon::close_db();
    std::printf("databases built in %.1f s (1 day: %.1f MB, %lld days: %.1f MB); race %s/%s/%d, f_wakus columns empty"
                " in all its rows: %s\n",
                build.elapsed() / 1000.0, QFileInfo(small + "/kelmon.mdb").size() / 1.0e6,
                static_cast<long long>(largeDays), QFileInfo(large + "/kelmon.mdb").size() / 1.0e6,
                qPrintable(key.setuscode), qPrintable(key.datescnt), kRace, qPrintable(empty));

    // Alternate the two databases over a few rounds and keep each one's best
    // median, so warm-up and frequency changes do not favour either side.
    const int runs = 300;
    const int rounds = 3;
    Timing one{1e18, 1e18, 0}, many{1e18, 1e18, 0};
    double coldPaintMs = 0;
    for (int round = 0; round < rounds; ++round) {
        const Timing a = measure(small, key, runs);
        const Timing b = measure(large, key, runs);
        if (round == 0)
            coldPaintMs = a.firstPaintMs;
        one.coldUs = std::min(one.coldUs, a.coldUs);
        many.coldUs = std::min(many.coldUs, b.coldUs);
        one.medianUs = std::min(one.medianUs, a.medianUs);
        many.medianUs = std::min(many.medianUs, b.medianUs);
        one.firstPaintMs = a.firstPaintMs;
        many.firstPaintMs = b.firstPaintMs;
    }
    std::printf("all-blocks card, first fill on a fresh connection (best of %d rounds): 1 day %.1f us, %lld days %.1f us\n",
                rounds, one.coldUs, static_cast<long long>(largeDays), many.coldUs);
    std::printf("all-blocks card, best median of %d fills over %d rounds: 1 day %.1f us, %lld days %.1f us\n", runs,
                rounds, one.medianUs, static_cast<long long>(largeDays), many.medianUs);
    std::printf("first paint of the filled all-blocks card: cold %.1f ms; warm: 1 day %.1f ms, %lld days %.1f ms\n",
                coldPaintMs, one.firstPaintMs, static_cast<long long>(largeDays), many.firstPaintMs);
    std::printf("ratio %lld days / 1 day: warm %.3f (target under 1.1), first fill %.3f\n",
                static_cast<long long>(largeDays), many.medianUs / one.medianUs, many.coldUs / one.coldUs);
    setProgramFolder(QString());
    return 0;
}
