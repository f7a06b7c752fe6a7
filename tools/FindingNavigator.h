#pragma once

#include "OutputFinding.h"

#include <cstddef>
#include <optional>
#include <vector>

// Steps through the findings of the last run that lead to a line: errors first,
// then warnings and bad boxes, each kind in the order of the output, wrapping at
// either end. Findings without a line are skipped. The list may grow between
// steps, as each tool of a chain adds its own.
class FindingNavigator
{
public:
    // A new run: the next step goes to the first error that has a line.
    void restart() { m_current.reset(); }
    // The finding at index was gone to some other way; steps continue from it.
    void setCurrent(std::size_t index) { m_current = index; }

    // The index of the finding to go to, or nullopt when none has a line.
    std::optional<std::size_t> next(const std::vector<OutputFinding> &findings);
    std::optional<std::size_t> previous(const std::vector<OutputFinding> &findings);

private:
    static std::vector<std::size_t> order(const std::vector<OutputFinding> &findings);
    std::optional<std::size_t> step(const std::vector<OutputFinding> &findings, bool forward);

    std::optional<std::size_t> m_current;
};
