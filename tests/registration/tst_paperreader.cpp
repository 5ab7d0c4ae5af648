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
    void fileAndDecoding();
};

// Reads records of `count` fields until the end; each record is its fields
// joined by "|". Sets *failedAt to the number of complete records when the
// text ends inside a record, -1 otherwise.
static QStringList readAll(const QString &text, int count, int *failedAt)
{
    PaperReader reader(text, QStringLiteral("kelmfx.txt"));
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
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<int>("failedAt");

    QTest::newRow("one record per line") << "1,2,3\r\n4,5,6\r\n" << 3 << QStringList{"1|2|3", "4|5|6"} << -1;
    QTest::newRow("record split over two lines") << "1,2\r\n3\r\n4,5,6\r\n" << 3 << QStringList{"1|2|3", "4|5|6"} << -1;
    QTest::newRow("one field too many shifts later records")
        << "1,2,3,4\r\n5,6\r\n" << 3 << QStringList{"1|2|3", "4|5|6"} << -1;
    QTest::newRow("one field too many runs out at the end")
        << "1,2,3,4\r\n5,6,7\r\n" << 3 << QStringList{"1|2|3", "4|5|6"} << 2;
    QTest::newRow("quoted comma") << "\"a,b\",c,d\r\n" << 3 << QStringList{"a,b|c|d"} << -1;
    QTest::newRow("text after the closing quote is dropped") << "\"a\"xyz,b,c\r\n" << 3 << QStringList{"a|b|c"} << -1;
    QTest::newRow("quoted line end") << "\"a\r\nb\",c,d\r\n" << 3 << QStringList{"a\r\nb|c|d"} << -1;
    QTest::newRow("empty line is an empty field") << "1,2\r\n\r\n4,5,6\r\n" << 3 << QStringList{"1|2|", "4|5|6"} << -1;
    QTest::newRow("trailing line ends") << "1,2,3\r\n\r\n\r\n" << 3 << QStringList{"1|2|3"} << -1;
    QTest::newRow("empty file") << "" << 3 << QStringList{} << -1;
    QTest::newRow("end inside the second record") << "1,2,3\r\n4,5\r\n" << 3 << QStringList{"1|2|3"} << 1;
    QTest::newRow("end inside an unclosed quote") << "1,\"abc" << 3 << QStringList{} << 0;
}

void TestPaperReader::records()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QStringList, records);
    QFETCH(int, failedAt);
    int failed = 0;
    QCOMPARE(readAll(text, count, &failed), records);
    QCOMPARE(failed, failedAt);
}

void TestPaperReader::fileAndDecoding()
{
    QTemporaryDir dir;
    try {
        PaperReader::fromFile(dir.filePath("kelmfa.txt"));
        QFAIL("a missing file was read");
    } catch (const PaperFileError &e) {
        QCOMPARE(e.kind, PaperFileError::Unreadable);
        QVERIFY(e.reason().contains("kelmfa.txt"));
    }

    // A file read from disk: a quoted code-page-932 text with a comma.
    const QString path = dir.filePath("kelmfc.txt");
    QVERIFY(kelmon::test::writeFile(path, kelmon::test::cp932("1,\"住之江,ＳＧ\",\uE000\r\n")));
    PaperReader reader = PaperReader::fromFile(path);
    std::vector<QStringView> fields;
    reader.readRecord(3, fields);
    QCOMPARE(fields[1].toString(), QStringLiteral("住之江,ＳＧ"));
    QCOMPARE(fields[2].toString(), QString(QChar(0xE000)));
    QVERIFY(reader.atEnd());

    // The user-defined area, and the wave dash as code page 932 has it.
    QCOMPARE(kelmon::decodeCp932(QByteArray::fromHex("f080f9fc")), QString(QChar(0xE03F)) + QChar(0xE757));
    QCOMPARE(kelmon::decodeCp932(QByteArray::fromHex("8160")), QString(QChar(0xFF5E)));
}

QTEST_GUILESS_MAIN(TestPaperReader)
#include "tst_paperreader.moc"
