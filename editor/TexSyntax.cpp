#include "TexSyntax.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Kind = TexSyntax::Kind;
using Mode = TexSyntax::State::Mode;

struct KnownEnvironment
{
    QStringView name;
    Mode mode;
};

// Starred forms are environments of their own to TeX, each closed by its own \end.
constexpr std::array<KnownEnvironment, 28> Environments{{
    {u"equation", Mode::Environment},  {u"equation*", Mode::Environment},   {u"align", Mode::Environment},
    {u"align*", Mode::Environment},    {u"gather", Mode::Environment},      {u"gather*", Mode::Environment},
    {u"multline", Mode::Environment},  {u"multline*", Mode::Environment},   {u"eqnarray", Mode::Environment},
    {u"eqnarray*", Mode::Environment}, {u"displaymath", Mode::Environment}, {u"math", Mode::Environment},
    {u"flalign", Mode::Environment},   {u"flalign*", Mode::Environment},    {u"alignat", Mode::Environment},
    {u"alignat*", Mode::Environment},  {u"verbatim", Mode::Verbatim},       {u"verbatim*", Mode::Verbatim},
    {u"Verbatim", Mode::Verbatim},     {u"Verbatim*", Mode::Verbatim},      {u"BVerbatim", Mode::Verbatim},
    {u"LVerbatim", Mode::Verbatim},    {u"lstlisting", Mode::Verbatim},     {u"minted", Mode::Verbatim},
    {u"alltt", Mode::Verbatim},        {u"filecontents", Mode::Verbatim},   {u"filecontents*", Mode::Verbatim},
    {u"comment", Mode::CommentBlock},
}};

// Commands whose brace argument is a label, a reference or a citation key.
constexpr std::array<QStringView, 22> ReferenceCommands{
    u"label",  u"ref",     u"eqref", u"pageref",   u"cref",     u"Cref",     u"autoref",    u"nameref",
    u"vref",   u"cite",    u"citep", u"citet",     u"citealp",  u"citealt",  u"citeauthor", u"citeyear",
    u"nocite", u"bibitem", u"Ref",   u"labelcref", u"namecref", u"hyperref",
};

constexpr int ModeBits = 3;
constexpr int ModeCount = 8;

bool isReferenceCommand(QStringView name)
{
    return std::find(ReferenceCommands.begin(), ReferenceCommands.end(), name) != ReferenceCommands.end();
}

bool isBlank(QStringView line)
{
    for (const QChar c : line) {
        if (c != u' ' && c != u'\t')
            return false;
    }
    return true;
}

// A magic comment: "%#!" (the command line of the old Japanese TeX shells) or
// "% !TeX ..." at the start of a line.
bool isMagicComment(QStringView rest)
{
    if (rest.startsWith(u"%#!"))
        return true;
    QStringView after = rest.mid(1).trimmed();
    return after.startsWith(u"!tex", Qt::CaseInsensitive);
}

// Reads one line, adding spans as it goes.
class LineScanner
{
public:
    LineScanner(QStringView line, TexSyntax::State state, std::vector<TexSyntax::Span> *spans)
        : m_line(line)
        , m_state(state)
        , m_spans(spans)
    {
    }

    TexSyntax::State run()
    {
        if (isShortMath(m_state.mode) && isBlank(m_line))
            return {};
        if (m_state.mode == Mode::Verbatim || m_state.mode == Mode::CommentBlock)
            readVerbatimBody();
        while (m_pos < m_line.size())
            readNext();
        return m_state;
    }

private:
    static bool isShortMath(Mode mode)
    {
        return mode == Mode::InlineMath || mode == Mode::DisplayMath || mode == Mode::ParenMath
               || mode == Mode::BracketMath;
    }

    static bool isSpecial(QChar c) { return c == u'\\' || c == u'%' || c == u'$'; }

    QChar at(qsizetype index) const { return index < m_line.size() ? m_line[index] : QChar(); }

    void add(qsizetype start, qsizetype end, Kind kind)
    {
        if (!m_spans || end <= start)
            return;
        if (!m_spans->empty()) {
            TexSyntax::Span &last = m_spans->back();
            if (last.kind == kind && last.start + last.length == start) {
                last.length = static_cast<int>(end - last.start);
                return;
            }
        }
        m_spans->push_back({static_cast<int>(start), static_cast<int>(end - start), kind});
    }

    // The kind of a control sequence or delimiter at the reader's present state.
    Kind commandKind() const { return m_state.inMath() ? Kind::Math : Kind::ControlSequence; }

