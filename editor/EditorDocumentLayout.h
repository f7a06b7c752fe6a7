#pragma once

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

#include <optional>

// The editing pane's layout of its lines, able to take colours on a line without
// the cost of an edit. Qt reports new formats on a line (QTextLayout::setFormats)
// as a change of its whole text, and the plain text layout reads any change
// wider than one line as a reason to lay out the lines after it and repaint the
// whole view: at every keystroke, on a view full of long Japanese lines, several
// times the keystroke's own cost. A line whose formats alone changed needs none
// of that: setting formats drops its layout, and it is laid out again when it is
// next drawn.
class EditorDocumentLayout : public QPlainTextDocumentLayout
{
    Q_OBJECT

public:
    explicit EditorDocumentLayout(QTextDocument *document);

    // Gives the line these formats; the caller repaints it if it is shown, unless
    // an edit of it is under way, which repaints it anyway.
    void setLineFormats(const QTextBlock &line, const QList<QTextLayout::FormatRange> &formats);

    // The change being reported is the edit from position removing and adding
    // these counts, however far the formats set on its lines meanwhile widen it.
    void expectEdit(int position, int removed, int added);

    QRectF blockBoundingRect(const QTextBlock &block) const override;

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    struct Edit
    {
        int position = 0;
        int removed = 0;
        int added = 0;
    };

    // An edited line's extent as it was laid out before its new formats threw
    // that layout away: what the layout compares the line's new extent with, as
    // it would have without the formats, rather than laying the line out twice.
    struct Extent
    {
        QTextBlock line;
        QRectF rect;
    };

    std::optional<Edit> m_expectedEdit;
    std::optional<Extent> m_extentBeforeFormats;
    bool m_formatsOnly = false;
};
