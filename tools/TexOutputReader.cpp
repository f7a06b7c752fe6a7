#include "TexOutputReader.h"

#include <QDir>
#include <QFileInfo>
#include <QVarLengthArray>

#include <optional>
#include <utility>

namespace {

// Bounds that keep hostile output from costing more than a pass over it.
constexpr qsizetype MaxFileDepth = 1024;
constexpr qsizetype MaxFileNameLength = 1024;
constexpr int MaxFileNameCandidates = 8;
constexpr int MaxErrorContextLines = 8;
constexpr qsizetype MaxWarningPrefix = 64;
constexpr qsizetype MaxMessageLength = 4096;
constexpr qsizetype MaxRememberedFiles = 4096;

// The number the text starts with; nullopt when it does not start with a digit.
std::optional<int> leadingNumber(QStringView text)
{
    qsizetype digits = 0;
    int number = 0;
    while (digits < text.size() && digits < 9 && text[digits].isDigit()) {
        number = number * 10 + text[digits].digitValue();
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return number;
}

qsizetype digitCount(QStringView text)
{
    qsizetype digits = 0;
    while (digits < text.size() && text[digits].isDigit())
        ++digits;
    return digits;
}

// The number after the last occurrence of marker, or 0.
int numberAfter(QStringView text, QStringView marker)
{
    const qsizetype at = text.lastIndexOf(marker);
    if (at < 0)
        return 0;
    return leadingNumber(text.sliced(at + marker.size())).value_or(0);
}

// TeX names the files it opens as it found them: "./chap1.tex", "/usr/share/...",
// or a name with an extension.
bool looksLikeFileName(QStringView name)
{
    if (name.isEmpty() || name.size() > MaxFileNameLength || name.front().isSpace())
        return false;
    if (name.startsWith(u'/') || name.startsWith(u"./") || name.startsWith(u"../"))
        return true;
    const qsizetype slash = name.lastIndexOf(u'/');
    return name.indexOf(u'.', slash + 1) > slash + 1;
}

bool startsWithPathPrefix(QStringView name)
{
    return name.startsWith(u'/') || name.startsWith(u"./") || name.startsWith(u"../");
}

// "l.12 \foo": TeX's line of the input where it stopped.
std::optional<int> contextLineNumber(QStringView line)
{
    if (!line.startsWith(u"l."))
        return std::nullopt;
    const QStringView rest = line.sliced(2);
    const qsizetype digits = digitCount(rest);
    if (digits == 0 || (digits < rest.size() && rest[digits] != u' '))
        return std::nullopt;
    return leadingNumber(rest);
}

// The lines TeX shows between an error message and its "l.N" line.
bool isContextLine(QStringView line)
{
    return !line.isEmpty()
           && (line.front() == u'<' || line.front() == u' ' || line.front() == u'\\' || line.startsWith(u"..."));
}

// "(mypkg)        more text" or "               more text" under a LaTeX warning.
qsizetype warningContinuationPrefix(QStringView line)
{
    if (line.isEmpty())
        return -1;
    if (line.front() == u' ')
        return 0;
    if (line.front() != u'(')
        return -1;
    const qsizetype close = line.first(std::min(line.size(), MaxWarningPrefix)).indexOf(u')');
    if (close < 1 || close + 1 >= line.size() || line[close + 1] != u' ')
        return -1;
    return close + 1;
}

struct FileLine
{
    QStringView file;
    int line = 0;
    QStringView message;
};

// "FILE:LINE: MESSAGE", as TeX writes errors with -file-line-error.
std::optional<FileLine> splitFileLine(QStringView line)
{
    if (line.isEmpty() || line.front().isSpace())
        return std::nullopt;
    for (qsizetype colon = line.indexOf(u':'); colon > 0; colon = line.indexOf(u':', colon + 1)) {
        const QStringView rest = line.sliced(colon + 1);
        const qsizetype digits = digitCount(rest);
        if (digits == 0 || digits >= rest.size() || rest[digits] != u':')
            continue;
        if (digits + 1 < rest.size() && rest[digits + 1] != u' ')
            continue;
        if (!looksLikeFileName(line.first(colon)))
            continue;
        return FileLine{line.first(colon), leadingNumber(rest).value_or(0), rest.sliced(digits + 1).trimmed()};
    }
    return std::nullopt;
}

// "N of file F", as BibTeX says where it is.
std::optional<FileLine> splitLineOfFile(QStringView text)
{
    const qsizetype digits = digitCount(text);
    const QStringView marker = u" of file ";
    if (digits == 0 || !text.sliced(digits).startsWith(marker))
        return std::nullopt;
    return FileLine{text.sliced(digits + marker.size()).trimmed(), leadingNumber(text).value_or(0), {}};
}

// Every line a finding starts on begins with one of these letters or holds a
// colon or "---", so the lines of a flood are passed over after a quick look.
bool mayStartFinding(QStringView line)
{
    if (line.isEmpty())
        return false;
    switch (line.front().unicode()) {
    case u'!':
    case u'I':
    case u'O':
    case u'R':
    case u'U':
    case u'W':
        return true;
    default:
        // Looking for one character is much quicker than looking for three.
        return line.contains(u':') || (line.contains(u'-') && line.contains(u"---"));
    }
}

} // namespace

TexOutputReader::TexOutputReader()
    : TexOutputReader([](const QString &path) { return QFileInfo::exists(path); })
{
}

TexOutputReader::TexOutputReader(FileProbe probe)
    : m_probe(std::move(probe))
{
}

void TexOutputReader::clear()
{
    m_findings.clear();
    m_files.clear();
    m_filesBeyondDepth = 0;
    m_existence.clear();
    m_partial.clear();
    m_partialTooLong = false;
    m_expecting = Expecting::Anything;
    m_lineCount = 0;
}

void TexOutputReader::beginTool(const QString &directory)
{
    m_directory = directory;
    m_files.clear();
    m_filesBeyondDepth = 0;
    // Output left without a line end is continued by the prompt line, which says
    // nothing about TeX's files.
    m_partial.clear();
    m_partialTooLong = false;
    m_expecting = Expecting::PromptLine;
}

void TexOutputReader::read(QStringView text)
{
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf(u'\n');
        const QStringView piece = end < 0 ? text : text.first(end);
        const bool whole = end >= 0 && m_partial.isEmpty() && !m_partialTooLong;
        if (!whole) {
            m_partialTooLong = m_partialTooLong || m_partial.size() + piece.size() > MaxLineLength;
            if (m_partialTooLong)
                m_partial.clear();
            else
                m_partial.append(piece);
        }
        if (end < 0)
            return;
        const QStringView line = whole ? piece : QStringView(m_partial);
        if (m_partialTooLong || line.size() > MaxLineLength)
            m_expecting = Expecting::Anything;
        else
            readLine(line);
        m_partial.clear();
        m_partialTooLong = false;
        ++m_lineCount;
        text = text.sliced(end + 1);
    }
}

