#pragma once

#include <QString>
#include <QStringView>

// A copy of the editor's raw text kept up to date change by change, so that a scan
// of the whole document does not have to ask the editor for all of its text first.
// The text sits in a gap buffer: the free space follows the last change, so that
// typing, which changes the text at one place after another nearby, moves little.
// Until it is given a text, and after invalidate(), the mirror holds nothing.
class TextMirror
{
public:
    bool isValid() const { return m_valid; }
    qsizetype length() const { return m_buffer.size() - m_gapLength; }

    void reset(QString text);
    void invalidate();

    // The characters from position on, removed of them, were replaced by added.
    // A change that does not fit the text invalidates the mirror.
    void replace(qsizetype position, qsizetype removed, QStringView added);

    // The whole text, in one piece; valid until the next change.
    QStringView text();

private:
    void moveGapTo(qsizetype position);
    void widenGap(qsizetype needed);

    QString m_buffer;
    qsizetype m_gapStart = 0;
    qsizetype m_gapLength = 0;
    bool m_valid = false;
};
