// Fuzz target: one paper text file through the code page 932 decoder, the
// reader and one importer, in a transaction that is rolled back.
//
// Input: the first byte picks the paper file (modulo thirteen, in the order
// of the table list), the rest is the file. A file that cannot be read to the
// end is a fault of the paper, not a finding; a database failure is a finding
// (registration would end the program), and so is a row left behind by the
// rollback.

#include "fuzzsupport.h"

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "registration/importers.h"
#include "registration/paperreader.h"

#include <vector>

using namespace kelmon;

namespace {

std::vector<const PaperImporter *> importers;   // in the order of allTables()
// Kept for the whole run like registration keeps them for a run of archives;
// never destroyed, as the connection is never closed.
ImportStatements *statements = nullptr;

qint64 rowCount(const PaperImporter &importer)
{
    return modkelmon::scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(importer.table->name)))
        .toLongLong();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::initialize(argc, argv);
    setProgramFolder(fuzz::scratch());
    QString error;
    if (!ensureProgramFolder(&error))
        fuzz::finding(error);
    try {
        modkelmon::open_db();
        // The database is thrown away at the end: no need to wait for the disk.
        modkelmon::exec(QStringLiteral("pragma synchronous = off"));
        modkelmon::exec(QStringLiteral("pragma journal_mode = memory"));
    } catch (const DbError &e) {
        fuzz::finding(QStringLiteral("cannot open the database: %1").arg(e.description));
    }
    for (const PaperTable &table : allTables())
        if (*table.file)
            importers.push_back(findImporter(table.name));
    statements = new ImportStatements;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const PaperImporter &importer = *importers[data[0] % importers.size()];
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    try {
        modkelmon::Transaction tx;
        importPaperText(importer, bytes, *statements);
    } catch (const PaperFileError &) {
    } catch (const DbError &e) {
        fuzz::finding(QStringLiteral("%1: database failure %2").arg(QLatin1String(importer.name), e.description));
    }
    if (const qint64 left = rowCount(importer))
        fuzz::finding(QStringLiteral("%1: %2 rows left after the rollback").arg(importer.name).arg(left));
    return 0;
}
