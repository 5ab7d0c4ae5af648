// The help layer: which page a topic opens, and the web addresses.

#include "platform/help.h"
#include "platform/messages.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

using namespace kelmon;

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        help::setUrlOpener([this](const QUrl &url) {
            opened << url;
            return true;
        });
    }
    void cleanupTestCase() { help::setUrlOpener({}); }
    void init() { opened.clear(); }

    void helpFolderIsNextToTheExecutable()
    {
        QCOMPARE(QDir(help::helpFolder()), QDir(QStringLiteral(KELMON_BUILD_DIR "/help")));
    }

    // Every topic the program asks for has its own page, headed by the title
    // of what it describes; anything else falls back to the contents.
    void topicOpensItsPage_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("heading");
        QTest::newRow("contents") << 0 << "index.html" << "ケルモンデジタル ヘルプ";
        QTest::newRow("fixed columns") << 1010 << "topic1010.html" << "固定列";
        const char *titles[24] = {
            "選手の勝率", "選手の２連対率", "選手の３連対率", "選手の全国勝利度数", "選手の全国着回数率",
            "選手の当地勝利度数", "選手の当地着回数率", "選手の前走３場所成績", "選手の前回当地成績",
            "選手の次回斡旋予定", "選手のコース別実績", "モーターの基本情報", "モーターの勝利度数",
            "モーターの最高時計", "モーターの前回成績", "ボートの基本情報", "ボートの勝利度数",
            "ボートの前回成績", "今節の成績(着順)", "今節の成績(得点状況)", "今節の成績(コース・ＳＴ)",
            "今節の成績(展示タイム)", "早見", "お知らせ"};
        for (int code = 1; code <= 24; ++code) {
            const int topic = help::blockTopic(code);
            QTest::addRow("block %d", code) << topic << QStringLiteral("topic%1.html").arg(topic)
                                            << QString::fromUtf8(titles[code - 1]);
        }
        QTest::newRow("unknown topic") << 1015 << "index.html" << "ケルモンデジタル ヘルプ";
        QTest::newRow("negative") << -1 << "index.html" << "ケルモンデジタル ヘルプ";
    }
    void topicOpensItsPage()
    {
        QFETCH(int, context);
        QFETCH(QString, page);
        QFETCH(QString, heading);
        QVERIFY(help::showHelp(context));
        QCOMPARE(opened.size(), 1);
        const QUrl url = opened.first();
        QVERIFY(url.isLocalFile());
        QCOMPARE(QFileInfo(url.toLocalFile()).fileName(), page);
        QFile file(url.toLocalFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY2(html.contains(QStringLiteral("<h1>") + heading), qPrintable(page));
        QVERIFY(html.contains(QStringLiteral("charset=\"utf-8\"")));
    }

    // Every link between the pages leads to a page that exists.
    void linksResolve()
    {
        const QDir dir(help::helpFolder());
        const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)\""));
        for (const QString &name : dir.entryList({QStringLiteral("*.html")})) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            auto it = link.globalMatch(QString::fromUtf8(file.readAll()));
            while (it.hasNext()) {
                const QString target = it.next().captured(1);
                QVERIFY2(QFileInfo::exists(dir.filePath(target)), qPrintable(name + " -> " + target));
            }
        }
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
        QTest::newRow("only home") << "[WEB]\nhome=https://home.test/\n" << support << "https://home.test/";
        QTest::newRow("empty values") << "[WEB]\nsupport=\nhome=  \n" << support << home;
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

private:
    QList<QUrl> opened;
};

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