void TexOutputReader::readLine(QStringView line)
{
    if (continuePrevious(line))
        return;
    if (!mayStartFinding(line) || !readFinding(line))
        followFiles(line);
}

bool TexOutputReader::continuePrevious(QStringView line)
{
    const Expecting expecting = m_expecting;
    const bool continues = continueFinding(line);
    if (continues && expecting != Expecting::PromptLine && expecting != Expecting::RunawayText)
        pending().lastConsoleLine = m_lineCount;
    return continues;
}

bool TexOutputReader::continueFinding(QStringView line)
{
    switch (std::exchange(m_expecting, Expecting::Anything)) {
    case Expecting::Anything:
        return false;
    case Expecting::PromptLine:
    case Expecting::BoxContent:
    case Expecting::RunawayText:
        return true;
    case Expecting::ErrorContext:
        if (const std::optional<int> number = contextLineNumber(line)) {
            OutputFinding &error = pending();
            error.context = line.toString();
            if (error.line == 0)
                error.line = *number;
            m_expecting = Expecting::ErrorContextTail;
            return true;
        }
        if (isContextLine(line) && ++m_contextLines <= MaxErrorContextLines) {
            m_expecting = Expecting::ErrorContext;
            return true;
        }
        return false;
    case Expecting::ErrorContextTail:
        pending().context += u'\n' + line.toString();
        return true;
    case Expecting::WarningContinuation: {
        const qsizetype prefix = warningContinuationPrefix(line);
        if (prefix < 0)
            return false;
        const QStringView piece = line.sliced(prefix).trimmed();
        OutputFinding &warning = pending();
        if (warning.message.size() < MaxMessageLength)
            warning.message += u' ' + piece.toString();
        if (warning.line == 0)
            warning.line = numberAfter(piece, u"input line ");
        m_expecting = Expecting::WarningContinuation;
        return true;
    }
    case Expecting::BibtexWarningLine:
        if (!line.startsWith(u"--line "))
            return false;
        if (const std::optional<FileLine> place = splitLineOfFile(line.sliced(7))) {
            pending().file = resolve(place->file);
            pending().line = place->line;
        }
        return true;
    }
    return false;
}

