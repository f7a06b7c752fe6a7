#pragma once

#include <QString>
#include <QStringView>

// Tool output that has arrived but is not in the pane yet. The pane takes it a
// bounded piece at a time, so that however fast a tool writes, keys and menus get
// their turn between pieces. Of a flood only the newest text the pane would keep
// waits here: older lines are dropped before anything is laid out for them.
class OutputBacklog
{
public:
    // The next text to show. When lines were dropped before it, what the pane shows
    // is older still and has to go as well: the piece then replaces it.
    struct Piece
    {
        QString text;
        bool replacesShown = false;
        // Line ends dropped unseen since the piece before.
        qsizetype droppedLineEnds = 0;
    };

    // At most limit characters wait at a time.
    explicit OutputBacklog(qsizetype limit);

    void append(QStringView text);
    // At most maxSize characters, ending after a line end when there is one within
    // reach: a line is laid out again whenever text is added to it, so it is best
    // shown whole. A line that has not ended yet is shown as far as it has come only
    // when nothing before it is waiting.
    Piece take(qsizetype maxSize);
    // Nothing waits, and nothing was dropped that the pane still shows.
    bool isEmpty() const { return waitingSize() == 0 && !m_dropped; }
    // Whether the text appended last ended its line.
    bool endsLine() const { return m_endsLine; }
    void clear();

private:
    qsizetype waitingSize() const { return m_text.size() - m_start; }
    void dropOldest();

    qsizetype m_limit;
    // What waits is m_text from m_start on; the part before it is removed only now
    // and then, so that dropping is not a copy of the whole backlog every time.
    QString m_text;
    qsizetype m_start = 0;
    bool m_dropped = false;
    qsizetype m_droppedLineEnds = 0;
    bool m_endsLine = false;
};
