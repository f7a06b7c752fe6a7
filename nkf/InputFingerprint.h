#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// A 64-bit fingerprint of the input, telling a repeated call with the same bytes
// from one with other bytes at the same address. It runs at memory speed, and it
// can be taken piece by piece while the input is being converted, when each piece
// is still in the cache.
class InputFingerprint
{
public:
    static std::uint64_t of(std::span<const unsigned char> bytes);

    void add(std::span<const unsigned char> bytes);
    std::uint64_t value() const;

private:
    static constexpr std::size_t BlockSize = 32;

    void addBlock(const unsigned char *block);

    // Four independent lanes keep the processor's multipliers busy.
    std::array<std::uint64_t, 4> m_lanes{1, 2, 3, 4};
    std::array<unsigned char, BlockSize> m_pending{};
    std::size_t m_pendingSize = 0;
    std::uint64_t m_length = 0;
};
