#pragma once

#include "DocumentScan.h"

// What an argument holds, as far as completion offers something for it beyond the
// dictionary's own lists.
class ArgumentKind
{
public:
    enum Kind {
        Other,
        Environment,
        Label,
        Citation,
        // A source read in by \input or \include, named without ".tex".
        SourceName,
        GraphicsName,
        // A database for \bibliography, named without ".bib".
        DatabaseName,
        // A database for \addbibresource, named with its extension.
        DatabaseFile,
    };

    static Kind of(const DocumentScan::Context &context);
    // Whether the candidates of kind come from the document's files.
    static bool comesFromFiles(Kind kind) { return kind >= Label; }
};
