#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Prepares a tool's raw output for the console, byte by byte: zero bytes are dropped
// (they would otherwise end the text of a chunk), and every line end - LF, CR+LF or
// a lone CR - becomes one LF. The last byte seen is kept across chunks and across
// runs, so a CR that ends one read and an LF that starts the next make one line end.
// A line longer than LongestLine bytes is cut into pieces of at most that many,
// between two UTF-8 characters, each ending in an LF of its own: the pane shows a
// tool that never ends its line without laying out one ever longer line.
class OutputNormalizer
{
public:
    static constexpr qsizetype LongestLine = 64 * 1024;

    QByteArray normalize(QByteArrayView chunk);
    // Forgets the last byte; the console does this when it is cleared.
    void reset()
    {
        m_lastByte = '\0';
        m_lineLength = 0;
    }

private:
    static qsizetype cutFor(QByteArrayView run, qsizetype room);
    void appendRun(QByteArray &result, QByteArrayView run);

    char m_lastByte = '\0';
    qsizetype m_lineLength = 0;
};
