#pragma once

#include "SourceFacts.h"
#include "SourceStamp.h"
#include "TexReferences.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>

// Finds the source files of a document by following what each reads in, from its
// main file on: each file once however often it is read in (so cycles end), in the
// order TeX reads them, within limits on their number and their size in all. A file
// that is missing or cannot be read is passed over.
class FileFollower
{
public:
    struct Limits
    {
        int files = 200;
        qint64 bytes = 50LL * 1024 * 1024;
    };
    struct Followed
    {
        SourceStamp stamp;
        std::shared_ptr<const SourceFacts> facts;
    };
    // What a file holds, or null when it cannot be read.
    using Facts = std::function<std::shared_ptr<const SourceFacts>(const SourceStamp &stamp)>;
    using Cancelled = std::function<bool()>;

    FileFollower(Facts facts, Limits limits);

    // roots are canonical paths; names are looked for in mainFolder, where TeX runs,
    // unless an \import or \subfile moved on to another folder.
    QList<Followed> follow(const QStringList &roots, const QString &mainFolder, const Cancelled &cancelled) const;

    // The file name stands for in folder: ".tex" (extension) added when missing, else
    // the name as written; the canonical path, or empty when neither is a file.
    static QString resolve(const QString &folder, const QString &name,
                           const QString &extension = QStringLiteral(".tex"));
    static QString resolve(const QString &folder, const TexReferences::Inclusion &inclusion);

private:
    Facts m_facts;
    Limits m_limits;
};
