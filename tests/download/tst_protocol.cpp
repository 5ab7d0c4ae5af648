// The server protocol: how queries are built, how answers read, which names
// and bodies are accepted.

#include "download/protocol.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QSettings>
#include <QtTest>

using namespace kelmon;

class TestProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void queryValues_data();
    void queryValues();
    void queriesKeepTheirKeyOrder();
    void specialAnswers_data();
    void specialAnswers();
    void checkAnswers_data();
    void checkAnswers();
    void archiveNames_data();
    void archiveNames();
    void archiveBodies();
    void baseUrlFromConfiguration_data();
    void baseUrlFromConfiguration();
};

void TestProtocol::queryValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sent");
    QTest::newRow("e-mail address") << "taro.y-1_a@mail.example.jp" << "taro.y-1_a@mail.example.jp";
    QTest::newRow("sample") << "tarnu" << "tarnu";
    QTest::newRow("ampersand") << "a&b" << "a%26b";
    QTest::newRow("equals, hash, plus, percent") << "=#+%" << "%3D%23%2B%25";
    QTest::newRow("blank and tab") << "a b\tc" << "a%20b%09c";
    QTest::newRow("line break") << "a\r\n" << "a%0D%0A";
    QTest::newRow("not allowed in an address") << "\"<>\\^`{|}" << "%22%3C%3E%5C%5E%60%7B%7C%7D";
    QTest::newRow("kept punctuation") << "!$'()*,;:/?~" << "!$'()*,;:/?~";
    // Code page 932: あ is 82 A0, ∞ is 81 87, half-width ｱ is B1.
    QTest::newRow("non-ASCII as code page 932") << "あ∞ｱ" << "%82%A0%81%87%B1";
    QTest::newRow("empty") << "" << "";
}

void TestProtocol::queryValues()
{
    QFETCH(QString, value);
    QFETCH(QString, sent);
    QCOMPARE(protocol::queryValue(value), sent);
}

void TestProtocol::queriesKeepTheirKeyOrder()
{
    QCOMPARE(protocol::checkQuery("u@x.jp", "p&w"), QString("WCI=check&KMUSR=u@x.jp&KMPSS=p%26w"));
    QCOMPARE(protocol::dwldfileQuery("tarnu", "023b0a11.lzh"), QString("WCI=dwldfile&KMUSR=tarnu&FNM=023b0a11.lzh"));
    QCOMPARE(protocol::fileQuery("K1", "023b0a11.lzh"), QString("WCI=K1&FNM=023b0a11.lzh"));
    QCOMPARE(protocol::delfileQuery("tarnu"), QString("WCI=delfile&KMUSR=tarnu"));
    const QUrl url = protocol::requestUrl("http://127.0.0.1:8/k/", protocol::checkQuery("u@x.jp", "a%b"));
    QCOMPARE(url.toString(QUrl::FullyEncoded),
             QString("http://127.0.0.1:8/k/wckelmoni2.ASP?WCI=check&KMUSR=u@x.jp&KMPSS=a%25b"));
}

void TestProtocol::specialAnswers_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("status");
    const QString invalid = "ユーザ名とパスワードが無効です...";
    const QString none = "ケルモンデジタルサイトにデータが有りません...";
    const QString site = "サイト側でエラーが発生しました...メールなどで連絡して下さい...";
    const QString retry = "エラーが発生しました...再試行して下さい...";
    QTest::newRow("False") << QByteArray("False") << int(protocol::Special::False) << invalid;
    QTest::newRow("FALSE with blanks") << QByteArray("  FALSE ") << int(protocol::Special::False) << invalid;
    QTest::newRow("non") << QByteArray("non") << int(protocol::Special::Non) << none;
    QTest::newRow("NoN with CR LF") << QByteArray("NoN\r\n") << int(protocol::Special::Non) << none;
    QTest::newRow("Error") << QByteArray("Error") << int(protocol::Special::Error) << site;
    QTest::newRow("eRRoR blanks") << QByteArray(" eRRoR  ") << int(protocol::Special::Error) << site;
    QTest::newRow("empty") << QByteArray() << int(protocol::Special::Empty) << retry;
    QTest::newRow("blanks only") << QByteArray(" \r\n ") << int(protocol::Special::Empty) << retry;
    QTest::newRow("list") << QByteArray("a.lzh,5") << int(protocol::Special::None) << QString();
    QTest::newRow("False inside a list") << QByteArray("False,1") << int(protocol::Special::None) << QString();
}

