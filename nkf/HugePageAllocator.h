#pragma once

#include <cstddef>
#include <new>
#include <sys/mman.h>

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

    friend bool operator==(const HugePageAllocator &, const HugePageAllocator &) { return true; }

private:
    static constexpr std::size_t LargeBlock = 4 * 1024 * 1024;
};
