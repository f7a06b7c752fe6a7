#include "FindingNavigator.h"

#include <algorithm>

std::optional<std::size_t> FindingNavigator::next(const std::vector<OutputFinding> &findings)
{
    return step(findings, true);
}

std::optional<std::size_t> FindingNavigator::previous(const std::vector<OutputFinding> &findings)
{
    return step(findings, false);
}

std::vector<std::size_t> FindingNavigator::order(const std::vector<OutputFinding> &findings)
{
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < findings.size(); ++i) {
        if (findings[i].hasLocation())
            indices.push_back(i);
    }
    std::stable_partition(indices.begin(), indices.end(), [&findings](std::size_t i) { return findings[i].isError(); });
    return indices;
}

std::optional<std::size_t> FindingNavigator::step(const std::vector<OutputFinding> &findings, bool forward)
{
    const std::vector<std::size_t> indices = order(findings);
    if (indices.empty())
        return std::nullopt;
    const auto current = m_current ? std::find(indices.begin(), indices.end(), *m_current) : indices.end();
    const std::size_t count = indices.size();
    std::size_t position = 0;
    if (current == indices.end())
        position = forward ? 0 : count - 1;
    else
        position = (static_cast<std::size_t>(current - indices.begin()) + (forward ? 1 : count - 1)) % count;
    m_current = indices[position];
    return m_current;
}
