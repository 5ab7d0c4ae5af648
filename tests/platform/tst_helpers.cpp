// Small platform helpers: twips to pixels, and the guard against nested yields.

#include "platform/twips.h"
#include "platform/yield.h"

#include <QtTest>

using namespace kelmon;

class TestHelpers : public QObject {
    Q_OBJECT
private slots:
    void twips();
    void yieldDoesNotNest();
};

void TestHelpers::twips()
{
    QCOMPARE(twipsToPixels(0), 0);
    QCOMPARE(twipsToPixels(10), 1);     // a separator keeps one pixel
    QCOMPARE(twipsToPixels(1540), 103);
    QCOMPARE(twipsToPixels(-1), 0);
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

QTEST_MAIN(TestHelpers)
#include "tst_helpers.moc"
