// The program's global allocation operators. Every form of new takes its
// block from malloc (or posix_memalign for over-aligned types) and registers
// nothing; every form of delete hands the block to the allocation tracker,
// which frees it. One allocator throughout keeps the program clean under
// AddressSanitizer, which then sees plain malloc and free.
//
// Linked into the game and the tracker's own test program only.
#include <cstddef>
#include <cstdlib>
#include <new>

#include "app/memory_manager.h"

namespace {

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
  // Every allocation, even of zero bytes, gives a unique block.
  if (size == 0) size = 1;
  if (alignment < sizeof(void*)) alignment = sizeof(void*);
  for (;;) {
    void* block = nullptr;
    if (alignment <= alignof(std::max_align_t)) {
      block = std::malloc(size);
    } else if (::posix_memalign(&block, alignment, size) != 0) {
      block = nullptr;
    }
    if (block != nullptr) return block;
    // The standard contract: let the new-handler make room, or give up.
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void* AllocateOrNull(std::size_t size, std::size_t alignment) noexcept {
  try {
    return AllocateOrThrow(size, alignment);
  } catch (...) {
    return nullptr;
  }
}

constexpr std::size_t kPlain = alignof(std::max_align_t);

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, kPlain);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, kPlain);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, static_cast<std::size_t>(alignment));
}

void operator delete(void* block) noexcept { g_MemoryManager.Deallocate(block, false); }
void operator delete[](void* block) noexcept { g_MemoryManager.Deallocate(block, true); }
void operator delete(void* block, std::size_t) noexcept { g_MemoryManager.Deallocate(block, false); }
void operator delete[](void* block, std::size_t) noexcept { g_MemoryManager.Deallocate(block, true); }
void operator delete(void* block, const std::nothrow_t&) noexcept {
  g_MemoryManager.Deallocate(block, false);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  g_MemoryManager.Deallocate(block, true);
}
void operator delete(void* block, std::align_val_t) noexcept {
  g_MemoryManager.Deallocate(block, false);
}
void operator delete[](void* block, std::align_val_t) noexcept {
  g_MemoryManager.Deallocate(block, true);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
  g_MemoryManager.Deallocate(block, false);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  g_MemoryManager.Deallocate(block, true);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  g_MemoryManager.Deallocate(block, false);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  g_MemoryManager.Deallocate(block, true);
}
