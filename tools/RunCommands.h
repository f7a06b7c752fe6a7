#pragma once

#include "TextEncoding.h"
#include "ToolRun.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class CommandTarget;
class ExternalProgram;
class ExternalProgramTable;
struct ProgramInvocation;

// What the run commands need of the document.
struct RunDocument
{
    // The parts of the path the document was last written to; an empty file name
    // means no save took place.
    struct PathParts
    {
        QString fileName;
        QString baseName;
        QString directory;
    };

    // The document's save command: asks for a name when the document has none.
    std::function<void()> save;
    std::function<PathParts()> savedPathParts;
    std::function<void()> clearSavedPathParts;
    // The parts of the document's own path, saved or not; empty for an untitled one.
    std::function<PathParts()> pathParts;
    // The encoding the document is saved in, which the TeX programs must read.
    std::function<TextEncoding()> saveEncoding;
    // The encoding a file's bytes are in, as far as it can be told.
    std::function<std::optional<TextEncoding>(const QByteArray &)> detectEncoding;
};

// The commands of the run menu: each saves the document and runs pLaTeX on it in
// the console, and the others go on to their own tool. Entries are looked up by
// name at every run, so a change in the settings dialog applies at once. A tool
// that cannot be started, fails or is stopped ends the chain.
class RunCommands
{
public:
    RunCommands(RunDocument document, const ExternalProgramTable &table);

    // The handlers refer to this object, which must outlive the target's use of them.
    void registerOn(CommandTarget &target);

    void OnRunPlatex();
    void OnRunJbibtex();
    void OnRunDviout();
    void OnRunDvipsk();
    void OnRunDvipdfmx();
    void OnRunGsview();
    // Shows the PDF of the document as it is on disk: no save, no run.
    void OnShowPdf();

private:
    enum class StepKind {
        // Save, clear the console and run pLaTeX.
        Platex,
        ConsoleTool,
        Previewer,
    };
    struct Step
    {
        StepKind kind;
        QString entryName;
    };

    void runChain(const std::vector<Step> &steps);
    bool runStep(const Step &step, const QStringList &laterPrograms);
    bool saveForPlatex();
    bool runConsoleTool(const QString &name, const QStringList &laterPrograms);
    void startPreviewer(const QString &name, const RunDocument::PathParts &parts);
    ProgramInvocation invocationFor(const ExternalProgram &entry, const RunDocument::PathParts &parts) const;
    void noteKanjiMismatch(const ProgramInvocation &invocation) const;
    void noteBibliographyEncodings(const RunDocument::PathParts &parts) const;
    void reportFailure(const QString &program, const ToolRun::Outcome &outcome, const QStringList &laterPrograms) const;
    QString programOf(const Step &step) const;

    RunDocument m_document;
    const ExternalProgramTable &m_table;
};
