#pragma once

#include "TextEncoding.h"

#include <QByteArray>

// The line-end convention of a file; the value is the two-bit field of
// EncodingFlags.
enum class NewlineCode {
    NotSet = 0,
    Lf = 1,
    CrLf = 2,
    Cr = 3,
};

// The line end that a file's raw bytes begin with: the first CR or LF decides; no
// line end at all, or no bytes, counts as CR+LF and a lone CR at the very end as
// CR. UTF-16 is read in 16-bit units, since one byte of a character such as U+4E0A
// is 0x0A.
NewlineCode DetectNewlineCode(const QByteArray &bytes, TextEncoding encoding);
