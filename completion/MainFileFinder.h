#pragma once

#include "FileFollower.h"

#include <QString>
#include <QStringView>

// Finds the main file of a document when the file being edited is one of its
// chapters: the file a magic comment names first; else the file itself when it
// starts a document; else a .tex file in its folder or the one above that reads it
// in, followed upwards until one starts a document.
class MainFileFinder
{
public:
    // The file named at the head of text by "% !TEX root = main.tex" or given to the
    // command of a "%#!" line, as written; empty when there is none.
    static QString rootComment(QStringView text);

    // documentPath is canonical; so is the result, documentPath itself when no
    // other main file is found.
    static QString find(const QString &documentPath, const FileFollower::Facts &facts,
                        const FileFollower::Cancelled &cancelled);

private:
    static QString namedRoot(const QString &path, const SourceFacts &facts);
    static QString includer(const QString &path, const QStringList &passed, const FileFollower::Facts &facts,
                            const FileFollower::Cancelled &cancelled);
};
