#include "Utf8StreamDecoder.h"

namespace {

// How many bytes a sequence starting with this lead byte has; 1 for anything that
// cannot start a longer sequence.
qsizetype sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    return 1;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The number of bytes at the end that start a character whose rest has not come yet.
qsizetype incompleteTailLength(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const auto c = static_cast<unsigned char>(bytes[size - back]);
        if (isContinuation(c))
            continue;
        return sequenceLength(c) > back ? back : 0;
    }
    return 0;
}

} // namespace

QString Utf8StreamDecoder::decode(QByteArrayView bytes)
{
    m_pending.append(bytes.data(), bytes.size());
    const qsizetype complete = m_pending.size() - incompleteTailLength(m_pending);
    const QString text = QString::fromUtf8(m_pending.constData(), complete);
    m_pending.remove(0, complete);
    return text;
}

QString Utf8StreamDecoder::finish()
{
    const QString text = QString::fromUtf8(m_pending);
    m_pending.clear();
    return text;
}
