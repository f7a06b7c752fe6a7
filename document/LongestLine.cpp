#include "LongestLine.h"

#include <QByteArrayView>
#include <QIODevice>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr qint64 PieceSize = 1024 * 1024;
using Layout = LongestLine::Layout;

// Text in the 8-bit encodings and in UTF-8 holds no NUL bytes, while UTF-16 text
// nearly always does, as the high half of its ASCII characters and line ends; and
// read byte by byte, UTF-16 shows line ends inside characters such as 上 (U+4E0A).
Layout layoutOf(QByteArrayView start)
{
    if (start.startsWith("\xFF\xFE"))
        return Layout::Utf16LittleEndian;
    if (start.startsWith("\xFE\xFF"))
        return Layout::Utf16BigEndian;
    qsizetype even = 0;
    qsizetype odd = 0;
    for (qsizetype i = 0; i < start.size(); ++i) {
        if (start[i] == '\0')
            ++(i % 2 == 0 ? even : odd);
    }
    if (even + odd == 0)
        return Layout::Bytes;
    return odd >= even ? Layout::Utf16LittleEndian : Layout::Utf16BigEndian;
}

} // namespace

// Counts the characters of each line as they come; CR LF ends one line, not two.
class LongestLine::Meter
{
public:
    void take(char16_t unit, qint64 size)
    {
        const bool lineFeed = unit == u'\n';
        const bool carriageReturn = unit == u'\r';
        if (lineFeed && m_afterCarriageReturn) {
            m_afterCarriageReturn = false;
            return;
        }
        m_afterCarriageReturn = carriageReturn;
        if (lineFeed || carriageReturn) {
            endLine();
            ++m_lineNumber;
        } else {
            m_current += size;
        }
    }

    // Bytes that end no line.
    void takeRun(qint64 size)
    {
        if (size == 0)
            return;
        m_afterCarriageReturn = false;
        m_current += size;
    }

    LongestLine finish()
    {
        endLine();
        return m_longest;
    }

private:
    void endLine()
    {
        if (m_current > m_longest.m_length) {
            m_longest.m_length = m_current;
            m_longest.m_line = m_lineNumber;
        }
        m_current = 0;
    }

    LongestLine m_longest;
    qint64 m_current = 0;
    qint64 m_lineNumber = 1;
    bool m_afterCarriageReturn = false;
};

// The line ends are looked for with memchr, which goes through a line of many
// megabytes in a few milliseconds.
void LongestLine::takeBytes(Meter &meter, QByteArrayView bytes)
{
    const char *position = bytes.data();
    const char *const end = position + bytes.size();
    while (position < end) {
        const auto *lineFeed = static_cast<const char *>(std::memchr(position, '\n', end - position));
        const char *const until = lineFeed ? lineFeed : end;
        const auto *carriageReturn = static_cast<const char *>(std::memchr(position, '\r', until - position));
        const char *const lineEnd = carriageReturn ? carriageReturn : until;
        meter.takeRun(lineEnd - position);
        if (lineEnd == end)
            return;
        meter.take(static_cast<char16_t>(*lineEnd), 1);
        position = lineEnd + 1;
    }
}

void LongestLine::takeUtf16(Meter &meter, QByteArrayView bytes, Layout layout, int &pending)
{
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (pending < 0) {
            pending = value;
            continue;
        }
        const int first = std::exchange(pending, -1);
        meter.take(static_cast<char16_t>(layout == Layout::Utf16LittleEndian ? first | value << 8 : first << 8 | value),
                   2);
    }
}

LongestLine LongestLine::of(QIODevice &device)
{
    std::vector<char> piece(PieceSize);
    Meter meter;
    std::optional<Layout> layout;
    // A UTF-16 unit split between two pieces waits here for its second byte.
    int pending = -1;
    for (qint64 read = device.read(piece.data(), PieceSize); read > 0; read = device.read(piece.data(), PieceSize)) {
        const QByteArrayView bytes(piece.data(), read);
        if (!layout)
            layout = layoutOf(bytes);
        if (*layout == Layout::Bytes)
            takeBytes(meter, bytes);
        else
            takeUtf16(meter, bytes, *layout, pending);
    }
    return meter.finish();
}
