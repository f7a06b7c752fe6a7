#include "OutputBacklog.h"

#include <algorithm>

OutputBacklog::OutputBacklog(qsizetype limit)
    : m_limit(limit)
{
}

void OutputBacklog::append(QStringView text)
{
    if (text.isEmpty())
        return;
    m_text.append(text);
    m_endsLine = text.back() == u'\n';
    if (waitingSize() > m_limit)
        dropOldest();
}

// Keeps the newest limit characters at most, from the start of a line where the
// newest text holds one, the way the pane itself drops its oldest lines.
void OutputBacklog::dropOldest()
{
    const qsizetype earliestKept = m_text.size() - m_limit;
    // A line that starts right at the earliest character kept is kept whole.
    const qsizetype lineEnd = m_text.indexOf(u'\n', earliestKept - 1);
    const qsizetype kept = lineEnd < 0 ? earliestKept : lineEnd + 1;
    m_droppedLineEnds += QStringView(m_text).sliced(m_start, kept - m_start).count(u'\n');
    m_start = kept;
    m_dropped = true;
    if (m_start > m_limit) {
        m_text.remove(0, m_start);
        m_start = 0;
    }
}

OutputBacklog::Piece OutputBacklog::take(qsizetype maxSize)
{
    const QStringView waiting = QStringView(m_text).sliced(m_start);
    qsizetype length = std::min(waiting.size(), maxSize);
    const qsizetype lineEnd = waiting.first(length).lastIndexOf(u'\n');
    if (lineEnd >= 0)
        length = lineEnd + 1;
    else if (length > 1 && length < waiting.size() && waiting[length - 1].isHighSurrogate())
        --length;
    Piece piece{waiting.first(length).toString(), m_dropped, m_droppedLineEnds};
    m_start += length;
    m_dropped = false;
    m_droppedLineEnds = 0;
    if (m_start == m_text.size()) {
        m_text.clear();
        m_start = 0;
    }
    return piece;
}

void OutputBacklog::clear()
{
    m_text.clear();
    m_start = 0;
    m_dropped = false;
    m_droppedLineEnds = 0;
    m_endsLine = false;
}
