#pragma once
// Reader of the paper text files: code page 932 text, fields separated by a
// comma or a line end, optionally enclosed in double quotes. Records are a
// fixed number of consecutive fields, counted over line ends.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <stdexcept>
#include <vector>

namespace kelmon {

// A paper text file that cannot be read to the end: it could not be opened,
// or it ended inside a record.
struct PaperFileError : std::runtime_error {
    enum Kind { Unreadable, EndInsideRecord };
    PaperFileError(Kind kind, const QString &file, const QString &detail = {});
    Kind kind;
    QString file;     // plain file name, e.g. kelmfd.txt
    QString detail;   // system text for Unreadable, empty otherwise
    // The reason as shown to the user.
    QString reason() const;
};

// Code page 932 bytes to text; the user-defined area F040.. becomes the
// private-use code points U+E000..
QString decodeCp932(const QByteArray &bytes);

class PaperReader {
public:
    // Reads decoded text; fileName is only used in error reports.
    explicit PaperReader(QString text, QString fileName = {});
    // Opens and decodes a file; throws PaperFileError(Unreadable).
    static PaperReader fromFile(const QString &path);

    // True when no further record starts: the end of the text, or only
    // blanks and line ends (and an end-of-file mark) before it.
    bool atEnd() const;

    // Reads the next `count` fields into `fields` (resized to count, each the
    // field's text as written, quotes removed; the views point into the
    // reader's text and stay valid while the reader lives). Throws
    // PaperFileError(EndInsideRecord) when the text ends before the record is
    // complete.
    void readRecord(int count, std::vector<QStringView> &fields);

    const QString &fileName() const { return fileName_; }

private:
    bool readField(QStringView &out);

    QString text_;
    QString fileName_;
    qsizetype pos_ = 0;
    // The last field ended at a comma: one more (possibly empty) field follows
    // even at the end of the text.
    bool afterComma_ = false;
};

} // namespace kelmon
