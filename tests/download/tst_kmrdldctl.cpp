// The download control against the loopback paper server: one transfer at a
// time, whole bodies, and every kind of failure ending in DownLoadCancel.

#include "download/kmrdldctl.h"
#include "helpers/downloadenv.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kelmon;
using Fault = PaperServer::Fault;
using Step = PaperServer::Step;

namespace {

QString checkUrl(const test::DownloadEnv &env)
{
    return env.server.baseUrl() + "wckelmoni2.ASP?WCI=check&KMUSR=tarnu&KMPSS=tarnu";
}

} // namespace

class TestKmrdldctl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void secondDownLoadIsRefused();
    void endings_data();
    void endings();
    void silentServer_data();
    void silentServer();
};

void TestKmrdldctl::secondDownLoadIsRefused()
{
    test::DownloadEnv env(1);
    kmrdldctl ctl;
    QSignalSpy complete(&ctl, &kmrdldctl::DownLoadComplete);
    QVERIFY(ctl.DownLoad(checkUrl(env)));
    QVERIFY(!ctl.DownLoad(env.server.baseUrl() + "wckelmoni2.ASP?WCI=delfile&KMUSR=tarnu"));
    QVERIFY(ctl.busy());
    QVERIFY(test::waitFor([&] { return complete.size() == 1; }));
    QVERIFY(!ctl.busy());
    QCOMPARE(env.server.requests(), QStringList{test::kSampleCheck});
    // Idle again: the next transfer is accepted.
    QVERIFY(ctl.DownLoad(checkUrl(env)));
    QVERIFY(test::waitFor([&] { return complete.size() == 2; }));
}

void TestKmrdldctl::endings_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("cutShort");
    QTest::addColumn<bool>("noLength");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("completes");
    QTest::addColumn<QByteArray>("body");
    const QByteArray list = QByteArray("a.lzh,b.lzh,") + "\x81\x87";
    QTest::newRow("whole") << 200 << 0 << false << list << true << list;
    QTest::newRow("empty body") << 200 << 0 << false << QByteArray("") << true << QByteArray();
    QTest::newRow("no length") << 200 << 0 << true << list << true << list;
    QTest::newRow("cut short") << 200 << 3 << false << list << false << QByteArray();
    QTest::newRow("404") << 404 << 0 << false << QByteArray() << false << QByteArray();
    QTest::newRow("500 with a body") << 500 << 0 << false << QByteArray("Error") << false << QByteArray();
}

void TestKmrdldctl::endings()
{
    QFETCH(int, status);
    QFETCH(int, cutShort);
    QFETCH(bool, noLength);
    QFETCH(QByteArray, answer);
    QFETCH(bool, completes);
    QFETCH(QByteArray, body);
    test::DownloadEnv env(0);
    Fault f;
    f.status = status;
    f.cutShort = cutShort;
    f.noLength = noLength;
    if (!answer.isNull())
        f.answer = answer;
    env.server.setFault(Step::Check, f);
    kmrdldctl ctl;
    QSignalSpy complete(&ctl, &kmrdldctl::DownLoadComplete);
    QSignalSpy cancel(&ctl, &kmrdldctl::DownLoadCancel);
    QVERIFY(ctl.DownLoad(checkUrl(env)));
    QVERIFY(test::waitFor([&] { return complete.size() + cancel.size() == 1; }));
    QTest::qWait(50);   // nothing more follows
    QCOMPARE(complete.size() + cancel.size(), 1);
    QCOMPARE(complete.size(), completes ? 1 : 0);
    if (completes)
        QCOMPARE(complete.first().first().toByteArray(), body);
    QVERIFY(!ctl.busy());
}

void TestKmrdldctl::silentServer_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("cancelled by the user") << true;
    QTest::newRow("given up after silence") << false;
}

void TestKmrdldctl::silentServer()
{
    QFETCH(bool, cancelled);
    test::DownloadEnv env(0);
    Fault f;
    f.silent = true;
    env.server.setFault(Step::Check, f);
    kmrdldctl ctl;
    QSignalSpy complete(&ctl, &kmrdldctl::DownLoadComplete);
    QSignalSpy cancel(&ctl, &kmrdldctl::DownLoadCancel);
    QVERIFY(ctl.DownLoad(checkUrl(env)));
    QVERIFY(test::waitFor([&] { return env.server.requests().size() == 1; }));
    if (cancelled) {
        ctl.Cancel();
        QCOMPARE(cancel.size(), 1);
    }
    QVERIFY(test::waitFor([&] { return cancel.size() == 1; }));
    QVERIFY(!ctl.busy());
    QTest::qWait(50);
    QCOMPARE(cancel.size(), 1);
    QCOMPARE(complete.size(), 0);
    // The control takes the next transfer.
    env.server.clearFaults();
    QVERIFY(ctl.DownLoad(checkUrl(env)));
    QVERIFY(test::waitFor([&] { return complete.size() == 1; }));
}

QTEST_GUILESS_MAIN(TestKmrdldctl)
#include "tst_kmrdldctl.moc"
