#pragma once

#include "OutputFinding.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

// Reads the console text of the TeX tool chain as it arrives and collects what the
// tools reported: TeX's errors (with or without -file-line-error), LaTeX's and
// packages' warnings, bad boxes, BibTeX's errors and warnings, and the DVI drivers'
// complaints. Without -file-line-error an error belongs to the file TeX was reading,
// which is followed through TeX's "(file" ... ")" nesting.
//
// Every line is looked at a bounded number of times with plain comparisons (no
// regular expression that could backtrack), so reading is linear in the output;
// lines longer than MaxLineLength are counted but not read.
class TexOutputReader
{
public:
    static constexpr qsizetype MaxLineLength = 64 * 1024;
    // Answers whether a file exists; file names with blanks are told apart by it.
    using FileProbe = std::function<bool(const QString &path)>;

    TexOutputReader();
    explicit TexOutputReader(FileProbe probe);

    // Forgets every finding; the next line read is console line 0.
    void clear();
    // A tool starts in directory: the next line is the console's prompt line, and
    // relative file names from now on are relative to directory.
    void beginTool(const QString &directory);
    // Reads text as the console shows it: lines end with LF, and a line may come
    // in several pieces.
    void read(QStringView text);

    const std::vector<OutputFinding> &findings() const { return m_findings; }
    // Complete lines read since the last clear().
    int lineCount() const { return m_lineCount; }

private:
    // What the line being read may continue.
    enum class Expecting {
        Anything,
        PromptLine,
        ErrorContext,     // the context lines after a TeX error, up to "l.N"
        ErrorContextTail, // the second half of TeX's "l.N" context
        WarningContinuation,
        BibtexWarningLine, // "--line N of file F" under a BibTeX warning
        BoxContent,        // the line TeX shows under an overfull or underfull \hbox
        RunawayText,
    };

    void readLine(QStringView line);
    bool continuePrevious(QStringView line);
    bool continueFinding(QStringView line);
    bool readFinding(QStringView line);
    bool readTexError(QStringView line);
    bool readFileLineError(QStringView line);
    bool readWarning(QStringView line);
    bool readBadBox(QStringView line);
    bool readBibtex(QStringView line);
    bool readDriver(QStringView line);
    void followFiles(QStringView line);
    qsizetype openFile(QStringView rest);
    void closeFile();

    void add(OutputFinding::Kind kind, QString message, QString file = {}, int line = 0);
    OutputFinding &pending() { return m_findings.back(); }
    QString currentFile() const;
    QString resolve(QStringView name);
    bool exists(const QString &path);

    FileProbe m_probe;
    QHash<QString, bool> m_existence;
    std::vector<OutputFinding> m_findings;
    // The files TeX has open, innermost last; an empty entry stands for a
    // parenthesis that opened no file.
    std::vector<QString> m_files;
    // Parentheses opened beyond the depth kept, so that closing them pops nothing.
    qsizetype m_filesBeyondDepth = 0;
    QString m_directory;
    QString m_partial;
    bool m_partialTooLong = false;
    Expecting m_expecting = Expecting::Anything;
    int m_contextLines = 0;
    int m_lineCount = 0;
};
