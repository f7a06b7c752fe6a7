#include "OutputNormalizer.h"

namespace {

// How many bytes the UTF-8 character that starts with c takes; a byte that starts
// none counts as one.
qsizetype characterLength(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0xF8)
        return 1;
    if (byte >= 0xF0)
        return 4;
    if (byte >= 0xE0)
        return 3;
    if (byte >= 0xC0)
        return 2;
    return 1;
}

} // namespace

void OutputNormalizer::append(QByteArray &result, char c)
{
    if (c == '\n') {
        m_lineLength = 0;
    } else {
        // A character that would not fit whole starts the next piece.
        if (m_lineLength + characterLength(c) > LongestLine) {
            result += '\n';
            m_lineLength = 0;
        }
        ++m_lineLength;
    }
    result += c;
}

QByteArray OutputNormalizer::normalize(QByteArrayView chunk)
{
    QByteArray result;
    result.reserve(chunk.size() + chunk.size() / LongestLine + 1);
    for (const char c : chunk) {
        if (c == '\0')
            continue;
        if (c == '\r')
            append(result, '\n');
        else if (c != '\n' || m_lastByte != '\r')
            append(result, c);
        m_lastByte = c;
    }
    return result;
}
