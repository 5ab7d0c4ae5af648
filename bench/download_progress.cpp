// The download dialog while an archive arrives: a list of 8,000 papers and a
// 16 MiB archive reported in pieces of 1 KiB (16,384 progress reports). Each
// report goes through the download's state into the shown dialog and is
// followed by one turn of the event loop, in which the dialog paints, as when
// the pieces come from the network. The old-style side does on top of that,
// per report, what the dialog did before: both style sheets applied again and
// every row of the list read and compared. Same dialog, same rows, same
// pieces, timed one after the other in one run; the ratio is reported, never
// asserted.
// Usage: bench_download_progress [rows] [MiB]   (default 8000 rows, 1 MiB; with
// 16 MiB the old-style side alone takes minutes)

#include "benchsupport.h"
#include "common/programfolder.h"
#include "download/setupregistry.h"
#include "download/ui/frmdld.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace kelmon;

namespace {

constexpr qint64 kPiece = 1024;

// What the dialog did per report before: the style sheets applied again and
// the list's rows read to see whether they had changed.
void oldStyleWork(frmdld &d)
{
    d.List1->setStyleSheet(QString(d.List1->styleSheet()));
    d.Label3->setStyleSheet(QString(d.Label3->styleSheet()));
    QStringList shown;
    for (int i = 0; i < d.List1->count(); ++i)
        shown << d.List1->item(i)->text();
    if (shown != d.flow.rows())
        bench::die(QStringLiteral("the list does not show the rows"));
}

// Reports an archive of `bytes` in pieces of 1 KiB; the time in nanoseconds.
qint64 transfer(frmdld &d, qint64 bytes)
{
    QElapsedTimer clock;
    clock.start();
    for (qint64 read = kPiece; read <= bytes; read += kPiece) {
        emit d.flow.KmrDldCtl2.DownLoadProgress(read, bytes);
        QCoreApplication::processEvents();
    }
    return clock.nsecsElapsed();
}

} // namespace

int main(int argc, char **argv)
{
    bench::headless();
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 8000;
    const qint64 bytes = (argc > 2 ? std::max(1, std::atoi(argv[2])) : 1) * qint64(1024 * 1024);

    QTemporaryDir folder;
    if (!folder.isValid())
        bench::die(QStringLiteral("no temporary folder"));
    setProgramFolder(folder.path());
    setup::setFilePath(folder.filePath(QStringLiteral("setup.ini")));

    frmdld d;
    d.show();
    // The list as a log-in answer brings it: archive names, then the count.
    QStringList names;
    for (int i = 0; i < rows; ++i)
        names << QStringLiteral("02%1b0a11.lzh").arg(i % 9 + 1);
    emit d.flow.KmrDldCtl1.DownLoadComplete((names.join(u',') + QStringLiteral(",5")).toLatin1());
    QCoreApplication::processEvents();
    if (d.List1->count() != rows)
        bench::die(QStringLiteral("the list was not filled"));

    const qint64 reports = bytes / kPiece;
    const qint64 now = transfer(d, bytes);
    const QMetaObject::Connection extra = QObject::connect(&d.flow, &DownloadFlow::changed, &d, [&d] { oldStyleWork(d); });
    const qint64 old = transfer(d, bytes);
    QObject::disconnect(extra);
    if (d.StatusBar1->currentMessage() != QStringLiteral("%1B/%1B ダウンロード済み...").arg(bytes))
        bench::die(QStringLiteral("the last report is not shown"));

    std::printf("%d rows, %lld MiB in %lld reports of 1 KiB\n", rows, static_cast<long long>(bytes >> 20),
                static_cast<long long>(reports));
    std::printf("old-style: %.2f s (%.1f us a report)\n", old / 1e9, old / 1e3 / double(reports));
    std::printf("now:       %.2f s (%.1f us a report)\n", now / 1e9, now / 1e3 / double(reports));
    std::printf("ratio end to end old-style / now: %.1f\n", double(old) / double(now));
    return 0;
}
