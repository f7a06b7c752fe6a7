#pragma once

#include <cstddef>
#include <functional>

// Measures how much resident memory a piece of work adds at its peak. The work runs
// in a child process whose high-water mark is reset first, so one measurement does
// not see another's. Call it before the process paints anything: the child is forked,
// and the helper threads Qt paints large areas with do not survive a fork.
class PeakMemory
{
public:
    // Bytes above the resident size at the start of the work; 0 when the system
    // cannot tell.
    static std::size_t growthDuring(const std::function<void()> &work);
};
