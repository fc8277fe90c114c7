#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/memory_manager.h"

namespace {

const std::string kHeader = "XMEMORY_MANAGER Report -------------------------------------------\n\n";
const char kArrayByScalar[] = "Memory was allocated by new[] and is deallocated by delete";

std::string Hex32(const void* block) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(block)));
  return text;
}

std::string Mismatch(const std::string& information, const void* block, int size) {
  return "WARNING\n{\n\tAction: deallocating memory\n\tInformation: " + information +
         "\n\tAllocation\n\t{\n\t\tFile: alloc.cpp\n\t\tLine: 12\n\t}\n\tDeallocation\n\t{\n\t\t"
         "File: free.cpp\n\t\tLine: 34\n\t}\n\tPointer: " +
         Hex32(block) + "\n\tSize:" + std::to_string(size) + "\n}\n";
}

TEST(MemoryOperators, DeletingBlocksFreesThemAndReportsNothing) {
  ASSERT_TRUE(g_MemoryManager.IsTracking());
  const std::string before = g_MemoryManager.ReportText();
  EXPECT_EQ(before.substr(0, kHeader.size()), kHeader);
  ::operator delete(nullptr);
  ::operator delete[](nullptr);
  delete new int(5);
  delete[] new std::string[3]{"a", "b", std::string(100, 'c')};
  EXPECT_EQ(g_MemoryManager.ReportText(), before);
  EXPECT_EQ(g_MemoryManager.LiveBlocks(), 0);
}

TEST(MemoryOperators, DeleteFormsReachTheGlobalTracker) {
  const std::string before = g_MemoryManager.ReportText();
  void* block = ::operator new(24);
  g_MemoryManager.Register(block, 24, true, "alloc.cpp", 12);  // as a new[] block
  const std::string expected = before + Mismatch(kArrayByScalar, block, 24);
  g_MemoryManager.SetDeallocationSite("free.cpp", 34);  // no other delete may come between
  ::operator delete(block);
  EXPECT_EQ(g_MemoryManager.ReportText(), expected);
  EXPECT_EQ(g_MemoryManager.LiveBlocks(), 0);
}

TEST(MemoryManager, MismatchedFormsAreReportedAndUnregistered) {
  cMemoryManager manager;
  void* array = std::malloc(16);
  void* scalar = std::malloc(40);
  manager.Register(array, 16, true, "alloc.cpp", 12);
  manager.Register(scalar, 40, false, "alloc.cpp", 12);
  EXPECT_EQ(manager.LiveBytes(), 56);
  manager.SetDeallocationSite("free.cpp", 34);
  manager.Deallocate(array, false);
  manager.SetDeallocationSite("free.cpp", 34);
  manager.Deallocate(scalar, true);
  EXPECT_EQ(manager.LiveBlocks(), 0);
  EXPECT_EQ(manager.LiveBytes(), 0);
  EXPECT_EQ(manager.ReportText(),
            kHeader + Mismatch(kArrayByScalar, array, 16) +
                Mismatch("Memory was allocated by new and is deallocated by delete[]", scalar, 40));
}

TEST(MemoryManager, UnregisteredBlockIsReportedOnlyWithADeallocationSite) {
  cMemoryManager manager;
  void* block = std::malloc(4);
  manager.SetDeallocationSite("free.cpp", 77);
  manager.Deallocate(block, false);
  const std::string warning =
      "WARNING\n{\n\tAction: Deallocating memory\n\tInformation: Memory allocation was not "
      "registered\n\tDeallocation\n\t{\n\t\tFile: free.cpp\n\t\tLine: 77\n\t}\n\tPointer: " +
      Hex32(block) + "\n}\n";
  EXPECT_EQ(manager.ReportText(), kHeader + warning);
  manager.Deallocate(std::malloc(4), false);  // the site was used up
  EXPECT_EQ(manager.ReportText(), kHeader + warning);
}

}  // namespace
