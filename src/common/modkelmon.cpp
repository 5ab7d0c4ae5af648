#include "modkelmon.h"

#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "common/textforms.h"
#include "platform/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QSqlError>
#include <QStringList>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace modkelmon {

qint16 kyosocode = 0;
qint16 checkflag = 1;
qint16 regstflag = 0;
qint16 downlflag = 1;

namespace {

const QString connectionName = QStringLiteral("kelmon");
std::function<void(bool)> dispmenuHandler;
ExitSink exitSink;

kelmon::DbError errorOf(const QSqlError &error)
{
    bool ok = false;
    int number = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        number = static_cast<int>(error.type());
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return kelmon::DbError(number, text);
}

QString createTableSql(const kelmon::PaperTable &table)
{
    QStringList defs;
    bool columnKey = false;
    for (const auto &c : table.cols()) {
        const QString type = QString::fromLatin1(c.type);
        columnKey = columnKey || type.contains(QLatin1String("PRIMARY KEY"));
        defs << QStringLiteral("\"%1\" %2").arg(QString::fromLatin1(c.name), type);
    }
    if (!columnKey) {
        QStringList keys;
        for (const QString &k : QString::fromLatin1(table.primaryKey).split(QLatin1Char(',')))
            keys << QLatin1Char('"') + k.trimmed() + QLatin1Char('"');
        defs << QStringLiteral("PRIMARY KEY (%1)").arg(keys.join(QLatin1String(", ")));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QString::fromLatin1(table.name), defs.join(QLatin1String(", ")));
}

QString createIndexSql(const kelmon::PaperIndex &index)
{
    QStringList cols;
    for (const QString &c : QString::fromLatin1(index.columns).split(QLatin1Char(',')))
        cols << QLatin1Char('"') + c.trimmed() + QLatin1Char('"');
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
        .arg(QString::fromLatin1(index.name), QString::fromLatin1(index.table), cols.join(QLatin1String(", ")));
}

void createSchema()
{
    Transaction tx;
    for (const auto &t : kelmon::allTables())
        exec(createTableSql(t));
    for (const auto &i : kelmon::allIndexes())
        exec(createIndexSql(i));
    tx.commit();
}

// Every table must be there with at least its columns; a file that is not a
// database, or one of another program, is refused rather than changed.
void checkSchema()
{
    for (const auto &t : kelmon::allTables()) {
        const QString table = QString::fromLatin1(t.name);
        QSqlQuery q = exec(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table});
        QSet<QString> have;
        while (q.next())
            have.insert(q.value(0).toString().toLower());
        if (have.isEmpty())
            throw kelmon::DbError(1, QStringLiteral("テーブル %1 が有りません").arg(table));
        // Every column the program reads or writes must be there by name.
        for (const auto &column : t.cols())
            if (!have.contains(QString::fromLatin1(column.name).toLower()))
                throw kelmon::DbError(1, QStringLiteral("テーブル %1 の列が足りません").arg(table));
    }
}

void finish(int code)
{
    if (exitSink) {
        exitSink(code);
        return;
    }
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace

QSqlDatabase db() { return QSqlDatabase::database(connectionName, false); }

bool is_open() { return QSqlDatabase::contains(connectionName) && db().isOpen(); }

namespace {

std::function<void(CompactionStep)> compactionHook;

void reach(CompactionStep step)
{
    if (compactionHook)
        compactionHook(step);
}

kelmon::DbError systemError(const QString &what, const QString &path)
{
    const int number = errno;
    return kelmon::DbError(number, QStringLiteral("%1: %2 (%3)")
                                       .arg(what, QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(number))));
}

// Writes a file's or a folder's data through to the disk.
void flushToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw systemError(QStringLiteral("cannot open"), path);
    if (::fsync(fd) != 0) {
        const kelmon::DbError e = systemError(QStringLiteral("cannot flush"), path);
        ::close(fd);
        throw e;
    }
    ::close(fd);
}

std::function<void(CreationStep)> creationHook;

void reach(CreationStep step)
{
    if (creationHook)
        creationHook(step);
}