bool TexOutputReader::readFinding(QStringView line)
{
    if (line.startsWith(u"Runaway ") && line.endsWith(u'?')) {
        m_expecting = Expecting::RunawayText;
        return true;
    }
    return readTexError(line) || readFileLineError(line) || readWarning(line) || readBadBox(line) || readBibtex(line)
           || readDriver(line);
}

bool TexOutputReader::readTexError(QStringView line)
{
    if (!line.startsWith(u"! "))
        return false;
    add(OutputFinding::Kind::Error, line.sliced(2).trimmed().toString(), currentFile());
    m_expecting = Expecting::ErrorContext;
    m_contextLines = 0;
    return true;
}

bool TexOutputReader::readFileLineError(QStringView line)
{
    const std::optional<FileLine> error = splitFileLine(line);
    if (!error)
        return false;
    add(OutputFinding::Kind::Error, error->message.toString(), resolve(error->file), error->line);
    m_expecting = Expecting::ErrorContext;
    m_contextLines = 0;
    return true;
}

bool TexOutputReader::readWarning(QStringView line)
{
    // "LaTeX Warning: ", "LaTeX Font Warning: ", "Package natbib Warning: ", ...
    const qsizetype at = line.indexOf(u" Warning: ");
    if (at <= 0 || at > MaxWarningPrefix || !line.front().isLetter() || line.first(at).count(u' ') > 1)
        return false;
    add(OutputFinding::Kind::Warning, line.toString(), currentFile(), numberAfter(line, u"input line "));
    m_expecting = Expecting::WarningContinuation;
    return true;
}

bool TexOutputReader::readBadBox(QStringView line)
{
    const QStringView overfull = u"Overfull \\";
    const QStringView underfull = u"Underfull \\";
    const bool over = line.startsWith(overfull);
    if (!over && !line.startsWith(underfull))
        return false;
    // "in paragraph at lines 10--12", "in alignment at lines 3--5", "detected at line 8"
    const int lines = numberAfter(line, u" at lines ");
    add(OutputFinding::Kind::BadBox, line.toString(), currentFile(),
        lines > 0 ? lines : numberAfter(line, u" at line "));
    // A horizontal box is shown on the next line, and its text may hold parentheses
    // that open no file.
    if (line.sliced((over ? overfull : underfull).size()).startsWith(u"hbox"))
        m_expecting = Expecting::BoxContent;
    return true;
}

bool TexOutputReader::readBibtex(QStringView line)
{
    if (line.startsWith(u"Warning--")) {
        add(OutputFinding::Kind::Warning, line.toString());
        m_expecting = Expecting::BibtexWarningLine;
        return true;
    }
    // "I couldn't open database file x.bib" is followed by "---line 5 of file paper.aux".
    const QStringView lineMarker = u"---line ";
    if (line.startsWith(lineMarker)) {
        const std::optional<FileLine> place = splitLineOfFile(line.sliced(lineMarker.size()));
        if (place && !m_findings.empty() && pending().consoleLine == m_lineCount - 1 && pending().line == 0) {
            pending().file = resolve(place->file);
            pending().line = place->line;
            pending().lastConsoleLine = m_lineCount;
        }
        return true;
    }
    if (const qsizetype at = line.indexOf(lineMarker); at > 0) {
        const std::optional<FileLine> place = splitLineOfFile(line.sliced(at + lineMarker.size()));
        add(OutputFinding::Kind::Error, line.first(at).toString(), place ? resolve(place->file) : QString(),
            place ? place->line : 0);
        return true;
    }
    const QStringView readingMarker = u"---while reading file ";
    if (const qsizetype at = line.indexOf(readingMarker); at > 0) {
        add(OutputFinding::Kind::Error, line.first(at).toString(),
            resolve(line.sliced(at + readingMarker.size()).trimmed()));
        return true;
    }
    if (line.startsWith(u"I couldn't open ")) {
        add(OutputFinding::Kind::Error, line.toString());
        return true;
    }
    return false;
}

