#pragma once
// Reader of the paper text files: code page 932 text, fields separated by a
// comma or a line end, optionally enclosed in double quotes. Records are a
// fixed number of consecutive fields, counted over line ends.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <stdexcept>
#include <vector>

namespace kelmon {

// A paper text file that cannot be read to the end: it could not be opened,
// it holds bytes that are no code page 932 character, or it ended inside a
// record.
struct PaperFileError : std::runtime_error {
    enum Kind { Unreadable, Undecodable, EndInsideRecord };
    PaperFileError(Kind kind, const QString &file, const QString &detail = {});
    Kind kind;
    QString file;     // plain file name, e.g. kelmfd.txt
    QString detail;   // system text for Unreadable, the line (from 1) for Undecodable
    // The reason as shown to the user.
    QString reason() const;
};

// Code page 932 bytes to text as that code page reads them: 0x00 to 0x7F are
// themselves (control bytes included), 0xA1 to 0xDF half-width katakana, 0x80,
// 0xA0 and 0xFD to 0xFF U+0080 and U+F8F0 to U+F8F3, and the user-defined area
// F040.. the private-use code points U+E000... A byte sequence that names no
// character becomes U+FFFD, and *badOffset (when given) gets the byte offset
// of the first one, -1 when there is none.
QString decodeCp932(QByteArrayView bytes, qsizetype *badOffset = nullptr);

// The bytes of a paper file; throws PaperFileError(Unreadable).
QByteArray readPaperFile(const QString &path);

class PaperReader {
public:
    // Reads decoded text; fileName is only used in error reports. An
    // end-of-file mark (U+001A) followed by nothing but blanks and line ends
    // ends the text.
    explicit PaperReader(QString text, QString fileName = {});
    // Decodes a paper file's bytes; throws PaperFileError(Undecodable) when
    // they hold a sequence that is no code page 932 character.
    static PaperReader fromBytes(const QByteArray &bytes, const QString &fileName);
    // Opens and decodes a file; throws PaperFileError(Unreadable) or
    // PaperFileError(Undecodable).
    static PaperReader fromFile(const QString &path);

    // True when no further record starts: the end of the text, or only
    // blanks and line ends before it.
    bool atEnd() const;

    // Reads the next `count` fields into `fields` (resized to count, each the
    // field's text as written, quotes removed; the views point into the
    // reader's text and stay valid while the reader lives). Throws
    // PaperFileError(EndInsideRecord) when the text ends before the record is
    // complete, a quoted field without its closing quote included.
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
