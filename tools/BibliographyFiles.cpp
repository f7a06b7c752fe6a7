#include "BibliographyFiles.h"

#include <QRegularExpression>

namespace {

// A line up to its first "%" that no backslash escapes.
QString withoutComment(const QString &line)
{
    static const QRegularExpression comment(QStringLiteral("(?<!\\\\)%.*$"));
    return QString(line).remove(comment);
}

QString withBibExtension(const QString &name)
{
    return name.endsWith(QLatin1String(".bib")) ? name : name + QLatin1String(".bib");
}

} // namespace

QStringList BibliographyFiles(const QByteArray &source)
{
    static const QRegularExpression command(QStringLiteral("\\\\bibliography\\s*\\{([^}]*)\\}"));
    QStringList files;
    for (const QString &line : QString::fromLatin1(source).split(u'\n')) {
        auto matches = command.globalMatch(withoutComment(line));
        while (matches.hasNext()) {
            for (const QString &name : matches.next().captured(1).split(u',')) {
                if (!name.trimmed().isEmpty())
                    files.append(withBibExtension(name.trimmed()));
            }
        }
    }
    return files;
}
