#pragma once

#include <QChar>

#include <functional>

class CDullSense;
class QInputMethodEvent;
class QKeyEvent;

// The editor's side of completion: which keys, characters and clicks reach the popup
// and how an accepted candidate enters the text. The editor calls these from its
// event handlers and passes its own default handling in.
class CompletionRouter
{
public:
    // While the popup is shown its navigation keys drive it and Left, Right and
    // Delete do nothing. Every typed character is handed to the popup: Enter and Tab
    // before the editor sees them (an accepted candidate replaces them), the rest
    // after the editor has inserted them.
    static void keyPress(CDullSense &popup, QKeyEvent &event, const std::function<void()> &editorHandles);
    // Text committed by an input method takes the same road as typed characters;
    // the preedit stays with the editor.
    static void inputMethod(CDullSense &popup, QInputMethodEvent &event,
                            const std::function<void(QInputMethodEvent &)> &editorHandles);
    // A click into the text closes the list and goes on to place the caret.
    static void closeForClick(CDullSense *popup);

private:
    static bool handleNavigationKey(CDullSense &popup, int key);
    static void typeCharacter(CDullSense &popup, QChar ch);
    static bool acceptCandidates(CDullSense &popup, QChar ch);
    static bool reachesPopup(QChar ch);
};