bool TexOutputReader::readDriver(QStringView line)
{
    for (const QStringView prefix : {u"dvipdfmx:", u"xdvipdfmx:", u"dvipdfm:"}) {
        if (!line.startsWith(prefix))
            continue;
        const QStringView rest = line.sliced(prefix.size());
        if (rest.startsWith(u"warning:"))
            add(OutputFinding::Kind::Warning, line.toString());
        else if (rest.startsWith(u"fatal:") || rest.startsWith(u"error:"))
            add(OutputFinding::Kind::Error, line.toString());
        else
            return false;
        return true;
    }
    if (line.startsWith(u"dvips: ")) {
        const QStringView rest = line.sliced(7);
        const bool error = rest.startsWith(u'!') || rest.contains(u"can't");
        add(error ? OutputFinding::Kind::Error : OutputFinding::Kind::Warning, line.toString());
        return true;
    }
    // A font generator that cannot make a font: the run goes on without it.
    if (line.startsWith(u"mktex") && line.contains(u": don't know how to create")) {
        add(OutputFinding::Kind::Error, line.toString());
        return true;
    }
    return false;
}

void TexOutputReader::followFiles(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'(')
            i += openFile(line.sliced(i + 1));
        else if (line[i] == u')')
            closeFile();
    }
}

// Takes the name TeX writes after "(" when it opens a file and returns how many
// characters of rest it spans. A name may hold blanks ("(./part one.tex"), so of
// the names the line could mean, the longest that exists is taken.
qsizetype TexOutputReader::openFile(QStringView rest)
{
    QString file;
    qsizetype length = 0;
    if (rest.startsWith(u'"')) {
        const qsizetype close = rest.indexOf(u'"', 1);
        if (close > 1 && close <= MaxFileNameLength) {
            file = resolve(rest.sliced(1, close - 1));
            length = close + 1;
        }
    } else {
        QVarLengthArray<qsizetype, MaxFileNameCandidates + 1> ends;
        const qsizetype limit = std::min(rest.size(), MaxFileNameLength);
        qsizetype end = 0;
        for (; end < limit && rest[end] != u'(' && rest[end] != u')'; ++end) {
            if (rest[end] == u' ' && end > 0 && ends.size() < MaxFileNameCandidates)
                ends.push_back(end);
        }
        ends.push_back(end);
        const QStringView firstWord = rest.first(ends.front());
        if (ends.size() == 1 && startsWithPathPrefix(firstWord)) {
            file = resolve(firstWord);
            length = firstWord.size();
        }
        for (auto candidate = ends.rbegin(); file.isEmpty() && candidate != ends.rend(); ++candidate) {
            const QStringView name = rest.first(*candidate);
            const bool plausible = looksLikeFileName(name) || (candidate == ends.rend() - 1 && !name.isEmpty());
            if (plausible && exists(resolve(name))) {
                file = resolve(name);
                length = name.size();
            }
        }
        // A file that is gone still opened a level of nesting.
        if (file.isEmpty() && startsWithPathPrefix(firstWord)) {
            file = resolve(firstWord);
            length = firstWord.size();
        }
    }
    if (std::ssize(m_files) < MaxFileDepth)
        m_files.push_back(file);
    else
        ++m_filesBeyondDepth;
    return length;
}

void TexOutputReader::closeFile()
{
    if (m_filesBeyondDepth > 0)
        --m_filesBeyondDepth;
    else if (!m_files.empty())
        m_files.pop_back();
}

void TexOutputReader::add(OutputFinding::Kind kind, QString message, QString file, int line)
{
    m_findings.push_back(OutputFinding{kind, std::move(file), line, std::move(message), {}, m_lineCount, m_lineCount});
}

QString TexOutputReader::currentFile() const
{
    for (auto file = m_files.rbegin(); file != m_files.rend(); ++file) {
        if (!file->isEmpty())
            return *file;
    }
    return {};
}

// A name as TeX or BibTeX wrote it, made absolute against the tool's folder;
// "chap1" stands for "chap1.tex" as \include and \input read it.
QString TexOutputReader::resolve(QStringView name)
{
    const QString path = QDir::cleanPath(QDir(m_directory).absoluteFilePath(name.toString()));
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    const QString withSuffix = path + QStringLiteral(".tex");
    return !exists(path) && exists(withSuffix) ? withSuffix : path;
}

bool TexOutputReader::exists(const QString &path)
{
    const auto known = m_existence.constFind(path);
    if (known != m_existence.constEnd())
        return *known;
    const bool found = m_probe(path);
    if (m_existence.size() < MaxRememberedFiles)
        m_existence.insert(path, found);
    return found;
}
