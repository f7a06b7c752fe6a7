#pragma once

#include "TexReferences.h"

#include <QString>
#include <QStringList>

// What completion keeps of a source file of the document other than the one being
// edited: its labels and what it says about the other files. Made once per version
// of the file.
struct SourceFacts
{
    QStringList labels;
    TexReferences references;
    // The main file a magic comment names, as written; empty without one.
    QString rootComment;

    static SourceFacts of(QString text);
};
