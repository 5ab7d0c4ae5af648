// The paper text reader: fields counted over line ends, quoted fields, the
// end of the file inside a record, and code page 932 decoding.

#include "registration/paperreader.h"

#include "helpers/paperfiles.h"

#include <QTemporaryDir>
#include <QtTest>

using kelmon::PaperFileError;
using kelmon::PaperReader;

class TestPaperReader : public QObject {
    Q_OBJECT

private slots:
    void records_data();
    void records();
    void decoding_data();
    void decoding();
    void undecodable_data();
    void undecodable();
    void missingFile();
};

// Reads the bytes, through the decoder, in records of `count` fields until
// the end; each record is its fields joined by "|". Sets *failedAt to the
// number of complete records when the text ends inside a record, -1
// otherwise.
static QStringList readAll(const QByteArray &bytes, int count, int *failedAt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kelmfx.txt"));
    if (!kelmon::test::writeFile(path, bytes))
        return {QStringLiteral("cannot write")};
    PaperReader reader = PaperReader::fromFile(path);
    QStringList out;
    std::vector<QStringView> fields;
    *failedAt = -1;
    try {
        while (!reader.atEnd()) {
            reader.readRecord(count, fields);
            QStringList record;
            for (QStringView f : fields)
                record << f.toString();
            out << record.join(u'|');
        }
    } catch (const PaperFileError &e) {
        if (e.kind == PaperFileError::EndInsideRecord)
            *failedAt = int(out.size());
    }
    return out;
}

void TestPaperReader::records_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<int>("failedAt");

    QTest::newRow("one record per line") << QByteArray("1,2,3\r\n4,5,6\r\n") << 3 << QStringList{"1|2|3", "4|5|6"} << -1;
    QTest::newRow("record split over two lines") << QByteArray("1,2\r\n3\r\n4,5,6\r\n") << 3 << QStringList{"1|2|3", "4|5|6"} << -1;
    QTest::newRow("one field too many shifts later records")
        << QByteArray("1,2,3,4\r\n5,6\r\n") << 3 << QStringList{"1|2|3", "4|5|6"} << -1;
    QTest::newRow("one field too many runs out at the end")
        << QByteArray("1,2,3,4\r\n5,6,7\r\n") << 3 << QStringList{"1|2|3", "4|5|6"} << 2;
    QTest::newRow("quoted comma") << QByteArray("\"a,b\",c,d\r\n") << 3 << QStringList{"a,b|c|d"} << -1;
    QTest::newRow("text after the closing quote is dropped") << QByteArray("\"a\"xyz,b,c\r\n") << 3 << QStringList{"a|b|c"} << -1;
    QTest::newRow("quoted line end") << QByteArray("\"a\r\nb\",c,d\r\n") << 3 << QStringList{"a\r\nb|c|d"} << -1;
    QTest::newRow("empty line is an empty field") << QByteArray("1,2\r\n\r\n4,5,6\r\n") << 3 << QStringList{"1|2|", "4|5|6"} << -1;
    QTest::newRow("trailing line ends") << QByteArray("1,2,3\r\n\r\n\r\n") << 3 << QStringList{"1|2|3"} << -1;
    QTest::newRow("empty file") << QByteArray("") << 3 << QStringList{} << -1;
    QTest::newRow("end inside the second record") << QByteArray("1,2,3\r\n4,5\r\n") << 3 << QStringList{"1|2|3"} << 1;
    QTest::newRow("end inside an unclosed quote") << QByteArray("1,\"abc") << 3 << QStringList{} << 0;
    QTest::newRow("last field's quote never closed") << QByteArray("1,2,3\r\n4,5,\"1525") << 3 << QStringList{"1|2|3"} << 1;
    // The end-of-file mark Ctrl-Z (0x1A) closes many paper files.
    QTest::newRow("end mark after the last line") << QByteArray("1,2,3\r\n4,5,6\r\n\x1a") << 3 << QStringList{"1|2|3", "4|5|6"} << -1;
    QTest::newRow("end mark right after the last field") << QByteArray("1,2,3\x1a") << 3 << QStringList{"1|2|3"} << -1;
    QTest::newRow("end mark after blank lines") << QByteArray("1,2,3\r\n\r\n\x1a\x1a\r\n") << 3 << QStringList{"1|2|3"} << -1;
    QTest::newRow("end mark inside a record") << QByteArray("1,2\r\n\x1a") << 3 << QStringList{} << 0;
    QTest::newRow("control bytes inside a field are kept")
        << QByteArray("a\x1a" "b,\x1c,\x7f\r\n") << 3 << QStringList{"a\x1a" "b|\x1c|\x7f"} << -1;
}

