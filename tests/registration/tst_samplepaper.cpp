// The sample-paper generator: archives that other readers accept, files in
// the table layout, unique keys and tables that agree with each other.

#include "common/paper_schema.h"
#include "registration/samplepaper.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

using namespace kelmon;

namespace {

struct Entry {
    QString name;
    QByteArray data;
};

// Reads every entry through libarchive, which checks header sums and the
// CRC-16 of the data; any complaint ends the reading with *error set.
QList<Entry> readArchive(const QByteArray &bytes, QString *error)
{
    QList<Entry> out;
    archive *a = archive_read_new();
    archive_read_support_format_lha(a);
    if (archive_read_open_memory(a, bytes.constData(), size_t(bytes.size())) != ARCHIVE_OK) {
        *error = QString::fromLocal8Bit(archive_error_string(a));
        archive_read_free(a);
        return out;
    }
    archive_entry *e = nullptr;
    int r;
    while ((r = archive_read_next_header(a, &e)) == ARCHIVE_OK) {
        Entry en{QString::fromLocal8Bit(archive_entry_pathname(e)), {}};
        char buf[4096];
        la_ssize_t n;
        while ((n = archive_read_data(a, buf, sizeof buf)) > 0)
            en.data.append(buf, n);
        if (n < 0) {
            *error = en.name + ": " + QString::fromLocal8Bit(archive_error_string(a));
            break;
        }
        out << en;
    }
    if (r != ARCHIVE_EOF && error->isEmpty())
        *error = QString::fromLocal8Bit(archive_error_string(a));
    archive_read_free(a);
    return out;
}

// Fields of one line: comma-separated, a field opening with a double quote
// runs to the next one and what follows it up to the comma is dropped.
QStringList splitLine(const QString &line)
{
    QStringList fields;
    qsizetype i = 0;
    for (;;) {
        QString v;
        if (i < line.size() && line[i] == '"') {
            const qsizetype close = line.indexOf('"', i + 1);
            v = line.mid(i + 1, close < 0 ? -1 : close - i - 1);
            i = close < 0 ? line.size() : close + 1;
            while (i < line.size() && line[i] != ',')
                ++i;
        } else {
            const qsizetype comma = line.indexOf(',', i);
            v = line.mid(i, comma < 0 ? -1 : comma - i);
            i = comma < 0 ? line.size() : comma;
        }
        fields << v;
        if (i >= line.size())
            break;
        ++i;   // the comma
    }
    return fields;
}

QList<QStringList> decodeRecords(const QByteArray &bytes, bool *clean)
{
    QStringDecoder dec("windows-31j");
    const QString text = dec.decode(bytes);
    *clean = !dec.hasError();
    QList<QStringList> out;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        out << splitLine(line);
    return out;
}

// Counts the double-byte characters of the text files whose lead byte lies in
// the user-defined area.
int userDefinedLeadBytes(const QList<SamplePaperFile> &files)
{
    int count = 0;
    for (const SamplePaperFile &f : files) {
        if (!f.name.endsWith(QLatin1String(".txt")))
            continue;
        for (qsizetype i = 0; i < f.data.size(); ++i) {
            const quint8 b = quint8(f.data[i]);
            if ((b >= 0x81 && b <= 0x9F) || b >= 0xE0) {
                count += b >= 0xF0;
                ++i;
            }
        }
    }
    return count;
}

int fieldsInFile(const PaperTable &t)
{
    return int(t.columnCount) + (QByteArrayView(t.name) == "f_tokhm" ? 1 : 0);
}

int column(const char *table, const char *name)
{
    const PaperTable *t = findTable(table);
    for (std::size_t i = 0; i < t->columnCount; ++i)
        if (QByteArrayView(t->columns[i].name) == name)
            return int(i);
    qFatal("no column %s.%s", table, name);
}

QString field(const QStringList &rec, const char *table, const char *name)
{
    return rec.value(column(table, name));
}

SamplePaperOptions options(int day, quint32 seed = 7)
{
    SamplePaperOptions o;
    o.venue = 12;
    o.date = QDate(2024, 3, 15);
    o.day = day;
    o.seed = seed;
    return o;
}

} // namespace

class TestSamplePaper : public QObject {
    Q_OBJECT

private slots:
    void archiveReadsBack_data();
    void archiveReadsBack();
    void damagedArchiveIsNoticed();
    void lhaCommandAccepts_data();
    void lhaCommandAccepts();
    void archiveName_data();
    void archiveName();
    void filesFollowTheLayout_data();
    void filesFollowTheLayout();
    void keysAreUnique_data();
    void keysAreUnique();
    void tablesAgree_data();
    void tablesAgree();
    void privateUseCharacters();
    void readerKnobs();
    void photosAreGifs();
    void consecutiveDaysAgree();
    void sameSeedSamePaper();
};

