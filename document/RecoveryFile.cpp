#include "RecoveryFile.h"

#include <QCryptographicHash>
#include <QList>
#include <QUrl>

#include <algorithm>
#include <map>

#include <zlib.h>

namespace {

const QByteArray Magic = QByteArrayLiteral("Quillmere recovery 1");

QByteArray hexOf(quint32 checksum)
{
    return QByteArray::number(checksum, 16).rightJustified(8, '0');
}

// The text's checksum as the header gives it: a CRC-32, or in files written before
// that took the place of the much slower SHA-256, a SHA-256.
bool checksumMatches(const std::map<QByteArray, QByteArray> &fields, const QByteArray &text)
{
    if (const auto crc = fields.find("crc32"); crc != fields.end())
        return crc->second == hexOf(RecoveryFile::checksumOf(text));
    if (const auto sha = fields.find("sha256"); sha != fields.end())
        return sha->second == QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
    return false;
}

// The header: the magic line, "key: value" lines and an empty line; the path is
// percent-encoded, since a file name may hold a line end.
std::optional<std::map<QByteArray, QByteArray>> parseHeader(const QByteArray &header)
{
    const QList<QByteArray> lines = header.split('\n');
    if (lines.isEmpty() || lines.first() != Magic)
        return std::nullopt;
    std::map<QByteArray, QByteArray> fields;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(": ");
        if (colon <= 0)
            return std::nullopt;
        fields.emplace(lines[i].left(colon), lines[i].mid(colon + 2));
    }
    return fields;
}

std::optional<quint64> unsignedField(const std::map<QByteArray, QByteArray> &fields, const char *key)
{
    const auto found = fields.find(key);
    if (found == fields.end())
        return std::nullopt;
    bool ok = false;
    const quint64 value = found->second.toULongLong(&ok);
    return ok ? std::optional<quint64>(value) : std::nullopt;
}

} // namespace

quint32 RecoveryFile::checksumOf(QByteArrayView bytes, quint32 previous)
{
    // zlib takes at most what an unsigned int counts at once.
    constexpr qsizetype Step = 1 << 30;
    uLong crc = previous;
    for (qsizetype offset = 0; offset < bytes.size(); offset += Step) {
        const QByteArrayView step = bytes.sliced(offset, std::min(Step, bytes.size() - offset));
        crc = crc32(crc, reinterpret_cast<const Bytef *>(step.data()), static_cast<uInt>(step.size()));
    }
    return static_cast<quint32>(crc);
}

QByteArray RecoveryFile::header(qsizetype length, quint32 checksum) const
{
    QByteArray bytes = Magic;
    bytes += "\npath: " + QUrl::toPercentEncoding(documentPath, "/");
    bytes += "\ndisplay-encoding: " + QByteArray::number(displayEncoding.value());
    bytes += "\nsave-encoding: " + QByteArray::number(saveEncoding.value());
    bytes += "\npid: " + QByteArray::number(writer.pid());
    bytes += "\nprocess-start: " + QByteArray::number(writer.startTicks());
    bytes += "\nwritten: " + written.toUTC().toString(Qt::ISODateWithMs).toLatin1();
    bytes += "\nlength: " + QByteArray::number(length);
    bytes += "\ncrc32: " + hexOf(checksum);
    bytes += "\n\n";
    return bytes;
}

QByteArray RecoveryFile::serialize() const
{
    return header(text.size(), checksumOf(text)) + text;
}

std::optional<RecoveryFile> RecoveryFile::parse(const QByteArray &bytes)
{
    const qsizetype headerEnd = bytes.indexOf("\n\n");
    if (headerEnd < 0)
        return std::nullopt;
    const auto fields = parseHeader(bytes.left(headerEnd));
    if (!fields)
        return std::nullopt;
    const auto display = unsignedField(*fields, "display-encoding");
    const auto save = unsignedField(*fields, "save-encoding");
    const auto pid = unsignedField(*fields, "pid");
    const auto start = unsignedField(*fields, "process-start");
    const auto length = unsignedField(*fields, "length");
    const auto path = fields->find("path");
    const auto written = fields->find("written");
    if (!display || !save || !pid || !start || !length || path == fields->end() || written == fields->end())
        return std::nullopt;

    RecoveryFile file;
    file.text = bytes.mid(headerEnd + 2);
    if (static_cast<quint64>(file.text.size()) != *length || !checksumMatches(*fields, file.text))
        return std::nullopt;
    file.written = QDateTime::fromString(QString::fromLatin1(written->second), Qt::ISODateWithMs);
    if (!file.written.isValid())
        return std::nullopt;
    file.documentPath = QUrl::fromPercentEncoding(path->second);
    file.displayEncoding = EncodingFlags(static_cast<quint16>(*display));
    file.saveEncoding = EncodingFlags(static_cast<quint16>(*save));
    file.writer = ProcessIdentity(static_cast<qint64>(*pid), *start);
    return file;
}
