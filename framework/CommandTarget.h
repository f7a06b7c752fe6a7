#pragma once

#include "CommandUpdate.h"

#include <functional>
#include <unordered_map>

// An object on the command route: it runs the commands it has handlers for and
// says, through update handlers, how their items look. A handler without an
// update handler leaves its item enabled.
class CommandTarget
{
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CommandUpdate &)>;

    virtual ~CommandTarget() = default;

    bool handlesCommand(int id) const { return m_handlers.contains(id); }
    void executeCommand(int id) const;
    void updateCommand(int id, CommandUpdate &update) const;

    void onCommand(int id, Handler handler);
    void onUpdate(int id, UpdateHandler handler);

private:
    std::unordered_map<int, Handler> m_handlers;
    std::unordered_map<int, UpdateHandler> m_updateHandlers;
};
