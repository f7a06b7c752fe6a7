#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Decodes one output stream of a tool as UTF-8 while it arrives in pieces: a
// character split between two reads is held back until its last byte comes, and
// each invalid byte becomes U+FFFD.
class Utf8StreamDecoder
{
public:
    QString decode(QByteArrayView bytes);
    // The stream has ended: a character that never got its last bytes is broken.
    QString finish();

private:
    QByteArray m_pending;
};
