#pragma once

#include "TextEncoding.h"

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// What one call of the converter gave. Only Converted carries text; every other
// status says which step failed, and the caller decides what follows (a missing
// library or operation means the plain UTF-8 path, a failed step a conversion
// failure).
struct ConversionResult
{
    enum class Status {
        Converted,
        LibraryMissing,
        OperationMissing,
        InputTooLarge,
        SizingFailed,
        ConversionFailed,
        UnknownInputEncoding,
    };

    Status status = Status::LibraryMissing;
    QByteArray text;
    // When reading: the encoding the converter read the input in.
    std::optional<TextEncoding> inputEncoding;
    // Characters replaced on the way; unknown when the library does not count them.
    std::optional<quint32> replacedCount;

    bool converted() const { return status == Status::Converted; }
};
