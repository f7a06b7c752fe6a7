#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>

// Blocks of many megabytes that are filled once, front to back, right after they
// are allocated: the bytes of a file, the converter's output, the decoded text.
// Asking the system for huge pages before the first write saves most of the page
// faults that filling them in pages of 4 KiB costs. This is only advice: where the
// system has no huge page to give, the memory works the same.
class HugePageMemory
{
public:
    // Advises the whole 2 MiB pages inside the block; smaller blocks are left alone.
    static void advise(void *data, std::size_t size);

    static QByteArray uninitializedBytes(qsizetype size);
    static QByteArray zeroedBytes(qsizetype size);
    // The same text as QString::fromUtf8 gives.
    static QString fromUtf8(QByteArrayView utf8);
};
