#include "registration/paperreader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace kelmon {

PaperFileError::PaperFileError(Kind kind, const QString &file, const QString &detail)
    : std::runtime_error((file + QStringLiteral(": ") + (kind == Unreadable ? detail : QStringLiteral("ends inside a record")))
                             .toStdString()),
      kind(kind), file(file), detail(detail)
{
}

QString PaperFileError::reason() const
{
    if (kind == EndInsideRecord)
        return QStringLiteral("紙面ファイル %1 が途中で終わっています").arg(file);
    if (detail.isEmpty())
        return QStringLiteral("紙面ファイル %1 を読み込めません").arg(file);
    return QStringLiteral("紙面ファイル %1 を読み込めません（%2）").arg(file, detail);
}

QString decodeCp932(const QByteArray &bytes)
{
    // windows-31j is code page 932 with its user-defined area mapped to
    // U+E000.. (F040 -> U+E000, F141 -> U+E0BD).
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

PaperReader::PaperReader(QString text, QString fileName)
    : text_(std::move(text)), fileName_(std::move(fileName))
{
}

PaperReader PaperReader::fromFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PaperFileError(PaperFileError::Unreadable, name, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PaperFileError(PaperFileError::Unreadable, name, file.errorString());
    return PaperReader(decodeCp932(bytes), name);
}

namespace {

inline bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
inline bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

} // namespace

bool PaperReader::atEnd() const
{
    for (qsizetype i = pos_; i < text_.size(); ++i) {
        const QChar c = text_.at(i);
        if (!isBlank(c) && !isLineEnd(c) && c != QChar(0x1A))
            return false;
    }
    return true;
}

bool PaperReader::readField(QStringView &out)
{
    const QStringView text(text_);
    const qsizetype end = text.size();
    if (pos_ >= end && !afterComma_)
        return false;
    afterComma_ = false;

    qsizetype p = pos_;
    while (p < end && isBlank(text_.at(p)))
        ++p;

    if (p < end && text_.at(p) == u'"') {
        // Quoted: the value runs to the next double quote, line ends and
        // commas included; what follows the closing quote up to the next
        // separator is dropped.
        const qsizetype close = text_.indexOf(u'"', p + 1);
        if (close < 0) {
            out = text.sliced(p + 1);
            p = end;
        } else {
            out = text.sliced(p + 1, close - p - 1);
            p = close + 1;
            while (p < end && text_.at(p) != u',' && !isLineEnd(text_.at(p)))
                ++p;
        }
    } else {
        const qsizetype start = pos_;
        while (p < end && text_.at(p) != u',' && !isLineEnd(text_.at(p)))
            ++p;
        out = text.sliced(start, p - start);
    }

    // Consume the separator: a comma, or one line end (CR LF, CR or LF).
    if (p < end) {
        const QChar c = text_.at(p);
        if (c == u',') {
            ++p;
            afterComma_ = true;
        } else if (c == u'\r') {
            ++p;
            if (p < end && text_.at(p) == u'\n')
                ++p;
        } else if (c == u'\n') {
            ++p;
        }
    }
    pos_ = p;
    return true;
}

void PaperReader::readRecord(int count, std::vector<QStringView> &fields)
{
    fields.resize(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        if (!readField(fields[i]))
            throw PaperFileError(PaperFileError::EndInsideRecord, fileName_);
    }
}

} // namespace kelmon
