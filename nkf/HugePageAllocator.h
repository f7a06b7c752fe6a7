#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

// Allocates large blocks straight from the system and asks for huge pages: the
// output of a conversion is written once, front to back, and faulting it in 4 KiB
// pages costs about as much as a third of the conversion. Small blocks come from
// the ordinary heap.
template<typename T>
class HugePageAllocator
{
public:
    using value_type = T;

    HugePageAllocator() = default;
    template<typename U>
    HugePageAllocator(const HugePageAllocator<U> &) noexcept
    {
    }

    T *allocate(std::size_t count)
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < LargeBlock)
            return static_cast<T *>(::operator new(bytes));
        void *block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            throw std::bad_alloc();
        // Only advice: without huge pages the block works the same.
        madvise(block, bytes, MADV_HUGEPAGE);
        return static_cast<T *>(block);
    }

    void deallocate(T *block, std::size_t count) noexcept
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < LargeBlock)
            ::operator delete(block);
        else
            munmap(block, bytes);
    }

    // Gives the whole pages after the first used elements of a block of count back
    // to the system, keeping the block: a result that is kept for a while then holds
    // the memory of what it is, not of the room it was given. A block from the
    // ordinary heap is left alone.
    static void releaseTail(T *block, std::size_t used, std::size_t count) noexcept
    {
        if (count * sizeof(T) < LargeBlock)
            return;
        const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        const auto usedEnd = reinterpret_cast<std::uintptr_t>(block + used);
        const std::uintptr_t tailStart = (usedEnd + pageSize - 1) / pageSize * pageSize;
        const std::uintptr_t tailEnd = reinterpret_cast<std::uintptr_t>(block + count) / pageSize * pageSize;
        if (tailStart < tailEnd)
            madvise(reinterpret_cast<void *>(tailStart), tailEnd - tailStart, MADV_DONTNEED);
    }

    friend bool operator==(const HugePageAllocator &, const HugePageAllocator &) { return true; }

private:
    static constexpr std::size_t LargeBlock = 4 * 1024 * 1024;
};
