#pragma once
// Memory for the model's most numerous objects (runs and rows of text). A
// large document holds millions of them: taking their memory from big
// blocks and keeping released slots on a free list of the thread makes
// reading and closing such a document cost a pointer move per object,
// instead of the general allocator's searching and merging of free chunks.
// Blocks stay with the process and serve the next document. Builds with the
// address sanitizer use the general allocator, so that it sees every object.
#include <cstddef>

namespace mirel {

void* AllocateSlot(std::size_t size);
// Sizes above this come from the general allocator.
inline constexpr std::size_t kLargestSlot = 1024;
// False in builds with the address sanitizer: every slot is a heap block.
bool SlotPoolActive();
void ReleaseSlot(void* p, std::size_t size) noexcept;

}  // namespace mirel

// In a class body: objects of the class (and of classes derived from it)
// take their memory from the slot pool. The size handed to delete is that of
// the object's own class, which virtual destructors guarantee.
#define MIREL_POOLED_ALLOCATION                                                        \
public:                                                                                \
    static void* operator new(std::size_t size) { return mirel::AllocateSlot(size); } \
    static void operator delete(void* p, std::size_t size) noexcept { mirel::ReleaseSlot(p, size); }
