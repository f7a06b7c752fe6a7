#include "NewlineConverter.h"

#include <algorithm>
#include <cstring>

namespace {

std::string_view textOf(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::Lf:
        return "\n";
    case LineEnd::CrLf:
        return "\r\n";
    case LineEnd::Cr:
        return "\r";
    }
    return "\n";
}

std::size_t findByte(std::string_view text, std::size_t from, char byte)
{
    const void *found = std::memchr(text.data() + from, byte, text.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char *>(found) - text.data()) : text.size();
}

} // namespace

NewlineConverter::NewlineConverter(LineEnd lineEnd)
    : m_lineEnd(textOf(lineEnd))
{
}

void NewlineConverter::convert(std::string_view text, Text &out)
{
    std::size_t position = 0;
    std::size_t nextCr = findByte(text, 0, '\r');
    std::size_t nextLf = findByte(text, 0, '\n');
    while (position < text.size()) {
        const std::size_t lineEnd = std::min(nextCr, nextLf);
        if (lineEnd > position) {
            out.append(text.substr(position, lineEnd - position));
            m_afterCarriageReturn = false;
        }
        if (lineEnd == text.size())
            break;
        const bool isCr = text[lineEnd] == '\r';
        if (isCr || !m_afterCarriageReturn)
            out.append(m_lineEnd);
        m_afterCarriageReturn = isCr;
        position = lineEnd + 1;
        if (isCr)
            nextCr = findByte(text, position, '\r');
        else
            nextLf = findByte(text, position, '\n');
    }
}

void NewlineConverter::convertInPlace(Text &text, std::size_t from)
{
    if (from == text.size())
        return;
    std::size_t read = from;
    // The LF of a CR+LF split between two pieces: its CR has been converted already.
    if (m_afterCarriageReturn && text[read] == '\n')
        ++read;
    m_afterCarriageReturn = text.back() == '\r';
    // Only the byte that is not the line end needs finding: on its own it turns into
    // the line end, and in a CR+LF it goes while the line end stays. Bytes from read
    // on are still the original ones, as the text only ever moves towards its start.
    const char lineEnd = m_lineEnd.front();
    const char other = lineEnd == '\n' ? '\r' : '\n';
    const std::string_view view(text);
    std::size_t write = from;
    for (;;) {
        const std::size_t found = findByte(view, read, other);
        const bool inPair = found < view.size()
                            && (other == '\r' ? found + 1 < view.size() && view[found + 1] == '\n'
                                              : found > read && view[found - 1] == '\r');
        if (write != read)
            std::memmove(text.data() + write, text.data() + read, found - read);
        write += found - read;
        if (found == view.size())
            break;
        if (!inPair)
            text[write++] = lineEnd;
        read = found + 1;
    }
    text.resize(write);
}
