#pragma once

#include "CommandVocabulary.h"

// The menus, context menus, accelerators, toolbar and prompts of the program.
class CommandResources
{
public:
    enum ContextMenu : std::size_t { EditorPopup = 0, ConsolePopup = 1 };

    static CommandVocabulary vocabulary();
};
