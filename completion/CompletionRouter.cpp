#include "CompletionRouter.h"

#include "CDullSense.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace {

bool isLineOrTab(QChar ch)
{
    return ch == QLatin1Char('\r') || ch == QLatin1Char('\n') || ch == QLatin1Char('\t');
}

// The span in which the editor has taken a keystroke and the popup not yet.
class TypingScope
{
public:
    explicit TypingScope(CDullSense &popup)
        : m_popup(popup)
    {
        m_popup.beginTyping();
    }
    ~TypingScope() { m_popup.endTyping(); }
    TypingScope(const TypingScope &) = delete;
    TypingScope &operator=(const TypingScope &) = delete;

private:
    CDullSense &m_popup;
};

// With Ctrl or Alt held, Home, End and the arrows move the caret as they always do;
// leaving the word then closes the list.
bool isListKey(const QKeyEvent &event)
{
    return !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

void insertIntoEditor(QPlainTextEdit &view, const QString &text)
{
    QTextCursor cursor = view.textCursor();
    cursor.insertText(text);
    view.setTextCursor(cursor);
}

} // namespace

void CompletionRouter::keyPress(CDullSense &popup, QKeyEvent &event, const std::function<void()> &editorHandles)
{
    if (popup.isShown() && isListKey(event) && handleNavigationKey(popup, event.key()))
        return;
    const TypingScope typing(popup);
    const QString text = event.text();
    if (text.size() == 1 && isLineOrTab(text.front())) {
        if (!acceptCandidates(popup, text.front()))
            editorHandles();
        return;
    }
    editorHandles();
    for (const QChar ch : text) {
        if (reachesPopup(ch))
            acceptCandidates(popup, ch);
    }
}

void CompletionRouter::inputMethod(CDullSense &popup, QInputMethodEvent &event,
                                   const std::function<void(QInputMethodEvent &)> &editorHandles)
{
    const TypingScope typing(popup);
    const QString committed = event.commitString();
    if (committed.isEmpty()) {
        editorHandles(event);
        return;
    }
    // The preedit goes first, with whatever the input method replaces; then each
    // committed character is typed; then the new preedit is shown after them.
    QInputMethodEvent clearPreedit;
    clearPreedit.setCommitString(QString(), event.replacementStart(), event.replacementLength());
    editorHandles(clearPreedit);
    for (const QChar ch : committed)
        typeCharacter(popup, ch);
    QInputMethodEvent preedit(event.preeditString(), event.attributes());
    editorHandles(preedit);
}

void CompletionRouter::closeForClick(CDullSense *popup)
{
    if (popup && popup->isShown())
        popup->ShowPopup(false);
}

bool CompletionRouter::handleNavigationKey(CDullSense &popup, int key)
{
    switch (key) {
    case Qt::Key_Escape:
        popup.ShowPopup(false);
        return true;
    case Qt::Key_PageUp:
        popup.MovePage(false);
        return true;
    case Qt::Key_PageDown:
        popup.MovePage(true);
        return true;
    case Qt::Key_Home:
        popup.SelectItem(0, true);
        return true;
    case Qt::Key_End:
        popup.SelectFirstOrLast(true);
        return true;
    case Qt::Key_Up:
        popup.MoveSelection(false);
        return true;
    case Qt::Key_Down:
        popup.MoveSelection(true);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Delete:
        return true;
    default:
        return false;
    }
}

void CompletionRouter::typeCharacter(CDullSense &popup, QChar ch)
{
    if (isLineOrTab(ch)) {
        if (!acceptCandidates(popup, ch))
            insertIntoEditor(*popup.view(), ch);
        return;
    }
    insertIntoEditor(*popup.view(), ch);
    if (reachesPopup(ch))
        acceptCandidates(popup, ch);
}

bool CompletionRouter::acceptCandidates(CDullSense &popup, QChar ch)
{
    QPlainTextEdit &view = *popup.view();
    bool accepted = false;
    QString replacement;
    while (popup.HandleChar(ch, replacement)) {
        accepted = true;
        QTextCursor cursor = view.textCursor();
        const int caret = cursor.position();
        cursor.setPosition(std::clamp(popup.anchor(), 0, caret));
        cursor.setPosition(caret, QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
        view.setTextCursor(cursor);
    }
    return accepted;
}

bool CompletionRouter::reachesPopup(QChar ch)
{
    return ch == QLatin1Char('\b') || ch.isPrint();
}
