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
    static constexpr std::size_t Lanes = 8;
    static constexpr std::size_t BlockSize = Lanes * 8;

    void addBlock(const unsigned char *block);

    // Independent lanes keep the processor's multipliers busy: each multiplication
    // waits for the one before it in its lane only.
    std::array<std::uint64_t, Lanes> m_lanes{1, 2, 3, 4, 5, 6, 7, 8};
    std::array<unsigned char, BlockSize> m_pending{};
    std::size_t m_pendingSize = 0;
    std::uint64_t m_length = 0;
};