    // UTF-16 units of the letter at index: 0 for no letter, 2 for a surrogate pair.
    // Japanese characters are letters of control words in pTeX as ASCII ones are.
    qsizetype letterLength(qsizetype index) const
    {
        const QChar c = at(index);
        if (c.isHighSurrogate() && at(index + 1).isLowSurrogate())
            return QChar::isLetter(QChar::surrogateToUcs4(c, at(index + 1))) ? 2 : 0;
        if (c.unicode() < 0x80)
            return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ? 1 : 0;
        return c.isLetter() ? 1 : 0;
    }

    qsizetype characterLength(qsizetype index) const
    {
        return at(index).isHighSurrogate() && at(index + 1).isLowSurrogate() ? 2 : 1;
    }

    void readNext()
    {
        const QChar c = m_line[m_pos];
        if (c == u'\\')
            readControlSequence();
        else if (c == u'%')
            readComment();
        else if (c == u'$')
            readDollar();
        else
            readRun();
    }

    void readRun()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_line.size() && !isSpecial(m_line[m_pos]))
            ++m_pos;
        if (m_state.inMath())
            add(start, m_pos, Kind::Math);
    }

    void readComment()
    {
        const bool lineStart = m_line.left(m_pos).trimmed().isEmpty();
        const bool magic = lineStart && m_state.mode == Mode::Text && isMagicComment(m_line.mid(m_pos));
        add(m_pos, m_line.size(), magic ? Kind::Magic : Kind::Comment);
        m_pos = m_line.size();
    }

    void readDollar()
    {
        const bool doubled = at(m_pos + 1) == u'$';
        const qsizetype start = m_pos;
        switch (m_state.mode) {
        case Mode::Text:
            m_state.mode = doubled ? Mode::DisplayMath : Mode::InlineMath;
            m_pos += doubled ? 2 : 1;
            break;
        case Mode::InlineMath:
            m_state.mode = Mode::Text;
            m_pos += 1;
            break;
        case Mode::DisplayMath:
            if (doubled)
                m_state.mode = Mode::Text;
            m_pos += doubled ? 2 : 1;
            break;
        default:
            m_pos += 1;
            break;
        }
        add(start, m_pos, Kind::Math);
    }

    void readControlSequence()
    {
        const qsizetype start = m_pos;
        qsizetype end = m_pos + 1;
        while (const qsizetype letter = letterLength(end))
            end += letter;
        if (end == m_pos + 1 && end < m_line.size())
            end += characterLength(end);
        const QStringView name = m_line.mid(start + 1, end - start - 1);
        m_pos = end;
        if (name == u"begin" || name == u"end")
            readEnvironmentCommand(start, name == u"begin");
        else if (name == u"verb")
            readVerb(start);
        else if (isReferenceCommand(name))
            readReferenceCommand(start);
        else
            readControlSymbolOrWord(start, name);
    }

    void readControlSymbolOrWord(qsizetype start, QStringView name)
    {
        const Kind before = commandKind();
        if (m_state.mode == Mode::Text && (name == u"(" || name == u"[")) {
            m_state.mode = name == u"(" ? Mode::ParenMath : Mode::BracketMath;
            add(start, m_pos, Kind::Math);
            return;
        }
        if ((m_state.mode == Mode::ParenMath && name == u")") || (m_state.mode == Mode::BracketMath && name == u"]"))
            m_state.mode = Mode::Text;
        add(start, m_pos, before);
    }

    void skipSpaces()
    {
        while (at(m_pos) == u' ' || at(m_pos) == u'\t')
            ++m_pos;
    }

    // Reads "{...}" at the reader's place; returns the stretch inside, up to the line
    // end when it is not closed there, or an empty range when no brace follows.
    std::pair<qsizetype, qsizetype> readBraceArgument()
    {
        skipSpaces();
        if (at(m_pos) != u'{')
            return {m_pos, m_pos};
        const qsizetype inside = m_pos + 1;
        const qsizetype close = m_line.indexOf(u'}', inside);
        const qsizetype end = close < 0 ? m_line.size() : close;
        m_pos = close < 0 ? end : close + 1;
        return {inside, end};
    }

    void skipOptionalArguments()
    {
        for (;;) {
            skipSpaces();
            if (at(m_pos) != u'[')
                return;
            const qsizetype close = m_line.indexOf(u']', m_pos + 1);
            m_pos = close < 0 ? m_line.size() : close + 1;
        }
    }

    // Spaces, braces and optional arguments between a command and its argument:
    // math inside math, plain text elsewhere.
    void addContent(qsizetype start, qsizetype end)
    {
        if (m_state.inMath())
            add(start, end, Kind::Math);
    }

    void readReferenceCommand(qsizetype start)
    {
        if (at(m_pos) == u'*')
            ++m_pos;
        add(start, m_pos, commandKind());
        const qsizetype afterName = m_pos;
        skipOptionalArguments();
        const auto [inside, end] = readBraceArgument();
        addContent(afterName, inside);
        add(inside, end, Kind::Reference);
        addContent(end, m_pos);
    }

    void readEnvironmentCommand(qsizetype start, bool begin)
    {
        const auto [inside, end] = readBraceArgument();
        const QStringView name = m_line.mid(inside, end - inside);
        const TexSyntax::State opened = TexSyntax::stateAfterBegin(name);
        const bool closesMath = !begin && m_state.mode == Mode::Environment && opened == m_state;
        // The \end that leaves a math environment is coloured as its \begin was.
        const Kind kind = closesMath ? Kind::ControlSequence : commandKind();
        add(start, inside, kind);
        add(inside, end, Kind::Environment);
        add(end, m_pos, kind);
        if (closesMath)
            m_state = {};
        else if (begin && m_state.mode == Mode::Text && inside < end)
            m_state = opened;
        if (m_state.mode == Mode::Verbatim || m_state.mode == Mode::CommentBlock)
            readVerbatimBody();
    }

    // The body of a verbatim or comment environment up to its own \end, read as it
    // stands; the \end and the rest of the line are read as usual.
    void readVerbatimBody()
    {
        const QStringView name = Environments[m_state.environment].name;
        qsizetype end = m_pos;
        for (;;) {
            end = m_line.indexOf(u"\\end", end);
            if (end < 0)
                break;
            qsizetype brace = end + 4;
            while (at(brace) == u' ' || at(brace) == u'\t')
                ++brace;
            if (at(brace) == u'{' && m_line.mid(brace + 1).startsWith(name) && at(brace + 1 + name.size()) == u'}')
                break;
            end += 4;
        }
        const qsizetype bodyEnd = end < 0 ? m_line.size() : end;
        if (m_state.mode == Mode::CommentBlock)
            add(m_pos, bodyEnd, Kind::Comment);
        m_pos = bodyEnd;
        if (end < 0)
            return;
        m_state = {};
        m_pos = end + 4;
        const auto [inside, argumentEnd] = readBraceArgument();
        add(end, inside, Kind::ControlSequence);
        add(inside, argumentEnd, Kind::Environment);
        add(argumentEnd, m_pos, Kind::ControlSequence);
    }

    // \verb|...| (or \verb*): the delimited stretch is read as it stands.
    void readVerb(qsizetype start)
    {
        if (at(m_pos) == u'*')
            ++m_pos;
        add(start, m_pos, commandKind());
        if (m_pos >= m_line.size())
            return;
        const QChar delimiter = m_line[m_pos];
        const qsizetype close = m_line.indexOf(delimiter, m_pos + 1);
        m_pos = close < 0 ? m_line.size() : close + 1;
    }

    QStringView m_line;
    TexSyntax::State m_state;
    std::vector<TexSyntax::Span> *m_spans;
    qsizetype m_pos = 0;
};

} // namespace

