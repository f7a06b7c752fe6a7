#include "CommandTarget.h"

void CommandTarget::executeCommand(int id) const
{
    if (const auto found = m_handlers.find(id); found != m_handlers.end()) {
        // A copy: the handler may replace handlers of this target while it runs.
        const Handler handler = found->second;
        handler();
    }
}

void CommandTarget::updateCommand(int id, CommandUpdate &update) const
{
    if (const auto found = m_updateHandlers.find(id); found != m_updateHandlers.end())
        found->second(update);
}

void CommandTarget::onCommand(int id, Handler handler)
{
    m_handlers[id] = std::move(handler);
}

void CommandTarget::onUpdate(int id, UpdateHandler handler)
{
    m_updateHandlers[id] = std::move(handler);
}
