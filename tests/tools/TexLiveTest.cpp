#include "CConsoleView.h"
#include "CommandManager.h"
#include "ExternalProgramSettings.h"
#include "ExternalProgramTable.h"
#include "ModalAnswers.h"
#include "ProfileStore.h"
#include "RunCommands.h"
#include "SavedDocument.h"
#include "ToolTestSupport.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList missingTools()
{
    QStringList missing;
    for (const char *tool : {"platex", "pbibtex", "dvips", "dvipdfmx"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            missing.append(tool);
    }
    return missing;
}

// The programs as a fresh installation has them.
ExternalProgramTable builtInTable()
{
    // A settings store without a file gives every entry its built-in values.
    ExternalProgramTable table;
    loadBuiltInExternalPrograms(ProfileStore(), table);
    return table;
}

TEST(TexLiveTest, TheBuiltInProgramsCompileAJapaneseDocumentWithReferencesAndABibliography)
{
    if (const QStringList missing = missingTools(); !missing.isEmpty())
        GTEST_SKIP() << "TeX Live is not installed here; missing: " << missing.join(", ").toStdString();

    QTemporaryDir dir;
    QFile bibliography(dir.filePath("refs.bib"));
    ASSERT_TRUE(bibliography.open(QIODevice::WriteOnly));
    bibliography.write("@book{knuth84,\n  author = {Donald E. Knuth},\n  title = {The {\\TeX}book},\n"
                       "  publisher = {Addison-Wesley},\n  year = {1984}\n}\n");
    bibliography.close();

    SavedDocument document;
    document.path = dir.filePath("paper.tex");
    document.text = QString::fromUtf8("\\documentclass{jarticle}\n\\begin{document}\n"
                                      "\\section{はじめに}\\label{sec:intro}\n"
                                      "日本語の文書です。第\\ref{sec:intro}節と文献\\cite{knuth84}を参照。\n"
                                      "\\bibliographystyle{jplain}\n\\bibliography{refs}\n\\end{document}\n");
    const ExternalProgramTable table = builtInTable();
    QWidget window;
    CommandManager commands(&window, CommandRouter(), CommandVocabulary());
    CConsoleView console;
    console.OnInitialUpdate(commands);
    ModalAnswers answers;
    RunCommands runCommands(document.interface(), table);

    runCommands.OnRunJbibtex();
    runCommands.OnRunDvipdfmx();
    runCommands.OnRunDvipsk();

    EXPECT_TRUE(answers.messages().empty());
    for (const char *output : {"paper.dvi", "paper.ps", "paper.pdf", "paper.bbl"})
        EXPECT_TRUE(QFile::exists(dir.filePath(output))) << output;
    EXPECT_TRUE(readFile(dir.filePath("paper.bbl")).contains("\\bibitem{knuth84}"));
    const QString aux = readFile(dir.filePath("paper.aux"));
    EXPECT_TRUE(aux.contains("\\newlabel{sec:intro}"));
    EXPECT_TRUE(aux.contains("\\bibcite{knuth84}{1}"));
    EXPECT_FALSE(readFile(dir.filePath("paper.log")).contains("There were undefined references"));
    EXPECT_TRUE(readFile(dir.filePath("paper.pdf")).startsWith("%PDF"));
    // The last command's output: its pLaTeX run, then dvips.
    const QString shown = console.toPlainText();
    EXPECT_TRUE(shown.startsWith(dir.path()
                                 + ">platex -kanji=utf8 -interaction=nonstopmode -file-line-error -synctex=1 "
                                   "paper.tex\n"))
        << shown.left(200).toStdString();
    EXPECT_TRUE(shown.contains("\n" + dir.path() + ">dvips -Ppdf paper.dvi\n"));
    EXPECT_TRUE(shown.contains("Output written on paper.dvi"));
}

} // namespace
