#include "RunCommands.h"

#include "BibliographyFiles.h"
#include "CConsoleView.h"
#include "CommandIds.h"
#include "CommandTarget.h"
#include "DetachedViewer.h"
#include "ExternalProgramTable.h"
#include "ModalHost.h"
#include "ProgramInvocation.h"
#include "StringTable.h"
#include "TexArguments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString PlatexEntry = QStringLiteral("platex");

bool isUtf16(TextEncoding encoding)
{
    return !KanjiValueFor(encoding).has_value();
}

QString failureText(const QString &program, const ToolRun::Outcome &outcome)
{
    if (outcome.result == ToolRun::Result::Stopped)
        return QStringLiteral("%1 は中止されました。").arg(program);
    if (outcome.crashed)
        return QStringLiteral("%1 は異常終了しました。").arg(program);
    return QStringLiteral("%1 は終了コード %2 で終了しました。").arg(program).arg(outcome.exitCode);
}

void appendNotice(const QString &line)
{
    if (g_pConsoleView)
        g_pConsoleView->AppendNotice(line);
}

void reportViewerFailure(const QString &program, int exitCode, bool crashed)
{
    appendNotice(failureText(program, {ToolRun::Result::Finished, exitCode, crashed})
                 + QStringLiteral("表示できませんでした。"));
}

} // namespace

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
    target.onCommand(CommandId::ShowPdf, [this] { OnShowPdf(); });
}

void RunCommands::OnRunPlatex()
{
    runChain({{StepKind::Platex, PlatexEntry}});
}

void RunCommands::OnRunJbibtex()
{
    runChain({{StepKind::Platex, PlatexEntry}, {StepKind::ConsoleTool, QStringLiteral("jbibtex")}});
}

void RunCommands::OnRunDvipsk()
{
    runChain({{StepKind::Platex, PlatexEntry}, {StepKind::ConsoleTool, QStringLiteral("dvipsk")}});
}

void RunCommands::OnRunDvipdfmx()
{
    runChain({{StepKind::Platex, PlatexEntry}, {StepKind::ConsoleTool, QStringLiteral("dvipdfmx")}});
}

void RunCommands::OnRunDviout()
{
    runChain({{StepKind::Platex, PlatexEntry}, {StepKind::Previewer, QStringLiteral("dviout")}});
}

// PostScript comes from the dvips command, which runs pLaTeX once more of its own.
void RunCommands::OnRunGsview()
{
    runChain({{StepKind::Platex, PlatexEntry},
              {StepKind::Platex, PlatexEntry},
              {StepKind::ConsoleTool, QStringLiteral("dvipsk")},
              {StepKind::Previewer, QStringLiteral("GSView")}});
}

void RunCommands::runChain(const std::vector<Step> &steps)
{
    for (auto step = steps.begin(); step != steps.end(); ++step) {
        QStringList laterPrograms;
        for (auto later = step + 1; later != steps.end(); ++later)
            laterPrograms.append(programOf(*later));
        if (!runStep(*step, laterPrograms))
            return;
    }
}

QString RunCommands::programOf(const Step &step) const
{
    const RunDocument::PathParts parts = m_document.savedPathParts();
    const ProgramInvocation invocation = BuildProgramInvocation(m_table.FindByName(step.entryName), parts.baseName,
                                                                parts.directory);
    return QFileInfo(invocation.program).fileName();
}

bool RunCommands::runStep(const Step &step, const QStringList &laterPrograms)
{
    switch (step.kind) {
    case StepKind::Platex:
        return saveForPlatex() && runConsoleTool(step.entryName, laterPrograms);
    case StepKind::ConsoleTool:
        return runConsoleTool(step.entryName, laterPrograms);
    case StepKind::Previewer:
        startPreviewer(step.entryName, m_document.savedPathParts());
        return true;
    }
    return false;
}

bool RunCommands::saveForPlatex()
{
    m_document.save();
    if (m_document.savedPathParts().fileName.isEmpty())
        return false;
    if (isUtf16(m_document.saveEncoding())) {
        ModalHost::showMessage(g_pConsoleView, StringTable::text(StringTable::Utf16CannotBeTypeset),
                               QMessageBox::Warning);
        return false;
    }
    if (g_pConsoleView)
        g_pConsoleView->clear();
    return true;
}

