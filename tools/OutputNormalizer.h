#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Prepares a tool's raw output for the console, byte by byte: zero bytes are dropped
// (they would otherwise end the text of a chunk), and every line end - LF, CR+LF or
// a lone CR - becomes one LF. The last byte seen is kept across chunks and across
// runs, so a CR that ends one read and an LF that starts the next make one line end.
class OutputNormalizer
{
public:
    QByteArray normalize(QByteArrayView chunk);
    // Forgets the last byte; the console does this when it is cleared.
    void reset() { m_lastByte = '\0'; }

private:
    char m_lastByte = '\0';
};
