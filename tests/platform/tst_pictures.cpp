// The picture lists: every picture of a list is drawn, the frame colours,
// and indexes outside a list.

#include "platform/gridmodel.h"
#include "platform/pictures.h"

#include <QtTest>

using namespace kelmon;

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void listSizes_data();
    void listSizes();
    void framesShowTheirColour();
    void outOfRange();
};

void TestPictures::listSizes_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("count");
    QTest::newRow("race card pictures") << int(imlraceinfo1) << 38;
    QTest::newRow("predictions pictures") << int(imlyosodisp1) << 44;
    QTest::newRow("result pictures") << int(imlracerest1) << 14;
    QTest::newRow("start diagram") << int(imlstartdiagram) << 2;
    QTest::newRow("unknown list") << 99 << 0;
}

void TestPictures::listSizes()
{
    QFETCH(int, list);
    QFETCH(int, count);
    QCOMPARE(pictures::count(list), count);
    for (int i = 1; i <= count; ++i) {
        const QImage img = pictures::image(list, i);
        QVERIFY2(!img.isNull(), qPrintable(QString::number(i)));
        QCOMPARE(img.size(), pictures::size(list, i));
    }
}

void TestPictures::framesShowTheirColour()
{
    // A corner inside the border shows the frame's colour whatever digit is
    // drawn in the middle: white, black, red, blue, yellow, green.
    const auto role = [](int frame, QRgb c) {
        const int r = qRed(c), g = qGreen(c), b = qBlue(c);
        switch (frame) {
        case 1: return r > 0xE0 && g > 0xE0 && b > 0xE0;
        case 2: return r < 0x40 && g < 0x40 && b < 0x40;
        case 3: return r > 0xB0 && g < 0x60 && b < 0x60;
        case 4: return b > 0xB0 && r < 0x60 && g < 0xA0;
        case 5: return r > 0xB0 && g > 0xB0 && b < 0x60;
        case 6: return g > 0x80 && r < 0x60 && b < 0x80;
        }
        return false;
    };
    for (int frame = 1; frame <= 6; ++frame) {
        for (int index : {pictures::frameLarge(frame), pictures::frameSmall(frame)}) {
            const QImage img = pictures::image(imlraceinfo1, index);
            QVERIFY2(role(frame, img.pixel(2, 2)), qPrintable(QStringLiteral("frame %1").arg(frame)));
            // The digit stands out from the frame's colour.
            bool digit = false;
            for (int y = 0; y < img.height() && !digit; ++y)
                for (int x = 0; x < img.width() && !digit; ++x)
                    digit = !role(frame, img.pixel(x, y)) && qGray(img.pixel(x, y)) != qGray(img.pixel(2, 2));
            QVERIFY(digit);
        }
    }
}

void TestPictures::outOfRange()
{
    for (int index : {0, -1, 39})
        QVERIFY(pictures::image(imlraceinfo1, index).isNull());
    QVERIFY(!pictures::size(imlraceinfo0, 13).isValid());
    QVERIFY(pictures::pixmap(GridPicture{}).isNull());
    QVERIFY(pictures::pixmap(GridPicture{0, 3}).isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