void TestPaperReader::records()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(QStringList, records);
    QFETCH(int, failedAt);
    int failed = 0;
    QCOMPARE(readAll(bytes, count, &failed), records);
    QCOMPARE(failed, failedAt);
}

// Code page 932 as Windows reads it: the code points below are the code
// page's published mapping, and the user-defined area follows
// U+E000 + 188 x (lead - F0) + (trail - 40), less 1 from trail 80.
void TestPaperReader::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("codes");

    QTest::newRow("ASCII and control bytes are themselves")
        << QByteArray::fromHex("00091a1b1c1d1e1f417e7f") << QList<int>{0x00, 0x09, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x41, 0x7E, 0x7F};
    QTest::newRow("backslash and tilde stay ASCII") << QByteArray::fromHex("5c7e") << QList<int>{0x5C, 0x7E};
    QTest::newRow("single bytes outside the JIS sets") << QByteArray::fromHex("80a0fdfeff") << QList<int>{0x80, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3};
    QTest::newRow("half-width katakana") << QByteArray::fromHex("a1b1df") << QList<int>{0xFF61, 0xFF71, 0xFF9F};
    QTest::newRow("kanji and symbols") << QByteArray::fromHex("889f8160815f81ca") << QList<int>{0x4E9C, 0xFF5E, 0xFF3C, 0xFFE2};
    QTest::newRow("NEC and IBM extensions") << QByteArray::fromHex("8740fa40ed40") << QList<int>{0x2460, 0x2170, 0x7E8A};
    QTest::newRow("user-defined area") << QByteArray::fromHex("f040f07ef080f141f9fc") << QList<int>{0xE000, 0xE03E, 0xE03F, 0xE0BD, 0xE757};
    QTest::newRow("katakana then a lead byte") << QByteArray::fromHex("b1889f31") << QList<int>{0xFF71, 0x4E9C, 0x31};
}

void TestPaperReader::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, codes);
    qsizetype bad = 0;
    const QString text = kelmon::decodeCp932(bytes, &bad);
    QList<int> got;
    for (QChar c : text)
        got << c.unicode();
    QCOMPARE(got, codes);
    QCOMPARE(bad, qsizetype(-1));
}

void TestPaperReader::undecodable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("line");

    QTest::newRow("pair without a character") << QByteArray("1,2\r\n3,\x85\x40,4\r\n") << 7 << "2";
    QTest::newRow("lead byte before a blank") << QByteArray("1,\x81 2,3\r\n") << 2 << "1";
    QTest::newRow("lead byte at the end") << QByteArray("1,2\r\n\r\n3,4,\x81") << 11 << "3";
}

// A paper file with bytes that name no character is refused with the line,
// never stored with a stand-in character.
void TestPaperReader::undecodable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    QFETCH(QString, line);
    qsizetype bad = -1;
    const QString text = kelmon::decodeCp932(bytes, &bad);
    QCOMPARE(bad, qsizetype(offset));
    QVERIFY(!text.contains(QChar(0x1A)));
    try {
        PaperReader::fromBytes(bytes, QStringLiteral("kelmfd.txt"));
        QFAIL("undecodable bytes were read");
    } catch (const PaperFileError &e) {
        QCOMPARE(e.kind, PaperFileError::Undecodable);
        QCOMPARE(e.reason(), QStringLiteral("紙面ファイル kelmfd.txt の %1 行目に読めない文字が有ります").arg(line));
    }
}

void TestPaperReader::missingFile()
{
    QTemporaryDir dir;
    try {
        PaperReader::fromFile(dir.filePath("kelmfa.txt"));
        QFAIL("a missing file was read");
    } catch (const PaperFileError &e) {
        QCOMPARE(e.kind, PaperFileError::Unreadable);
        QCOMPARE(e.reason(), QStringLiteral("紙面ファイル kelmfa.txt を読み込めません"));
    }
}

QTEST_GUILESS_MAIN(TestPaperReader)
#include "tst_paperreader.moc"
