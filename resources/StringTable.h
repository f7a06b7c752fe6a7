#pragma once

#include <QString>

// The program's own texts, looked up by their resource numbers. All user-interface
// text is Japanese.
class StringTable
{
public:
    enum Id : int {
        LineColumnPlaceholder = 129,
        LineColumnFormat = 130,
        SearchReachedEnd = 131,
        SearchReachedStart = 132,
        ConversionFailed = 133,
        NoMemoryForLineNumbers = 134,
        NoMemoryForReading = 135,
        NoMemoryForWriting = 136,
        NoMemoryForCompletion = 137,
        NoMemoryForRunning = 139,
        CannotRun = 140,
        ExecutableFilter = 141,
        LossySave = 142,
        InvalidBytesRead = 143,
        UnholdableCharactersRead = 151,
        UnholdableCharactersSave = 152,
        UndecodableSettings = 153,
        VeryLongLine = 154,
        RecoveryOffer = 160,
        RecoveryDamaged = 161,
        FindingCountFormat = 170,
        FindingFileMissing = 171,
        Utf16CannotBeTypeset = 213,
        ApplicationTitle = 57344,
        IdleMessage = 57345,
    };

    // The text of an id, or an empty string for an unknown one.
    static QString text(int id);
};
