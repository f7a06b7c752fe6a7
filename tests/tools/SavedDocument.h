#pragma once

#include "ConversionPivot.h"
#include "ConverterBinding.h"
#include "ConverterLibrary.h"
#include "RunCommands.h"

#include <QFile>
#include <QString>

// A document as the run commands see it: its save command writes the text to its
// path, asking for a path first when it has none, and records the parts of the
// path it wrote.
class SavedDocument
{
public:
    RunDocument interface()
    {
        return RunDocument{
            [this] { save(); },
            [this] { return parts; },
            [this] { parts = {}; },
            [this] { return path.isEmpty() ? RunDocument::PathParts{} : split(path); },
            [this] { return encoding; },
            [this](const QByteArray &content) {
                return ConverterBinding(library).read(content, ConversionPivot::platform().readOptions()).inputEncoding;
            }};
    }

    void save()
    {
        parts = {};
        if (path.isEmpty()) {
            ++saveAsPrompts;
            path = saveAsAnswer;
            if (path.isEmpty())
                return;
        }
        if (writeFile) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return;
            file.write(bytes.isEmpty() ? text.toUtf8() : bytes);
        }
        parts = split(path);
    }

    static RunDocument::PathParts split(const QString &path)
    {
        RunDocument::PathParts split;
        const qsizetype slash = path.lastIndexOf(u'/');
        split.fileName = path.mid(slash + 1);
        split.directory = slash == 0 ? QStringLiteral("/") : path.left(slash);
        const qsizetype dot = split.fileName.lastIndexOf(u'.');
        split.baseName = dot < 0 ? split.fileName : split.fileName.left(dot);
        return split;
    }

    QString path;
    QString text = QStringLiteral("\\documentclass{jarticle}\n");
    // When set, written instead of the text: a document in another encoding.
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Utf8;
    const ConverterLibrary library{QStringLiteral(QUILLMERE_BUILD_DIR)};
    QString saveAsAnswer;
    bool writeFile = true;
    int saveAsPrompts = 0;
    RunDocument::PathParts parts;
};
