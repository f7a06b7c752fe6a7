#pragma once

#include <QByteArray>
#include <QString>

// Conversions between Unicode and the byte encodings that settings files and tool
// output come in. Invalid input never fails: each bad sequence becomes U+FFFD.
class CodePage
{
public:
    static bool isValidUtf8(const QByteArray &bytes);
    // Decodes bytes of the given iconv encoding name ("CP932", "EUC-JP-MS", ...).
    static QString toUnicode(const QByteArray &bytes, const char *encoding);
    static QString fromCp932(const QByteArray &bytes);
};
