#pragma once

#include <QString>

// One error, warning or bad box that a tool reported in the console.
struct OutputFinding
{
    enum class Kind { Error, Warning, BadBox };

    Kind kind = Kind::Error;
    // Absolute path of the file the report is about; empty when the output names none.
    QString file;
    // Counted from 1; 0 when the output gives no line.
    int line = 0;
    QString message;
    // TeX's "l.N ..." lines shown with an error, as TeX wrote them.
    QString context;
    // The console lines the report takes, counted from 0 since the console was
    // cleared: the first and the last.
    int consoleLine = 0;
    int lastConsoleLine = 0;

    bool hasLocation() const { return !file.isEmpty() && line > 0; }
    bool isError() const { return kind == Kind::Error; }
    bool operator==(const OutputFinding &) const = default;
};
