#pragma once

#include <sys/resource.h>

// A full disk while it lives: no file may grow past limit bytes, and writes past it
// fail instead of killing the process. Works for root as well, whom permission
// bits do not stop.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    void (*m_previousHandler)(int);
    rlimit m_original{};
};
