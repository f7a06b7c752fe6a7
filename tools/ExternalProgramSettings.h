#pragma once

#include "ExternalProgram.h"

class ExternalProgramTable;
class ProfileStore;

// How the program table lives in the settings file: one section per entry with
// the keys "EXE" and "OPTION". Quotes in a value are escaped with a backslash so
// that the reader's removal of surrounding quotes cannot eat them.
QString EscapeProfileValue(const QString &value);
QString UnescapeProfileValue(const QString &value);

ExternalProgram LoadExternalProgram(const ProfileStore &profile, const QString &name, const QString &defaultExecutable,
                                    const QString &defaultOptionTemplate);
void SaveExternalProgram(const ProfileStore &profile, const ExternalProgram &entry);
void SaveAllExternalPrograms(const ProfileStore &profile, const ExternalProgramTable &table);

// The previewer that shows the Japanese text of a DVI file: a script that sits
// beside the program (and is linked into bin/ when installed).
QString DviPreviewerPath(const QString &moduleDirectory);

// Empties the table and fills it with the seven built-in programs, each overridden
// by what the settings file holds. The DVI previewer is looked for in the module
// directory, or on the search path when none is given.
void loadBuiltInExternalPrograms(const ProfileStore &profile, ExternalProgramTable &table,
                                 const QString &moduleDirectory = QString());
