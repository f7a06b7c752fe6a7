#include "TexReferences.h"

#include <optional>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
}

bool isTexLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Reads the arguments after a control word: blanks are passed over, an optional
// argument is skipped, and a group yields its text.
class ArgumentReader
{
public:
    ArgumentReader(QStringView text, qsizetype from)
        : m_text(text)
        , m_at(from)
    {
    }

    void skipOptional()
    {
        skipBlanks();
        if (m_at < m_text.size() && m_text[m_at] == u'[')
            m_at = closing(u'[', u']', m_at + 1);
    }

    std::optional<QString> group()
    {
        skipBlanks();
        if (m_at >= m_text.size() || m_text[m_at] != u'{')
            return std::nullopt;
        const qsizetype close = closing(u'{', u'}', m_at + 1);
        if (close > m_text.size())
            return std::nullopt;
        const QStringView content = m_text.sliced(m_at + 1, close - m_at - 2);
        m_at = close;
        return content.trimmed().toString();
    }

    // The file name of plain TeX's "\input name": up to the next blank or brace.
    std::optional<QString> bareName()
    {
        skipBlanks();
        const qsizetype start = m_at;
        while (m_at < m_text.size() && !isBlank(m_text[m_at]) && m_text[m_at] != u'{' && m_text[m_at] != u'}'
               && m_text[m_at] != u'\\')
            ++m_at;
        if (m_at == start)
            return std::nullopt;
        return m_text.sliced(start, m_at - start).toString();
    }

    bool atGroup()
    {
        skipBlanks();
        return m_at < m_text.size() && m_text[m_at] == u'{';
    }

private:
    void skipBlanks()
    {
        while (m_at < m_text.size() && isBlank(m_text[m_at]))
            ++m_at;
    }

    // The index after the delimiter that closes the one opened before from; past
    // the end of the text when none does.
    qsizetype closing(QChar open, QChar close, qsizetype from) const
    {
        int depth = 1;
        for (qsizetype i = from; i < m_text.size(); ++i) {
            if (m_text[i] == open)
                ++depth;
            else if (m_text[i] == close && --depth == 0)
                return i + 1;
        }
        return m_text.size() + 1;
    }

    QStringView m_text;
    qsizetype m_at;
};

void addInclusion(TexReferences &found, const std::optional<QString> &name, const QString &directory = {},
                  bool ownFolder = false)
{
    if (name && !name->isEmpty())
        found.inclusions.append(TexReferences::Inclusion{directory, *name, ownFolder});
}

void addBibliographies(TexReferences &found, const std::optional<QString> &names)
{
    if (!names)
        return;
    for (const QStringView name : QStringView(*names).split(u',', Qt::SkipEmptyParts)) {
        const QStringView trimmed = name.trimmed();
        if (!trimmed.isEmpty())
            found.bibliographies.append(trimmed.toString());
    }
}

void readCommand(TexReferences &found, QStringView word, ArgumentReader arguments)
{
    if (word == u"input") {
        addInclusion(found, arguments.atGroup() ? arguments.group() : arguments.bareName());
    } else if (word == u"include" || word == u"InputIfFileExists") {
        addInclusion(found, arguments.group());
    } else if (word == u"subfile") {
        addInclusion(found, arguments.group(), {}, true);
    } else if (word == u"import" || word == u"subimport") {
        const std::optional<QString> directory = arguments.group();
        if (directory)
            addInclusion(found, arguments.group(), *directory, true);
    } else if (word == u"bibliography") {
        addBibliographies(found, arguments.group());
    } else if (word == u"addbibresource") {
        arguments.skipOptional();
        const std::optional<QString> name = arguments.group();
        if (name && !name->isEmpty())
            found.bibliographies.append(*name);
    } else if (word == u"documentclass" || word == u"documentstyle") {
        found.hasDocumentClass = true;
    }
}

} // namespace

TexReferences TexReferences::find(QStringView text)
{
    TexReferences found;
    for (qsizetype at = text.indexOf(u'\\'); at >= 0; at = text.indexOf(u'\\', at + 1)) {
        qsizetype end = at + 1;
        while (end < text.size() && isTexLetter(text[end]))
            ++end;
        if (end == at + 1)
            continue;
        readCommand(found, text.sliced(at + 1, end - at - 1), ArgumentReader(text, end));
        at = end - 1;
    }
    return found;
}
