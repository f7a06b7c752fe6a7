#pragma once

#include "EncodingFlags.h"
#include "ProcessIdentity.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>

// What a crash-recovery file holds: the unsaved text of a document and what is
// needed to give it back as it was (the document's path, empty for an untitled
// one, and how it is encoded), with the process that wrote it and when. The text
// is preceded by its length and a checksum, so that a file cut short or damaged
// is told from a whole one.
struct RecoveryFile
{
    QString documentPath;
    EncodingFlags displayEncoding;
    EncodingFlags saveEncoding;
    ProcessIdentity writer;
    QDateTime written;
    QByteArray text; // UTF-8 with LF line ends

    QByteArray serialize() const;
    // What comes before a text of length bytes with the given checksum, for a file
    // written piece by piece rather than from one buffer.
    QByteArray header(qsizetype length, quint32 checksum) const;
    // The checksum of bytes, continuing that of the bytes before them.
    static quint32 checksumOf(QByteArrayView bytes, quint32 previous = 0);
    // Nothing unless every field is present and the text whole.
    static std::optional<RecoveryFile> parse(const QByteArray &bytes);
};