void TestProtocol::specialAnswers()
{
    QFETCH(QByteArray, body);
    QFETCH(int, kind);
    QFETCH(QString, status);
    const protocol::Special s = protocol::special(protocol::answerText(body));
    QCOMPARE(int(s), kind);
    QCOMPARE(protocol::specialStatus(s), status);
}

void TestProtocol::checkAnswers_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("sample");
    QTest::newRow("two and 5") << QByteArray("a.lzh,b.lzh,5") << true << QStringList{"a.lzh", "b.lzh"} << "5" << false;
    QTest::newRow("only 0") << QByteArray("0") << true << QStringList{} << "0" << false;
    QTest::newRow("infinity in cp932") << QByteArray("a.lzh,\x81\x87") << true << QStringList{"a.lzh"} << "∞" << true;
    QTest::newRow("trailing CR LF") << QByteArray("a.lzh,12\r\n") << true << QStringList{"a.lzh"} << "12" << false;
    QTest::newRow("count a word") << QByteArray("a.lzh,five") << false << QStringList{} << "" << false;
    QTest::newRow("count negative") << QByteArray("a.lzh,-1") << false << QStringList{} << "" << false;
    QTest::newRow("count empty") << QByteArray("a.lzh,") << false << QStringList{} << "" << false;
    QTest::newRow("html page") << QByteArray("<html><body>Server Error</body></html>") << false << QStringList{} << ""
                               << false;
}

void TestProtocol::checkAnswers()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, valid);
    QFETCH(QStringList, files);
    QFETCH(QString, count);
    QFETCH(bool, sample);
    const protocol::CheckAnswer a = protocol::readCheckAnswer(protocol::answerText(body));
    QCOMPARE(a.valid, valid);
    if (!valid)
        return;
    QCOMPARE(a.files, files);
    QCOMPARE(a.count, count);
    QCOMPARE(a.sample, sample);
}

void TestProtocol::archiveNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "023b0a11.lzh" << true;
    QTest::newRow("capitals") << "023B0A11.LZH" << true;
    QTest::newRow("parent folder") << "../x.lzh" << false;
    QTest::newRow("absolute") << "/x.lzh" << false;
    QTest::newRow("sub folder") << "sub/x.lzh" << false;
    QTest::newRow("backslash") << "sub\\x.lzh" << false;
    QTest::newRow("dots inside") << "x..lzh" << false;
    QTest::newRow("leading dot") << ".x.lzh" << false;
    QTest::newRow("extension only") << ".lzh" << false;
    QTest::newRow("control character") << "x\n.lzh" << false;
    QTest::newRow("other extension") << "x.zip" << false;
    QTest::newRow("lzh inside") << "x.lzh.exe" << false;
    QTest::newRow("empty") << "" << false;
}

void TestProtocol::archiveNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QCOMPARE(protocol::isPlainArchiveName(name), accepted);
}

void TestProtocol::archiveBodies()
{
    SamplePaperOptions o;
    o.venue = 1;
    o.date = QDate(2002, 3, 11);
    o.day = 1;
    for (int level = 0; level <= 2; ++level) {
        o.lhaLevel = level;
        QVERIFY(protocol::looksLikeLhaArchive(makeSamplePaper(o).archive));
    }
    QFile lh5(test::dataPath("paper_lh5.lzh"));
    QVERIFY(lh5.open(QIODevice::ReadOnly));
    QVERIFY(protocol::looksLikeLhaArchive(lh5.readAll()));
    QVERIFY(!protocol::looksLikeLhaArchive(QByteArray()));
    QVERIFY(!protocol::looksLikeLhaArchive("<html><body>404 Not Found</body></html>"));
    QVERIFY(!protocol::looksLikeLhaArchive("False"));
}

void TestProtocol::baseUrlFromConfiguration_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("base");
    QTest::newRow("missing") << QString() << "https://example.com/kelmon/server/";
    QTest::newRow("with slash") << "http://127.0.0.1:8080/k/" << "http://127.0.0.1:8080/k/";
    QTest::newRow("without slash") << "http://127.0.0.1:8080/k" << "http://127.0.0.1:8080/k/";
    QTest::newRow("not an address") << "no address" << "https://example.com/kelmon/server/";
}

void TestProtocol::baseUrlFromConfiguration()
{
    QFETCH(QString, configured);
    QFETCH(QString, base);
    test::ProgramFolder folder(false);
    if (!configured.isNull()) {
        QSettings ini(folder.file("kelmon.ini"), QSettings::IniFormat);
        ini.setValue("WEB/baseurl", configured);
    }
    QCOMPARE(protocol::baseUrl(), base);
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
