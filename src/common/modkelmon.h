#pragma once
// The shared module: the one database connection, compaction, the four
// start-up settings, the fatal exits and small helpers.

#include "common/dberror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>

namespace modkelmon {

// The four start-up settings of the settings row, held for the run.
extern qint16 kyosocode;   // default venue 1..24, 0 = none
extern qint16 checkflag;   // 1 = check the database size at start
extern qint16 regstflag;   // 1 = offer registration at start
extern qint16 downlflag;   // 1 = open registration after a download

// The one connection. open_db creates kelmon.mdb with all fourteen tables when
// the file does not exist or holds no byte, and checks that every table is
// there; it throws kelmon::DbError on failure. The new database is made in the
// work file kelmon.mdb.new beside it and renamed into place when complete and
// on the disk, so a stop leaves no database or a whole one. When kelmon.mdb is
// a link, all this happens where it points and the link stays; a link to no
// file is refused with a message naming that file.
void open_db();
// The steps of making a new database, in order, for the creation hook.
enum class CreationStep {
    WriteWork,     // before the tables are written into the work file
    FlushWork,     // before the work file is flushed
    Replace,       // before the rename to kelmon.mdb
    FlushFolder,   // before the folder is flushed
};
// Called before each step (tests fail or end the process there); an empty
// hook removes it.
void set_creation_hook(std::function<void(CreationStep)> hook);
void close_db();
bool is_open();
QSqlDatabase db();

// Runs one statement with bound values on the connection; throws kelmon::DbError.
QSqlQuery exec(const QString &sql, const QVariantList &values = {});
// The first column of the first row, or an invalid QVariant when there is none.
QVariant scalar(const QString &sql, const QVariantList &values = {});
// A context field (text) as a bound key value: its numeric value (val, 0 for
// a text that is not a number), whole numbers bound as integers.
QVariant keyValue(const QString &field);

// Transaction guard: rolls back unless commit() was called.
class Transaction {
public:
    Transaction();
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
private:
    bool done_ = false;
};

// Compacts the database: VACUUM INTO the work file kelmonw.mdb beside it,
// flushed to disk; the connection is closed, the work file renamed over
// kelmon.mdb (atomic), the folder flushed and the connection reopened. A
// failure or a kill at any step leaves either the old or the new complete
// database under kelmon.mdb; a failure throws kelmon::DbError with the
// connection open on whichever that is.
void optimize_db();
// The steps of optimize_db, in order, for the compaction hook.
enum class CompactionStep {
    WriteWork,     // before VACUUM INTO the work file
    FlushWork,     // before the work file is flushed
    Close,         // before the connection is closed
    Replace,       // before the rename over kelmon.mdb
    FlushFolder,   // before the folder is flushed
    Reopen,        // before the connection is reopened
};
// Called before each step (tests fail or end the process there); an empty
// hook removes it.
void set_compaction_hook(std::function<void(CompactionStep)> hook);
// Size of kelmon.mdb in bytes.
qint64 database_size();

// Number of *.lzh archives waiting in receive/ (names matched without regard
// to case; subfolders ignored; 0 when the folder is missing).
int count_lzh_files();

// s without half-width and ideographic blanks.
QString del_space(const QString &s);

// Shows or hides the race-card format menu and its toolbar buttons; the main
// window installs the handler.
void set_dispmenu_visible(bool visible);
void set_dispmenu_handler(std::function<void(bool)> handler);

// Fatal exits: show the critical message, close the connection, end the
// program through the exit sink. Tests replace the sink to record the exit.
void file_error_end(int errnum);
void db_error_end(int errnum, const QString &errdesc);
void db_error_end(const kelmon::DbError &error);
// Runs command with the fatal database exit as its error handler; returns
// false when a database failure ended it.
template <typename F> bool guarded(F &&command)
{
    try {
        command();
        return true;
    } catch (const kelmon::DbError &error) {
        db_error_end(error);
        return false;
    }
}
using ExitSink = std::function<void(int code)>;
void set_exit_sink(ExitSink sink);   // an empty sink restores the real exit

} // namespace modkelmon
