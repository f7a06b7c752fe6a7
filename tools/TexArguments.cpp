#include "TexArguments.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char *, 8> PtexEngines = {"platex", "uplatex", "eplatex", "euplatex",
                                                     "ptex",   "uptex",   "eptex",   "euptex"};
constexpr std::array<const char *, 2> PtexBibliographyPrograms = {"pbibtex", "upbibtex"};
constexpr std::array<const char *, 4> OtherEngines = {"latex", "pdflatex", "lualatex", "xelatex"};

template<std::size_t N>
bool namesOneOf(const QString &name, const std::array<const char *, N> &names)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const char *candidate) { return name == QLatin1String(candidate); });
}

QString programName(const QString &program)
{
    return QFileInfo(program).fileName();
}

// The engines also come as "-dev" builds of the next release.
QString withoutDevSuffix(const QString &name)
{
    return name.endsWith(QLatin1String("-dev")) ? name.chopped(4) : name;
}

bool isPtexEngine(const QString &program)
{
    return namesOneOf(withoutDevSuffix(programName(program)), PtexEngines);
}

// TeX programs take their options with one dash or two; the option's name ends at
// "=" or at the end of the word, so "-kanji-internal" is not "-kanji".
std::optional<QString> optionName(const QString &argument)
{
    if (!argument.startsWith(u'-') || argument == QLatin1String("-") || argument == QLatin1String("--"))
        return std::nullopt;
    const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.section(u'=', 0, 0);
}

// "--" ends the options: what follows it are file names, whatever they look like.
QStringList optionsPart(const QStringList &arguments)
{
    const qsizetype end = arguments.indexOf(QStringLiteral("--"));
    return end < 0 ? arguments : arguments.first(end);
}

bool hasOption(const QStringList &arguments, std::initializer_list<const char *> names)
{
    const QStringList options = optionsPart(arguments);
    return std::any_of(options.begin(), options.end(), [&](const QString &argument) {
        const std::optional<QString> name = optionName(argument);
        return name
               && std::any_of(names.begin(), names.end(), [&](const char *n) { return *name == QLatin1String(n); });
    });
}

} // namespace

bool IsPtexFamily(const QString &program)
{
    return isPtexEngine(program) || namesOneOf(programName(program), PtexBibliographyPrograms);
}

bool IsTexEngine(const QString &program)
{
    return isPtexEngine(program) || namesOneOf(withoutDevSuffix(programName(program)), OtherEngines);
}

std::optional<QString> KanjiValueFor(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::ShiftJis:
        return QStringLiteral("sjis");
    case TextEncoding::EucJp:
        return QStringLiteral("euc");
    case TextEncoding::Iso2022Jp:
        return QStringLiteral("jis");
    case TextEncoding::Utf8:
        return QStringLiteral("utf8");
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian:
        break;
    }
    return std::nullopt;
}

std::optional<QString> RequestedKanjiValue(const QStringList &allArguments)
{
    const QStringList arguments = optionsPart(allArguments);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (optionName(arguments[i]) != QLatin1String("kanji"))
            continue;
        if (arguments[i].contains(u'='))
            return arguments[i].section(u'=', 1);
        return i + 1 < arguments.size() ? arguments[i + 1] : QString();
    }
    return std::nullopt;
}

ProgramInvocation WithTexArguments(const ProgramInvocation &invocation, TextEncoding documentEncoding,
                                   bool typesetsDocument)
{
    const QStringList &given = invocation.arguments;
    QStringList added;
    const std::optional<QString> kanji = KanjiValueFor(documentEncoding);
    if (IsPtexFamily(invocation.program) && kanji && !hasOption(given, {"kanji"}))
        added.append(QStringLiteral("-kanji=") + *kanji);
    if (typesetsDocument && IsTexEngine(invocation.program)) {
        if (!hasOption(given, {"interaction"}))
            added.append(QStringLiteral("-interaction=nonstopmode"));
        if (!hasOption(given, {"file-line-error", "file-line-error-style", "no-file-line-error"}))
            added.append(QStringLiteral("-file-line-error"));
        if (!hasOption(given, {"synctex"}))
            added.append(QStringLiteral("-synctex=1"));
    }
    return {invocation.program, added + given};
}
