#include "EncodingDetector.h"

#include "ByteOrderMark.h"
#include "Utf8Sequence.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace {

using Bytes = std::span<const unsigned char>;

// The scores are read in blocks; once one candidate leads by this much, the rest
// of the text cannot change the verdict of any real document. A byte sequence that
// an encoding cannot have weighs far more than any number of characters that merely
// fit: text in the other encoding fits by accident quite often.
constexpr std::size_t BlockSize = 64 * 1024;
constexpr long DecisiveLead = 4096;
constexpr long ErrorPenalty = 64;
// UTF-16 statistics settle long before this many bytes (32768 units).
constexpr std::size_t Utf16SampleSize = 64 * 1024;

bool inRange(unsigned int value, unsigned int low, unsigned int high)
{
    return value >= low && value <= high;
}

std::optional<KanjiCode> codeFromByteOrderMark(Bytes bytes)
{
    for (const KanjiCode code : {KanjiCode::Utf8, KanjiCode::Utf16LittleEndian, KanjiCode::Utf16BigEndian}) {
        if (ByteOrderMark::lengthAtStart(code, bytes) > 0)
            return code;
    }
    return std::nullopt;
}

bool hasHighByte(Bytes bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b >= 0x80; });
}

bool hasZeroByte(Bytes bytes)
{
    return !bytes.empty() && std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
}

// Control bytes that no text in an 8-bit encoding contains (tab, line ends, form
// feed, escape, SO and SI do occur).
bool isStrayControl(unsigned char b)
{
    return b < 0x20 && b != '\t' && b != '\n' && b != '\v' && b != '\f' && b != '\r' && b != 0x1B && b != 0x0E
           && b != 0x0F;
}

bool hasStrayControlByte(Bytes bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), isStrayControl);
}

bool hasIso2022JpDesignation(Bytes bytes)
{
    static constexpr std::array<std::string_view, 6> designations{"$B", "$@", "(B", "(J", "(I", "$(D"};
    const std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    for (std::size_t escape = text.find('\x1B'); escape != std::string_view::npos;
         escape = text.find('\x1B', escape + 1)) {
        const std::string_view after = text.substr(escape + 1);
        for (const std::string_view designation : designations) {
            if (after.starts_with(designation))
                return true;
        }
    }
    return false;
}

// A candidate reading of the text that is scored block by block.
class Reading
{
public:
    virtual ~Reading() = default;
    // Reads characters until the position reaches limit (the last one may reach
    // past it).
    virtual void advanceTo(Bytes bytes, std::size_t limit) = 0;
    long score() const { return m_points - ErrorPenalty * static_cast<long>(m_errors); }
    std::size_t errors() const { return m_errors; }

protected:
    std::size_t m_position = 0;
    long m_points = 0;
    std::size_t m_errors = 0;
};

// Shift_JIS: kana, the symbols of row 1 and the first-level kanji are what Japanese
// text is mostly made of; half-width katakana are rare and weigh little, since EUC-JP
// text read as Shift_JIS turns into exactly those.
class ShiftJisReading : public Reading
{
public:
    void advanceTo(Bytes bytes, std::size_t limit) override
    {
        while (m_position < limit) {
            const unsigned char lead = bytes[m_position];
            if (lead < 0x80) {
                m_errors += isStrayControl(lead) ? 1 : 0;
                ++m_position;
            } else if (inRange(lead, 0xA1, 0xDF)) {
                m_points += 1;
                ++m_position;
            } else if (isLead(lead) && m_position + 1 < bytes.size() && isTrail(bytes[m_position + 1])) {
                scorePair(lead, bytes[m_position + 1]);
                m_position += 2;
            } else {
                ++m_errors;
                ++m_position;
            }
        }
    }

private:
    static bool isLead(unsigned char b) { return inRange(b, 0x81, 0x9F) || inRange(b, 0xE0, 0xFC); }
    static bool isTrail(unsigned char b) { return inRange(b, 0x40, 0x7E) || inRange(b, 0x80, 0xFC); }

    void scorePair(unsigned char lead, unsigned char trail)
    {
        if ((lead == 0x81 && trail <= 0xAC) || (lead == 0x82 && trail >= 0x9F) || (lead == 0x83 && trail <= 0x96)
            || inRange(lead, 0x88, 0x98))
            m_points += 4;
        else if (inRange(lead, 0x99, 0x9F) || inRange(lead, 0xE0, 0xEA))
            m_points += 2;
        else if (lead == 0x85 || lead == 0x86 || inRange(lead, 0xEB, 0xEC) || lead == 0xEF)
            ++m_errors;
        else
            m_points += 1;
    }
};

