#include "MainFileFinder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Magic comments stand at the head of a file.
constexpr int HeadLines = 50;
// How far up the chain of files reading each other in the search goes.
constexpr int IncluderLevels = 8;
// How many files of a folder are read in search of the one that reads a file in.
constexpr int CandidatesPerFolder = 200;

QString unquoted(QString name)
{
    return name.remove(u'"').remove(u'\'');
}

QString texRootIn(QStringView line)
{
    static const QRegularExpression texRoot(QStringLiteral(R"(^%\s*!\s*TEX\s+root\s*=\s*(.*\S))"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = texRoot.match(line.toString());
    return match.hasMatch() ? unquoted(match.captured(1)) : QString();
}

// "%#!platex -kanji=utf8 main && dvipdfmx main": the first argument of the first
// command that is not an option.
QString commandFileIn(QStringView line)
{
    if (!line.startsWith(u"%#!"))
        return {};
    const QList<QStringView> words = line.sliced(3).split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QStringView word = words[i];
        if (word == u"&&" || word == u";" || word == u"|" || word == u"||")
            break;
        if (!word.startsWith(u'-'))
            return unquoted(word.toString());
    }
    return {};
}

QStringList texFilesIn(const QString &folder)
{
    const QDir directory(folder);
    QStringList files;
    const QFileInfoList entries = directory.entryInfoList({QStringLiteral("*.tex")}, QDir::Files | QDir::Readable,
                                                          QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (files.size() == CandidatesPerFolder)
            break;
        files.append(entry.canonicalFilePath());
    }
    return files;
}

// Whether the candidate reads path in. A chapter names the files it reads in
// relative to the main file's folder, which is often the one above its own.
bool readsIn(const QString &candidate, const SourceFacts &facts, const QString &path)
{
    const QDir folder = QFileInfo(candidate).dir();
    QDir parent = folder;
    const bool hasParent = parent.cdUp();
    for (const TexReferences::Inclusion &inclusion : facts.references.inclusions) {
        if (FileFollower::resolve(folder.path(), inclusion) == path
            || (hasParent && FileFollower::resolve(parent.path(), inclusion) == path))
            return true;
    }
    return false;
}

} // namespace

QString MainFileFinder::rootComment(QStringView text)
{
    int line = 0;
    for (const QStringView row : text.tokenize(u'\n')) {
        if (++line > HeadLines)
            break;
        const QStringView trimmed = row.trimmed();
        if (!trimmed.startsWith(u'%'))
            continue;
        QString named = texRootIn(trimmed);
        if (named.isEmpty())
            named = commandFileIn(trimmed);
        if (!named.isEmpty())
            return named;
    }
    return {};
}

QString MainFileFinder::find(const QString &documentPath, const FileFollower::Facts &facts,
                             const FileFollower::Cancelled &cancelled)
{
    const std::shared_ptr<const SourceFacts> own = facts(SourceStamp::of(documentPath));
    if (!own)
        return documentPath;
    if (const QString named = namedRoot(documentPath, *own); !named.isEmpty())
        return named;
    if (own->references.hasDocumentClass)
        return documentPath;
    QStringList passed{documentPath};
    for (int level = 0; level < IncluderLevels; ++level) {
        const QString found = includer(passed.last(), passed, facts, cancelled);
        if (found.isEmpty())
            break;
        passed.append(found);
        const std::shared_ptr<const SourceFacts> foundFacts = facts(SourceStamp::of(found));
        if (!foundFacts)
            break;
        if (const QString named = namedRoot(found, *foundFacts); !named.isEmpty())
            return named;
        if (foundFacts->references.hasDocumentClass)
            return found;
    }
    return passed.last();
}

QString MainFileFinder::namedRoot(const QString &path, const SourceFacts &facts)
{
    if (facts.rootComment.isEmpty())
        return {};
    return FileFollower::resolve(QFileInfo(path).path(), facts.rootComment);
}

// A file that reads path in, one that starts a document if there is such; empty
// when none does. Files already passed on the way up are not looked at again.
QString MainFileFinder::includer(const QString &path, const QStringList &passed, const FileFollower::Facts &facts,
                                 const FileFollower::Cancelled &cancelled)
{
    const QDir folder = QFileInfo(path).dir();
    QStringList candidates = texFilesIn(folder.path());
    QDir parent = folder;
    if (parent.cdUp())
        candidates += texFilesIn(parent.path());
    QString partial;
    for (const QString &candidate : std::as_const(candidates)) {
        if (cancelled && cancelled())
            break;
        if (passed.contains(candidate))
            continue;
        const std::shared_ptr<const SourceFacts> candidateFacts = facts(SourceStamp::of(candidate));
        if (!candidateFacts || !readsIn(candidate, *candidateFacts, path))
            continue;
        if (candidateFacts->references.hasDocumentClass)
            return candidate;
        if (partial.isEmpty())
            partial = candidate;
    }
    return partial;
}
