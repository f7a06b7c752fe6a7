#pragma once

#include "CommandVocabulary.h"

// The menus, context menus, accelerators, toolbar and prompts of the program.
class CommandResources
{
public:
    static CommandVocabulary vocabulary();
};
