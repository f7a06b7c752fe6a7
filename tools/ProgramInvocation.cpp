#include "ProgramInvocation.h"

#include "ExternalProgram.h"

namespace {

// Expands one piece of a template; the base name goes in at the first "%s" of the
// whole template only.
class TemplateExpander
{
public:
    explicit TemplateExpander(const QString &baseName)
        : m_baseName(baseName)
    {
    }

    QString expand(const QString &text)
    {
        QString result;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
            if (text[i] == u'%' && next == u'%') {
                result += u'%';
                ++i;
            } else if (text[i] == u'%' && next == u's' && !m_used) {
                result += m_baseName;
                m_used = true;
                ++i;
            } else {
                result += text[i];
            }
        }
        return result;
    }

private:
    const QString &m_baseName;
    bool m_used = false;
};

bool isWordSeparator(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool escapableInDoubleQuotes(QChar c)
{
    return c == u'$' || c == u'`' || c == u'"' || c == u'\\' || c == u'\n';
}

class ShellWordSplitter
{
public:
    explicit ShellWordSplitter(const QString &text)
        : m_text(text)
    {
    }

    QStringList split()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (isWordSeparator(c))
                endWord();
            else if (c == u'\'')
                readSingleQuoted();
            else if (c == u'"')
                readDoubleQuoted();
            else if (c == u'\\')
                readEscaped();
            else
                append(c);
        }
        endWord();
        return m_words;
    }

private:
    void append(QChar c)
    {
        m_word += c;
        m_inWord = true;
    }

    void endWord()
    {
        if (m_inWord)
            m_words.append(m_word);
        m_word.clear();
        m_inWord = false;
    }

    // An unterminated quote runs to the end of the template.
    void readSingleQuoted()
    {
        m_inWord = true;
        while (m_pos < m_text.size() && m_text[m_pos] != u'\'')
            m_word += m_text[m_pos++];
        ++m_pos;
    }

    void readDoubleQuoted()
    {
        m_inWord = true;
        while (m_pos < m_text.size() && m_text[m_pos] != u'"') {
            const QChar c = m_text[m_pos++];
            if (c == u'\\' && m_pos < m_text.size() && escapableInDoubleQuotes(m_text[m_pos])) {
                const QChar escaped = m_text[m_pos++];
                if (escaped != u'\n')
                    m_word += escaped;
            } else {
                m_word += c;
            }
        }
        ++m_pos;
    }

    void readEscaped()
    {
        if (m_pos >= m_text.size()) {
            append(u'\\');
            return;
        }
        const QChar escaped = m_text[m_pos++];
        if (escaped != u'\n')
            append(escaped);
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    QString m_word;
    bool m_inWord = false;
    QStringList m_words;
};

} // namespace

QString FormatArguments(const ExternalProgram &entry, const QString &baseName)
{
    return TemplateExpander(baseName).expand(entry.optionTemplate());
}

QString BuildCommandLine(const ExternalProgram &entry, const QString &baseName)
{
    return entry.executable() + u' ' + FormatArguments(entry, baseName);
}

ProgramInvocation BuildProgramInvocation(const ExternalProgram &entry, const QString &baseName)
{
    TemplateExpander expander(baseName);
    ProgramInvocation invocation{entry.executable(), {}};
    for (const QString &word : ShellWordSplitter(entry.optionTemplate()).split())
        invocation.arguments.append(expander.expand(word));
    return invocation;
}
