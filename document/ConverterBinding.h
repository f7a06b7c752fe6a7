#pragma once

#include "ConversionResult.h"

#include <QByteArray>

class ConverterLibrary;

// The calls into the conversion library. Every operation is looked up by name
// immediately before it is used, so a library lacking one is reported instead of
// called. A conversion is always the same sequence: options, a sizing call, a
// zero-filled buffer of the reported size, the conversion call, and after reading
// the query of the input encoding. Running out of memory for a buffer throws
// std::bad_alloc, which the caller turns into its own message.
class ConverterBinding
{
public:
    explicit ConverterBinding(const ConverterLibrary &library);

    // Whether the library is loaded with the options and conversion operations,
    // the condition for reading and writing through it at all.
    bool canConvert() const;

    // Reads file bytes into the pivot; the buffer is one byte longer than measured
    // and the result tells the encoding the library read.
    ConversionResult read(const QByteArray &bytes, const QByteArray &options) const;
    // Writes pivot text into a file's encoding.
    ConversionResult write(const QByteArray &text, const QByteArray &options) const;

private:
    enum class Direction { Reading, Writing };

    ConversionResult convert(const QByteArray &input, const QByteArray &options, Direction direction) const;
    void queryInputEncoding(ConversionResult &result) const;
    void queryReplacedCount(ConversionResult &result) const;

    const ConverterLibrary &m_library;
};