class EucJpReading : public Reading
{
public:
    void advanceTo(Bytes bytes, std::size_t limit) override
    {
        while (m_position < limit) {
            const unsigned char lead = bytes[m_position];
            if (lead < 0x80) {
                m_errors += isStrayControl(lead) ? 1 : 0;
                ++m_position;
            } else if (lead == 0x8E && follows(bytes, 1, 0xA1, 0xDF)) {
                m_points += 1;
                m_position += 2;
            } else if (lead == 0x8F && follows(bytes, 1, 0xA1, 0xFE) && follows(bytes, 2, 0xA1, 0xFE)) {
                m_points += 1;
                m_position += 3;
            } else if (inRange(lead, 0xA1, 0xFE) && follows(bytes, 1, 0xA1, 0xFE)) {
                scorePair(lead);
                m_position += 2;
            } else {
                ++m_errors;
                ++m_position;
            }
        }
    }

private:
    bool follows(Bytes bytes, std::size_t offset, unsigned char low, unsigned char high) const
    {
        return m_position + offset < bytes.size() && inRange(bytes[m_position + offset], low, high);
    }

    void scorePair(unsigned char lead)
    {
        if (lead == 0xA1 || lead == 0xA4 || lead == 0xA5 || inRange(lead, 0xB0, 0xCF))
            m_points += 4;
        else if (inRange(lead, 0xD0, 0xF4))
            m_points += 2;
        else
            m_points += 1;
    }
};

class Utf8Reading : public Reading
{
public:
    void advanceTo(Bytes bytes, std::size_t limit) override
    {
        while (m_position < limit) {
            const unsigned char lead = bytes[m_position];
            if (lead < 0x80) {
                m_errors += isStrayControl(lead) ? 1 : 0;
                ++m_position;
                continue;
            }
            const std::size_t length = sequenceLength(bytes);
            if (length == 0) {
                ++m_errors;
                ++m_position;
                continue;
            }
            m_points += length == 3 && isJapanese(bytes) ? 4 : 1;
            m_position += length;
        }
    }

private:
    std::size_t sequenceLength(Bytes bytes) const { return Utf8Sequence::wellFormedLength(bytes.subspan(m_position)); }

    bool isJapanese(Bytes bytes) const
    {
        const unsigned int codePoint = ((bytes[m_position] & 0x0Fu) << 12) | ((bytes[m_position + 1] & 0x3Fu) << 6)
                                       | (bytes[m_position + 2] & 0x3Fu);
        return inRange(codePoint, 0x3000, 0x30FF) || inRange(codePoint, 0x4E00, 0x9FFF)
               || inRange(codePoint, 0xFF00, 0xFFEF);
    }
};

// Checks the text as UTF-8, stopping at the first ill-formed sequence.
bool isValidUtf8(Bytes bytes)
{
    Utf8Reading reading;
    for (std::size_t limit = 0; limit < bytes.size();) {
        limit = std::min(limit + BlockSize, bytes.size());
        reading.advanceTo(bytes, limit);
        if (reading.errors() > 0)
            return false;
    }
    return true;
}

// EUC-JP text can be well-formed UTF-8 by accident: a kanji of the rows from 0xC2
// to 0xDF with a second byte up to 0xBF reads as one letter of Latin Extended-B,
// IPA, the spacing modifiers or the combining marks (年 reads as U+01EF). Real
// UTF-8 text is hardly ever made of those alone, nor of C1 controls; accented
// letters of everyday words (é, ü, ï) and every other script keep UTF-8.
bool isRareInText(unsigned int codePoint)
{
    return inRange(codePoint, 0x80, 0x9F) || inRange(codePoint, 0x180, 0x36F);
}

// For well-formed UTF-8 only.
bool readsAsRareLettersOnly(Bytes bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        if (Utf8Sequence::wellFormedLength(bytes.subspan(i)) != 2)
            return false;
        const unsigned int codePoint = ((bytes[i] & 0x1Fu) << 6) | (bytes[i + 1] & 0x3Fu);
        if (!isRareInText(codePoint))
            return false;
        i += 2;
    }
    return true;
}

// Every character above ASCII is a kanji, a kana, or a symbol or full-width letter
// of rows 1 to 5.
bool readsAsJapaneseEucJp(Bytes bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        const bool japaneseRow = inRange(bytes[i], 0xA1, 0xA5) || inRange(bytes[i], 0xB0, 0xF4);
        if (!japaneseRow || i + 1 >= bytes.size() || !inRange(bytes[i + 1], 0xA1, 0xFE))
            return false;
        i += 2;
    }
    return true;
}

struct Verdict
{
    KanjiCode code;
    bool everyReadingFails;
};

