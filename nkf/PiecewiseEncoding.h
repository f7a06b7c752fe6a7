#pragma once

#include "Text.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

// The loop that both encoders of UTF-8 run. The output is made room for piece by
// piece, so that the room, written once before it is filled, is still in the cache
// when it is filled.
class PiecewiseEncoding
{
public:
    static constexpr std::size_t Piece = 16 * 1024;

    // Encodes utf8 at the end of out. roomFor(bytes) bounds the output of a piece of
    // that many input bytes; encodePiece(position, end, written) encodes every
    // character that starts before end, advancing written, and returns where the
    // next character starts.
    template<typename RoomFor, typename EncodePiece>
    static void encode(std::string_view utf8, Text &out, RoomFor roomFor, EncodePiece encodePiece)
    {
        std::size_t position = 0;
        while (position < utf8.size()) {
            const std::size_t end = std::min(position + Piece, utf8.size());
            const std::size_t used = out.size();
            out.resize(used + roomFor(end - position));
            char *const start = out.data() + used;
            char *written = start;
            position = encodePiece(position, end, written);
            out.resize(used + static_cast<std::size_t>(written - start));
        }
    }
};
