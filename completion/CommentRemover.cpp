#include "CommentRemover.h"

#include "TexText.h"

#include <algorithm>

std::vector<TextRange> CommentRemover::percentComments(QStringView text)
{
    std::vector<TextRange> comments;
    for (qsizetype percent = text.indexOf(QLatin1Char('%')); percent >= 0;) {
        if (TexText::isEscaped(text, percent)) {
            percent = text.indexOf(QLatin1Char('%'), percent + 1);
            continue;
        }
        qsizetype end = percent + 1;
        while (end < text.size() && !TexText::isLineEnd(text[end]))
            ++end;
        end = std::min(end + 1, text.size());
        comments.push_back(TextRange{percent, end});
        percent = text.indexOf(QLatin1Char('%'), end);
    }
    return comments;
}

void CommentRemover::strip(QString &text, qsizetype &position)
{
    // Work on our own buffer from the start, so the views the passes read through
    // stay valid while they write.
    text.detach();
    removePercentComments(text, position);
    removeConditionalBlocks(text, position);
    removeCommentEnvironments(text, position);
}

CommentRemover::CommentRemover(QString &text, qsizetype &position)
    : m_text(text)
    , m_position(position)
{
}

void CommentRemover::removePercentComments(QString &text, qsizetype &position)
{
    const std::vector<TextRange> comments = percentComments(text);
    CommentRemover remover(text, position);
    for (const TextRange &comment : comments)
        remover.remove(comment.from, comment.to);
    remover.finish();
}

void CommentRemover::removeConditionalBlocks(QString &text, qsizetype &position)
{
    const QStringView view(text);
    CommentRemover remover(text, position);
    for (qsizetype begin = TexText::findWord(view, u"\\if01", 0); begin >= 0;) {
        const qsizetype fi = TexText::findWord(view, u"\\fi", begin + 5);
        const qsizetype end = fi < 0 ? view.size() : fi + 3;
        remover.remove(begin, end);
        begin = TexText::findWord(view, u"\\if01", end);
    }
    remover.finish();
}

void CommentRemover::removeCommentEnvironments(QString &text, qsizetype &position)
{
    const QStringView view(text);
    CommentRemover remover(text, position);
    for (qsizetype begin = TexText::findEnvironment(view, true, u"comment", 0); begin >= 0;) {
        qsizetype close = 0;
        TexText::findEnvironment(view, false, u"comment", begin, &close);
        remover.remove(begin, close + 1);
        begin = TexText::findEnvironment(view, true, u"comment", close + 1);
    }
    remover.finish();
}

void CommentRemover::remove(qsizetype from, qsizetype to)
{
    if (to <= from)
        return;
    moveKeptRun(from);
    followPosition(from, to);
    m_kept = to;
}

void CommentRemover::finish()
{
    if (m_kept == 0)
        return;
    moveKeptRun(m_text.size());
    m_text.truncate(m_written);
    if (!m_positionSettled && m_position >= 0)
        m_position -= m_removed;
}

void CommentRemover::moveKeptRun(qsizetype end)
{
    QChar *data = m_text.data();
    if (m_written != m_kept)
        std::copy(data + m_kept, data + end, data + m_written);
    m_written += end - m_kept;
}

void CommentRemover::followPosition(qsizetype from, qsizetype to)
{
    if (m_positionSettled || m_position < 0)
        return;
    if (m_position < from) {
        m_position -= m_removed;
        m_positionSettled = true;
    } else if (m_position < to) {
        m_position = -1;
        m_positionSettled = true;
    } else {
        m_removed += to - from;
    }
}
