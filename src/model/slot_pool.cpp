#include "model/slot_pool.h"

#include <sys/mman.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(EXPERIMENT_NOPOOL)
#define MIREL_SLOTS_FROM_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIREL_SLOTS_FROM_HEAP 1
#endif
#endif

namespace mirel {

#ifdef MIREL_SLOTS_FROM_HEAP

bool SlotPoolActive()
{
    return false;
}

void* AllocateSlot(std::size_t size)
{
    return ::operator new(size);
}

void ReleaseSlot(void* p, std::size_t) noexcept
{
    ::operator delete(p);
}

#else

namespace {

constexpr std::size_t kGrain = 16;
constexpr std::size_t kClasses = kLargestSlot / kGrain;
// Blocks of 2 MiB, aligned so that the kernel can back each with one huge
// page: a large document then costs a few hundred page faults, not tens of
// thousands.
constexpr std::size_t kBlockSize = std::size_t(2) << 20;

struct FreeSlot {
    FreeSlot* next;
};

std::size_t ClassOf(std::size_t size)
{
    return (size + kGrain - 1) / kGrain - 1;
}

char* MapBlock()
{
    // Twice the size, then the unaligned ends go back.
    void* p = mmap(nullptr, 2 * kBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (start + kBlockSize - 1) & ~(kBlockSize - 1);
    if (aligned > start)
        munmap(p, aligned - start);
    const std::uintptr_t end = start + 2 * kBlockSize;
    if (end > aligned + kBlockSize)
        munmap(reinterpret_cast<void*>(aligned + kBlockSize), end - aligned - kBlockSize);
    madvise(reinterpret_cast<void*>(aligned), kBlockSize, MADV_HUGEPAGE);
    return reinterpret_cast<char*>(aligned);
}

// Free slots a thread left behind when it ended, for the next thread that
// needs slots of that size.
struct Depot {
    std::mutex mutex;
    std::array<FreeSlot*, kClasses> lists{};
};

Depot& TheDepot()
{
    static Depot* depot = new Depot;   // outlives every thread's cache
    return *depot;
}

// A thread's slots. Plain data, never destroyed: objects freed while the
// program ends (after thread-local objects are gone) still find it. When the
// thread ends, its free slots go to the depot and later calls of that thread
// use the depot directly.
struct ThreadSlots {
    std::array<FreeSlot*, kClasses> free;
    char* cursor;
    char* end;
    bool handoffArmed;
    bool retired;
};

constinit thread_local ThreadSlots tSlots{};

void HandOver(ThreadSlots& slots)
{
    Depot& depot = TheDepot();
    std::lock_guard lock(depot.mutex);
    for (std::size_t c = 0; c < kClasses; ++c) {
        while (FreeSlot* s = slots.free[c]) {
            slots.free[c] = s->next;
            s->next = depot.lists[c];
            depot.lists[c] = s;
        }
    }
    // The rest of the current block is given up: at most one block a thread.
    slots.cursor = slots.end = nullptr;
    slots.retired = true;
}

struct Handoff {
    ~Handoff() { HandOver(tSlots); }
};

void ArmHandoff(ThreadSlots& slots)
{
    if (slots.handoffArmed)
        return;
    slots.handoffArmed = true;
    thread_local Handoff handoff;
    (void)handoff;
}

// Takes the depot's whole list of this size, or one slot when the thread has
// ended.
void* FromDepot(ThreadSlots& slots, std::size_t c)
{
    Depot& depot = TheDepot();
    std::lock_guard lock(depot.mutex);
    FreeSlot* s = depot.lists[c];
    if (!s)
        return nullptr;
    if (slots.retired) {
        depot.lists[c] = s->next;
        return s;
    }
    depot.lists[c] = nullptr;
    slots.free[c] = s->next;
    return s;
}

void* Carve(ThreadSlots& slots, std::size_t c)
{
    const std::size_t bytes = (c + 1) * kGrain;
    if (static_cast<std::size_t>(slots.end - slots.cursor) < bytes) {
        if (!slots.retired)
            ArmHandoff(slots);   // before the thread holds slots of its own
        if (void* p = FromDepot(slots, c))
            return p;
        if (slots.retired)
            return ::operator new(bytes);   // joins the pool when released
        slots.cursor = MapBlock();
        slots.end = slots.cursor + kBlockSize;
    }
    void* p = slots.cursor;
    slots.cursor += bytes;
    return p;
}

}  // namespace

bool SlotPoolActive()
{
    return true;
}

void* AllocateSlot(std::size_t size)
{
    if (size == 0 || size > kLargestSlot)
        return ::operator new(size);
    const std::size_t c = ClassOf(size);
    ThreadSlots& slots = tSlots;
    if (FreeSlot* s = slots.free[c]) {
        slots.free[c] = s->next;
        // The next slot is about to be written by the next object of this
        // size: start bringing it into the cache now.
        __builtin_prefetch(s->next, 1);
        return s;
    }
    return Carve(slots, c);
}

void ReleaseSlot(void* p, std::size_t size) noexcept
{
    if (!p)
        return;
    if (size == 0 || size > kLargestSlot) {
        ::operator delete(p);
        return;
    }
    const std::size_t c = ClassOf(size);
    ThreadSlots& slots = tSlots;
    auto* s = static_cast<FreeSlot*>(p);
    if (slots.retired) {
        Depot& depot = TheDepot();
        std::lock_guard lock(depot.mutex);
        s->next = depot.lists[c];
        depot.lists[c] = s;
        return;
    }
    if (!slots.handoffArmed)
        ArmHandoff(slots);   // a thread that only frees hands its slots on too
    s->next = slots.free[c];
    slots.free[c] = s;
}

#endif

}  // namespace mirel
