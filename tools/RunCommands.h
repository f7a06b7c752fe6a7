#pragma once

#include <QString>

#include <functional>

class CommandTarget;
class ExternalProgramTable;

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
};

// The commands of the run menu: each saves the document and runs pLaTeX on it in
// the console, and the others go on to their own tool. Entries are looked up by
// name at every run, so a change in the settings dialog applies at once. A tool
// that cannot be started, or is stopped, ends the chain.
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

private:
    bool hasSavedFile() const;
    void runConsoleTool(const QString &name);
    void startPreviewer(const QString &name);
    void runAfterPlatex(const QString &name);

    RunDocument m_document;
    const ExternalProgramTable &m_table;
};
