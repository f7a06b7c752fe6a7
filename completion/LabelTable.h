#pragma once

#include <QStringList>
#include <QStringView>

#include <array>
#include <bit>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <vector>

// The distinct labels met, each with where it was first met: the rank of its
// keyword (labels are reported keyword by keyword) and its place in the text.
// A document refers to the same labels over and over, so nearly every label met is
// a lookup of one already known, at random among thousands, while the walk over a
// text of many megabytes pushes everything else out of the cache. The table is
// laid out to stay small: open addressing over slots that hold part of the hash,
// the best rank so far and where the label is stored; the labels stored side by
// side, each after its length and entry number; the places apart, since a lookup
// needs them only when a label turns up under a keyword of lower rank.
// Lengths and entry numbers are 32-bit: the editor's text is indexed by int.
class LabelTable
{
public:
    // Ranks run from 0 (reported first) to MaxRank.
    static constexpr int MaxRank = 3;

    // Room from the start for as many labels as a text of this length usually
    // holds, so that a large document is not rehashed again and again.
    explicit LabelTable(qsizetype textLength);

    // Notes a label met under the keyword of rank at position. An empty label is
    // ignored. The label's characters must stay valid until the next call of
    // inReportOrder, which is when the last labels met are stored.
    void add(QStringView label, int rank, qsizetype position)
    {
        if (label.isEmpty())
            return;
        const std::size_t hash = labelHash(label);
        __builtin_prefetch(&m_slots[hash & mask()]);
        m_pending[m_pendingCount++] = Met{label, Place{rank, position}, hash};
        if (m_pendingCount == m_pending.size())
            addPending();
    }

    // Each label once, ordered by the lowest rank it was met under and, within a
    // rank, by where it was first met under that rank.
    QStringList inReportOrder();

    // A hash of a label that is quick for the short texts labels are: four
    // characters at a time, mixed by multiplication. Labels come from the user's own
    // document, so nothing is gained by a keyed hash.
    static std::size_t labelHash(QStringView label);

private:
    struct Place
    {
        int rank;
        qsizetype position;
        auto operator<=>(const Place &) const = default;
    };
    struct Header
    {
        std::uint32_t length;
        std::uint32_t entry;
    };
    struct Met
    {
        QStringView label;
        Place place;
        std::size_t hash;
    };
    static constexpr std::size_t HeaderUnits = sizeof(Header) / sizeof(char16_t);
    // A slot: the upper bits of the hash, the rank, and one more than the offset
    // of the label in the store, so that zero marks an empty slot.
    static constexpr int OffsetBits = 40;
    static constexpr int RankBits = 2;
    static_assert(MaxRank < (1 << RankBits));
    static constexpr std::uint64_t OffsetMask = (std::uint64_t(1) << OffsetBits) - 1;
    static constexpr std::uint64_t RankMask = ((std::uint64_t(1) << RankBits) - 1) << OffsetBits;
    static constexpr std::size_t MinimumSlots = 1024;

    static std::uint64_t tagOf(std::size_t hash) { return std::uint64_t(hash) >> (OffsetBits + RankBits); }
    static std::uint64_t slotContent(std::size_t hash, int rank, std::size_t offset);
    static int rankOf(std::uint64_t content) { return static_cast<int>((content & RankMask) >> OffsetBits); }
    std::size_t mask() const { return m_slots.size() - 1; }

    void addPending();
    void lookUp(const Met &met);
    Header headerAt(std::size_t offset) const;
    QStringView storedText(std::size_t offset) const;
    std::size_t next(std::size_t offset) const { return offset + HeaderUnits + headerAt(offset).length; }
    std::size_t store(QStringView label, Place place);
    void grow();

    std::vector<std::uint64_t> m_slots;
    std::vector<char16_t> m_store;
    std::vector<Place> m_firstMet;
    std::array<Met, 16> m_pending;
    std::size_t m_pendingCount = 0;
};
