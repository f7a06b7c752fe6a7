#pragma once

#include <QString>
#include <QStringList>

class ExternalProgram;

// What a run starts: the program and its arguments, one by one. The option
// template is split into arguments before the base name goes in, so no file name
// can add an argument of its own.
struct ProgramInvocation
{
    QString program;
    QStringList arguments;
};

// The option template with "%s" replaced by the base name and "%%" by "%"; any
// other "%" sequence, a second "%s" included, stays as it is written.
QString FormatArguments(const ExternalProgram &entry, const QString &baseName);
// The text the user sees: the executable, a blank, the formatted arguments.
QString BuildCommandLine(const ExternalProgram &entry, const QString &baseName);
// The template is split as a POSIX shell splits words (blanks separate, single and
// double quotes group, a backslash escapes) without any expansion. An executable
// field that holds blanks and names no file (relative paths are taken from the
// directory the program runs in) is split the same way, its first word being the
// program and the others its first arguments.
ProgramInvocation BuildProgramInvocation(const ExternalProgram &entry, const QString &baseName,
                                         const QString &directory = QString());
// The program and its arguments as the console shows them: each written so that
// splitting the line again gives the same words.
QString DisplayCommandLine(const ProgramInvocation &invocation);
