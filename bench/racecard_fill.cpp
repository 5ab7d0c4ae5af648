// Fill of the race card (query and every built block into the grid model) on
// a database of one paper day and on one of 2,000 paper days: the fill must
// not grow with the database. Also times the first paint of the filled
// all-blocks card.
// Usage: bench_racecard_fill [days]   (default 2000)

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
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace kelmon;
using namespace kelmon::racecard;

namespace {

constexpr int kRaces = 12;
constexpr int kBoats = 6;
// The paper day every measurement reads: present in both databases.
constexpr int kSetus = 7000;
constexpr int kDay = 3;
constexpr int kRace = 7;

// One f_wakus row in table order: keys, plausible rates and counts in the
// number columns, class codes and short texts in the text columns.
QVariantList boatRow(const PaperTable &table, int setus, int day, int race, int frame,
                     QRandomGenerator &rng)
{
    QVariantList values;
    values.reserve(int(table.columnCount));
    for (const PaperColumn &col : table.cols()) {
        const QByteArray name(col.name);
        if (name == "setuscode") values << setus;
        else if (name == "datescnt") values << day;
        else if (name == "racesno") values << race;
        else if (name == "wakusno") values << frame;
        else if (name == "sensyname") values << QStringLiteral("選手名%1").arg(frame);
        else if (name.startsWith("classcode")) values << QStringLiteral("A%1").arg(1 + rng.bounded(2));
        else if (name.startsWith("flag_")) values << 1 + rng.bounded(14);
        else if (name.startsWith("syoritu")) values << rng.bounded(900) / 100.0;
        else if (col.kind == 'N') values << rng.bounded(100);
        else values << QString();
    }
    return values;
}

// Creates the database of a program folder with `days` paper days of f_wakus
// rows, in one transaction with one prepared statement.
void buildDatabase(const QString &folder, int days)
{
    setProgramFolder(folder);
    modkelmon::open_db();
    read_m_kanri();
    const PaperTable *table = findTable("f_wakus");
    QStringList marks;
    for (std::size_t i = 0; i < table->columnCount; ++i)
        marks << QStringLiteral("?");
    QSqlQuery insert(modkelmon::db());
    insert.prepare(QStringLiteral("insert into f_wakus values (%1)").arg(marks.join(',')));
    QRandomGenerator rng(42);
    modkelmon::Transaction transaction;
    for (int d = 0; d < days; ++d) {
        // Consecutive meeting days of six days each; day d = days / 2 is the
        // measured day (kSetus, kDay).
        const int offset = d - days / 2 + (kDay - 1);
        const int meeting = offset >= 0 ? offset / 6 : -((5 - offset) / 6);
        const int setuscode = kSetus + meeting;
        const int day = offset - meeting * 6 + 1;
        for (int race = 1; race <= kRaces; ++race)
            for (int frame = 1; frame <= kBoats; ++frame) {
                const QVariantList values = boatRow(*table, setuscode, day, race, frame, rng);
                for (int i = 0; i < values.size(); ++i)
                    insert.bindValue(i, values[i]);
                if (!insert.exec()) {
                    std::fprintf(stderr, "insert failed: %s\n", qPrintable(insert.lastError().text()));
                    std::exit(1);
                }
            }
    }
    transaction.commit();
}

struct Timing {
    double medianUs = 0;
    double firstPaintMs = 0;
};

// Median fill time of the all-blocks card over `runs` fills, and the time of
// the first paint of the filled card.
Timing measure(const QString &folder, int runs)
{
    setProgramFolder(folder);
    modkelmon::open_db();
    GridModel grid;
    RaceCardEngine card(grid);
    card.context.setuscode = QString::number(kSetus);
    card.context.datescnt = QString::number(kDay);
    card.context.racesno = QString::number(kRace);
    card.layout = CardLayout::all();
    card.disp_raceinfo(0);   // warm the page cache
    if (card.boatCount() != kBoats) {
        std::fprintf(stderr, "expected %d boats, found %d\n", kBoats, card.boatCount());
        std::exit(1);
    }
    QVector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        card.item_no = (i % 2) ? 7 : 1;   // frame order and a sorted order
        timer.start();
        card.disp_raceinfo(i % 2);
        times << timer.nsecsElapsed() / 1000.0;
    }
    std::sort(times.begin(), times.end());
    Timing t;
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
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int days = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    QTemporaryDir small, large;
    QElapsedTimer build;
    build.start();
    buildDatabase(small.path(), 1);
    modkelmon::close_db();
    buildDatabase(large.path(), days);
    modkelmon::close_db();
    std::printf("databases built in %.1f s (1 day: %lld bytes, %d days: %lld bytes)\n",
                build.elapsed() / 1000.0, QFileInfo(small.path() + "/kelmon.mdb").size(), days,
                QFileInfo(large.path() + "/kelmon.mdb").size());

    // Alternate the two databases over a few rounds and keep each one's best
    // median, so warm-up and frequency changes do not favour either side.
    const int runs = 300;
    const int rounds = 3;
    Timing one{1e18, 0}, many{1e18, 0};
    double coldPaintMs = 0;
    for (int round = 0; round < rounds; ++round) {
        const Timing a = measure(small.path(), runs);
        const Timing b = measure(large.path(), runs);
        if (round == 0)
            coldPaintMs = a.firstPaintMs;
        one.medianUs = std::min(one.medianUs, a.medianUs);
        many.medianUs = std::min(many.medianUs, b.medianUs);
        one.firstPaintMs = a.firstPaintMs;
        many.firstPaintMs = b.firstPaintMs;
    }
    std::printf("all-blocks card fill, best median of %d fills over %d rounds: 1 day %.1f us, %d days %.1f us\n",
                runs, rounds, one.medianUs, days, many.medianUs);
    std::printf("first paint of the filled all-blocks card: cold %.1f ms; warm: 1 day %.1f ms, %d days %.1f ms\n",
                coldPaintMs, one.firstPaintMs, days, many.firstPaintMs);
    const double ratio = many.medianUs / one.medianUs;
    std::printf("ratio %d days / 1 day: %.3f (%s 1.2)\n", days, ratio, ratio < 1.2 ? "under" : "NOT under");
    setProgramFolder(QString());
    return 0;
}
