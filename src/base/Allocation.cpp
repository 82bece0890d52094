#include "base/Allocation.h"

#include "base/Error.h"

#include <cstdio>
#include <cstdlib>

#include <sys/mman.h>

namespace {

constexpr std::uint32_t Unregistered = 0xFFFFFFFFu;

AllocCount WorkSpaceSize = ALLOC_COUNTER("WorkSpace");
MemStats* firstMS = nullptr;
int ShowAllocations = 0;

int megabytes(std::size_t space) {
    return static_cast<int>(space / 1000000);
}

void registerCounter(AllocCount* cnt) {
    cnt->TotalAlloc = 0;
    auto* node = static_cast<MemStats*>(
        allocate(sizeof(MemStats), &WorkSpaceSize, "Memory statistics pointer"));
    node->stat = cnt;
    node->next = firstMS;
    firstMS = node;
}

// From this size on a block asks the kernel for pages of 2 MB: first touching hundreds of MB in
// pages of 4 KB costs a fault per page.
constexpr std::size_t HugePage = std::size_t{1} << 21;
constexpr std::size_t HugeBlock = 32 * HugePage;

void preferHugePages(void* block, std::size_t space) {
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t end = (start + space) & ~(HugePage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

AllocCount* counterOrGeneral(AllocCount* cnt) {
    return cnt ? cnt : &WorkSpaceSize;
}

} // namespace

AllocCount* generalAllocCounter() {
    return &WorkSpaceSize;
}

void* allocate(std::size_t space, AllocCount* cnt, const char* name) {
    if (space == 0) {
        space = 1;
    } else if (space > AllocRefuseLimit) {
        printErrorMessage("Attempt to allocate %d Mb for %s refused\n", megabytes(space), name);
        std::exit(1);
    } else if (space > AllocNoticeLimit) {
        printAllocMessage("Allocating %d Mb for %s\n", megabytes(space), name);
    }
    void* block = std::malloc(space);
    if (!block) {
        printErrorMessage("Cannot allocate %s (space request %d)\n", name, static_cast<int>(space));
        std::exit(1);
    }
    if (space >= HugeBlock)
        preferHugePages(block, space);
    // The general counter is charged directly, so it registers through its own node too.
    AllocCount* target = counterOrGeneral(cnt);
    if (target->TotalAlloc == Unregistered)
        registerCounter(target);
    target->TotalAlloc += static_cast<std::uint32_t>(space);
    if (ShowAllocations)
        printErrorMessage("Allocated %d bytes for %s\n", static_cast<int>(space), name);
    return block;
}

void* reallocate(void* pt, std::size_t space, std::size_t old, AllocCount* cnt, const char* name) {
    if (space > AllocRefuseLimit) {
        printErrorMessage("Attempt to reallocate more than %d Mb for %s refused \n",
                          megabytes(space), name);
        std::exit(1);
    }
    // A block of 0 bytes keeps 1 byte, as allocate gives it, so the pointer stays valid.
    std::size_t taken = space == 0 ? 1 : space;
    void* block = std::realloc(pt, taken);
    if (!block) {
        printErrorMessage("Cannot allocate %s\n", name);
        std::exit(1);
    }
    counterOrGeneral(cnt)->TotalAlloc += static_cast<std::uint32_t>(taken - old);
    if (ShowAllocations)
        printErrorMessage("Re-allocated %d bytes for %s (was %d bytes))\n", static_cast<int>(taken),
                          name, static_cast<int>(old));
    else if (space > AllocNoticeLimit)
        printAllocMessage("Re-allocated %d bytes for %s (was %d bytes))\n", static_cast<int>(space),
                          name, static_cast<int>(old));
    return block;
}

void freespace(void* pt, std::size_t space, AllocCount* cnt, const char* name) {
    if (!pt) {
        printErrorMessage("WARNING: attempt to free non-allocated space %s\n", name);
        return;
    }
    std::free(pt);
    counterOrGeneral(cnt)->TotalAlloc -= static_cast<std::uint32_t>(space);
    if (ShowAllocations)
        printErrorMessage("freed %d bytes for %s\n", static_cast<int>(space), name);
}

MemStats* getFirstMS() {
    return firstMS;
}

void setAllocTrace(int toggle) {
    ShowAllocations = toggle;
}

void AddMemStat(AllocCount* stat) {
    auto* node = static_cast<MemStats*>(
        allocate(sizeof(MemStats), &WorkSpaceSize, "Memory statistics pointer"));
    node->stat = stat;
    node->next = firstMS;
    firstMS = node;
}

void malloc_debug_private(int) {}

void testtt(int* x) {
    int i = x[0];
    std::printf("i=%d,x[i]=%d\n", i, x[i]);
}

void reportGuardDamage(bool front, const char* label) {
    if (front)
        printErrorMessage("!!!!!! underflow in allocation of %s\n", label);
    else
        printErrorMessage("!!!!!! overflow in allocation of %s\n", label);
}

void reportTaggedGuardDamage(int tag, bool front, const char* label, int found, int oldsize) {
    if (front) {
        printErrorMessage("CheckSpace at %d: underflow in allocation of %s\n", tag, label);
        return;
    }
    printErrorMessage("CheckSpace at %d: overflow in allocation of %s\n", tag, label);
    printErrorMessage("%d != %d  \n", found, static_cast<int>(GuardValues<char>::back));
    printErrorMessage("oldsize: %d\n", oldsize);
}
