#pragma once

#include <QString>
#include <QStringList>

// What the program was started with: "quillmere [--line N] [FILE]".
struct CommandLine
{
    QString file;
    // Counted from 1; 0 when no line was asked for.
    int line = 0;
    bool help = false;
    // Not empty when the arguments make no sense; says what is wrong.
    QString error;

    // arguments: the command line without the program name.
    static CommandLine parse(const QStringList &arguments);
    static QString helpText();
};
