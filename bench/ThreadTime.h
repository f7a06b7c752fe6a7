#pragma once

// Processor time of the calling thread, user and system, page faults taken on its
// behalf included: other work on a busy machine does not distort the comparisons.
class ThreadTime
{
public:
    static double seconds();
    static double milliseconds() { return seconds() * 1e3; }
};
