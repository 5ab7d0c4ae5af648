#include "platform/gridmodel.h"
#include "platform/pictures.h"

#include <QtTest>

using namespace kelmon;

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void listSizes_data();
    void listSizes();
    void pictureSizes_data();
    void pictureSizes();
    void barColours_data();
    void barColours();
    void framesShowTheirColour();
    void outOfRange();
};

void TestPictures::listSizes_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("count");
    QTest::newRow("race card selector") << int(imlraceinfo0) << 12;
    QTest::newRow("race card pictures") << int(imlraceinfo1) << 38;
    QTest::newRow("prediction decoration") << int(imay) << 9;
    QTest::newRow("predictions selector") << int(imlyosodisp0) << 12;
    QTest::newRow("predictions pictures") << int(imlyosodisp1) << 44;
    QTest::newRow("result selector") << int(imlracerest0) << 12;
    QTest::newRow("result pictures") << int(imlracerest1) << 14;
    QTest::newRow("no list") << 0 << 0;
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
        QCOMPARE(pictures::pixmap(list, i).size(), img.size());
    }
}

void TestPictures::pictureSizes_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QSize>("size");
    QTest::newRow("race badge 12") << int(imlraceinfo0) << 12 << QSize(76, 23);
    QTest::newRow("large frame 1") << int(imlraceinfo1) << pictures::frameLarge(1) << QSize(20, 20);
    QTest::newRow("large frame 6") << int(imlraceinfo1) << 6 << QSize(20, 20);
    QTest::newRow("small frame 1") << int(imlraceinfo1) << pictures::frameSmall(1) << QSize(17, 17);
    QTest::newRow("small frame 6") << int(imlraceinfo1) << 12 << QSize(17, 17);
    QTest::newRow("first bar of first period") << int(imlraceinfo1) << pictures::courseBar(0, 1) << QSize(18, 3);
    QTest::newRow("bar 14 is 6 high") << int(imlraceinfo1) << 14 << QSize(18, 6);
    QTest::newRow("last bar of first period") << int(imlraceinfo1) << 25 << QSize(18, 39);
    QTest::newRow("bar 28 is 9 high") << int(imlraceinfo1) << pictures::courseBar(1, 3) << QSize(18, 9);
    QTest::newRow("last bar of second period") << int(imlraceinfo1) << 38 << QSize(18, 39);
    QTest::newRow("boat 1") << int(imlyosodisp1) << pictures::boatPicture(1) << QSize(44, 20);
    QTest::newRow("short wave") << int(imlyosodisp1) << pictures::wavePicture(0) << QSize(50, 20);
    QTest::newRow("middle wave") << int(imlyosodisp1) << 8 << QSize(70, 20);
    QTest::newRow("long wave") << int(imlyosodisp1) << 9 << QSize(90, 20);
    QTest::newRow("first word") << int(imlyosodisp1) << 10 << QSize(151, 79);
    QTest::newRow("last word") << int(imlyosodisp1) << 15 << QSize(151, 79);
    QTest::newRow("mark of frame 1") << int(imlyosodisp1) << pictures::frameMark(1) << QSize(17, 17);
    QTest::newRow("mark of frame 6") << int(imlyosodisp1) << 21 << QSize(17, 17);
    QTest::newRow("power band 1") << int(imlyosodisp1) << pictures::powerBar(1) << QSize(1, 12);
    QTest::newRow("power band 2") << int(imlyosodisp1) << 23 << QSize(3, 12);
    QTest::newRow("power band 23") << int(imlyosodisp1) << 44 << QSize(45, 12);
    QTest::newRow("day 7") << int(imlracerest1) << 7 << QSize(50, 23);
    QTest::newRow("result boat 1") << int(imlracerest1) << pictures::resultBoat(1) << QSize(44, 32);
    QTest::newRow("result boat 6") << int(imlracerest1) << 13 << QSize(44, 32);
    QTest::newRow("result wave") << int(imlracerest1) << pictures::resultWave << QSize(50, 32);
}

void TestPictures::pictureSizes()
{
    QFETCH(int, list);
    QFETCH(int, index);
    QFETCH(QSize, size);
    QCOMPARE(pictures::size(list, index), size);
    QCOMPARE(pictures::image(list, index).size(), size);
}

void TestPictures::barColours_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<uint>("rgb");
    QTest::newRow("first period, lowest") << 13 << 0x78A7F5u;
    QTest::newRow("first period, highest") << 25 << 0x78A7F5u;
    QTest::newRow("second period, lowest") << 26 << 0xB2EC6Eu;
    QTest::newRow("second period, highest") << 38 << 0xB2EC6Eu;
}

void TestPictures::barColours()
{
    QFETCH(int, index);
    QFETCH(uint, rgb);
    const QImage img = pictures::image(imlraceinfo1, index);
    // Solid bars: every pixel, corners included, has the bar's colour.
    for (const QPoint &p : {QPoint(0, 0), QPoint(img.width() - 1, img.height() - 1), QPoint(9, img.height() / 2)})
        QCOMPARE(img.pixel(p), 0xFF000000u | rgb);
}

void TestPictures::framesShowTheirColour()
{
    // The frame picture is filled with its frame's colour; a corner inside
    // the border shows it whatever digit is drawn in the middle.
    for (int frame = 1; frame <= 6; ++frame) {
        for (int index : {pictures::frameLarge(frame), pictures::frameSmall(frame)}) {
            const QImage img = pictures::image(imlraceinfo1, index);
            QCOMPARE(img.pixel(2, 2) & 0xFFFFFF, pictures::frameColor(frame));
        }
        const QImage mark = pictures::image(imlyosodisp1, pictures::frameMark(frame));
        QCOMPARE(mark.pixel(2, 2) & 0xFFFFFF, pictures::frameColor(frame));
    }
    QCOMPARE(pictures::frameColor(1), 0xFFFFFFu);
    QCOMPARE(pictures::frameColor(2), 0x000000u);
    QVERIFY(pictures::frameDigitColor(1) != pictures::frameColor(1));
    QVERIFY(pictures::frameDigitColor(2) != pictures::frameColor(2));
}

void TestPictures::outOfRange()
{
    for (int index : {0, -1, 39})
        QVERIFY(pictures::image(imlraceinfo1, index).isNull());
    QVERIFY(pictures::image(imlyosodisp1, 45).isNull());
    QVERIFY(!pictures::size(imlraceinfo0, 13).isValid());
    QVERIFY(pictures::pixmap(GridPicture{}).isNull());
    QVERIFY(pictures::pixmap(GridPicture{imlraceinfo1, 0}).isNull());
    QVERIFY(pictures::pixmap(GridPicture{0, 3}).isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
