#include "registration/registerarchive.h"

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/programfolder.h"
#include "platform/archive.h"
#include "registration/archivenames.h"
#include "registration/importers.h"
#include "registration/paperreader.h"

#include <QDir>
#include <QFile>

#include <vector>

namespace kelmon {

namespace {

QString failureText(const QString &archiveName, const QString &reason)
{
    return QStringLiteral("デジタル紙面 %1 を登録できませんでした。\r\n%2").arg(archiveName, reason);
}

// Takes an archive's entries as they are read: the paper files into memory,
// the photos into the photo folder under temporary names.
class PaperSink : public ExtractSink {
public:
    PaperSink(const QString &photoFolder, PhotoSpares *spares, const RegistrationHooks &hooks)
        : photos_(photoFolder, spares), hooks_(hooks)
    {
    }

    bool begin(const QString &name, qint64 size, QString *detail) override
    {
        if (isPhotoName(name)) {
            text_ = nullptr;
            return photos_.begin(name, &photoError_) || fail(detail);
        }
        const auto importers = paperImporters();
        for (std::size_t i = 0; i < importers.size(); ++i) {
            if (name.compare(QLatin1String(importers[i].table->file), Qt::CaseInsensitive) == 0) {
                text_ = &texts_[i];
                text_->clear();
                if (size > 0)
                    text_->reserve(size);
                return true;
            }
        }
        text_ = &ignored_;   // a paper name that no importer reads
        text_->clear();
        return true;
    }
    bool data(const char *bytes, qsizetype count, QString *detail) override
    {
        if (text_) {
            text_->append(bytes, count);
            return true;
        }
        return photos_.write(bytes, count, &photoError_) || fail(detail);
    }
    bool end(QString *detail) override { return text_ || photos_.end(&photoError_) || fail(detail); }
    void afterEntry() override
    {
        if (hooks_.afterRecord)
            hooks_.afterRecord();
    }

    // The paper file of the importer at index i (empty when the archive has none).
    const QByteArray &text(std::size_t i) const { return texts_[i]; }
    StagedPhotos &photos() { return photos_; }
    // The reason a photo could not be written, for the user.
    const QString &photoError() const { return photoError_; }

private:
    bool fail(QString *detail)
    {
        *detail = photoError_;
        return false;
    }

    std::vector<QByteArray> texts_ = std::vector<QByteArray>(paperImporters().size());
    QByteArray ignored_;
    QByteArray *text_ = nullptr;   // the entry being read, or nullptr for a photo
    StagedPhotos photos_;
    QString photoError_;
    const RegistrationHooks &hooks_;
};

} // namespace

void removeStaleWorkFiles()
{
    // Folders of earlier versions that extracted into receive/, photos staged
    // in photo/ by a run that was ended by force, and archives of downloads
    // that were stopped (the viewer killed, the machine off). The download
    // dialog has closed before registration opens, and no other copy of the
    // viewer runs, so no download of the program folder is under way.
    // A link named like a work folder goes as a staging file's link does,
    // never followed: whatever it points to stays.
    const QString workStem = QStringLiteral(".kelmon-work-");
    const QDir receive(receiveFolder());
    for (const QString &name : receive.entryList({workStem + u'*'},
                                                 QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot))
        QDir(receive.filePath(name)).removeRecursively();
    removeStagingLeftovers(receiveFolder(), workStem);
    removeStagingLeftovers(photoFolder(), photoStagingStem);
    removeStagingLeftovers(receiveFolder(), downloadStagingStem);
}

ArchiveRegistration register_archive(const QString &archivePath, const RegistrationHooks &hooks,
                                     RegistrationSession *session)
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
    RegistrationSession ownSession;
    RegistrationSession &kept = session ? *session : ownSession;
    PaperSink sink(photoFolder(), &kept.photos, hooks);
    const ExtractResult extracted = extractArchive(archivePath, sink);
    if (!extracted.ok()) {
        const bool photoFailed = extracted.status == ExtractResult::WriteFailed && !sink.photoError().isEmpty();
        result.message = failureText(archiveName, photoFailed ? sink.photoError() : extracted.reason());
        return result;   // the photos written so far are removed with the sink
    }
    step();
    phase(RegistrationPhase::Importing);

    const auto importers = paperImporters();
    const PaperImporter *raceCard = findImporter("f_wakus");
    modkelmon::Transaction transaction;
    try {
        for (std::size_t i = 0; i < importers.size(); ++i) {
            const bool stepsPerRecord = &importers[i] == raceCard;
            result.records += importPaperText(importers[i], sink.text(i), kept.statements, [&] {
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
    if (!sink.photos().copy_photo(&photoError)) {
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
