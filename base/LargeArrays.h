// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Memory backed by huge pages where the system offers them, so that the first touch of megabytes
// costs a few page faults instead of hundreds: advice for room that is already there, and room of
// its own for large arrays.
//
// Room for large arrays that are filled once, in order, soon after they are made (the rows of a
// table of 99,999 draws, say). Room of 512 KB or more is mapped on its own, aligned to 2 MB and asked
// to be backed by huge pages before anything touches it, so that filling it costs a few page
// faults instead of hundreds; where the system offers no huge pages it still works with ordinary
// pages. Smaller room comes from the ordinary heap. Standard C++ with mmap.
#include <cstddef>
#include <limits>
#include <new>

namespace zg {

// Asks that the whole 2 MB pages inside `bytes` bytes of fresh memory from `data` on (room of at
// least 2 MB that nothing has touched yet, such as a large vector just reserved) be backed by huge
// pages where the system offers them: the first touch of that room then costs a few page faults
// instead of hundreds. Smaller room, or a refusal, leaves the ordinary pages.
void AdviseHugePages(const void* data, std::size_t bytes);

// `bytes` bytes aligned to `alignment` (at most 4096); throws std::bad_alloc when there is no room.
void* AllocateLargeArray(std::size_t bytes, std::size_t alignment);
// Gives back room from AllocateLargeArray with the same `bytes` and `alignment`.
void FreeLargeArray(void* data, std::size_t bytes, std::size_t alignment) noexcept;

template <class T> struct LargeArrayAllocator {
    using value_type = T;

    LargeArrayAllocator() = default;
    template <class U> LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(AllocateLargeArray(n * sizeof(T), alignof(T)));
    }
    void deallocate(T* data, std::size_t n) noexcept { FreeLargeArray(data, n * sizeof(T), alignof(T)); }

    template <class U> bool operator==(const LargeArrayAllocator<U>&) const noexcept { return true; }
};

} // namespace zg
