#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Reading the TeX source for the completion popup: which argument of which control
// sequence the caret stands in, and which labels the document already uses. Texts
// are the editor's, with a line break as one character (LF, CR or the paragraph
// separator U+2029 of the editor's raw text); positions are
// indices of UTF-16 code units. No widget is involved.
class DocumentScan
{
public:
    struct Context
    {
        // The control sequence without its backslash; empty when there is none.
        QString word;
        // The mandatory argument the caret is in, counted from 1; 0 for none.
        int paramIndex = 0;
        // The caret is in the optional argument in square brackets.
        bool optional = false;

        bool operator==(const Context &) const = default;
    };

    // text: the editor's text up to the caret, ending with the character just typed.
    static Context ParseContext(QStringView text);

    // Removes what TeX does not read: "%" comments with their line end, blocks from
    // "\if01" to the next "\fi", and "comment" environments. Works in place, in time
    // linear in the text's length.
    static void StripComments(QString &text);
    // The same, and position, an index into text, becomes the index of the same
    // character in the result, or -1 when that character was removed.
    static void StripComments(QString &text, qsizetype &position);

    // First occurrence of keyword at or after start that ends the text or is followed
    // by a delimiter; -1 if none.
    static qsizetype FindWord(QStringView text, QStringView keyword, qsizetype start);
    // First "\begin" (isBegin) or "\end" at or after start whose brace argument lists
    // envName; -1 if none. closeIndex, when given, receives the index of that
    // argument's closing brace, or the text's last index when there is no match or
    // the argument is not closed.
    static qsizetype FindEnvironment(QStringView text, bool isBegin, QStringView envName, qsizetype start,
                                     qsizetype *closeIndex = nullptr);

    // The distinct labels used as the argument of \label, \ref, \eqref and \pageref
    // outside comments, in order of discovery. The group opened by the "{" just
    // before caret is the one being typed and is left out.
    static QStringList ScanLabels(QStringView text, qsizetype caret);
};
