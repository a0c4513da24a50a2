// SPDX-License-Identifier: MIT
// An allocator for long tables such as the list's rows, backed by transparent huge pages where the
// system offers them: 100,000 rows fill tens of megabytes, and a page fault for every 4 KiB of them
// cost the window more than filling the table did.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>

namespace rizo {

namespace huge_pages {

inline constexpr std::size_t kPageBytes = std::size_t{2} << 20;

inline std::size_t RoundUp(std::size_t bytes) {
    return (bytes + kPageBytes - 1) & ~(kPageBytes - 1);
}

// A mapping of whole huge pages on a huge page boundary (which the advice needs to take effect).
inline void* Map(std::size_t bytes) {
    const std::size_t length = RoundUp(bytes);
    void* raw = ::mmap(nullptr, length + kPageBytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* const first = static_cast<char*>(raw);
    auto* const start = reinterpret_cast<char*>(RoundUp(reinterpret_cast<std::uintptr_t>(first)));
    if (start != first) {
        ::munmap(first, static_cast<std::size_t>(start - first));
    }
    const auto tail = static_cast<std::size_t>(first + kPageBytes - start);
    if (tail > 0) {
        ::munmap(start + length, tail);
    }
    // Only advice: without huge pages the mapping works as any other.
    ::madvise(start, length, MADV_HUGEPAGE);
    return start;
}

inline void Unmap(void* start, std::size_t bytes) {
    ::munmap(start, RoundUp(bytes));
}

}  // namespace huge_pages

// Blocks smaller than a huge page come from the ordinary heap.
template <typename T>
class HugePageAllocator {
public:
    using value_type = T;

    T* allocate(std::size_t count) {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < huge_pages::kPageBytes) {
            return static_cast<T*>(::operator new(bytes));
        }
        return static_cast<T*>(huge_pages::Map(bytes));
    }

    void deallocate(T* block, std::size_t count) {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < huge_pages::kPageBytes) {
            ::operator delete(block);
        } else {
            huge_pages::Unmap(block, bytes);
        }
    }

    bool operator==(const HugePageAllocator& /*other*/) const { return true; }
};

}  // namespace rizo
