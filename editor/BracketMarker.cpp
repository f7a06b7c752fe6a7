#include "BracketMarker.h"

#include "BracketMatcher.h"
#include "CUltraEditView.h"

#include <QTextBlock>
#include <QTextCursor>

namespace {

// Hands out lines near each other, as a partner search asks for them, by
// stepping from the last one rather than looking each up from the top.
class NearbyLines
{
public:
    explicit NearbyLines(const QTextBlock &start)
        : m_block(start)
        , m_number(start.blockNumber())
    {
    }

    QString text(int line)
    {
        while (m_number < line && m_block.isValid()) {
            m_block = m_block.next();
            ++m_number;
        }
        while (m_number > line && m_block.isValid()) {
            m_block = m_block.previous();
            --m_number;
        }
        return m_block.text();
    }

private:
    QTextBlock m_block;
    int m_number;
};

QTextEdit::ExtraSelection markAt(QTextDocument *document, const BracketMatcher::Position &position)
{
    QTextCursor cursor(document->findBlockByNumber(position.line));
    cursor.setPosition(cursor.position() + position.column);
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setBackground(BracketMarker::markColour());
    return {cursor, format};
}

} // namespace

BracketMarker::BracketMarker(CUltraEditView &view)
    : m_view(view)
{
    connect(&view, &QPlainTextEdit::cursorPositionChanged, this, &BracketMarker::markAtCaret);
    markAtCaret();
}

BracketMarker::~BracketMarker()
{
    m_view.setExtraSelections({});
}

QColor BracketMarker::markColour()
{
    return QColor(0xFF, 0xD9, 0x80);
}

void BracketMarker::markAtCaret()
{
    const QTextCursor caret = m_view.textCursor();
    NearbyLines lines(caret.block());
    const auto match = BracketMatcher::match([&lines](int line) { return lines.text(line); },
                                             m_view.document()->blockCount(),
                                             {caret.blockNumber(), caret.positionInBlock()});
    QList<QTextEdit::ExtraSelection> marks;
    if (match)
        marks = {markAt(m_view.document(), match->bracket), markAt(m_view.document(), match->partner)};
    // Setting the same empty list again would still repaint the view at every keystroke.
    if (!marks.isEmpty() || !m_view.extraSelections().isEmpty())
        m_view.setExtraSelections(marks);
}
