#include "CUltraEditView.h"

#include "CommandIds.h"

#include <QFontDatabase>

CUltraEditView::CUltraEditView(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(this, &QPlainTextEdit::undoAvailable, this, [this](bool available) { m_undoAvailable = available; });
    registerEditCommands();
}

void CUltraEditView::registerEditCommands()
{
    const auto whenSelection = [this](CommandUpdate &update) { update.enable(textCursor().hasSelection()); };
    onCommand(CommandId::EditUndo, [this] { undo(); });
    onUpdate(CommandId::EditUndo, [this](CommandUpdate &update) { update.enable(m_undoAvailable); });
    onCommand(CommandId::EditCut, [this] { cut(); });
    onUpdate(CommandId::EditCut, whenSelection);
    onCommand(CommandId::EditCopy, [this] { copy(); });
    onUpdate(CommandId::EditCopy, whenSelection);
    onCommand(CommandId::EditPaste, [this] { paste(); });
    onUpdate(CommandId::EditPaste, [this](CommandUpdate &update) { update.enable(canPaste()); });
    onCommand(CommandId::EditSelectAll, [this] { selectAll(); });
}
