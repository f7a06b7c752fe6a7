#include "OutputNormalizer.h"

QByteArray OutputNormalizer::normalize(QByteArrayView chunk)
{
    QByteArray result;
    result.reserve(chunk.size());
    for (const char c : chunk) {
        if (c == '\0')
            continue;
        if (c == '\r')
            result += '\n';
        else if (c != '\n' || m_lastByte != '\r')
            result += c;
        m_lastByte = c;
    }
    return result;
}
