#include "ExternalProgramSettings.h"

#include "ExternalProgramTable.h"
#include "ProfileStore.h"

#include <array>

namespace {

const QString ExecutableKey = QStringLiteral("EXE");
const QString OptionKey = QStringLiteral("OPTION");

struct BuiltInProgram
{
    const char16_t *name;
    const char16_t *executable;
    const char16_t *optionTemplate;
};

// The TeX Live tool chain: pLaTeX and pBibTeX read the source, the DVI previewer
// beside the program and the desktop's viewers show the results.
constexpr std::array<BuiltInProgram, 7> BuiltInPrograms = {{
    {u"platex", u"platex", u"\"%s.tex\""},
    {u"jbibtex", u"pbibtex", u"\"%s\""},
    {u"dviout", nullptr, u"\"%s.dvi\""},
    {u"dvipsk", u"dvips", u"-Ppdf \"%s.dvi\""},
    {u"dvipdfmx", u"dvipdfmx", u"\"%s.dvi\""},
    {u"GSView", u"xdg-open", u"\"%s.ps\""},
    {u"pdfviewer", u"xdg-open", u"\"%s.pdf\""},
}};

} // namespace

QString EscapeProfileValue(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'"' || c == u'\'')
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QString UnescapeProfileValue(const QString &value)
{
    QString plain;
    plain.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const bool escapedQuote = value[i] == u'\\' && i + 1 < value.size()
                                  && (value[i + 1] == u'"' || value[i + 1] == u'\'');
        if (escapedQuote)
            ++i;
        plain += value[i];
    }
    return plain;
}

ExternalProgram LoadExternalProgram(const ProfileStore &profile, const QString &name, const QString &defaultExecutable,
                                    const QString &defaultOptionTemplate)
{
    const QString executable = profile.readString(name, ExecutableKey, EscapeProfileValue(defaultExecutable));
    const QString optionTemplate = profile.readString(name, OptionKey, EscapeProfileValue(defaultOptionTemplate));
    return ExternalProgram(name, UnescapeProfileValue(executable), UnescapeProfileValue(optionTemplate));
}

void SaveExternalProgram(const ProfileStore &profile, const ExternalProgram &entry)
{
    profile.writeString(entry.name(), ExecutableKey, EscapeProfileValue(entry.executable()));
    profile.writeString(entry.name(), OptionKey, EscapeProfileValue(entry.optionTemplate()));
}

void SaveAllExternalPrograms(const ProfileStore &profile, const ExternalProgramTable &table)
{
    for (int i = 0; i < table.GetCount(); ++i)
        SaveExternalProgram(profile, table.GetAt(i));
}

QString DviPreviewerPath(const QString &moduleDirectory)
{
    const QString name = QStringLiteral("quillmere-dvipreview");
    return moduleDirectory.isEmpty() ? name : moduleDirectory + u'/' + name;
}

void loadBuiltInExternalPrograms(const ProfileStore &profile, ExternalProgramTable &table,
                                 const QString &moduleDirectory)
{
    table.RemoveAll();
    for (const BuiltInProgram &program : BuiltInPrograms) {
        const QString executable = program.executable ? QString::fromUtf16(program.executable)
                                                      : DviPreviewerPath(moduleDirectory);
        table.Add(LoadExternalProgram(profile, QString::fromUtf16(program.name), executable,
                                      QString::fromUtf16(program.optionTemplate)));
    }
}
