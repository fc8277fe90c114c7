// The program's global allocation operators with the tracker behind its
// deletes: every form of new gives a usable block of its alignment, and
// every form of delete frees it (under AddressSanitizer a block freed the
// wrong way or left behind fails the program).
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>

#include "app/memory_manager.h"

namespace {

struct alignas(64) sWide {
  char byte = 0;
};

bool AlignedTo(const void* block, std::uintptr_t alignment) {
  return reinterpret_cast<std::uintptr_t>(block) % alignment == 0;
}

TEST(MemoryOperators, EveryFormOfNewAndDeleteGivesAndFreesItsBlock) {
  ::operator delete(nullptr);
  ::operator delete[](nullptr);
  g_MemoryManager.Deallocate(nullptr, false);
  delete new int(5);
  delete[] new std::string[3]{"a", "b", std::string(100, 'c')};

  // Over-aligned types get their alignment, alone and in arrays.
  sWide* wide = new sWide;
  sWide* wides = new sWide[3];
  EXPECT_TRUE(AlignedTo(wide, 64));
  EXPECT_TRUE(AlignedTo(wides, 64));
  delete wide;
  delete[] wides;

  // The forms that do not throw, and blocks of no bytes, each its own.
  int* quiet = new (std::nothrow) int(3);
  ASSERT_NE(quiet, nullptr);
  EXPECT_EQ(*quiet, 3);
  delete quiet;
  void* first = ::operator new(0);
  void* second = ::operator new(0);
  EXPECT_NE(first, second);
  ::operator delete(first);
  ::operator delete(second);
}

}  // namespace