void TestSamplePaper::archiveReadsBack_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("photos");
    QTest::newRow("level 0") << 0 << true;
    QTest::newRow("level 1") << 1 << true;
    QTest::newRow("level 2") << 2 << true;
    QTest::newRow("level 2 without photos") << 2 << false;
}

void TestSamplePaper::archiveReadsBack()
{
    QFETCH(int, level);
    QFETCH(bool, photos);
    SamplePaperOptions o = options(3);
    o.lhaLevel = level;
    o.photos = photos;
    const SamplePaper p = makeSamplePaper(o);
    QString error;
    const QList<Entry> entries = readArchive(p.archive, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    QStringList expected;
    for (const auto &t : allTables())
        if (*t.file)
            expected << QString::fromLatin1(t.file);
    QCOMPARE(entries.size(), p.files.size());
    QCOMPARE(entries.size(), photos ? 13 + 48 : 13);
    static const QRegularExpression photo(QStringLiteral("^\\d{4}\\.gif$"));
    for (int i = 0; i < entries.size(); ++i) {
        if (i < 13)
            QCOMPARE(entries[i].name, expected[i]);
        else
            QVERIFY2(photo.match(entries[i].name).hasMatch(), qPrintable(entries[i].name));
        QCOMPARE(entries[i].name, p.files[i].name);
        QCOMPARE(entries[i].data, p.files[i].data);
    }
}

void TestSamplePaper::damagedArchiveIsNoticed()
{
    SamplePaperOptions o = options(2);
    o.photos = false;
    QByteArray bytes = makeSamplePaper(o).archive;
    // A byte inside the data of the first file: only the CRC can tell.
    const qsizetype at = bytes.indexOf("24031412,");
    QVERIFY(at > 0);
    bytes[at + 3] = '9';
    QString error;
    readArchive(bytes, &error);
    QVERIFY(!error.isEmpty());
}

void TestSamplePaper::lhaCommandAccepts_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("level 0") << 0;
    QTest::newRow("level 1") << 1;
    QTest::newRow("level 2") << 2;
}

void TestSamplePaper::lhaCommandAccepts()
{
    QFETCH(int, level);
    const QString lha = QStandardPaths::findExecutable(QStringLiteral("lha"));
    if (lha.isEmpty())
        QSKIP("no lha command on this machine");
    QTemporaryDir dir;
    SamplePaperOptions o = options(4);
    o.lhaLevel = level;
    QString error;
    const QString name = writeSamplePaper(dir.path(), o, &error);
    QVERIFY2(!name.isEmpty(), qPrintable(error));
    QProcess test;
    test.start(lha, {QStringLiteral("t"), dir.filePath(name)});
    QVERIFY(test.waitForFinished());
    QCOMPARE(test.exitCode(), 0);
    QProcess extract;
    extract.setWorkingDirectory(dir.path());
    extract.start(lha, {QStringLiteral("xq"), name});
    QVERIFY(extract.waitForFinished());
    QCOMPARE(extract.exitCode(), 0);
    const SamplePaper p = makeSamplePaper(o);
    for (const auto &f : p.files) {
        QFile file(dir.filePath(f.name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(f.name));
        QCOMPARE(file.readAll(), f.data);
    }
}

void TestSamplePaper::archiveName_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("venue");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("name");
    QTest::newRow("march 5") << QDate(2002, 3, 5) << 12 << 1 << 5 << "02351l15.lzh";
    QTest::newRow("december 31") << QDate(2024, 12, 31) << 24 << 5 << 1 << "24cv1x51.lzh";
    QTest::newRow("october 10") << QDate(2019, 10, 10) << 1 << 3 << 2 << "19aa1a32.lzh";
    QTest::newRow("day 9") << QDate(2010, 1, 9) << 9 << 2 << 4 << "10191i24.lzh";
}

void TestSamplePaper::archiveName()
{
    QFETCH(QDate, date);
    QFETCH(int, venue);
    QFETCH(int, kind);
    QFETCH(int, grade);
    QFETCH(QString, name);
    QCOMPARE(paperArchiveName(date, venue, kind, grade), name);
}

