#include "PeakMemory.h"

#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::size_t statusKilobytes(const std::string &key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(key))
            return std::stoul(line.substr(key.size()));
    }
    return 0;
}

bool resetHighWaterMark()
{
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    return static_cast<bool>(clearRefs.flush());
}

} // namespace

std::size_t PeakMemory::growthDuring(const std::function<void()> &work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return 0;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::size_t growth = 0;
        // Memory the parent freed but kept would hide the work's own allocations.
        malloc_trim(0);
        if (resetHighWaterMark()) {
            const std::size_t before = statusKilobytes("VmRSS:");
            work();
            growth = (statusKilobytes("VmHWM:") - before) * 1024;
        }
        const ssize_t sent = write(channel[1], &growth, sizeof growth);
        _exit(sent == sizeof growth ? 0 : 1);
    }
    close(channel[1]);
    std::size_t growth = 0;
    if (child < 0 || read(channel[0], &growth, sizeof growth) != sizeof growth)
        growth = 0;
    close(channel[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return growth;
}
