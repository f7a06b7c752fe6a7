#include "LabelTable.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Compared inline: the library's comparison is a call, and most labels are short.
bool sameText(QStringView a, QStringView b)
{
    return a.size() == b.size() && std::equal(a.utf16(), a.utf16() + a.size(), b.utf16());
}

} // namespace

LabelTable::LabelTable(qsizetype textLength)
    : m_slots(std::max<std::size_t>(MinimumSlots, std::bit_ceil(static_cast<std::size_t>(textLength) / 512)))
{
}

std::size_t LabelTable::labelHash(QStringView label)
{
    std::uint64_t hash = 0x9E3779B97F4A7C15u ^ static_cast<std::uint64_t>(label.size());
    const char16_t *units = label.utf16();
    qsizetype left = label.size();
    for (; left >= 4; left -= 4, units += 4) {
        std::uint64_t chunk = 0;
        std::memcpy(&chunk, units, sizeof chunk);
        hash = (hash ^ chunk) * 0xFF51AFD7ED558CCDu;
        hash ^= hash >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, units, static_cast<std::size_t>(left) * sizeof(char16_t));
    hash = (hash ^ tail) * 0xC4CEB9FE1A85EC53u;
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

QStringList LabelTable::inReportOrder()
{
    addPending();
    std::vector<std::pair<Place, std::size_t>> order;
    order.reserve(m_firstMet.size());
    for (std::size_t offset = 0; offset < m_store.size(); offset = next(offset))
        order.emplace_back(m_firstMet[headerAt(offset).entry], offset);
    // Labels are mostly met first in the order they are reported in.
    if (!std::is_sorted(order.begin(), order.end()))
        std::sort(order.begin(), order.end());
    QStringList labels;
    labels.reserve(static_cast<qsizetype>(order.size()));
    for (const auto &[place, offset] : order)
        labels.append(storedText(offset).toString());
    return labels;
}

std::uint64_t LabelTable::slotContent(std::size_t hash, int rank, std::size_t offset)
{
    return (tagOf(hash) << (OffsetBits + RankBits)) | (std::uint64_t(rank) << OffsetBits) | (offset + 1);
}

// The labels met are looked up a few at a time: their slots, and then their stored
// labels, are fetched from memory for all of them at once, so that the lookups wait
// for memory together rather than one after another.
void LabelTable::addPending()
{
    for (std::size_t i = 0; i < m_pendingCount; ++i) {
        const std::uint64_t content = m_slots[m_pending[i].hash & mask()];
        if (content != 0)
            __builtin_prefetch(m_store.data() + (content & OffsetMask) - 1);
    }
    for (std::size_t i = 0; i < m_pendingCount; ++i)
        lookUp(m_pending[i]);
    m_pendingCount = 0;
}

void LabelTable::lookUp(const Met &met)
{
    for (std::size_t slot = met.hash & mask();; slot = (slot + 1) & mask()) {
        std::uint64_t &content = m_slots[slot];
        if (content == 0) {
            content = slotContent(met.hash, met.place.rank, store(met.label, met.place));
            if (m_firstMet.size() * 4 > m_slots.size() * 3)
                grow();
            return;
        }
        if ((content >> (OffsetBits + RankBits)) != tagOf(met.hash))
            continue;
        const std::size_t offset = (content & OffsetMask) - 1;
        if (!sameText(storedText(offset), met.label))
            continue;
        // The text is walked in order, so a label met again under the same keyword
        // or a later one keeps its first place.
        if (met.place.rank < rankOf(content)) {
            content = (content & ~RankMask) | (std::uint64_t(met.place.rank) << OffsetBits);
            m_firstMet[headerAt(offset).entry] = met.place;
        }
        return;
    }
}

LabelTable::Header LabelTable::headerAt(std::size_t offset) const
{
    Header header;
    std::memcpy(&header, m_store.data() + offset, sizeof header);
    return header;
}

QStringView LabelTable::storedText(std::size_t offset) const
{
    return QStringView(m_store.data() + offset + HeaderUnits, headerAt(offset).length);
}

std::size_t LabelTable::store(QStringView label, Place place)
{
    const std::size_t offset = m_store.size();
    const Header header{static_cast<std::uint32_t>(label.size()), static_cast<std::uint32_t>(m_firstMet.size())};
    m_store.resize(offset + HeaderUnits + header.length);
    std::memcpy(m_store.data() + offset, &header, sizeof header);
    std::copy_n(label.utf16(), header.length, m_store.data() + offset + HeaderUnits);
    m_firstMet.push_back(place);
    return offset;
}

void LabelTable::grow()
{
    std::vector<std::uint64_t> grown(m_slots.size() * 2);
    const std::size_t grownMask = grown.size() - 1;
    for (std::size_t offset = 0; offset < m_store.size(); offset = next(offset)) {
        const std::size_t hash = labelHash(storedText(offset));
        std::size_t slot = hash & grownMask;
        while (grown[slot] != 0)
            slot = (slot + 1) & grownMask;
        grown[slot] = slotContent(hash, m_firstMet[headerAt(offset).entry].rank, offset);
    }
    m_slots = std::move(grown);
}
