#pragma once

#include <cstddef>
#include <span>

// The shape of UTF-8 byte sequences, shared by the detector and the decoder. It is
// all inline: both call it once per character.
class Utf8Sequence
{
public:
    // The length of the well-formed sequence that starts the bytes, or 0 for none
    // (ill-formed or cut off by the end).
    static std::size_t wellFormedLength(std::span<const unsigned char> bytes)
    {
        if (bytes.empty())
            return 0;
        if (bytes[0] < 0x80)
            return 1;
        const Shape shape = shapeOf(bytes[0]);
        if (shape.continuations == 0 || fittingContinuations(bytes, shape) < shape.continuations)
            return 0;
        return shape.continuations + 1;
    }

    // The maximal subpart of an ill-formed sequence: the lead byte and the
    // continuation bytes that could still have completed it, so that a cut
    // character costs one replacement and the byte that cut it is read on its own.
    static std::size_t invalidLength(std::span<const unsigned char> bytes)
    {
        return 1 + fittingContinuations(bytes, shapeOf(bytes[0]));
    }

private:
    struct Shape
    {
        std::size_t continuations;
        unsigned char secondLow;
        unsigned char secondHigh;
    };

    // What a lead byte asks of the bytes after it; no continuations for a byte that
    // cannot lead.
    static Shape shapeOf(unsigned char lead)
    {
        if (lead >= 0xC2 && lead <= 0xDF)
            return {1, 0x80, 0xBF};
        if (lead == 0xE0)
            return {2, 0xA0, 0xBF};
        if (lead == 0xED)
            return {2, 0x80, 0x9F};
        if (lead >= 0xE1 && lead <= 0xEF)
            return {2, 0x80, 0xBF};
        if (lead == 0xF0)
            return {3, 0x90, 0xBF};
        if (lead >= 0xF1 && lead <= 0xF3)
            return {3, 0x80, 0xBF};
        if (lead == 0xF4)
            return {3, 0x80, 0x8F};
        return {0, 0, 0};
    }

    // How many of the bytes after the lead continue it.
    static std::size_t fittingContinuations(std::span<const unsigned char> bytes, const Shape &shape)
    {
        std::size_t count = 0;
        while (count < shape.continuations && count + 1 < bytes.size()) {
            const unsigned char byte = bytes[count + 1];
            const bool fits = count == 0 ? byte >= shape.secondLow && byte <= shape.secondHigh
                                         : byte >= 0x80 && byte <= 0xBF;
            if (!fits)
                break;
            ++count;
        }
        return count;
    }
};
