#include "registration/importers.h"

#include "common/dberror.h"
#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "common/textforms.h"
#include "registration/gaiji.h"
#include "registration/paperreader.h"

#include <QFileInfo>
#include <QStringEncoder>
#include <QSqlDriver>
#include <QStringList>

#include <sqlite3.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace kelmon {

namespace {

// What differs between the importers beyond the table layout.
struct ImporterRule {
    const char *name;
    const char *table;
    int extraFields;                     // fields read after the stored ones
    std::initializer_list<int> spaced;   // positions stored with a leading U+3000
};

const ImporterRule rules[] = {
    {"save_f_setus", "f_setus", 0, {}},
    {"save_f_setfg", "f_setfg", 0, {}},
    {"save_f_races", "f_races", 0, {}},
    {"save_f_wakus", "f_wakus", 0, {}},
    {"save_f_resta", "f_resta", 0, {}},
    {"save_f_restb", "f_restb", 0, {}},
    {"save_f_yosos", "f_yosos", 0, {13, 14, 15}},
    {"save_f_tokhm", "f_tokhm", 1, {}},
    {"save_f_lunks", "f_lunks", 0, {}},
    {"save_f_racer", "f_racer", 0, {}},
    {"save_f_kasyu", "f_kasyu", 0, {}},
    {"save_f_motor", "f_motor", 0, {}},
    {"save_f_boats", "f_boats", 0, {}},
};
constexpr std::size_t importerCount = std::size(rules);

const std::array<PaperImporter, importerCount> &importers()
{
    static const auto list = [] {
        std::array<PaperImporter, importerCount> out{};
        for (std::size_t i = 0; i < importerCount; ++i) {
            const ImporterRule &r = rules[i];
            const PaperTable *table = findTable(r.table);
            Q_ASSERT(table);
            out[i] = {r.name, table, int(table->columnCount) + r.extraFields, std::vector<int>(r.spaced)};
        }
        return out;
    }();
    return list;
}

sqlite3 *connectionHandle()
{
    const QVariant handle = modkelmon::db().driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(1, QStringLiteral("データベースが開かれていません"));
    sqlite3 *h = *static_cast<sqlite3 *const *>(handle.constData());
    if (!h)
        throw DbError(1, QStringLiteral("データベースが開かれていません"));
    return h;
}

// The blanks of the paper's text trimming (half-width and ideographic).
inline bool isTrimmedBlank(QChar c) { return c == u' ' || c == QChar(0x3000); }

// trimBlanks as a view into the field, so that a text is bound without a copy.
QStringView blankTrimmed(QStringView text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && isTrimmedBlank(text[b]))
        ++b;
    while (e > b && isTrimmedBlank(text[e - 1]))
        --e;
    return text.sliced(b, e - b);
}

bool hasPrivateUse(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF)
            return true;
    return false;
}

