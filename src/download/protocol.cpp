#include "download/protocol.h"

#include "platform/archive.h"
#include "platform/help.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kelmon::protocol {

QString baseUrl()
{
    QString base = help::configuredUrl("baseurl", kDefaultBaseUrl).toString();
    if (!base.endsWith(u'/'))
        base += u'/';
    return base;
}

QString queryValue(const QString &value)
{
    static const QByteArray reserved = QByteArrayLiteral("&=#+% \"<>\\^`{|}");
    QStringEncoder toCp932("windows-31j");
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        const char16_t u = c.unicode();
        if (u > 0x20 && u < 0x7F && !reserved.contains(char(u))) {
            out += c;
            continue;
        }
        QByteArray bytes;
        if (u < 0x80) {
            bytes = QByteArray(1, char(u));
        } else {
            // A surrogate pair is one character.
            const qsizetype n = c.isHighSurrogate() && i + 1 < value.size() ? 2 : 1;
            bytes = toCp932.encode(QStringView(value).mid(i, n));
            i += n - 1;
        }
        for (const char b : bytes)
            out += QStringLiteral("%%1").arg(uchar(b), 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

QString checkQuery(const QString &user, const QString &password)
{
    return QStringLiteral("WCI=check&KMUSR=") + queryValue(user) + QStringLiteral("&KMPSS=") + queryValue(password);
}

QString dwldfileQuery(const QString &user, const QString &fileName)
{
    return QStringLiteral("WCI=dwldfile&KMUSR=") + queryValue(user) + QStringLiteral("&FNM=") + queryValue(fileName);
}

QString fileQuery(const QString &transferKey, const QString &archiveName)
{
    return QStringLiteral("WCI=") + queryValue(transferKey) + QStringLiteral("&FNM=") + queryValue(archiveName);
}

QString delfileQuery(const QString &user) { return QStringLiteral("WCI=delfile&KMUSR=") + queryValue(user); }

QUrl requestUrl(const QString &base, const QString &query)
{
    return QUrl::fromEncoded((base + QLatin1String(kPage) + u'?' + query).toLatin1(), QUrl::StrictMode);
}

QString answerText(const QByteArray &body)
{
    QStringDecoder fromCp932("windows-31j");
    return QString(fromCp932.decode(body)).trimmed();
}

Special special(const QString &answer)
{
    if (answer.isEmpty())
        return Special::Empty;
    if (answer.compare(u"False", Qt::CaseInsensitive) == 0)
        return Special::False;
    if (answer.compare(u"Non", Qt::CaseInsensitive) == 0)
        return Special::Non;
    if (answer.compare(u"Error", Qt::CaseInsensitive) == 0)
        return Special::Error;
    return Special::None;
}

QString specialStatus(Special s)
{
    switch (s) {
    case Special::False: return QStringLiteral("ユーザ名とパスワードが無効です...");
    case Special::Non: return QStringLiteral("ケルモンデジタルサイトにデータが有りません...");
    case Special::Error: return QStringLiteral("サイト側でエラーが発生しました...メールなどで連絡して下さい...");
    case Special::Empty: return QStringLiteral("エラーが発生しました...再試行して下さい...");
    case Special::None: break;
    }
    return {};
}

CheckAnswer readCheckAnswer(const QString &answer)
{
    CheckAnswer out;
    QStringList elements = answer.split(u',');
    const QString last = elements.takeLast();
    const bool digits = !last.isEmpty() && std::all_of(last.begin(), last.end(), [](QChar c) {
        return c.unicode() >= u'0' && c.unicode() <= u'9';
    });
    out.sample = last == QStringLiteral("∞");
    if (!digits && !out.sample)
        return out;
    out.valid = true;
    out.files = elements;
    out.count = last;
    return out;
}

DwldfileAnswer readDwldfileAnswer(const QString &answer)
{
    DwldfileAnswer out;
    const QStringList elements = answer.split(u',');
    // Only a plain archive name is ever written into the receive folder.
    if (elements.size() < 2 || !isPlainArchiveName(elements.at(1)))
        return out;
    out.valid = true;
    out.key = elements.at(0);
    out.name = elements.at(1);
    return out;
}

DelfileAnswer readDelfileAnswer(const QString &answer)
{
    DelfileAnswer out;
    const QStringList elements = answer.split(u',');
    out.acknowledged = elements.at(0).compare(u"True", Qt::CaseInsensitive) == 0;
    out.valid = out.acknowledged && elements.size() >= 2;
    if (out.valid)
        out.count = elements.at(1);
    return out;
}

bool isPlainArchiveName(const QString &name)
{
    if (name.size() <= 4 || !name.endsWith(u".lzh", Qt::CaseInsensitive) || name.startsWith(u'.'))
        return false;
    // ":" would make the name a resource path of the toolkit, or on other
    // systems a drive or a stream; no archive name holds one.
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(u"..") || name.contains(u':'))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

bool looksLikeLhaArchive(const QByteArray &data)
{
    // The fixed part of a first header, with its method mark.
    return data.size() >= 22 && mayBeginLhaHeader(data);
}

namespace {

// The fixed part of a header: through the level byte (offset 20) and the
// header CRC; level 3 adds its 32-bit header size at offset 24.
constexpr qsizetype kFixedHead = 22;
constexpr qsizetype kFixedHead3 = 28;

quint32 le(const QByteArray &b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | uchar(b.at(at + i));
    return v;
}

} // namespace

void LhaStructure::feed(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        switch (state_) {
        case State::Broken: return;
        case State::End:
            // What follows the end mark is not read as the archive's; an end
            // mark before any entry begins no archive.
            if (entries_ == 0)
                state_ = State::Broken;
            return;
        case State::Data: {
            const qint64 n = std::min<qint64>(skip_, bytes.size() - at);
            skip_ -= n;
            at += n;
            if (skip_ == 0)
                state_ = State::Header;
            break;
        }
        case State::Header: {
            if (head_.isEmpty() && bytes.at(at) == 0) {
                state_ = State::End;
                ++at;
                break;
            }
            const qsizetype want = head_.size() >= kFixedHead && head_.at(20) == 3 ? kFixedHead3 : kFixedHead;
            const qsizetype n = std::min(want - head_.size(), bytes.size() - at);
            head_.append(bytes.data() + at, n);
            at += n;
            // Refused at the first byte that cannot begin a header, not only
            // once a header's worth has come.
            if (!mayBeginLhaHeader(head_))
                state_ = State::Broken;
            else if (head_.size() == want)
                headerRead();
            break;
        }
        }
    }
}

void LhaStructure::headerRead()
{
    if (!looksLikeLhaArchive(head_)) {
        state_ = State::Broken;
        return;
    }
    const int level = head_.at(20);
    if (level == 3 && head_.size() < kFixedHead3)
        return;   // the rest of the fixed part comes next
    const qint64 packed = le(head_, 7, 4);
    qint64 headerSize = 0;
    switch (level) {
    case 0:
    case 1: headerSize = uchar(head_.at(0)) + 2; break;   // level 1: extended headers count as packed data
    case 2: headerSize = le(head_, 0, 2); break;
    case 3: headerSize = le(head_, 0, 2) == 4 ? le(head_, 24, 4) : 0; break;
    default: break;
    }
    if (headerSize < head_.size()) {
        state_ = State::Broken;
        return;
    }
    ++entries_;
    skip_ = headerSize - head_.size() + packed;
    head_.clear();
    state_ = skip_ > 0 ? State::Data : State::Header;
}

} // namespace kelmon::protocol
