#include "TextMirror.h"

#include <algorithm>

namespace {

// Room left free when the gap has to grow, so that the text after it moves once
// for many characters typed.
constexpr qsizetype MinimumGap = 64 * 1024;

} // namespace

void TextMirror::reset(QString text)
{
    m_buffer = std::move(text);
    m_gapStart = m_buffer.size();
    m_gapLength = 0;
    m_valid = true;
}

void TextMirror::invalidate()
{
    m_buffer = QString();
    m_gapStart = 0;
    m_gapLength = 0;
    m_valid = false;
}

void TextMirror::replace(qsizetype position, qsizetype removed, QStringView added)
{
    if (!m_valid)
        return;
    if (position < 0 || removed < 0 || position > length() || removed > length() - position) {
        invalidate();
        return;
    }
    moveGapTo(position);
    m_gapLength += removed;
    if (added.size() > m_gapLength)
        widenGap(added.size());
    std::copy(added.begin(), added.end(), m_buffer.begin() + m_gapStart);
    m_gapStart += added.size();
    m_gapLength -= added.size();
}

QStringView TextMirror::text()
{
    if (m_gapLength > 0) {
        moveGapTo(length());
        // The gap at the end becomes spare capacity, which the next change reuses.
        m_buffer.truncate(m_gapStart);
        m_gapLength = 0;
    }
    return m_buffer;
}

void TextMirror::moveGapTo(qsizetype position)
{
    QChar *const data = m_buffer.data();
    if (position < m_gapStart) {
        std::copy_backward(data + position, data + m_gapStart, data + m_gapStart + m_gapLength);
    } else if (position > m_gapStart) {
        const qsizetype afterGap = m_gapStart + m_gapLength;
        std::copy(data + afterGap, data + afterGap + (position - m_gapStart), data + m_gapStart);
    }
    m_gapStart = position;
}

void TextMirror::widenGap(qsizetype needed)
{
    const qsizetype oldSize = m_buffer.size();
    const qsizetype afterGap = m_gapStart + m_gapLength;
    const qsizetype grownGap = std::max({needed, MinimumGap, length() / 8});
    m_buffer.resize(oldSize + grownGap - m_gapLength);
    QChar *const data = m_buffer.data();
    std::copy_backward(data + afterGap, data + oldSize, data + m_buffer.size());
    m_gapLength = grownGap;
}