// The paper's plain number forms, "-12" and "6.25", with at most 15 digits
// and an optional leading minus sign, read as the field is scanned. A whole
// number comes back in *whole (minus zero is zero), a fraction in *fraction;
// each is the value val() gives. Anything else (blanks, units, exponents,
// "&H") gives false and is left to val().
bool readPlainNumber(QStringView field, qint64 *whole, double *fraction, bool *isWhole)
{
    // Up to 15 digits the digits as a whole number and the power of ten are
    // both exact doubles, so their quotient is the correctly rounded value.
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char16_t *p = field.utf16();
    const qsizetype n = field.size();
    const qsizetype first = n > 0 && p[0] == u'-' ? 1 : 0;
    qint64 digits = 0;
    int count = 0, decimals = -1;
    for (qsizetype i = first; i < n; ++i) {
        const unsigned digit = unsigned(p[i]) - u'0';
        if (digit <= 9) {
            digits = digits * 10 + digit;
            if (++count > 15)
                return false;
            if (decimals >= 0)
                ++decimals;
        } else if (p[i] == u'.' && decimals < 0 && i > first) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (count == 0 || decimals == 0)
        return false;   // no digit, or nothing after the point
    *isWhole = decimals < 0;
    if (*isWhole) {
        *whole = first ? -digits : digits;
    } else {
        const double magnitude = double(digits) / powersOfTen[decimals];
        *fraction = first ? -magnitude : magnitude;
    }
    return true;
}

int digitCount(QStringView text)
{
    int n = 0;
    for (QChar c : text)
        n += (c.unicode() >= u'0' && c.unicode() <= u'9') ? 1 : 0;
    return n;
}

// A statement prepared once per file and reused for every record.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql) : db_(db)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt_, nullptr) != SQLITE_OK)
            fail();
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Binds the number value of a field: integral values as integers, others
    // as the real that the plain number text (at most 15 significant digits)
    // stands for. A field of at most 15 digits already is that real, so the
    // costly round trip through the text is taken only for longer ones.
    void bindNumber(int index, QStringView field)
    {
        // Most fields are whole numbers such as "12" or "-5": read as they
        // are scanned and bound without a detour through a double.
        qint64 whole;
        double value;
        bool isWhole = false;
        const bool exact = readPlainNumber(field, &whole, &value, &isWhole);
        if (exact && isWhole) {
            if (sqlite3_bind_int64(stmt_, index, whole) != SQLITE_OK)
                fail();
            return;
        }
        if (!exact)
            value = val(field);
        if (value == 0)
            value = 0;   // no negative zero
        int rc;
        if (!std::isfinite(value))
            rc = sqlite3_bind_int64(stmt_, index, 0);
        else if (value == std::trunc(value) && std::fabs(value) < 1e15)
            rc = sqlite3_bind_int64(stmt_, index, static_cast<sqlite3_int64>(value));
        else if (exact || digitCount(field) <= 15)
            rc = sqlite3_bind_double(stmt_, index, value);
        else
            rc = sqlite3_bind_double(stmt_, index, plainNumber(value).toDouble());
        if (rc != SQLITE_OK)
            fail();
    }
    // UTF-8 text, the database's own encoding, so that nothing is converted
    // inside the statement. The bytes must stay unchanged until run() returns.
    void bindText(int index, const char *utf8, qsizetype size)
    {
        if (sqlite3_bind_text(stmt_, index, utf8, int(size), SQLITE_STATIC) != SQLITE_OK)
            fail();
    }
    void run()
    {
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        if (rc != SQLITE_DONE)
            fail(rc);
    }

private:
    [[noreturn]] void fail(int rc = 0)
    {
        const int code = rc ? rc : sqlite3_errcode(db_);
        throw DbError(code, QString::fromUtf8(sqlite3_errmsg(db_)));
    }
    sqlite3 *db_;
    sqlite3_stmt *stmt_ = nullptr;
};

} // namespace

// One statement per record: a paper registered again replaces the rows of
// the same keys (the primary key of every paper table is its key columns,
// its only unique constraint).
class TableWriter {
public:
    TableWriter(sqlite3 *db, const PaperImporter &importer)
        : table_(*importer.table),
          insert_(db, insertSql()), texts_(table_.columnCount), stored_(table_.columnCount),
          spaced_(table_.columnCount, false)
    {
        for (int p : importer.spaced)
            spaced_.at(std::size_t(p)) = true;
    }

    // The fields must stay unchanged until write() returns.
    void write(const std::vector<QStringView> &fields)
    {
        const auto columns = table_.cols();

        // The texts of the record, as they are stored.
        std::vector<QStringView> &stored = stored_;
        qsizetype length = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].kind == 'N')
                continue;
            // S: the trimmed text; G: the trimmed text expanded.
            const QStringView trimmed = blankTrimmed(fields[i]);
            const bool expand = columns[i].kind == 'G' && hasPrivateUse(trimmed);
            if (spaced_[i]) {
                texts_[i] = QChar(0x3000) + (expand ? conv_gaiji(trimmed) : trimmed.toString());
                stored[i] = texts_[i];
            } else if (expand) {
                texts_[i] = conv_gaiji(trimmed);
                stored[i] = texts_[i];
            } else {
                stored[i] = trimmed;
            }
            length += stored[i].size();
        }

        // All texts are encoded into one buffer that is not resized while
        // they are bound.
        utf8_.resize(encoder_.requiredSpace(length));
        char *out = utf8_.data();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int index = int(i) + 1;
            if (columns[i].kind == 'N') {
                insert_.bindNumber(index, fields[i]);
                continue;
            }
            char *const begin = out;
            out = encoder_.appendToBuffer(out, stored[i]);
            insert_.bindText(index, begin, out - begin);
        }
        insert_.run();
    }

