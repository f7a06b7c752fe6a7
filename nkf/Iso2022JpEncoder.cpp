#include "Iso2022JpEncoder.h"

namespace {

constexpr unsigned char ShiftOut = 0x0E;
constexpr unsigned char ShiftIn = 0x0F;
constexpr unsigned char Escape = 0x1B;
constexpr unsigned char SingleShift2 = 0x8E;
constexpr unsigned char SingleShift3 = 0x8F;

char sevenBit(char byte)
{
    return static_cast<char>(static_cast<unsigned char>(byte) & 0x7F);
}

bool isEucCodeByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0xA1 && value <= 0xFE;
}

// The switches of ISO-2022-JP itself: written as they are, they would change how
// every reader takes the bytes that follow.
bool isSwitch(unsigned char byte)
{
    return byte == ShiftOut || byte == ShiftIn || byte == Escape;
}

} // namespace

Iso2022JpEncoder::Iso2022JpEncoder()
    : m_eucEncoder(KanjiCode::EucJp)
{
}

// EUC-JP also gives single bytes to the C1 controls (0x80 to 0x9F apart from the
// two single shifts); ISO-2022-JP has no room for them, nor for its own switches
// as text. Both become "?", counted like any other character without a code, so
// that a lead byte never takes the character after it along.
void Iso2022JpEncoder::encode(std::string_view utf8, Text &out)
{
    m_eucBytes.clear();
    m_eucEncoder.encode(utf8, m_eucBytes);
    const std::string_view euc = m_eucBytes;
    for (std::size_t i = 0; i < euc.size();) {
        const unsigned char lead = static_cast<unsigned char>(euc[i]);
        const std::string_view rest = euc.substr(i);
        if (lead < 0x80 && !isSwitch(lead)) {
            switchTo(Mode::Ascii, out);
            out.push_back(static_cast<char>(lead));
            i += 1;
        } else if (lead == SingleShift2 && rest.size() >= 2 && isEucCodeByte(rest[1])) {
            switchTo(Mode::Katakana, out);
            out.push_back(sevenBit(rest[1]));
            i += 2;
        } else if (lead == SingleShift3 && rest.size() >= 3 && isEucCodeByte(rest[1]) && isEucCodeByte(rest[2])) {
            switchTo(Mode::Jis0212, out);
            out.push_back(sevenBit(rest[1]));
            out.push_back(sevenBit(rest[2]));
            i += 3;
        } else if (isEucCodeByte(rest[0]) && rest.size() >= 2 && isEucCodeByte(rest[1])) {
            switchTo(Mode::Jis0208, out);
            out.push_back(sevenBit(rest[0]));
            out.push_back(sevenBit(rest[1]));
            i += 2;
        } else {
            switchTo(Mode::Ascii, out);
            out.push_back('?');
            ++m_unsafe;
            i += 1;
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
