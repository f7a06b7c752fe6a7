#include "EditorDocumentLayout.h"

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <utility>

EditorDocumentLayout::EditorDocumentLayout(QTextDocument *document)
    : QPlainTextDocumentLayout(document)
{
}

void EditorDocumentLayout::setLineFormats(const QTextBlock &line, const QList<QTextLayout::FormatRange> &formats)
{
    if (m_expectedEdit && !m_extentBeforeFormats && line.layout()->lineCount() > 0)
        m_extentBeforeFormats = Extent{line, QPlainTextDocumentLayout::blockBoundingRect(line)};
    line.layout()->setFormats(formats);
    // Outside an edit the document would keep the line as a pending change and
    // merge it into the next edit; marking it now hands it to documentChanged
    // below, which lets it go. Inside an edit this only merges, and the edit's
    // own report follows.
    const QScopedValueRollback formatsOnly(m_formatsOnly, true);
    document()->markContentsDirty(line.position(), 0);
}

void EditorDocumentLayout::expectEdit(int position, int removed, int added)
{
    m_expectedEdit = Edit{position, removed, added};
}

QRectF EditorDocumentLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (m_extentBeforeFormats && m_extentBeforeFormats->line == block && block.layout()->lineCount() == 0)
        return m_extentBeforeFormats->rect;
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void EditorDocumentLayout::documentChanged(int from, int removed, int added)
{
    if (m_formatsOnly)
        return;
    const auto forgetExtent = qScopeGuard([this] { m_extentBeforeFormats.reset(); });
    const std::optional<Edit> edit = std::exchange(m_expectedEdit, std::nullopt);
    // Only an edit inside the reported change is trusted to be this one.
    if (edit && edit->position >= from
        && edit->position + std::max(edit->removed, edit->added) <= from + std::max(removed, added)) {
        QPlainTextDocumentLayout::documentChanged(edit->position, edit->removed, edit->added);
        return;
    }
    QPlainTextDocumentLayout::documentChanged(from, removed, added);
}
