#include "downloadenv.h"

#include "download/downloadflow.h"
#include "download/kmrdldctl.h"
#include "download/setupregistry.h"

#include <QDir>
#include <QEventLoop>
#include <QSettings>
#include <QTimer>

namespace kelmon::test {

DownloadEnv::DownloadEnv(int count, bool openDatabase) : folder(openDatabase)
{
    setup::setFilePath(folder.file("setup.ini"));
    DownloadFlow::resetRunState();
    // A silent server is given up on quickly here.
    kmrdldctl::setSilenceTimeout(2500);
    QDir().mkpath(receive());
    // Generated once per test program: every test gets the same papers.
    static QList<SamplePaper> made;
    for (int i = 0; i < count; ++i) {
        if (i == made.size()) {
            SamplePaperOptions o;
            o.venue = 12;
            o.date = QDate(2002, 3, 5 + i);
            o.day = 1 + i;
            o.seed = 3;
            o.photos = i == 0;
            made << makeSamplePaper(o);
        }
        papers << made.at(i);
        server.addArchive(papers.last().archiveName, papers.last().archive);
    }
    server.listen();
    QSettings ini(folder.file("kelmon.ini"), QSettings::IniFormat);
    ini.setValue("WEB/baseurl", server.baseUrl());
}

DownloadEnv::~DownloadEnv()
{
    kmrdldctl::setSilenceTimeout(0);
    setup::setFilePath(QString());
}

QStringList DownloadEnv::received() const
{
    return QDir(receive()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

void DownloadEnv::noModem()
{
    setup::setValue("DSET", "True");
    setup::setValue("DCK", "1");
}

bool waitFor(const std::function<bool()> &done, int ms)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(1);
    limit.start(ms);
    loop.exec();
    return done();
}

} // namespace kelmon::test