void TestSamplePaper::filesFollowTheLayout_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("quoteTexts");
    QTest::addColumn<bool>("commas");
    QTest::addColumn<bool>("privateUse");
    QTest::newRow("first day") << 1 << true << true << true;
    QTest::newRow("qualifying day") << 3 << true << true << true;
    QTest::newRow("semi-final day") << 5 << true << true << true;
    QTest::newRow("last day") << 6 << true << true << true;
    QTest::newRow("texts unquoted") << 3 << false << true << true;
    QTest::newRow("no commas, no private use") << 4 << false << false << false;
}

void TestSamplePaper::filesFollowTheLayout()
{
    QFETCH(int, day);
    QFETCH(bool, quoteTexts);
    QFETCH(bool, commas);
    QFETCH(bool, privateUse);
    SamplePaperOptions o = options(day);
    o.quoteTexts = quoteTexts;
    o.commasInQuotes = commas;
    o.privateUse = privateUse;
    const SamplePaper p = makeSamplePaper(o);
    QCOMPARE(p.tables.size(), 13);
    bool anyComma = false;
    for (const auto &t : allTables()) {
        if (!*t.file)
            continue;
        const SamplePaperTable *table = p.table(QString::fromLatin1(t.name));
        QVERIFY(table);
        const auto file = std::find_if(p.files.begin(), p.files.end(),
                                       [&](const SamplePaperFile &f) { return f.name == table->file; });
        QVERIFY(file != p.files.end());
        bool clean = false;
        const QList<QStringList> records = decodeRecords(file->data, &clean);
        QVERIFY2(clean, t.file);
        // Decoding and splitting gives back exactly what was generated.
        QCOMPARE(records, table->records);
        for (const QStringList &rec : records) {
            QCOMPARE(rec.size(), fieldsInFile(t));
            for (const QString &v : rec)
                anyComma = anyComma || v.contains(',');
        }
    }
    QCOMPARE(anyComma, commas);
    QCOMPARE(p.table("f_wakus")->records.size(), 72);
    QCOMPARE(p.table("f_races")->records.size(), 12);
    QCOMPARE(p.table("f_resta")->records.size(), 12 * (day - 1));
    QCOMPARE(p.table("f_restb")->records.size(), 72 * (day - 1));
}

void TestSamplePaper::keysAreUnique_data()
{
    QTest::addColumn<int>("day");
    QTest::newRow("day 1") << 1;
    QTest::newRow("day 3") << 3;
    QTest::newRow("day 6") << 6;
}

void TestSamplePaper::keysAreUnique()
{
    QFETCH(int, day);
    const SamplePaper p = makeSamplePaper(options(day));
    for (const auto &t : allTables()) {
        if (!*t.file)
            continue;
        QList<int> keys;
        for (const QString &k : QString::fromLatin1(t.primaryKey).split(','))
            keys << column(t.name, k.trimmed().toLatin1().constData());
        QSet<QStringList> seen;
        for (const QStringList &rec : p.table(QString::fromLatin1(t.name))->records) {
            QStringList key;
            for (int k : keys)
                key << rec[k];
            QVERIFY2(!seen.contains(key), qPrintable(QString::fromLatin1(t.name) + ": " + key.join(',')));
            seen.insert(key);
        }
    }
}

void TestSamplePaper::tablesAgree_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<quint32>("seed");
    for (int day = 1; day <= 6; ++day)
        QTest::addRow("day %d", day) << day << quint32(day * 11);
}

