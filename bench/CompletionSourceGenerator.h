#pragma once

#include <QString>

// Generates a large Japanese LaTeX source for the completion benchmark: one line in
// ten is a "%" comment, one in ten carries a \label of its own, and the other lines
// are sentences with inline mathematics and \ref to those labels. The same line
// count always gives the same text; LF line ends.
class CompletionSourceGenerator
{
public:
    static QString generate(int lineCount);
};
