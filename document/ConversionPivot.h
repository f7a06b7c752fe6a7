#pragma once

#include "EncodingFlags.h"
#include "NewlineCode.h"
#include "TextEncoding.h"

#include <QByteArray>

// The form in which text travels between the editor and the converter, and the
// option strings that follow from it. On this platform it is UTF-8 with LF.
struct ConversionPivot
{
    TextEncoding encoding;
    NewlineCode newline;

    static constexpr ConversionPivot platform() { return {TextEncoding::Utf8, NewlineCode::Lf}; }

    // Reading a file: detect its encoding, produce the pivot.
    QByteArray readOptions() const;
    // Reading the same bytes again in a chosen encoding.
    QByteArray rereadOptions(TextEncoding encoding) const;
};

// Converting the pivot into the save encoding: the pivot's input option, the output
// option of every encoding bit that is set, in index order (the mark bit chooses
// between the two UTF options and means nothing for the others), then the newline
// option of the NewlineCode field, if it is set.
QByteArray BuildSaveOptions(EncodingFlags saveEncoding, const ConversionPivot &pivot);
