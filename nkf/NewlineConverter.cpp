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
    const std::string_view view(text);
    std::size_t read = from;
    std::size_t write = from;
    std::size_t nextCr = findByte(view, read, '\r');
    std::size_t nextLf = findByte(view, read, '\n');
    while (read < view.size()) {
        const std::size_t lineEnd = std::min(nextCr, nextLf);
        if (lineEnd > read) {
            if (write != read)
                std::memmove(text.data() + write, text.data() + read, lineEnd - read);
            write += lineEnd - read;
            m_afterCarriageReturn = false;
        }
        if (lineEnd == view.size())
            break;
        const bool isCr = view[lineEnd] == '\r';
        if (isCr || !m_afterCarriageReturn)
            text[write++] = m_lineEnd.front();
        m_afterCarriageReturn = isCr;
        read = lineEnd + 1;
        if (isCr)
            nextCr = findByte(view, read, '\r');
        else
            nextLf = findByte(view, read, '\n');
    }
    text.resize(write);
}
