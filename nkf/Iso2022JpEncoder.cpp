#include "Iso2022JpEncoder.h"

namespace {

char sevenBit(char byte)
{
    return static_cast<char>(static_cast<unsigned char>(byte) & 0x7F);
}

} // namespace

Iso2022JpEncoder::Iso2022JpEncoder()
    : m_eucEncoder(KanjiCode::EucJp)
{
}

void Iso2022JpEncoder::encode(std::string_view utf8, Text &out)
{
    m_eucBytes.clear();
    m_eucEncoder.encode(utf8, m_eucBytes);
    const std::size_t size = m_eucBytes.size();
    for (std::size_t i = 0; i < size;) {
        const unsigned char lead = static_cast<unsigned char>(m_eucBytes[i]);
        if (lead < 0x80) {
            switchTo(Mode::Ascii, out);
            out.push_back(static_cast<char>(lead));
            i += 1;
        } else if (lead == 0x8E) {
            switchTo(Mode::Katakana, out);
            out.push_back(sevenBit(m_eucBytes[i + 1]));
            i += 2;
        } else if (lead == 0x8F) {
            switchTo(Mode::Jis0212, out);
            out.push_back(sevenBit(m_eucBytes[i + 1]));
            out.push_back(sevenBit(m_eucBytes[i + 2]));
            i += 3;
        } else {
            switchTo(Mode::Jis0208, out);
            out.push_back(sevenBit(m_eucBytes[i]));
            out.push_back(sevenBit(m_eucBytes[i + 1]));
            i += 2;
        }
    }
}

void Iso2022JpEncoder::finish(Text &out)
{
    switchTo(Mode::Ascii, out);
}

void Iso2022JpEncoder::switchTo(Mode mode, Text &out)
{
    if (mode == m_mode)
        return;
    switch (mode) {
    case Mode::Ascii:
        out.append("\x1B(B");
        break;
    case Mode::Jis0208:
        out.append("\x1B$B");
        break;
    case Mode::Katakana:
        out.append("\x1B(I");
        break;
    case Mode::Jis0212:
        out.append("\x1B$(D");
        break;
    }
    m_mode = mode;
}
