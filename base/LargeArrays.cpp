// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LargeArrays.h"

#include <cstdint>

#include <sys/mman.h>

namespace zg {

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
// From a quarter of a huge page on, clearing one huge page costs less than the 128 page faults of
// ordinary pages.
constexpr std::size_t LeastLargeArray = HugePage / 4;

std::size_t WholeHugePages(std::size_t bytes) {
    return (bytes + HugePage - 1) & ~(HugePage - 1);
}

} // namespace

void AdviseHugePages(const void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    if (data == nullptr || bytes < HugePage)
        return;
    // The whole huge pages inside the room; a refusal only leaves the ordinary pages.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t end = (begin + bytes) & ~(HugePage - 1);
    if (end > first)
        (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

void* AllocateLargeArray(std::size_t bytes, std::size_t alignment) {
#if defined(MADV_HUGEPAGE) && defined(MAP_ANONYMOUS)
    if (bytes >= LeastLargeArray && bytes <= SIZE_MAX - 2 * HugePage) {
        // One huge page more than needed, so that a 2 MB boundary lies within the first one; the
        // parts before the boundary and after the room are given back at once.
        const std::size_t room = WholeHugePages(bytes);
        void* mapped = ::mmap(nullptr, room + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        const auto begin = reinterpret_cast<std::uintptr_t>(mapped);
        const std::uintptr_t aligned = (begin + HugePage - 1) & ~(HugePage - 1);
        if (aligned > begin)
            ::munmap(mapped, aligned - begin);
        if (const std::uintptr_t after = begin + room + HugePage - (aligned + room); after > 0)
            ::munmap(reinterpret_cast<void*>(aligned + room), after);
        (void)::madvise(reinterpret_cast<void*>(aligned), room, MADV_HUGEPAGE); // a refusal keeps small pages
        return reinterpret_cast<void*>(aligned);
    }
#endif
    return ::operator new(bytes, std::align_val_t(alignment));
}

void FreeLargeArray(void* data, std::size_t bytes, std::size_t alignment) noexcept {
    if (data == nullptr)
        return;
#if defined(MADV_HUGEPAGE) && defined(MAP_ANONYMOUS)
    if (bytes >= LeastLargeArray && bytes <= SIZE_MAX - 2 * HugePage) {
        ::munmap(data, WholeHugePages(bytes));
        return;
    }
#endif
    ::operator delete(data, std::align_val_t(alignment));
}

} // namespace zg
