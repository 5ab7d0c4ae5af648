#include "registration/registerarchive.h"

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "platform/archive.h"
#include "registration/archivenames.h"
#include "registration/importers.h"
#include "registration/paperreader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace kelmon {

namespace {

QString failureText(const QString &archiveName, const QString &reason)
{
    return QStringLiteral("デジタル紙面 %1 を登録できませんでした。\r\n%2").arg(archiveName, reason);
}

// A fresh folder only this run writes to (mode 0700), next to the archive
// when possible.
std::unique_ptr<QTemporaryDir> makeWorkFolder(const QString &archivePath)
{
    auto dir = std::make_unique<QTemporaryDir>(QFileInfo(archivePath).absoluteDir().filePath(QStringLiteral(".kelmon-work-XXXXXX")));
    if (dir->isValid())
        return dir;
    dir = std::make_unique<QTemporaryDir>();
    return dir->isValid() ? std::move(dir) : nullptr;
}

} // namespace

ArchiveRegistration register_archive(const QString &archivePath, const RegistrationHooks &hooks)
{
    auto phase = [&hooks](RegistrationPhase p) {
        if (hooks.phase)
            hooks.phase(p);
    };
    auto step = [&hooks] {
        if (hooks.step)
            hooks.step();
    };

    ArchiveRegistration result;
    const QString archiveName = QFileInfo(archivePath).fileName();

    phase(RegistrationPhase::Extracting);
    const auto work = makeWorkFolder(archivePath);
    if (!work) {
        result.message = failureText(archiveName, QStringLiteral("作業フォルダを作成できません"));
        return result;
    }
    const ExtractResult extracted = extractArchive(archivePath, work->path());
    if (!extracted.ok()) {
        result.message = failureText(archiveName, extracted.reason());
        return result;
    }
    step();
    phase(RegistrationPhase::Importing);

    const PaperImporter *raceCard = findImporter("f_wakus");
    modkelmon::Transaction transaction;
    try {
        for (const PaperImporter &importer : paperImporters()) {
            const bool stepsPerRecord = &importer == raceCard;
            result.records += importPaperFile(importer, work->path(), [&] {
                if (stepsPerRecord)
                    step();
                if (hooks.afterRecord)
                    hooks.afterRecord();
            });
            if (!stepsPerRecord)
                step();
        }
    } catch (const PaperFileError &error) {
        result.records = 0;
        result.message = failureText(archiveName, error.reason());
        return result;   // the transaction rolls back
    }

    QString photoError;
    if (!copy_photo(work->path(), photoFolder(), &photoError)) {
        result.records = 0;
        result.message = failureText(archiveName, photoError);
        return result;
    }
    step();
    transaction.commit();
    result.registered = true;
    return result;
}

} // namespace kelmon
