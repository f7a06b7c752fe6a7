#include "HugePageMemory.h"

#include <QStringDecoder>

#include <cstdint>
#include <sys/mman.h>

namespace {

constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;

} // namespace

void HugePageMemory::advise(void *data, std::size_t size)
{
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t firstPage = (start + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t lastPageEnd = (start + size) & ~(HugePage - 1);
    if (lastPageEnd > firstPage)
        madvise(reinterpret_cast<void *>(firstPage), lastPageEnd - firstPage, MADV_HUGEPAGE);
}

QByteArray HugePageMemory::uninitializedBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    advise(bytes.data(), static_cast<std::size_t>(size));
    return bytes;
}

QByteArray HugePageMemory::zeroedBytes(qsizetype size)
{
    QByteArray bytes = uninitializedBytes(size);
    bytes.fill('\0');
    return bytes;
}

QString HugePageMemory::fromUtf8(QByteArrayView utf8)
{
    // Like QString::fromUtf8: a byte-order mark at the start is dropped, and a
    // sequence cut off at the end becomes U+FFFD.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text(decoder.requiredSpace(utf8.size()), Qt::Uninitialized);
    advise(text.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
    const QChar *const end = decoder.appendToBuffer(text.data(), utf8);
    text.truncate(end - text.constData());
    return text;
}
