#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// What a TeX source says about the other files of its document: the files it reads
// in (\input, \include, \subfile, \InputIfFileExists, \import), the bibliography
// databases it names (\bibliography, \addbibresource), and whether it starts a
// document of its own (\documentclass). The text given is already stripped of what
// TeX does not read.
class TexReferences
{
public:
    struct Inclusion
    {
        // The folder given to \import, empty for the other commands.
        QString directory;
        QString name;
        // The files this one reads in are found beside it (\subfile, \import), not
        // beside the document's main file.
        bool ownFolder = false;
    };

    QList<Inclusion> inclusions;
    // Names as written; a ".bib" may be missing.
    QStringList bibliographies;
    bool hasDocumentClass = false;

    static TexReferences find(QStringView text);
};
