#include "CommandRouter.h"

#include "CommandTarget.h"

CommandRouter::CommandRouter(Route route)
    : m_route(std::move(route))
{
}

const CommandTarget *CommandRouter::handlerOf(int id) const
{
    if (!m_route)
        return nullptr;
    for (const CommandTarget *target : m_route()) {
        if (target && target->handlesCommand(id))
            return target;
    }
    return nullptr;
}

bool CommandRouter::execute(int id) const
{
    const CommandTarget *target = handlerOf(id);
    if (!target)
        return false;
    // Enabling is checked again here: a shortcut may fire between two idle passes.
    CommandUpdate update;
    target->updateCommand(id, update);
    if (!update.isEnabled())
        return false;
    target->executeCommand(id);
    return true;
}

CommandUpdate CommandRouter::query(int id) const
{
    CommandUpdate update;
    if (const CommandTarget *target = handlerOf(id))
        target->updateCommand(id, update);
    else
        update.enable(false);
    return update;
}
