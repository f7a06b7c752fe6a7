#include "BibReader.h"

#include <QRegularExpression>

#include <optional>

namespace {

constexpr qsizetype AuthorLength = 20;
constexpr qsizetype TitleLength = 40;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool endsKey(QChar c)
{
    return isBlank(c) || c == u',' || c == u'{' || c == u'}' || c == u'(' || c == u')';
}

bool endsFieldName(QChar c)
{
    return isBlank(c) || c == u'=' || c == u',' || c == u'{' || c == u'}' || c == u'(' || c == u')' || c == u'"'
           || c == u'#';
}

bool endsBareValue(QChar c)
{
    return isBlank(c) || c == u',' || c == u'}' || c == u')' || c == u'#' || c == u'{' || c == u'"';
}

// Braces dropped and every run of blanks made one space.
QString cleaned(const QString &value)
{
    QString text = value;
    text.remove(u'{').remove(u'}');
    text.replace(u'~', u' ');
    return text.simplified();
}

QString shortened(const QString &text, qsizetype length)
{
    return text.size() <= length ? text : text.first(length - 1) + QChar(0x2026);
}

class Parser
{
public:
    explicit Parser(QStringView text)
        : m_text(text)
    {
    }

    QList<BibReader::Entry> run()
    {
        for (m_at = m_text.indexOf(u'@'); m_at >= 0 && m_at < m_text.size(); m_at = m_text.indexOf(u'@', m_at))
            readItem();
        return m_entries;
    }

private:
    bool atEnd() const { return m_at >= m_text.size(); }
    QChar current() const { return m_text[m_at]; }

    void skipBlanks()
    {
        while (!atEnd() && isBlank(current()))
            ++m_at;
    }

    QStringView readWhile(bool (*belongs)(QChar))
    {
        const qsizetype start = m_at;
        while (!atEnd() && belongs(m_text[m_at]))
            ++m_at;
        return m_text.sliced(start, m_at - start);
    }

    QStringView readUntil(bool (*ends)(QChar))
    {
        const qsizetype start = m_at;
        while (!atEnd() && !ends(m_text[m_at]))
            ++m_at;
        return m_text.sliced(start, m_at - start);
    }

    // Whether the line after the line end at index starts a new entry: "@", a type,
    // and its opening delimiter. Inside an entry that is a sign that the entry was
    // broken, since a value cannot hold that at the start of a line.
    bool entryStartsAfter(qsizetype index) const
    {
        qsizetype i = index + 1;
        while (i < m_text.size() && (m_text[i] == u' ' || m_text[i] == u'\t'))
            ++i;
        if (i >= m_text.size() || m_text[i] != u'@')
            return false;
        ++i;
        const qsizetype typeStart = i;
        while (i < m_text.size() && isLetter(m_text[i]))
            ++i;
        if (i == typeStart)
            return false;
        while (i < m_text.size() && isBlank(m_text[i]))
            ++i;
        return i < m_text.size() && (m_text[i] == u'{' || m_text[i] == u'(');
    }

    void readItem()
    {
        ++m_at;
        skipBlanks();
        const QString type = readWhile(isLetter).toString().toLower();
        skipBlanks();
        if (type.isEmpty() || atEnd() || (current() != u'{' && current() != u'('))
            return;
        const QChar close = current() == u'{' ? u'}' : u')';
        ++m_at;
        if (type == u"comment" || type == u"preamble" || type == u"string")
            skipBody(close);
        else
            readEntry(close);
    }

    // Passes over the rest of an item up to its closing delimiter.
    void skipBody(QChar close)
    {
        int depth = 0;
        for (; !atEnd(); ++m_at) {
            const QChar c = current();
            if (c == u'\n' && entryStartsAfter(m_at))
                return;
            if (c == u'{') {
                ++depth;
            } else if (c == u'}' && depth > 0) {
                --depth;
            } else if (c == close && depth == 0) {
                ++m_at;
                return;
            }
        }
    }

    void readEntry(QChar close)
    {
        skipBlanks();
        BibReader::Entry entry;
        entry.key = readUntil(endsKey).toString();
        if (entry.key.isEmpty()) {
            skipBody(close);
            return;
        }
        readFields(entry, close);
        m_entries.append(std::move(entry));
    }

    void readFields(BibReader::Entry &entry, QChar close)
    {
        for (;;) {
            skipBlanks();
            if (atEnd())
                return;
            if (current() == u',') {
                ++m_at;
                continue;
            }
            if (current() == close) {
                ++m_at;
                return;
            }
            // A field name never starts with "@": the entry was left open.
            if (current() == u'@')
                return;
            const QString name = readUntil(endsFieldName).toString().toLower();
            skipBlanks();
            if (name.isEmpty() || atEnd() || current() != u'=')
                return;
            ++m_at;
            QString value;
            if (!readValue(value))
                return;
            if (name == u"author")
                entry.author = cleaned(value);
            else if (name == u"title")
                entry.title = cleaned(value);
        }
    }

    // A value: pieces in braces or quotes, numbers and names, joined by "#".
    bool readValue(QString &value)
    {
        for (;;) {
            skipBlanks();
            if (atEnd())
                return false;
            bool read = false;
            if (current() == u'{')
                read = readDelimited(value, u'}');
            else if (current() == u'"')
                read = readDelimited(value, u'"');
            else
                read = !readUntil(endsBareValue).isEmpty();
            if (!read)
                return false;
            skipBlanks();
            if (atEnd() || current() != u'#')
                return true;
            ++m_at;
        }
    }

    // From the opening brace or quote at the current position to its closing one,
    // braces inside balanced. False when the text or the entry ends first.
    bool readDelimited(QString &value, QChar close)
    {
        const qsizetype start = ++m_at;
        int depth = 0;
        for (; !atEnd(); ++m_at) {
            const QChar c = current();
            if (c == u'\n' && entryStartsAfter(m_at))
                return false;
            if (c == close && depth == 0) {
                value += m_text.sliced(start, m_at - start);
                ++m_at;
                return true;
            }
            if (c == u'{')
                ++depth;
            else if (c == u'}')
                --depth;
        }
        return false;
    }

    QStringView m_text;
    qsizetype m_at = 0;
    QList<BibReader::Entry> m_entries;
};

} // namespace

QList<BibReader::Entry> BibReader::read(QStringView text)
{
    return Parser(text).run();
}

QString BibReader::note(const Entry &entry)
{
    static const QRegularExpression authorSeparator(QStringLiteral(R"(\s+and\s+)"),
                                                    QRegularExpression::CaseInsensitiveOption);
    const QStringList authors = entry.author.split(authorSeparator, Qt::SkipEmptyParts);
    QString author = authors.isEmpty() ? QString() : shortened(authors.first(), AuthorLength);
    if (authors.size() > 1)
        author += QStringLiteral(" ほか");
    const QString title = shortened(entry.title, TitleLength);
    if (author.isEmpty() || title.isEmpty())
        return author + title;
    return author + QStringLiteral(": ") + title;
}