private:
    // A record whose key is new is inserted; one whose key is stored takes
    // the place of that row, which is left as it is when the record holds
    // the same values (each paper repeats the earlier days' results, and
    // leaving them costs less than rewriting the row and its index entries).
    QString insertSql() const
    {
        QStringList keys;
        for (const QString &k : QString::fromLatin1(table_.primaryKey).split(u','))
            keys << k.trimmed();
        QStringList marks, set, same;
        for (const PaperColumn &c : table_.cols()) {
            marks << QStringLiteral("?");
            const QString name = QLatin1String(c.name);
            if (keys.contains(name))
                continue;
            set << QStringLiteral("\"%1\" = excluded.\"%1\"").arg(name);
            same << QStringLiteral("\"%1\" IS excluded.\"%1\"").arg(name);
        }
        QString sql = QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(QLatin1String(table_.name), marks.join(u','));
        if (!set.isEmpty())
            sql += QStringLiteral(" ON CONFLICT (%1) DO UPDATE SET %2 WHERE NOT (%3)")
                       .arg(keys.join(u','), set.join(u','), same.join(QLatin1String(" AND ")));
        else
            sql += QStringLiteral(" ON CONFLICT DO NOTHING");
        return sql;
    }

    const PaperTable &table_;
    Statement insert_;
    std::vector<QString> texts_;   // expanded texts, alive until the insert has run
    std::vector<QStringView> stored_;
    std::vector<bool> spaced_;     // per column: stored with a leading U+3000
    QByteArray utf8_;              // the record's texts in UTF-8
    QStringEncoder encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

namespace {
std::size_t indexOf(const PaperImporter &importer) { return std::size_t(&importer - importers().data()); }
} // namespace

struct ImportStatements::Writers {
    sqlite3 *db = nullptr;
    std::array<std::unique_ptr<TableWriter>, importerCount> writers;
};

ImportStatements::ImportStatements() : writers_(std::make_unique<Writers>()) {}
ImportStatements::~ImportStatements() = default;

TableWriter &ImportStatements::writer(const PaperImporter &importer)
{
    sqlite3 *db = connectionHandle();
    if (db != writers_->db) {
        for (auto &w : writers_->writers)
            w.reset();
        writers_->db = db;
    }
    auto &w = writers_->writers[indexOf(importer)];
    if (!w)
        w = std::make_unique<TableWriter>(db, importer);
    return *w;
}

std::span<const PaperImporter> paperImporters() { return importers(); }

const PaperImporter *findImporter(const char *table)
{
    for (const PaperImporter &i : importers())
        if (std::strcmp(i.table->name, table) == 0)
            return &i;
    return nullptr;
}

int importPaperText(const PaperImporter &importer, const QByteArray &bytes, ImportStatements &statements,
                    const RecordHook &afterRecord)
{
    PaperReader reader = PaperReader::fromBytes(bytes, QString::fromLatin1(importer.table->file));
    if (reader.atEnd())
        return 0;
    TableWriter &writer = statements.writer(importer);
    std::vector<QStringView> fields;
    int records = 0;
    while (!reader.atEnd()) {
        reader.readRecord(importer.fieldsRead, fields);
        writer.write(fields);
        ++records;
        if (afterRecord)
            afterRecord();
    }
    return records;
}

int importPaperFile(const PaperImporter &importer, const QString &folder, const RecordHook &afterRecord)
{
    const QString path = pathInFolder(folder, QLatin1String(importer.table->file));
    if (!QFileInfo(path).isFile())
        return 0;
    ImportStatements statements;
    return importPaperText(importer, readPaperFile(path), statements, afterRecord);
}

#define KELMON_IMPORTER(table)                                                   \
    int save_##table(const QString &folder, const RecordHook &afterRecord)     \
    {                                                                          \
        return importPaperFile(*findImporter(#table), folder, afterRecord);    \
    }
KELMON_IMPORTER(f_setus)
KELMON_IMPORTER(f_setfg)
KELMON_IMPORTER(f_races)
KELMON_IMPORTER(f_wakus)
KELMON_IMPORTER(f_resta)
KELMON_IMPORTER(f_restb)
KELMON_IMPORTER(f_yosos)
KELMON_IMPORTER(f_tokhm)
KELMON_IMPORTER(f_lunks)
KELMON_IMPORTER(f_racer)
KELMON_IMPORTER(f_kasyu)
KELMON_IMPORTER(f_motor)
KELMON_IMPORTER(f_boats)
#undef KELMON_IMPORTER

} // namespace kelmon
