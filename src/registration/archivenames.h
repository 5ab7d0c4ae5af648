#pragma once
// Paper archive names and racer photos.

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace kelmon {

// Title of a paper from its archive file name "yymdxvkg.lzh" (year, month in
// hex, day 1-9/a-v, unused, venue letter, edition, grade), for example
// "住之江 ＳＧ 初日版(02/03/05)". A name that cannot be decoded (fewer than
// eight characters before the extension, or a month that is not a hex digit)
// gives the file name itself.
QString get_newspname(const QString &archiveName);

// Files of earlier photos that new ones replaced, kept during a run of
// registrations for the photos of the next archives: writing a photo into one
// of them costs far less than creating a file and deleting the replaced one.
// They are removed with the object (after a run ended by force, by
// removeStaleWorkFiles).
class PhotoSpares {
public:
    PhotoSpares() = default;
    ~PhotoSpares();
    PhotoSpares(const PhotoSpares &) = delete;
    PhotoSpares &operator=(const PhotoSpares &) = delete;

    // A spare file's path, or an empty one when there is none.
    QByteArray take();
    void keep(QByteArray path);

private:
    std::vector<QByteArray> paths_;
};

// The racer photos ????.gif of one archive: written into the photo folder
// under temporary names while the archive is read, given their own names by
// copy_photo once the archive's papers are imported; whatever has not been
// placed is removed with the object.
class StagedPhotos {
public:
    // Replaced photos' files go to spares when given, else they are removed.
    explicit StagedPhotos(const QString &photoFolder, PhotoSpares *spares = nullptr);
    ~StagedPhotos();
    StagedPhotos(const StagedPhotos &) = delete;
    StagedPhotos &operator=(const StagedPhotos &) = delete;

    // Writes one photo: begin, its data in pieces, end. A photo of the same
    // name later in the archive replaces the earlier one. Each returns false
    // with a message for the user in *error when the photo cannot be written
    // (the photo folder is created when missing).
    bool begin(const QString &name, QString *error);
    bool write(const char *bytes, qsizetype count, QString *error);
    bool end(QString *error);

    // Gives every written photo its name in the photo folder, replacing an
    // earlier photo of that name whatever its case; a pipe, device, socket or
    // link of that name is replaced too, never written into, while a folder
    // is left as it is and the photo cannot be put in place. Every name is
    // looked at first: when one photo cannot be put in place, none is, and
    // false is returned with a message for the user in *error.
    bool copy_photo(QString *error);

private:
    struct Photo;
    QString folder_;
    PhotoSpares *spares_;
    bool folderChecked_ = false;
    std::vector<std::unique_ptr<Photo>> photos_;
    Photo *current_ = nullptr;
};

} // namespace kelmon
