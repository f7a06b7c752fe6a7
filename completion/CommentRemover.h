#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// A stretch of a text, from the index from up to but not including to.
struct TextRange
{
    qsizetype from;
    qsizetype to;
};

// Takes out of a TeX source what TeX does not read: "%" comments with their line
// end, blocks from "\if01" to the next "\fi", and "comment" environments, in three
// passes in that order. Each pass moves the kept runs down over what it removed,
// so the whole takes time linear in the text's length and no second buffer.
class CommentRemover
{
public:
    // The "%" comments of a text, in order, each from its "%" to the end of its
    // line, line end included; a "%" after a backslash is a percent sign.
    static std::vector<TextRange> percentComments(QStringView text);

    // Removes it all in place. position, an index into text, becomes the index of
    // the same character in the result, or -1 when that character was removed; a
    // negative position stays as it is.
    static void strip(QString &text, qsizetype &position);

private:
    CommentRemover(QString &text, qsizetype &position);

    static void removePercentComments(QString &text, qsizetype &position);
    static void removeConditionalBlocks(QString &text, qsizetype &position);
    static void removeCommentEnvironments(QString &text, qsizetype &position);

    // Ranges are removed in the order they appear. Everything from the start of the
    // last removed range on is still the original text, so the searches that find
    // the next range read it undisturbed.
    void remove(qsizetype from, qsizetype to);
    void finish();
    void moveKeptRun(qsizetype end);
    void followPosition(qsizetype from, qsizetype to);

    QString &m_text;
    qsizetype &m_position;
    qsizetype m_kept = 0;
    qsizetype m_written = 0;
    qsizetype m_removed = 0;
    bool m_positionSettled = false;
};
