#include "SourceFileReader.h"

#include "ConversionPivot.h"
#include "ConverterBinding.h"
#include "HugePageMemory.h"

#include <QFile>

#include <new>

SourceFileReader::SourceFileReader(const ConverterLibrary &library)
    : m_library(library)
{
}

std::optional<QString> SourceFileReader::read(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    try {
        const std::optional<QByteArray> bytes = readWholeFile(file);
        if (!bytes)
            return std::nullopt;
        return decode(*bytes);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

std::optional<QString> SourceFileReader::decode(const QByteArray &bytes) const
{
    if (bytes.isEmpty())
        return QString();
    const ConverterBinding binding(m_library);
    if (!binding.canConvert())
        return withLfLineEnds(QString::fromUtf8(bytes));
    const ConversionResult result = binding.read(bytes, ConversionPivot::platform().readOptions());
    if (!result.converted())
        return std::nullopt;
    return HugePageMemory::fromUtf8(result.text);
}

std::optional<QByteArray> SourceFileReader::readWholeFile(QFile &file)
{
    // The size the file has now is read in one piece; whatever follows, from a file
    // that grew meanwhile or one whose size is unknown, is read after it.
    QByteArray bytes;
    if (!file.isSequential() && file.size() > 0) {
        bytes = HugePageMemory::uninitializedBytes(file.size());
        const qint64 read = file.read(bytes.data(), bytes.size());
        if (read < 0)
            return std::nullopt;
        bytes.truncate(read);
    }
    bytes.append(file.readAll());
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QString SourceFileReader::withLfLineEnds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}
