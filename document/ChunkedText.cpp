#include "ChunkedText.h"

#include <algorithm>

namespace {

// Small enough that copying a piece costs microseconds, large enough that a long
// document is a few hundred pieces.
constexpr qsizetype PieceSize = 32 * 1024;

std::vector<ChunkedText::Piece> piecesOf(const QString &text)
{
    std::vector<ChunkedText::Piece> pieces;
    for (qsizetype offset = 0; offset < text.size(); offset += PieceSize)
        pieces.push_back({text, offset, std::min(PieceSize, text.size() - offset)});
    return pieces;
}

} // namespace

void ChunkedText::reset(const QString &text)
{
    m_pieces = piecesOf(text);
    m_length = text.size();
    m_valid = true;
}

void ChunkedText::invalidate()
{
    m_pieces.clear();
    m_length = 0;
    m_valid = false;
}

std::pair<std::size_t, qsizetype> ChunkedText::locate(qsizetype position) const
{
    for (std::size_t index = 0; index < m_pieces.size(); ++index) {
        if (position < m_pieces[index].size)
            return {index, position};
        position -= m_pieces[index].size;
    }
    if (m_pieces.empty())
        return {0, 0};
    return {m_pieces.size() - 1, m_pieces.back().size};
}

QString &ChunkedText::ownStorage(Piece &piece)
{
    if (piece.offset != 0 || piece.size != piece.storage.size()) {
        piece.storage = piece.view().toString();
        piece.offset = 0;
    }
    return piece.storage;
}

void ChunkedText::removeFrom(std::size_t index, qsizetype offset, qsizetype count)
{
    while (count > 0) {
        Piece &piece = m_pieces[index];
        const qsizetype taken = std::min(count, piece.size - offset);
        ownStorage(piece).remove(offset, taken);
        piece.size -= taken;
        count -= taken;
        ++index;
        offset = 0;
    }
}

void ChunkedText::splitLarge(std::size_t index)
{
    if (m_pieces[index].size <= 2 * PieceSize)
        return;
    std::vector<Piece> pieces = piecesOf(m_pieces[index].view().toString());
    m_pieces.erase(m_pieces.begin() + static_cast<std::ptrdiff_t>(index));
    m_pieces.insert(m_pieces.begin() + static_cast<std::ptrdiff_t>(index), pieces.begin(), pieces.end());
}

void ChunkedText::replace(qsizetype position, qsizetype removed, QStringView added)
{
    if (!m_valid)
        return;
    if (position < 0 || removed < 0 || position > m_length || removed > m_length - position) {
        invalidate();
        return;
    }
    if (m_pieces.empty())
        m_pieces.push_back({});
    const auto [index, offset] = locate(position);
    removeFrom(index, offset, removed);
    Piece &piece = m_pieces[index];
    ownStorage(piece).insert(offset, added);
    piece.size += added.size();
    m_length += added.size() - removed;
    splitLarge(index);
    std::erase_if(m_pieces, [](const Piece &each) { return each.size == 0; });
}