void TestSamplePaper::tablesAgree()
{
    QFETCH(int, day);
    QFETCH(quint32, seed);
    const SamplePaper p = makeSamplePaper(options(day, seed));
    const QString setus = field(p.table("f_setus")->records.value(0), "f_setus", "setuscode");
    const QString today = QString::number(day);

    const QStringList setfg = p.table("f_setfg")->records.value(0);
    QCOMPARE(field(setfg, "f_setfg", "setuscode"), setus);
    QCOMPARE(field(setfg, "f_setfg", "datescnt"), today);
    QCOMPARE(field(setfg, "f_setfg", "kyosocode"), QStringLiteral("12"));
    QCOMPARE(field(setfg, "f_setfg", "Date"), QStringLiteral("20240315"));
    QVERIFY(p.archiveName.startsWith(QStringLiteral("243f1l")));
    QCOMPARE(p.archiveName.mid(6, 1), QString::number(p.dayKind));

    QHash<QString, QStringList> racers;   // registration number -> f_racer record
    for (const QStringList &rec : p.table("f_racer")->records) {
        QCOMPARE(field(rec, "f_racer", "datescnt"), today);
        racers.insert(field(rec, "f_racer", "tourokuno"), rec);
    }
    QSet<QString> motors, boats;
    for (const QStringList &rec : p.table("f_motor")->records)
        motors.insert(field(rec, "f_motor", "motorno"));
    for (const QStringList &rec : p.table("f_boats")->records)
        boats.insert(field(rec, "f_boats", "boatsno"));
    QSet<QString> races;
    for (const QStringList &rec : p.table("f_races")->records)
        races.insert(field(rec, "f_races", "racesno"));
    QCOMPARE(races.size(), 12);

    QHash<QString, QList<int>> rides;   // racer -> race numbers of the day
    for (const QStringList &rec : p.table("f_wakus")->records) {
        const QString no = field(rec, "f_wakus", "tourokuno");
        QVERIFY2(racers.contains(no), qPrintable(no));
        QCOMPARE(field(rec, "f_wakus", "setuscode"), setus);
        QCOMPARE(field(rec, "f_wakus", "datescnt"), today);
        QCOMPARE(field(rec, "f_wakus", "sensyname"), field(racers[no], "f_racer", "sensyname"));
        QCOMPARE(field(rec, "f_wakus", "motorno"), field(racers[no], "f_racer", "motorno"));
        QVERIFY(motors.contains(field(rec, "f_wakus", "motorno")));
        QVERIFY(boats.contains(field(rec, "f_wakus", "boatsno")));
        QVERIFY(races.contains(field(rec, "f_wakus", "racesno")));
        QCOMPARE(field(rec, "f_wakus", "flag_ss"), QString::number(p.dayKind));
        rides[no] << field(rec, "f_wakus", "racesno").toInt();
    }
    for (auto it = rides.cbegin(); it != rides.cend(); ++it) {
        QList<int> list = it.value();
        std::sort(list.begin(), list.end());
        QVERIFY(list.size() <= 2);
        const QStringList &r = racers[it.key()];
        QCOMPARE(field(r, "f_racer", "hayami_1").toInt(), list[0]);
        QCOMPARE(field(r, "f_racer", "hayami_2").toInt(), list.value(1));
    }

    QSet<QString> resultRaces;
    for (const QStringList &rec : p.table("f_resta")->records) {
        QCOMPARE(field(rec, "f_resta", "setuscode"), setus);
        QVERIFY(field(rec, "f_resta", "datescnt").toInt() < day);
        resultRaces.insert(field(rec, "f_resta", "datescnt") + '/' + field(rec, "f_resta", "racesno"));
    }
    QHash<QString, QString> winners;
    for (const QStringList &rec : p.table("f_restb")->records) {
        const QString race = field(rec, "f_restb", "datescnt") + '/' + field(rec, "f_restb", "racesno");
        QVERIFY2(resultRaces.contains(race), qPrintable(race));
        QVERIFY(racers.contains(field(rec, "f_restb", "tourokuno")));
        if (field(rec, "f_restb", "cyakucode") == QLatin1String("1"))
            winners.insert(race, field(rec, "f_restb", "wakusno"));
    }
    for (const QStringList &rec : p.table("f_resta")->records) {
        const QString race = field(rec, "f_resta", "datescnt") + '/' + field(rec, "f_resta", "racesno");
        QCOMPARE(field(rec, "f_resta", "renban_3ta").left(1), winners.value(race));
        QVERIFY(field(rec, "f_resta", "renban_3ta").startsWith(field(rec, "f_resta", "renban_2ta")));
    }
    for (const char *t : {"f_lunks", "f_kasyu", "f_tokhm"}) {
        for (const QStringList &rec : p.table(t)->records) {
            const QString name = field(rec, t, "sensyname");
            const bool known = std::any_of(racers.cbegin(), racers.cend(), [&](const QStringList &r) {
                return field(r, "f_racer", "sensyname") == name;
            });
            QVERIFY2(known, t);
        }
    }
    // The points table exists on the days of the points standing.
    QCOMPARE(p.table("f_tokhm")->records.isEmpty(), field(setfg, "f_setfg", "lunksflag") != QLatin1String("2"));
}

