// kelmon_paperserver: serves the paper archives of a folder on the loopback
// interface the way the publisher's server does, so that the viewer's download
// can be tried by hand. Point the viewer at it with
//
//   [WEB]
//   baseurl=http://127.0.0.1:PORT/
//
// in kelmon.ini of the program folder. The account tarnu/tarnu (count "∞")
// always exists; --user/--password/--count add one more.
//
//   kelmon_paperserver --folder DIR [--port N] [--user U --password P --count N]

#include "paperserver/paperserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Serves paper archives like the publisher's server."));
    parser.addHelpOption();
    const QCommandLineOption folder(QStringLiteral("folder"), QStringLiteral("Folder of *.lzh archives."), QStringLiteral("DIR"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port (0: any free)."), QStringLiteral("N"),
                                  QStringLiteral("0"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("Another account's user name."), QStringLiteral("U"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Its password."), QStringLiteral("P"));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Its remaining downloads."), QStringLiteral("N"),
                                   QStringLiteral("5"));
    parser.addOptions({folder, port, user, password, count});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parser.isSet(folder)) {
        err << "kelmon_paperserver: --folder DIR is required (kelmon_genpaper --out DIR makes archives)\n";
        return 2;
    }
    kelmon::PaperServer server;
    if (parser.isSet(user))
        server.addAccount(parser.value(user), parser.value(password), parser.value(count).toInt());
    const int archives = server.addFolder(parser.value(folder));
    if (!server.listen(quint16(parser.value(port).toUInt()))) {
        err << "kelmon_paperserver: cannot listen on port " << parser.value(port) << "\n";
        return 1;
    }
    out << "serving " << archives << " archive(s) at " << server.baseUrl() << Qt::endl;
    return app.exec();
}
