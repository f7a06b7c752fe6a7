#pragma once

#include "EncodingFlags.h"
#include "ProcessIdentity.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// What a crash-recovery file holds: the unsaved text of a document and what is
// needed to give it back as it was (the document's path, empty for an untitled
// one, and how it is encoded), with the process that wrote it and when. The text
// is followed by its length and a checksum, so that a file cut short or damaged
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
    // Nothing unless every field is present and the text whole.
    static std::optional<RecoveryFile> parse(const QByteArray &bytes);
};
