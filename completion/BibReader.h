#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Reads the entries of a BibTeX database for citation completion: each entry's key
// with its author and title. Entries may be written "@type{key, ...}" or
// "@type(key, ...)" with nested braces and quoted values; @string, @comment and
// @preamble are passed over. The reading never gives up: an entry that is broken
// (a brace never closed, a field without "=") keeps what was read of it, and the
// next entry that starts a line is read as usual.
class BibReader
{
public:
    struct Entry
    {
        QString key;
        QString author;
        QString title;
    };

    static QList<Entry> read(QStringView text);

    // What the citation list shows beside the key: the first author, marked when
    // there are more, and the title, both shortened.
    static QString note(const Entry &entry);
};
