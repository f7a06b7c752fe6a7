#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// A copy of a text kept up to date change by change, held in pieces that share
// their storage: handing a snapshot to another thread copies no characters, and a
// change afterwards copies only the piece it falls in. The text given to reset()
// is shared rather than copied; the pieces become copies of their own one by one,
// as changes reach them.
class ChunkedText
{
public:
    struct Piece
    {
        QString storage;
        qsizetype offset = 0;
        qsizetype size = 0;

        QStringView view() const { return QStringView(storage).mid(offset, size); }
    };
    using Snapshot = std::vector<Piece>;

    bool isValid() const { return m_valid; }
    qsizetype length() const { return m_length; }

    void reset(const QString &text);
    void invalidate();

    // The characters from position on, removed of them, were replaced by added. A
    // change that does not fit the text invalidates the copy.
    void replace(qsizetype position, qsizetype removed, QStringView added);

    Snapshot snapshot() const { return m_pieces; }

private:
    // The piece that holds position, and where in it; the end of the text lies at
    // the end of the last piece.
    std::pair<std::size_t, qsizetype> locate(qsizetype position) const;
    QString &ownStorage(Piece &piece);
    void removeFrom(std::size_t index, qsizetype offset, qsizetype count);
    void splitLarge(std::size_t index);

    std::vector<Piece> m_pieces;
    qsizetype m_length = 0;
    bool m_valid = false;
};
