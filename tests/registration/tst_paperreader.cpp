// The paper text reader, fed the file's bytes: code page 932 decoding,
// fields counted over line ends, quoted fields, the end-of-file mark, the end
// of the file inside a record; the expansion of the paper's own characters,
// and titles from archive names.

#include "registration/archivenames.h"
#include "registration/gaiji.h"
#include "registration/paperreader.h"

#include <QtTest>

using namespace kelmon;

class TestPaperReader : public QObject {
    Q_OBJECT

private slots:
    void records_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("records");   // of three fields joined by "|"
        QTest::addColumn<QString>("error");         // the reason shown when the file cannot be read

        const QString cut = QStringLiteral("紙面ファイル kelmfx.txt が途中で終わっています");
        const QString bad = QStringLiteral("紙面ファイル kelmfx.txt の %1 行目に読めない文字が有ります");
        QTest::newRow("one record per line") << QByteArray("1,2,3\r\n4,5,6\r\n") << QStringList{"1|2|3", "4|5|6"} << "";
        QTest::newRow("line ends LF and CR") << QByteArray("1,2,3\n4,5\r6\n") << QStringList{"1|2|3", "4|5|6"} << "";
        QTest::newRow("record split over two lines") << QByteArray("1,2\r\n3\r\n4,5,6\r\n") << QStringList{"1|2|3", "4|5|6"} << "";
        QTest::newRow("one field too many shifts later records") << QByteArray("1,2,3,4\r\n5,6\r\n") << QStringList{"1|2|3", "4|5|6"} << "";
        QTest::newRow("one field too many runs out at the end") << QByteArray("1,2,3,4\r\n5,6,7\r\n") << QStringList{"1|2|3", "4|5|6"} << cut;
        QTest::newRow("quoted comma") << QByteArray("\"a,b\",c,d\r\n") << QStringList{"a,b|c|d"} << "";
        QTest::newRow("text after the closing quote is dropped") << QByteArray("\"a\"xyz,b,c\r\n") << QStringList{"a|b|c"} << "";
        QTest::newRow("quoted line end") << QByteArray("\"a\r\nb\",c,d\r\n") << QStringList{"a\r\nb|c|d"} << "";
        QTest::newRow("empty line is an empty field") << QByteArray("1,2\r\n\r\n4,5,6\r\n") << QStringList{"1|2|", "4|5|6"} << "";
        QTest::newRow("comma at the end") << QByteArray("1,2,") << QStringList{"1|2|"} << "";
        QTest::newRow("trailing line ends") << QByteArray("1,2,3\r\n\r\n\r\n") << QStringList{"1|2|3"} << "";
        QTest::newRow("empty file") << QByteArray("") << QStringList{} << "";
        QTest::newRow("end inside the second record") << QByteArray("1,2,3\r\n4,5\r\n") << QStringList{"1|2|3"} << cut;
        QTest::newRow("end inside an unclosed quote") << QByteArray("1,\"abc") << QStringList{} << cut;
        QTest::newRow("last field's quote never closed") << QByteArray("1,2,3\r\n4,5,\"1525") << QStringList{"1|2|3"} << cut;
        // The end-of-file mark Ctrl-Z (0x1A) closes many paper files.
        QTest::newRow("end mark after the last line") << QByteArray("1,2,3\r\n4,5,6\r\n\x1a") << QStringList{"1|2|3", "4|5|6"} << "";
        QTest::newRow("end mark right after the last field") << QByteArray("1,2,3\x1a") << QStringList{"1|2|3"} << "";
        QTest::newRow("end mark after blank lines") << QByteArray("1,2,3\r\n\r\n\x1a\x1a\r\n") << QStringList{"1|2|3"} << "";
        QTest::newRow("end mark inside a record") << QByteArray("1,2\r\n\x1a") << QStringList{} << cut;
        QTest::newRow("control bytes inside a field are kept")
            << QByteArray("a\x1a" "b,\x1c,\x7f\r\n") << QStringList{"a\x1a" "b|\x1c|\x7f"} << "";
        QTest::newRow("katakana, kanji, kana") << QByteArray("\xb1\xdf,\x88\x9f,\x82\xa0\r\n") << QStringList{"ｱﾟ|亜|あ"} << "";
        // Bytes that name no character refuse the file, with the line.
        QTest::newRow("pair without a character") << QByteArray("1,2,3\r\n4,\x85\x40,6\r\n") << QStringList{} << bad.arg(2);
        QTest::newRow("lead byte before a blank") << QByteArray("1,\x81 2,3\r\n") << QStringList{} << bad.arg(1);
        QTest::newRow("lead byte at the end") << QByteArray("1,2\r\n\r\n3,4,\x81") << QStringList{} << bad.arg(3);
    }

    void records()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, records);
        QFETCH(QString, error);
        QStringList got;
        QString reason;
        std::vector<QStringView> fields;
        try {
            PaperReader reader = PaperReader::fromBytes(bytes, QStringLiteral("kelmfx.txt"));
            while (!reader.atEnd()) {
                reader.readRecord(3, fields);
                QStringList record;
                for (QStringView f : fields)
                    record << f.toString();
                got << record.join(u'|');
            }
        } catch (const PaperFileError &e) {
            reason = e.reason();
        }
        QCOMPARE(got, records);
        QCOMPARE(reason, error);
    }

    // Code page 932 as Windows reads it: the code points below are the code
    // page's published mapping, and the user-defined area follows
    // U+E000 + 188 x (lead - F0) + (trail - 40), less 1 from trail 80.
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("ASCII and control bytes are themselves")
            << QByteArray::fromHex("00091a1b1c1d1e1f5c417e7f") << QList<int>{0x00, 0x09, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x5C, 0x41, 0x7E, 0x7F};
        QTest::newRow("single bytes outside the JIS sets") << QByteArray::fromHex("80a0fdfeff") << QList<int>{0x80, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3};
        QTest::newRow("half-width katakana") << QByteArray::fromHex("a1b1df") << QList<int>{0xFF61, 0xFF71, 0xFF9F};
        QTest::newRow("kanji and symbols") << QByteArray::fromHex("889f8160815f81ca") << QList<int>{0x4E9C, 0xFF5E, 0xFF3C, 0xFFE2};
        QTest::newRow("NEC and IBM extensions") << QByteArray::fromHex("8740fa40ed40") << QList<int>{0x2460, 0x2170, 0x7E8A};
        QTest::newRow("user-defined area") << QByteArray::fromHex("f040f07ef080f141f9fc") << QList<int>{0xE000, 0xE03E, 0xE03F, 0xE0BD, 0xE757};
        QTest::newRow("katakana then a lead byte") << QByteArray::fromHex("b1889f31") << QList<int>{0xFF71, 0x4E9C, 0x31};
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, codes);
        qsizetype bad = 0;   // no byte left undecoded
        QList<int> got;
        for (QChar c : decodeCp932(bytes, &bad))
            got << c.unicode();
        QCOMPARE(got, codes);
        QCOMPARE(bad, qsizetype(-1));
    }

    // Each code of the paper's character list, read from its bytes (runs of
    // consecutive codes of the user-defined area), expands to its text; no other
    // private-use character expands.
    void expandedCharacters()
    {
        const QStringList circled{"①", "②", "③", "④", "⑤", "⑥"}, results6{"転覆", "落水", "失格", "欠場", "Ｆ", "Ｌ"},
            results4{"失格", "欠場", "Ｆ", "Ｌ"}, boats{"1号艇", "2号艇", "3号艇", "4号艇", "5号艇", "6号艇"};
        const QList<QPair<int, QStringList>> runs{
            {0xF040, circled}, {0xF046, results6}, {0xF04C, {"\uFF0D", "⇔", "→", "⇔", "⇔", "⇔", "返還", "AB"}},
            {0xF05A, results6}, {0xF060, {"\u2026", "\uFF0D", "\uFF0D", "A1", "A2", "A3", "B1", "B2"}},
            {0xF068, circled}, {0xF06E, results6}, {0xF074, {"優勝", "優出", "優勝", "優出"}},
            {0xF07C, {"1ｺｰｽ", "2ｺｰｽ", "3ｺｰｽ"}}, {0xF080, {"4ｺｰｽ", "5ｺｰｽ", "6ｺｰｽ", "崎", "迫", "柳"}},
            {0xF087, boats}, {0xF08D, results4}, {0xF091, boats},
            {0xF0A5, {"1ﾚｰｽ", "2ﾚｰｽ", "3ﾚｰｽ", "4ﾚｰｽ", "5ﾚｰｽ", "6ﾚｰｽ", "7ﾚｰｽ", "8ﾚｰｽ", "9ﾚｰｽ", "10ﾚｰｽ", "11ﾚｰｽ", "12ﾚｰｽ"}},
            {0xF0B1, {"Ｆ", "Ｌ", "１", "２", "３", "F1", "L1", "F2"}}, {0xF0B9, circled}, {0xF0BF, results4},
            {0xF0C3, circled}, {0xF0C9, results4}, {0xF0CD, {"F3", "L2", "L3"}},
            {0xF0D6, {"00", "01", "02", "03", "04", "05", "06", "07", "08", "09"}}, {0xF141, {"F1", "F2", "L1", "L2"}}};
        int total = 0;
        for (const auto &[sjis, texts] : runs)
            for (int i = 0; i < texts.size(); ++i, ++total) {
                const char bytes[] = {char((sjis + i) >> 8), char((sjis + i) & 0xFF)};
                QCOMPARE(conv_gaiji(decodeCp932(QByteArrayView(bytes, 2))), texts[i]);
            }
        int expanding = 0;
        for (char32_t c = 0xE000; c <= 0xE757; ++c)
            expanding += !gaijiText(c).isEmpty();
        QCOMPARE(expanding, total);
        // Trailing blanks are dropped, leading ones kept; an expansion is not expanded again.
        QCOMPARE(conv_gaiji(u" \u3000a\uE000\uE014\uE064 \u3000"), QString(" \u3000a①\uE0141ﾚｰｽ"));
        QCOMPARE(conv_gaiji(u" \u3000 "), QString());
    }

    void titles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("first-day paper") << "02351l15.lzh" << "住之江 ＳＧ 初日版(02/03/05)";
        QTest::newRow("one-character venue") << "02a1xi21.lzh" << "津 一般 予選版(02/10/01)";
        QTest::newRow("last qualifying day") << "02a1xi32.lzh" << "津 ＧⅢ 予選最終日版(02/10/01)";
        QTest::newRow("semi-final, day letter v") << "03Cv0x44.LZH" << "大村 ＧⅠ 準優版(03/12/31)";
        QTest::newRow("last-day edition, day letter upper case") << "0399zb55.lzh" << "戸田 ＳＧ 最終日版(03/09/09)";
        QTest::newRow("day letter beyond v") << "031w0b55.lzh" << "戸田 ＳＧ 最終日版(03/01/32)";
        QTest::newRow("upper-case venue letter") << "02351L15.lzh" << " ＳＧ 初日版(02/03/05)";
        QTest::newRow("grade out of range") << "02351l19.lzh" << "住之江  初日版(02/03/05)";
        QTest::newRow("edition out of range") << "02351l65.lzh" << "住之江 ＳＧ (02/03/05)";
        QTest::newRow("month not a hex digit") << "02g51l15.lzh" << "02g51l15.lzh";
        QTest::newRow("seven characters, one too few") << "02351l1.lzh" << "02351l1.lzh";
    }

    void titles()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QCOMPARE(get_newspname(name), title);
    }
};

QTEST_GUILESS_MAIN(TestPaperReader)
#include "tst_paperreader.moc"