void TestSamplePaper::privateUseCharacters()
{
    const SamplePaper p = makeSamplePaper(options(3));
    QSet<uint> seen;
    for (const SamplePaperTable &t : p.tables)
        for (const QStringList &rec : t.records)
            for (const QString &v : rec)
                for (QChar c : v)
                    if (c.unicode() >= 0xE000 && c.unicode() < 0xF900)
                        seen.insert(c.unicode());
    // S columns keep them as written: one stands in a race-card note.
    bool inText = false;
    const PaperTable *wakus = findTable("f_wakus");
    for (const QStringList &rec : p.table("f_wakus")->records)
        for (std::size_t i = 0; i < wakus->columnCount; ++i)
            if (wakus->columns[i].kind == 'S')
                inText = inText || rec[qsizetype(i)].contains(QChar(0xE034));
    QVERIFY(inText);
    // Name kanji, circled numbers, the arrow, course, race and boat labels.
    for (uint cp : {0xE00Eu, 0xE042u, 0xE064u})
        QVERIFY2(seen.contains(cp), qPrintable(QString::number(cp, 16)));
    QVERIFY(std::any_of(seen.cbegin(), seen.cend(), [](uint c) { return c >= 0xE000 && c <= 0xE005; }));
    QVERIFY(std::any_of(seen.cbegin(), seen.cend(), [](uint c) { return c >= 0xE03C && c <= 0xE041; }));
    // They travel in the user-defined area of the code page (lead bytes F0
    // and up); without them no such lead byte occurs.
    QVERIFY(userDefinedLeadBytes(p.files) > 0);
    SamplePaperOptions plain = options(3);
    plain.privateUse = false;
    QCOMPARE(userDefinedLeadBytes(makeSamplePaper(plain).files), 0);
}

void TestSamplePaper::readerKnobs()
{
    SamplePaperOptions o = options(3);
    o.singleQuoteName = true;
    o.cutShortFile = QStringLiteral("kelmfd.txt");
    const SamplePaper p = makeSamplePaper(o);
    bool quote = false;
    for (const QStringList &rec : p.table("f_racer")->records)
        quote = quote || field(rec, "f_racer", "sensyname").contains('\'');
    QVERIFY(quote);
    // The race-card file ends inside its last record.
    QStringDecoder dec("windows-31j");
    const QString text = dec.decode(p.files[3].data);
    qsizetype fields = 0;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        fields += splitLine(line).size();
    QVERIFY(fields % 189 != 0);
    QCOMPARE(fields / 189, 71);
}

void TestSamplePaper::photosAreGifs()
{
    const SamplePaper p = makeSamplePaper(options(2));
    QSet<QString> expected;
    for (const QStringList &rec : p.table("f_racer")->records)
        expected.insert(QStringLiteral("%1.gif").arg(field(rec, "f_racer", "tourokuno").toInt(), 4, 10, QLatin1Char('0')));
    QSet<QString> found;
    for (const SamplePaperFile &f : p.files) {
        if (!f.name.endsWith(QLatin1String(".gif")))
            continue;
        found.insert(f.name);
        QBuffer buffer;
        buffer.setData(f.data);
        QImageReader reader(&buffer, "gif");
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(f.name + ": " + reader.errorString()));
        QCOMPARE(image.size(), QSize(30, 40));
    }
    QCOMPARE(found, expected);
}

void TestSamplePaper::consecutiveDaysAgree()
{
    QTemporaryDir dir;
    SamplePaperOptions o = options(2);
    o.photos = false;
    QString error;
    const QStringList names = writeSamplePapers(dir.path(), o, 30, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(names.size(), 30);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 30);
    for (const QString &n : names)
        QVERIFY(QFileInfo(dir.filePath(n)).size() > 0);
    // Days 2 to 6 of the first meeting, then meetings at the next venues.
    QVERIFY(names[0].startsWith(QLatin1String("243f1l2")));
    QVERIFY(names[5].mid(5, 1) == QLatin1String("m"));

    // Day 4's paper repeats the results of day 2 exactly as day 3's paper has them.
    const auto day3 = makeSamplePaper(options(3));
    SamplePaperOptions o4 = options(4);
    o4.date = QDate(2024, 3, 16);
    const auto day4 = makeSamplePaper(o4);
    QCOMPARE(day4.setuscode, day3.setuscode);
    QCOMPARE(day4.table("f_restb")->records.mid(0, 144), day3.table("f_restb")->records);
    QCOMPARE(day4.table("f_resta")->records.mid(0, 24), day3.table("f_resta")->records);
}

void TestSamplePaper::sameSeedSamePaper()
{
    QCOMPARE(makeSamplePaper(options(3, 5)).archive, makeSamplePaper(options(3, 5)).archive);
    QVERIFY(makeSamplePaper(options(3, 5)).archive != makeSamplePaper(options(3, 6)).archive);
}

QTEST_MAIN(TestSamplePaper)
#include "tst_samplepaper.moc"
