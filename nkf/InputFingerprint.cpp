#include "InputFingerprint.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t mix(std::uint64_t lane, std::uint64_t word)
{
    return std::rotl(lane ^ word, 29) * Multiplier;
}

} // namespace

std::uint64_t InputFingerprint::of(std::span<const unsigned char> bytes)
{
    // Four independent lanes keep the processor's multipliers busy.
    std::array<std::uint64_t, 4> lanes{1, 2, 3, 4};
    const std::size_t size = bytes.size();
    std::size_t position = 0;
    for (; position + 32 <= size; position += 32) {
        for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + position + 8 * lane, sizeof word);
            lanes[lane] = mix(lanes[lane], word);
        }
    }
    for (; position < size; ++position)
        lanes[0] = mix(lanes[0], bytes[position]);
    std::uint64_t fingerprint = size;
    for (const std::uint64_t lane : lanes)
        fingerprint = mix(fingerprint, lane);
    return fingerprint;
}
