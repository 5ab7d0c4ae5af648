#pragma once
// The thirteen paper-file importers: each copies every record of one paper
// text file into one row of its paper table, replacing a row with the same
// key. One table-driven importer serves all thirteen.

#include <QString>
#include <functional>
#include <span>

namespace kelmon {

struct PaperTable;

struct PaperImporter {
    const char *name;          // save_f_setus ...
    const PaperTable *table;   // layout: file, columns, kinds, keys
    int fieldsRead;            // fields per record (one more than stored for f_tokhm)
    unsigned spacedMask;       // positions stored with a leading ideographic space (bit i = position i)
};

// The thirteen importers in registration order.
std::span<const PaperImporter> paperImporters();
// The importer of that table (f_setus ...), or nullptr.
const PaperImporter *findImporter(const char *table);

using RecordHook = std::function<void()>;

// Imports the importer's paper file from folder (the name matched without
// regard to case) into its table: for each record, deletes the rows with the
// record's key values, then inserts the record, all values bound. A missing
// file imports nothing. afterRecord runs after every stored record. Returns
// the number of records. Throws PaperFileError when the file cannot be read
// or ends inside a record, kelmon::DbError on a database failure. Runs in
// the caller's transaction, if any.
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