Verdict scoreEightBitReadings(Bytes bytes)
{
    ShiftJisReading shiftJis;
    EucJpReading eucJp;
    Utf8Reading utf8;
    const std::array<std::pair<Reading *, KanjiCode>, 3> readings{{
        {&shiftJis, KanjiCode::ShiftJis},
        {&eucJp, KanjiCode::EucJp},
        {&utf8, KanjiCode::Utf8},
    }};
    for (std::size_t limit = std::min(BlockSize, bytes.size());; limit = std::min(limit + BlockSize, bytes.size())) {
        for (const auto &[reading, code] : readings)
            reading->advanceTo(bytes, limit);
        std::array<long, 3> scores{shiftJis.score(), eucJp.score(), utf8.score()};
        std::sort(scores.begin(), scores.end());
        if (limit == bytes.size() || scores[2] - scores[1] >= DecisiveLead)
            break;
    }
    // Ties go to the reading listed first.
    const auto best = std::max_element(readings.begin(), readings.end(), [](const auto &a, const auto &b) {
        return a.first->score() < b.first->score();
    });
    const bool everyReadingFails = std::all_of(readings.begin(), readings.end(),
                                               [](const auto &r) { return r.first->errors() > 0; });
    return {best->second, everyReadingFails};
}

// How well the text reads as UTF-16 of one byte order: the share of units that are
// text characters (ASCII with a zero high byte, line ends, kana, CJK, full-width
// forms, the common symbol blocks), and whether any surrogate is unpaired.
class Utf16Statistics
{
public:
    Utf16Statistics(Bytes bytes, bool bigEndian)
    {
        const std::size_t units = bytes.size() / 2;
        for (std::size_t i = 0; i < units; ++i) {
            const unsigned int unit = unitAt(bytes, i, bigEndian);
            if (inRange(unit, 0xD800, 0xDBFF) && i + 1 < units
                && inRange(unitAt(bytes, i + 1, bigEndian), 0xDC00, 0xDFFF)) {
                m_plausible += 2;
                ++i;
            } else if (inRange(unit, 0xD800, 0xDFFF)) {
                // A surrogate cut off by the end of the text is not held against it.
                m_unpaired = m_unpaired || i + 1 < units;
            } else if (isTextUnit(unit)) {
                ++m_plausible;
            }
        }
        m_units = units;
    }

    bool looksLikeText() const { return m_units > 0 && !m_unpaired && m_plausible * 10 >= m_units * 9; }
    std::size_t plausible() const { return m_plausible; }

private:
    static unsigned int unitAt(Bytes bytes, std::size_t index, bool bigEndian)
    {
        const unsigned int first = bytes[2 * index];
        const unsigned int second = bytes[2 * index + 1];
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    }

    static bool isTextUnit(unsigned int unit)
    {
        return unit == '\t' || unit == '\n' || unit == '\f' || unit == '\r' || inRange(unit, 0x20, 0x7E)
               || inRange(unit, 0xA0, 0x24F) || inRange(unit, 0x370, 0x4FF) || inRange(unit, 0x2000, 0x27BF)
               || inRange(unit, 0x3000, 0x30FF) || inRange(unit, 0x4E00, 0x9FFF) || inRange(unit, 0xF900, 0xFAFF)
               || inRange(unit, 0xFF00, 0xFFEF);
    }

    std::size_t m_units = 0;
    std::size_t m_plausible = 0;
    bool m_unpaired = false;
};

std::optional<KanjiCode> readAsUtf16(Bytes bytes)
{
    const Bytes sample = bytes.first(std::min(bytes.size(), Utf16SampleSize));
    const Utf16Statistics little(sample, false);
    const Utf16Statistics big(sample, true);
    const bool preferBig = big.plausible() > little.plausible();
    const Utf16Statistics &best = preferBig ? big : little;
    if (!best.looksLikeText())
        return std::nullopt;
    return preferBig ? KanjiCode::Utf16BigEndian : KanjiCode::Utf16LittleEndian;
}

} // namespace

KanjiCode EncodingDetector::detect(std::span<const unsigned char> bytes)
{
    if (const auto marked = codeFromByteOrderMark(bytes))
        return *marked;
    const bool zeroBytes = hasZeroByte(bytes);
    if (!zeroBytes && !hasHighByte(bytes)) {
        if (hasIso2022JpDesignation(bytes))
            return KanjiCode::Iso2022Jp;
        if (hasStrayControlByte(bytes)) {
            if (const auto utf16 = readAsUtf16(bytes))
                return *utf16;
        }
        return KanjiCode::Utf8;
    }
    // No text in an 8-bit encoding has a zero byte; UTF-16 with any ASCII in it has
    // many.
    if (zeroBytes) {
        if (const auto utf16 = readAsUtf16(bytes))
            return *utf16;
    }
    if (isValidUtf8(bytes))
        return readsAsRareLettersOnly(bytes) && readsAsJapaneseEucJp(bytes) ? KanjiCode::EucJp : KanjiCode::Utf8;
    const Verdict verdict = scoreEightBitReadings(bytes);
    // A Japanese sentence in UTF-16 has no zero byte at all; it shows itself by
    // reading as text in 16-bit units while every 8-bit reading of it fails.
    if (verdict.everyReadingFails) {
        if (const auto utf16 = readAsUtf16(bytes))
            return *utf16;
    }
    return verdict.code;
}
