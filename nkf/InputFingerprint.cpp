#include "InputFingerprint.h"

#include <algorithm>
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
    InputFingerprint fingerprint;
    fingerprint.add(bytes);
    return fingerprint.value();
}

void InputFingerprint::add(std::span<const unsigned char> bytes)
{
    // An empty input may come as a null pointer, which memcpy must not see.
    if (bytes.empty())
        return;
    m_length += bytes.size();
    if (m_pendingSize > 0) {
        const std::size_t taken = std::min(BlockSize - m_pendingSize, bytes.size());
        std::memcpy(m_pending.data() + m_pendingSize, bytes.data(), taken);
        m_pendingSize += taken;
        bytes = bytes.subspan(taken);
        if (m_pendingSize < BlockSize)
            return;
        addBlock(m_pending.data());
        m_pendingSize = 0;
    }
    std::size_t position = 0;
    for (; position + BlockSize <= bytes.size(); position += BlockSize)
        addBlock(bytes.data() + position);
    m_pendingSize = bytes.size() - position;
    std::memcpy(m_pending.data(), bytes.data() + position, m_pendingSize);
}

std::uint64_t InputFingerprint::value() const
{
    std::array<std::uint64_t, Lanes> lanes = m_lanes;
    for (std::size_t i = 0; i < m_pendingSize; ++i)
        lanes[0] = mix(lanes[0], m_pending[i]);
    std::uint64_t fingerprint = m_length;
    for (const std::uint64_t lane : lanes)
        fingerprint = mix(fingerprint, lane);
    return fingerprint;
}

void InputFingerprint::addBlock(const unsigned char *block)
{
    for (std::size_t lane = 0; lane < m_lanes.size(); ++lane) {
        std::uint64_t word;
        std::memcpy(&word, block + 8 * lane, sizeof word);
        m_lanes[lane] = mix(m_lanes[lane], word);
    }
}
