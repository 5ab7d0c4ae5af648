#include "paperfiles.h"

#include "common/paper_schema.h"

#include <QFile>
#include <QStringEncoder>
#include <QtEndian>

namespace kelmon::test {

QByteArray cp932(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    return encoder.encode(text);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray paperLines(const QList<QStringList> &records)
{
    QString text;
    for (const QStringList &r : records)
        text += r.join(u',') + QStringLiteral("\r\n");
    return cp932(text);
}

QStringList recordFor(const char *table, const QList<int> &keys, int extraFields)
{
    QStringList fields;
    const PaperTable *t = findTable(table);
    for (std::size_t i = 0; i < t->columnCount; ++i) {
        if (qsizetype(i) < keys.size())
            fields << QString::number(keys[i]);
        else
            fields << (t->columns[i].kind == 'N' ? QStringLiteral("0") : QStringLiteral("x"));
    }
    for (int i = 0; i < extraFields; ++i)
        fields << QStringLiteral("0");
    return fields;
}

namespace {

quint16 crc16(const QByteArray &data)
{
    quint16 crc = 0;
    for (char ch : data) {
        crc ^= quint8(ch);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

void put32(QByteArray &b, quint32 v)
{
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

} // namespace

bool writeLzh(const QString &path, const QList<ArchiveEntry> &entries)
{
    QByteArray out;
    for (const ArchiveEntry &e : entries) {
        const QByteArray name = e.first.toLatin1();
        QByteArray body("-lh0-");
        put32(body, quint32(e.second.size()));
        put32(body, quint32(e.second.size()));
        put32(body, 0x2C650000);   // DOS date and time, 2002-03-05
        body.append(char(0x20)).append(char(0)).append(char(name.size())).append(name);
        const quint16 crc = crc16(e.second);
        body.append(char(crc & 0xFF)).append(char(crc >> 8));
        quint8 sum = 0;
        for (char ch : body)
            sum = quint8(sum + quint8(ch));
        out.append(char(body.size())).append(char(sum)).append(body).append(e.second);
    }
    out.append('\0');
    return writeFile(path, out);
}

} // namespace kelmon::test
