// Private-use expansion: every listed character of the paper, read from its
// Shift_JIS bytes, and texts around them.

#include "registration/gaiji.h"
#include "registration/paperreader.h"

#include <QtTest>

using kelmon::conv_gaiji;

namespace {

// Runs of consecutive Shift_JIS codes of the user-defined area and their
// display texts, as the paper's character list gives them.
struct Run {
    int sjis;
    QStringList texts;
};

const QStringList circled{"①", "②", "③", "④", "⑤", "⑥"};
const QStringList results6{"転覆", "落水", "失格", "欠場", "Ｆ", "Ｌ"};
const QStringList results4{"失格", "欠場", "Ｆ", "Ｌ"};
const QStringList boats{"1号艇", "2号艇", "3号艇", "4号艇", "5号艇", "6号艇"};

const QList<Run> runs{
    {0xF040, circled},
    {0xF046, results6},
    {0xF04C, {"\uFF0D", "⇔", "→", "⇔", "⇔", "⇔", "返還", "AB"}},
    {0xF05A, results6},
    {0xF060, {"\u2026", "\uFF0D", "\uFF0D", "A1", "A2", "A3", "B1", "B2"}},
    {0xF068, circled},
    {0xF06E, results6},
    {0xF074, {"優勝", "優出", "優勝", "優出"}},
    {0xF07C, {"1ｺｰｽ", "2ｺｰｽ", "3ｺｰｽ"}},
    {0xF080, {"4ｺｰｽ", "5ｺｰｽ", "6ｺｰｽ", "崎", "迫", "柳"}},
    {0xF087, boats},
    {0xF08D, results4},
    {0xF091, boats},
    {0xF0A5, {"1ﾚｰｽ", "2ﾚｰｽ", "3ﾚｰｽ", "4ﾚｰｽ", "5ﾚｰｽ", "6ﾚｰｽ", "7ﾚｰｽ", "8ﾚｰｽ", "9ﾚｰｽ", "10ﾚｰｽ", "11ﾚｰｽ", "12ﾚｰｽ"}},
    {0xF0B1, {"Ｆ", "Ｌ", "１", "２", "３", "F1", "L1", "F2"}},
    {0xF0B9, circled},
    {0xF0BF, results4},
    {0xF0C3, circled},
    {0xF0C9, results4},
    {0xF0CD, {"F3", "L2", "L3"}},
    {0xF0D6, {"00", "01", "02", "03", "04", "05", "06", "07", "08", "09"}},
    {0xF141, {"F1", "F2", "L1", "L2"}},
};

QString decodeSjis(int code)
{
    QByteArray bytes;
    bytes.append(char(code >> 8)).append(char(code & 0xFF));
    return kelmon::decodeCp932(bytes);
}

} // namespace

class TestGaiji : public QObject {
    Q_OBJECT

private slots:
    // Each listed code, read from its bytes, decodes to one private-use
    // character that expands to its text; no other private-use character
    // expands.
    void listedCharacters()
    {
        int total = 0;
        for (const Run &run : runs) {
            for (int i = 0; i < run.texts.size(); ++i, ++total) {
                const QString decoded = decodeSjis(run.sjis + i);
                QCOMPARE(decoded.size(), 1);
                QVERIFY(decoded.at(0).unicode() >= 0xE000);
                QCOMPARE(conv_gaiji(decoded), run.texts[i]);
            }
        }
        QCOMPARE(total, 132);
        int expanding = 0;
        for (char32_t c = 0xE000; c <= 0xE757; ++c)
            expanding += !kelmon::gaijiText(c).isEmpty();
        QCOMPARE(expanding, 132);
    }

    void texts_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks only") << " \u3000 " << "";
        QTest::newRow("trailing blanks dropped, leading kept") << " \u3000a\uE000 \u3000" << " \u3000a①";
        QTest::newRow("neighbours are not combined") << "\uE000\uE064" << "①1ﾚｰｽ";
        QTest::newRow("unlisted stays, output not expanded again") << "\uE014\uE000" << "\uE014①";
        QTest::newRow("ordinary text") << "山田 太郎" << "山田 太郎";
    }
    void texts()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(conv_gaiji(input), expected);
    }
};

QTEST_GUILESS_MAIN(TestGaiji)
#include "tst_gaiji.moc"
