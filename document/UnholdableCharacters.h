#pragma once

#include <QStringView>

// Characters that the editor's text control takes for line breaks of its own
// (the paragraph separator and the two frame marks), so that a text holding them
// comes back with line breaks in their place. A file's text is searched for them
// before it is shown, to tell the user and to ask before a save writes the breaks.
class UnholdableCharacters
{
public:
    static bool isUnholdable(QChar character);
    static UnholdableCharacters in(QStringView text);

    qsizetype count() const { return m_count; }
    // The line of the first one, from 1; 0 when there is none.
    qsizetype firstLine() const { return m_firstLine; }

private:
    qsizetype m_count = 0;
    qsizetype m_firstLine = 0;
};
