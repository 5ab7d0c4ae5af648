#pragma once
// The thirteen paper-file importers: each copies every record of one paper
// text file into one row of its paper table, replacing a row with the same
// key. One table-driven importer serves all thirteen.

#include <QString>
#include <QByteArray>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace kelmon {

struct PaperTable;

struct PaperImporter {
    const char *name;          // save_f_setus ...
    const PaperTable *table;   // layout: file, columns, kinds, keys
    int fieldsRead;            // fields per record (one more than stored for f_tokhm)
    std::vector<int> spaced;   // positions stored with a leading ideographic space
};

// The thirteen importers in registration order.
std::span<const PaperImporter> paperImporters();
// The importer of that table (f_setus ...), or nullptr.
const PaperImporter *findImporter(const char *table);

using RecordHook = std::function<void()>;

class TableWriter;

// The importers' prepared statements on the open connection, prepared on first
// use and kept for a run of archives. Destroy it before the connection closes;
// a connection opened anew since the last use gets fresh statements.
class ImportStatements {
public:
    ImportStatements();
    ~ImportStatements();
    ImportStatements(const ImportStatements &) = delete;
    ImportStatements &operator=(const ImportStatements &) = delete;
    TableWriter &writer(const PaperImporter &importer);

private:
    struct Writers;
    std::unique_ptr<Writers> writers_;
};

// Imports the importer's paper file, given as its bytes (code page 932), into
// its table: each record replaces the row with the record's key values, all
// values bound. afterRecord runs after every stored record. Returns the number
// of records. Throws PaperFileError when the bytes hold no code page 932
// text or the text ends inside a record,
// kelmon::DbError on a database failure. Runs in the caller's transaction, if
// any.
int importPaperText(const PaperImporter &importer, const QByteArray &bytes, ImportStatements &statements,
                    const RecordHook &afterRecord = {});

// The same from the paper file in folder (the name matched without regard to
// case); a missing file imports nothing, one that cannot be read throws
// PaperFileError.
int importPaperFile(const PaperImporter &importer, const QString &folder, const RecordHook &afterRecord = {});

// The importers by name.
int save_f_setus(const QString &folder, const RecordHook &afterRecord = {});
int save_f_setfg(const QString &folder, const RecordHook &afterRecord = {});
int save_f_races(const QString &folder, const RecordHook &afterRecord = {});
int save_f_wakus(const QString &folder, const RecordHook &afterRecord = {});
int save_f_resta(const QString &folder, const RecordHook &afterRecord = {});
int save_f_restb(const QString &folder, const RecordHook &afterRecord = {});
int save_f_yosos(const QString &folder, const RecordHook &afterRecord = {});
int save_f_tokhm(const QString &folder, const RecordHook &afterRecord = {});
int save_f_lunks(const QString &folder, const RecordHook &afterRecord = {});
int save_f_racer(const QString &folder, const RecordHook &afterRecord = {});
int save_f_kasyu(const QString &folder, const RecordHook &afterRecord = {});
int save_f_motor(const QString &folder, const RecordHook &afterRecord = {});
int save_f_boats(const QString &folder, const RecordHook &afterRecord = {});

} // namespace kelmon
