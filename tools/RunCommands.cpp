#include "RunCommands.h"

#include "CConsoleView.h"
#include "CommandIds.h"
#include "CommandTarget.h"
#include "ExternalProgramTable.h"
#include "ProgramInvocation.h"

#include <QProcess>

RunCommands::RunCommands(RunDocument document, const ExternalProgramTable &table)
    : m_document(std::move(document))
    , m_table(table)
{
}

void RunCommands::registerOn(CommandTarget &target)
{
    target.onCommand(CommandId::RunPlatex, [this] { OnRunPlatex(); });
    target.onCommand(CommandId::RunJbibtex, [this] { OnRunJbibtex(); });
    target.onCommand(CommandId::RunDviout, [this] { OnRunDviout(); });
    target.onCommand(CommandId::RunDvipsk, [this] { OnRunDvipsk(); });
    target.onCommand(CommandId::RunDvipdfmx, [this] { OnRunDvipdfmx(); });
    target.onCommand(CommandId::RunGsview, [this] { OnRunGsview(); });
}

bool RunCommands::hasSavedFile() const
{
    return !m_document.savedPathParts().fileName.isEmpty();
}

void RunCommands::OnRunPlatex()
{
    m_document.save();
    if (!hasSavedFile())
        return;
    if (g_pConsoleView)
        g_pConsoleView->clear();
    runConsoleTool(QStringLiteral("platex"));
}

void RunCommands::OnRunJbibtex()
{
    runAfterPlatex(QStringLiteral("jbibtex"));
}

void RunCommands::OnRunDvipsk()
{
    runAfterPlatex(QStringLiteral("dvipsk"));
}

void RunCommands::OnRunDvipdfmx()
{
    runAfterPlatex(QStringLiteral("dvipdfmx"));
}

void RunCommands::OnRunDviout()
{
    OnRunPlatex();
    startPreviewer(QStringLiteral("dviout"));
}

void RunCommands::OnRunGsview()
{
    OnRunPlatex();
    // A cancelled save or a pLaTeX that did not run ends the chain here, before the
    // dvipsk command would ask for a name or report the failure a second time.
    if (!hasSavedFile())
        return;
    OnRunDvipsk();
    startPreviewer(QStringLiteral("GSView"));
}

void RunCommands::runAfterPlatex(const QString &name)
{
    OnRunPlatex();
    runConsoleTool(name);
}

void RunCommands::runConsoleTool(const QString &name)
{
    if (!hasSavedFile())
        return;
    const RunDocument::PathParts parts = m_document.savedPathParts();
    const ExternalProgram entry = m_table.FindByName(name);
    const ToolRun::Result result = g_pConsoleView ? g_pConsoleView->RunCommand(entry, parts.baseName, parts.directory)
                                                  : ToolRun::Result::FailedToStart;
    // The parts come back with the next save; until then the rest of the chain
    // finds no file and does nothing.
    if (result != ToolRun::Result::Finished)
        m_document.clearSavedPathParts();
}

void RunCommands::startPreviewer(const QString &name)
{
    if (!hasSavedFile())
        return;
    const RunDocument::PathParts parts = m_document.savedPathParts();
    const ProgramInvocation invocation = BuildProgramInvocation(m_table.FindByName(name), parts.baseName);
    // A previewer runs on its own; whether it starts is not looked at.
    QProcess::startDetached(invocation.program, invocation.arguments, parts.directory);
}
