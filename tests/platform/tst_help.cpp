// The help layer: which page a topic opens, and the web addresses.

#include "common/programfolder.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtTest>

using namespace kelmon;

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }
    void init()
    {
        opened.clear();
        help::setUrlOpener([this](const QUrl &url) {
            opened << url;
            return true;
        });
    }

    // Every topic the program asks for has its own page; anything else falls
    // back to the contents.
    void topicOpensItsPage_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("contents") << 0 << "index.html";
        // The fixed columns open topic 1010, block code c topic 1010 + 10 c.
        QTest::newRow("fixed columns") << 1010 << "topic1010.html";
        for (int code = 1; code <= 24; ++code)
            QTest::addRow("block %d", code) << 1010 + 10 * code << QStringLiteral("topic%1.html").arg(1010 + 10 * code);
        QTest::newRow("unknown topic") << 1015 << "index.html";
        QTest::newRow("negative") << -1 << "index.html";
    }
    void topicOpensItsPage()
    {
        QFETCH(int, context);
        QFETCH(QString, page);
        QVERIFY(help::showHelp(context));
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened.first().isLocalFile());
        const QFileInfo file(opened.first().toLocalFile());
        QCOMPARE(file.fileName(), page);
        QVERIFY(file.exists());
    }

    // The web addresses come from kelmon.ini in the program folder; a missing,
    // empty or unusable value falls back to the default.
    void webAddresses_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("support");
        QTest::addColumn<QString>("home");
        const QString support = QString::fromLatin1(help::kDefaultSupportUrl);
        const QString home = QString::fromLatin1(help::kDefaultHomeUrl);
        QTest::newRow("no file") << QString() << support << home;
        QTest::newRow("configured") << "[WEB]\nsupport=https://support.test/k\nhome=http://home.test/\n"
                                    << "https://support.test/k" << "http://home.test/";
        QTest::newRow("no scheme") << "[WEB]\nsupport=support page\nhome=home.test\n" << support << home;
    }
    void webAddresses()
    {
        QFETCH(QString, ini);
        QFETCH(QString, support);
        QFETCH(QString, home);
        test::ProgramFolder folder(false);
        if (!ini.isNull()) {
            QFile file(help::configPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ini.toUtf8());
        }
        QVERIFY(help::openSupportPage());
        QVERIFY(help::openHomePage());
        QCOMPARE(opened, (QList<QUrl>{QUrl(support), QUrl(home)}));
        QCOMPARE(QFileInfo(help::configPath()).dir(), QDir(folder.path()));
    }

    // When the desktop opens nothing, the help and web commands warn once,
    // naming the help page's path or the web address; an opened page warns not.
    // A page of the program folder is named by its path as the user writes
    // it: blanks and Japanese as they are, not a file address.
    void pageNotOpenedIsNamed_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("support");   // a bare name: a page in the program folder
        QTest::addColumn<QString>("target");    // "%1": the program folder
        QTest::newRow("help") << 0 << "https://support.test/k"
                              << QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/help/index.html");
        QTest::newRow("support") << 1 << "https://support.test/k" << "https://support.test/k";
        QTest::newRow("home") << 2 << "https://support.test/k" << "http://home.test/";
        QTest::newRow("support page in the program folder") << 1 << "サポート ページ.html" << "%1/サポート ページ.html";
    }
    void pageNotOpenedIsNamed()
    {
        QFETCH(int, command);
        QFETCH(QString, support);
        QFETCH(QString, target);
        test::ProgramFolder temporary(false);
        // A program folder whose path holds a blank and Japanese.
        const QString folder = temporary.file(QStringLiteral("ケルモン 紙面"));
        QVERIFY(QDir().mkpath(folder));
        setProgramFolder(folder);
        if (!support.contains(u':'))
            support = QString::fromLatin1(QUrl::fromLocalFile(folder + u'/' + support).toEncoded());
        QFile file(help::configPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[WEB]\nsupport=" + support.toUtf8() + "\nhome=http://home.test/\n");
        file.close();
        bool (*const commands[])() = {[] { return help::showHelp(0); }, help::openSupportPage, help::openHomePage};
        ScriptedMessages shown;
        for (const bool opens : {true, false}) {
            help::setUrlOpener([opens](const QUrl &) { return opens; });
            QCOMPARE(commands[command](), opens);
            QCOMPARE(shown.shown().size(), std::size_t(opens ? 0 : 1));
        }
        QCOMPARE(shown.shown().front().title, QStringLiteral("警告です..."));
        const QStringList lines = shown.shown().front().text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.value(2), target.replace(QStringLiteral("%1"), QDir::toNativeSeparators(folder)));
    }

private:
    QList<QUrl> opened;
};

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