// Opens the one connection on path; throws kelmon::DbError.
void openConnection(const QString &path)
{
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    d.setDatabaseName(path);
    d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!d.open()) {
        const kelmon::DbError e = errorOf(d.lastError());
        d = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw e;
    }
    try {
        exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    } catch (...) {
        close_db();
        throw;
    }
}

// The file that holds the database: path itself, or, when path is a link (a
// database kept on another disk), the file the link names, links followed to
// the end without creating anything.
struct DatabaseFile {
    QString path;
    bool linked = false;   // path was a link
    bool missing = false;  // no file there (a link's target: a disk not mounted)
};

DatabaseFile locateDatabase(const QString &path)
{
    DatabaseFile file;
    QByteArray at = QFile::encodeName(path);
    // As many links as the system itself follows; a longer chain is left to
    // the open, which fails on it.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(at.constData(), &st) != 0) {
            file.missing = errno == ENOENT;
            break;
        }
        if (!S_ISLNK(st.st_mode))
            break;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(at.constData(), target.data(), size_t(target.size()));
        if (n <= 0 || n >= target.size())
            break;
        target.truncate(n);
        file.linked = true;
        at = target.startsWith('/') ? target : at.left(at.lastIndexOf('/') + 1) + target;
    }
    file.path = QFile::decodeName(at);
    return file;
}

// True when path names no file, or a regular file without a single byte (left
// by a stop while it was being made, or by another program): such a file holds
// nothing to lose and is replaced by a new database. Anything else is kept.
bool holdsNothing(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode) && st.st_size == 0;
}

// Makes the empty database under path (a file, never a link): the fourteen
// tables and their indexes are written in one transaction into a work file
// beside it, which is flushed to the disk and only then renamed to path. A
// stop at any moment leaves either no database or a whole one; a work file
// left by a stopped start is cleared first.
void createDatabase(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QString work = path + QStringLiteral(".new");
    const auto clearWork = [&work] {
        QFile::remove(work);
        QFile::remove(work + QStringLiteral("-journal"));
    };
    clearWork();
    try {
        reach(CreationStep::WriteWork);
        openConnection(work);
        createSchema();
        close_db();
        reach(CreationStep::FlushWork);
        flushToDisk(work);
        reach(CreationStep::Replace);
        // Another copy may have put a database in place meanwhile: it stays.
        if (holdsNothing(path)) {
            // A journal or a write-ahead log beside an empty file belongs to
            // nothing that is kept; left there it would be played back onto
            // the new database.
            for (const char *log : {"-journal", "-wal", "-shm"})
                QFile::remove(path + QLatin1String(log));
            if (::rename(QFile::encodeName(work).constData(), QFile::encodeName(path).constData()) != 0)
                throw systemError(QStringLiteral("cannot create the database"), path);
            reach(CreationStep::FlushFolder);
            flushToDisk(folder);
        }
    } catch (...) {
        close_db();
        clearWork();
        throw;
    }
    clearWork();
}

} // namespace

void set_creation_hook(std::function<void(CreationStep)> hook) { creationHook = std::move(hook); }

void open_db()
{
    close_db();
    QString problem;
    if (!kelmon::ensureProgramFolder(&problem))
        throw kelmon::DbError(76, problem);
    // A link is kept: the database is made and opened where it points. A link
    // to nothing (its disk not mounted) is reported, and nothing is made in
    // its place, where the database would seem to have vanished.
    const DatabaseFile file = locateDatabase(kelmon::databasePath());
    if (file.linked && file.missing)
        throw kelmon::DbError(53, QStringLiteral("データベースファイルが有りません\r\n%1").arg(QDir::toNativeSeparators(file.path)));
    if (holdsNothing(file.path))
        createDatabase(file.path);
    openConnection(file.path);
    try {
        checkSchema();
    } catch (...) {
        close_db();
        throw;
    }
}

void close_db()
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase d = QSqlDatabase::database(connectionName, false);
        if (d.isOpen()) {
            d.rollback();
            d.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
}

QSqlQuery exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw errorOf(q.lastError());
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw errorOf(q.lastError());
    return q;
}

QVariant scalar(const QString &sql, const QVariantList &values)
{
    QSqlQuery q = exec(sql, values);
    return q.next() ? q.value(0) : QVariant();
}