bool TexSyntax::State::inMath() const
{
    return mode != Mode::Text && mode != Mode::Verbatim && mode != Mode::CommentBlock;
}

int TexSyntax::State::toInt() const
{
    return static_cast<int>(mode) | (environment << ModeBits);
}

TexSyntax::State TexSyntax::State::fromInt(int value)
{
    const int mode = value & ((1 << ModeBits) - 1);
    const int environment = value >> ModeBits;
    const bool inEnvironment = mode == static_cast<int>(Mode::Environment) || mode == static_cast<int>(Mode::Verbatim)
                               || mode == static_cast<int>(Mode::CommentBlock);
    if (value < 0 || mode >= ModeCount || environment >= static_cast<int>(Environments.size())
        || (!inEnvironment && environment != 0)
        || (inEnvironment && Environments[static_cast<std::size_t>(environment)].mode != static_cast<Mode>(mode)))
        return {};
    return {static_cast<Mode>(mode), static_cast<std::uint8_t>(environment)};
}

TexSyntax::State TexSyntax::scanLine(QStringView line, State start, std::vector<Span> *spans)
{
    return LineScanner(line, start, spans).run();
}

TexSyntax::State TexSyntax::stateAfterBegin(QStringView environment)
{
    for (std::size_t index = 0; index < Environments.size(); ++index) {
        if (Environments[index].name == environment && Environments[index].mode != Mode::Text)
            return {Environments[index].mode, static_cast<std::uint8_t>(index)};
    }
    return {};
}
