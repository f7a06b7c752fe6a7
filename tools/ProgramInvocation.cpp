#include "ProgramInvocation.h"

#include "ExternalProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

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

    // A word that begins with the base name gets "./" in front of it when the name
    // begins with "-", so a file name can never be read as an option.
    QString expandArgument(const QString &word) { return expand(word, true); }
    QString expandText(const QString &text) { return expand(text, false); }

private:
    QString expand(const QString &text, bool guardLeadingDash)
    {
        QString result;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
            if (text[i] == u'%' && next == u'%') {
                result += u'%';
                ++i;
            } else if (text[i] == u'%' && next == u's' && !m_used) {
                if (guardLeadingDash && result.isEmpty() && m_baseName.startsWith(u'-'))
                    result += QStringLiteral("./");
                result += m_baseName;
                m_used = true;
                ++i;
            } else {
                result += text[i];
            }
        }
        return result;
    }

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

bool namesExistingFile(const QString &field, const QString &directory)
{
    return QFileInfo::exists(QDir(directory).filePath(field)) || !QStandardPaths::findExecutable(field).isEmpty();
}

// A field such as "platex -kanji=sjis" holds the program and its first options;
// a path to a program whose name holds blanks stays whole.
ProgramInvocation splitExecutableField(const QString &field, const QString &directory)
{
    const bool holdsBlanks = std::any_of(field.begin(), field.end(), isWordSeparator);
    if (!holdsBlanks || namesExistingFile(field, directory))
        return {field, {}};
    QStringList words = ShellWordSplitter(field).split();
    if (words.isEmpty())
        return {field, {}};
    const QString program = words.takeFirst();
    return {program, words};
}

bool needsQuotes(const QString &word)
{
    static const QRegularExpression plain(QStringLiteral("^[^\\s'\"`$\\\\;&|<>()*?\\[\\]#~{}!]+$"));
    return !plain.match(word).hasMatch();
}

// A word as a shell would need it written to give back the same argument.
QString quotedForDisplay(const QString &word)
{
    if (!needsQuotes(word))
        return word;
    return u'\'' + QString(word).replace(QStringLiteral("'"), QStringLiteral("'\\''")) + u'\'';
}

} // namespace

QString FormatArguments(const ExternalProgram &entry, const QString &baseName)
{
    return TemplateExpander(baseName).expandText(entry.optionTemplate());
}

QString BuildCommandLine(const ExternalProgram &entry, const QString &baseName)
{
    return entry.executable() + u' ' + FormatArguments(entry, baseName);
}

ProgramInvocation BuildProgramInvocation(const ExternalProgram &entry, const QString &baseName,
                                         const QString &directory)
{
    ProgramInvocation invocation = splitExecutableField(entry.executable(), directory);
    TemplateExpander expander(baseName);
    for (const QString &word : ShellWordSplitter(entry.optionTemplate()).split())
        invocation.arguments.append(expander.expandArgument(word));
    return invocation;
}

QString DisplayCommandLine(const ProgramInvocation &invocation)
{
    QStringList words{quotedForDisplay(invocation.program)};
    for (const QString &argument : invocation.arguments)
        words.append(quotedForDisplay(argument));
    return words.join(u' ');
}
