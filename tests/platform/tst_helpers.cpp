#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/twips.h"
#include "platform/yield.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

using namespace kelmon;

class TestHelpers : public QObject {
    Q_OBJECT
private slots:
    void twips_data();
    void twips();
    void fontSubstitutes_data();
    void fontSubstitutes();
    void yieldDoesNotNest();
    void hourglassNests();
};

void TestHelpers::twips_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("hidden") << 0 << 0;
    QTest::newRow("separator keeps a pixel") << 10 << 1;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("card row") << 190 << 13;
    QTest::newRow("name column") << 1540 << 103;
    QTest::newRow("negative") << -1 << 0;
}

void TestHelpers::twips()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

void TestHelpers::fontSubstitutes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("fixedPitch");
    QTest::newRow("grid gothic") << QStringLiteral("ＭＳ ゴシック") << true;
    QTest::newRow("default") << QString() << true;
    QTest::newRow("proportional gothic") << QStringLiteral("ＭＳ Ｐゴシック") << false;
    QTest::newRow("rounded gothic") << QStringLiteral("HG丸ｺﾞｼｯｸM-PRO") << false;
    QTest::newRow("version dialog") << QStringLiteral("Comic Sans MS") << false;
}

void TestHelpers::fontSubstitutes()
{
    QFETCH(QString, name);
    QFETCH(bool, fixedPitch);
    // The first family of every substitute is installed here, so the font
    // in use is that family and Japanese text never falls back to boxes.
    const QStringList families = fontFamilies(name);
    QVERIFY(!families.isEmpty());
    QVERIFY2(QFontDatabase::families().contains(families.first()), qPrintable(families.first()));
    const QFont font = makeFont(name, 9, true);
    QCOMPARE(QFontInfo(font).family(), families.first());
    QCOMPARE(font.pixelSize(), 12);
    QVERIFY(font.bold());
    // Lists pad numbers with blanks: in the grid font a blank is as wide as a digit.
    const QFontMetrics metrics(font);
    QCOMPARE(metrics.horizontalAdvance(u' ') == metrics.horizontalAdvance(u'0'), fixedPitch);
}

void TestHelpers::yieldDoesNotNest()
{
    // A handler that runs inside a yield and yields again is turned away;
    // the outer yield still runs the handler.
    int inner = -1;
    QMetaObject::invokeMethod(this, [&] { inner = yieldToEvents() ? 1 : 0; }, Qt::QueuedConnection);
    QVERIFY(yieldToEvents());
    QCOMPARE(inner, 0);
    QVERIFY(yieldToEvents());   // and the guard is released afterwards
}

void TestHelpers::hourglassNests()
{
    QVERIFY(!QGuiApplication::overrideCursor());
    {
        HourglassGuard outer;
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            HourglassGuard inner;
            inner.release();
            inner.release();   // a second release does nothing
        }
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestHelpers)
#include "tst_helpers.moc"
