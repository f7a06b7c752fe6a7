#pragma once

#include "CommandUpdate.h"

#include <functional>
#include <vector>

class CommandTarget;

// Hands a command to the first object on the route that handles it: the active
// view, its document, the frame, the application. A command that nobody on the
// route handles is disabled.
class CommandRouter
{
public:
    using Route = std::function<std::vector<const CommandTarget *>()>;

    CommandRouter() = default;
    explicit CommandRouter(Route route);

    bool execute(int id) const;
    CommandUpdate query(int id) const;

private:
    const CommandTarget *handlerOf(int id) const;

    Route m_route;
};
