#pragma once

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
        return RunDocument{[this] { save(); }, [this] { return parts; }, [this] { parts = {}; }};
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
            file.write(text.toUtf8());
        }
        const qsizetype slash = path.lastIndexOf(u'/');
        parts.fileName = path.mid(slash + 1);
        parts.directory = slash == 0 ? QStringLiteral("/") : path.left(slash);
        const qsizetype dot = parts.fileName.lastIndexOf(u'.');
        parts.baseName = dot < 0 ? parts.fileName : parts.fileName.left(dot);
    }

    QString path;
    QString text = QStringLiteral("\\documentclass{jarticle}\n");
    QString saveAsAnswer;
    bool writeFile = true;
    int saveAsPrompts = 0;
    RunDocument::PathParts parts;
};