ProgramInvocation RunCommands::invocationFor(const ExternalProgram &entry, const RunDocument::PathParts &parts) const
{
    const ProgramInvocation own = BuildProgramInvocation(entry, parts.baseName, parts.directory);
    return WithTexArguments(own, m_document.saveEncoding(), entry.name() == PlatexEntry);
}

bool RunCommands::runConsoleTool(const QString &name, const QStringList &laterPrograms)
{
    const RunDocument::PathParts parts = m_document.savedPathParts();
    if (parts.fileName.isEmpty() || !g_pConsoleView)
        return false;
    const ProgramInvocation invocation = invocationFor(m_table.FindByName(name), parts);
    noteKanjiMismatch(invocation);
    if (IsPtexFamily(invocation.program) && !IsTexEngine(invocation.program))
        noteBibliographyEncodings(parts);
    const ToolRun::Outcome outcome = g_pConsoleView->RunInvocation(invocation, parts.directory);
    if (outcome.result == ToolRun::Result::FailedToStart || outcome.result == ToolRun::Result::OutOfMemory) {
        // The parts come back with the next save.
        m_document.clearSavedPathParts();
        return false;
    }
    if (!outcome.succeeded()) {
        reportFailure(QFileInfo(invocation.program).fileName(), outcome, laterPrograms);
        return false;
    }
    return true;
}

void RunCommands::reportFailure(const QString &program, const ToolRun::Outcome &outcome,
                                const QStringList &laterPrograms) const
{
    QString line = failureText(program, outcome);
    if (!laterPrograms.isEmpty())
        line += QStringLiteral("続く %1 は実行しません。").arg(laterPrograms.join(QStringLiteral(", ")));
    appendNotice(line);
}

void RunCommands::noteKanjiMismatch(const ProgramInvocation &invocation) const
{
    if (!IsPtexFamily(invocation.program))
        return;
    const TextEncoding encoding = m_document.saveEncoding();
    const std::optional<QString> requested = RequestedKanjiValue(invocation.arguments);
    if (!requested || *requested == KanjiValueFor(encoding))
        return;
    appendNotice(QStringLiteral("注意: 文書は %1 で保存されていますが、-kanji=%2 の指定どおりに読ませます。")
                     .arg(dialogListText(encoding), *requested));
}

void RunCommands::noteBibliographyEncodings(const RunDocument::PathParts &parts) const
{
    if (!m_document.detectEncoding)
        return;
    const TextEncoding encoding = m_document.saveEncoding();
    const QDir directory(parts.directory);
    QFile source(directory.filePath(parts.fileName));
    if (!source.open(QIODevice::ReadOnly))
        return;
    for (const QString &name : BibliographyFiles(source.readAll())) {
        QFile file(directory.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        // Plain ASCII reads the same in every encoding.
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            continue;
        const std::optional<TextEncoding> found = m_document.detectEncoding(bytes);
        if (found && *found != encoding) {
            appendNotice(QStringLiteral("注意: %1 は %2 で書かれていますが、pBibTeX は文書と同じ %3 として読みます。")
                             .arg(name, dialogListText(*found), dialogListText(encoding)));
        }
    }
}

void RunCommands::OnShowPdf()
{
    const RunDocument::PathParts parts = m_document.pathParts();
    if (parts.fileName.isEmpty()) {
        appendNotice(
            QStringLiteral("文書がまだ保存されていないため、PDF はありません。Ctrl+F5 (dvipdfmx) で作れます。"));
        return;
    }
    const QString pdf = parts.baseName + QStringLiteral(".pdf");
    if (!QFileInfo::exists(QDir(parts.directory).filePath(pdf))) {
        appendNotice(QStringLiteral("%1 はまだありません。Ctrl+F5 (dvipdfmx) で作れます。").arg(pdf));
        return;
    }
    startPreviewer(QStringLiteral("pdfviewer"), parts);
}

void RunCommands::startPreviewer(const QString &name, const RunDocument::PathParts &parts)
{
    const ProgramInvocation invocation = BuildProgramInvocation(m_table.FindByName(name), parts.baseName,
                                                                parts.directory);
    DetachedViewer::start(invocation, parts.directory, g_pConsoleView, reportViewerFailure);
}