QVariant keyValue(const QString &field)
{
    const double d = kelmon::val(field);
    if (std::trunc(d) == d && std::fabs(d) < 9.0e15)
        return QVariant(qlonglong(d));
    return QVariant(d);
}

Transaction::Transaction()
{
    if (!db().transaction())
        throw errorOf(db().lastError());
}

Transaction::~Transaction()
{
    if (!done_)
        db().rollback();
}

void Transaction::commit()
{
    if (!db().commit())
        throw errorOf(db().lastError());
    done_ = true;
}

void set_compaction_hook(std::function<void(CompactionStep)> hook) { compactionHook = std::move(hook); }

void optimize_db()
{
    // The compacted copy is written beside the database and only takes its
    // place by a rename once it is complete and on the disk, so kelmon.mdb is
    // always one whole database, the old or the new. A work file left by an
    // earlier run that was stopped is cleared first. A database that kelmon.mdb
    // links to is compacted beside itself, on its own disk, and the link kept.
    if (!is_open())
        open_db();
    const QString database = locateDatabase(kelmon::databasePath()).path;
    const QString work = kelmon::pathInFolder(QFileInfo(database).absolutePath(), QStringLiteral("kelmonw.mdb"));
    QFile::remove(work);
    try {
        reach(CompactionStep::WriteWork);
        // The copy takes the connection's settings: the database is read
        // through a memory map and the work file written unsynced (it is
        // flushed once below). The cache stays small: the work file's pages
        // then go out as they are filled, where a large cache holds them all
        // and sorts them before one late write, which takes a third longer.
        // The connection is reopened afterwards with the usual settings.
        exec(QStringLiteral("PRAGMA mmap_size=1073741824"));
        exec(QStringLiteral("PRAGMA synchronous=OFF"));
        exec(QStringLiteral("VACUUM INTO ?"), {work});
        reach(CompactionStep::FlushWork);
        flushToDisk(work);
        reach(CompactionStep::Close);
    } catch (...) {
        QFile::remove(work);
        throw;
    }
    close_db();
    try {
        reach(CompactionStep::Replace);
        if (::rename(QFile::encodeName(work).constData(), QFile::encodeName(database).constData()) != 0)
            throw systemError(QStringLiteral("cannot replace the database"), database);
    } catch (...) {
        QFile::remove(work);
        open_db();
        throw;
    }
    try {
        reach(CompactionStep::FlushFolder);
        flushToDisk(QFileInfo(database).absolutePath());
    } catch (...) {
        open_db();
        throw;
    }
    reach(CompactionStep::Reopen);
    open_db();
}

qint64 database_size() { return QFileInfo(kelmon::databasePath()).size(); }

int count_lzh_files()
{
    return int(kelmon::filesWithSuffix(kelmon::receiveFolder(), QStringLiteral("lzh")).size());
}

QString del_space(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s)
        if (c != QChar(0x20) && c != QChar(0x3000))
            out += c;
    return out;
}

void set_dispmenu_visible(bool visible)
{
    if (dispmenuHandler)
        dispmenuHandler(visible);
}

void set_dispmenu_handler(std::function<void(bool)> handler) { dispmenuHandler = std::move(handler); }

void file_error_end(int errnum)
{
    QString text;
    switch (errnum) {
    case 53: text = QStringLiteral("デジタル紙面ファイルが有りません"); break;
    case 62: text = QStringLiteral("指定されたファイルはデジタル紙面ファイルでは有りません"); break;
    case 76: text = QStringLiteral("デジタル紙面ファイルが存在するフォルダが有りません"); break;
    default: text = QStringLiteral("例外エラーが発生しました"); break;
    }
    kelmon::messages().critical(QStringLiteral("致命的なエラーです..."), text);
    close_db();
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    finish(1);
}

void db_error_end(int errnum, const QString &errdesc)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    kelmon::messages().critical(
        QStringLiteral("致命的なエラーです..."),
        QStringLiteral("データベースへのアクセスで致命的なエラーが発生しました... 強制終了します...\r\n\r\n%1\r\n%2")
            .arg(errnum)
            .arg(errdesc));
    close_db();
    finish(1);
}

void db_error_end(const kelmon::DbError &error) { db_error_end(error.number, error.description); }

void set_exit_sink(ExitSink sink) { exitSink = std::move(sink); }

} // namespace modkelmon
