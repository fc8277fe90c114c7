#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "app/memory_manager.h"

#if defined(__SANITIZE_ADDRESS__)
// Lets the failure test see operator new fail instead of AddressSanitizer
// stopping the program at the oversized request.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

namespace {

const std::string kHeader = "XMEMORY_MANAGER Report -------------------------------------------\n\n";

std::string Hex32(const void* block) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(block)));
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
  auto* one = new int(5);
  delete one;
  auto* many = new std::string[3]{"a", "b", std::string(100, 'c')};
  delete[] many;
  auto vec = std::make_unique<std::vector<int>>(1000, 7);
  vec.reset();
  EXPECT_EQ(g_MemoryManager.ReportText(), before);
  EXPECT_EQ(g_MemoryManager.LiveBlocks(), 0);
}

TEST(MemoryOperators, ZeroSizedNewGivesDistinctBlocks) {
  void* a = ::operator new(0);
  void* b = ::operator new[](0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  ::operator delete(a);
  ::operator delete[](b);
}

TEST(MemoryOperators, FailedNewThrowsAndNothrowNewGivesNull) {
  const std::size_t huge = static_cast<std::size_t>(1) << 62;
  EXPECT_THROW(static_cast<void>(::operator new(huge)), std::bad_alloc);
  EXPECT_THROW(static_cast<void>(::operator new[](huge, std::align_val_t(64))), std::bad_alloc);
  EXPECT_EQ(::operator new(huge, std::nothrow), nullptr);
  EXPECT_EQ(::operator new[](huge, std::align_val_t(64), std::nothrow), nullptr);
}

TEST(MemoryOperators, OverAlignedNewHonoursTheAlignment) {
  struct alignas(256) sWide {
    char bytes[300];
  };
  auto* one = new sWide;
  auto* many = new sWide[3];
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(one) % 256, 0u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(many) % 256, 0u);
  delete one;
  delete[] many;
}

TEST(MemoryOperators, DeleteFormsReachTheGlobalTracker) {
  const std::string before = g_MemoryManager.ReportText();
  // Registered as a new[] block, freed with the scalar form.
  void* block = ::operator new(24);
  g_MemoryManager.Register(block, 24, true, "alloc.cpp", 12);
  EXPECT_EQ(g_MemoryManager.LiveBlocks(), 1);
  const std::string expected =
      before + Mismatch("Memory was allocated by new[] and is deallocated by delete", block, 24);
  g_MemoryManager.SetDeallocationSite("free.cpp", 34);
  ::operator delete(block);
  EXPECT_EQ(g_MemoryManager.ReportText(), expected);
  EXPECT_EQ(g_MemoryManager.LiveBlocks(), 0);
}

TEST(MemoryManager, FreshReportHoldsOnlyTheHeader) {
  cMemoryManager manager;
  EXPECT_TRUE(manager.IsTracking());
  manager.Deallocate(nullptr, false);
  manager.Deallocate(std::malloc(8), false);
  manager.Deallocate(std::malloc(8), true);
  EXPECT_EQ(manager.ReportText(), kHeader);
}

TEST(MemoryManager, MismatchedFormsAreReportedAndUnregistered) {
  cMemoryManager manager;
  void* array = std::malloc(16);
  void* scalar = std::malloc(40);
  manager.Register(array, 16, true, "alloc.cpp", 12);
  manager.Register(scalar, 40, false, "alloc.cpp", 12);
  EXPECT_EQ(manager.LiveBlocks(), 2);
  EXPECT_EQ(manager.LiveBytes(), 56);

  manager.SetDeallocationSite("free.cpp", 34);
  manager.Deallocate(array, false);
  EXPECT_EQ(manager.LiveBlocks(), 1);
  EXPECT_EQ(manager.LiveBytes(), 40);
  manager.SetDeallocationSite("free.cpp", 34);
  manager.Deallocate(scalar, true);
  EXPECT_EQ(manager.LiveBlocks(), 0);
  EXPECT_EQ(manager.LiveBytes(), 0);
  EXPECT_EQ(manager.ReportText(),
            kHeader + Mismatch("Memory was allocated by new[] and is deallocated by delete", array, 16) +
                Mismatch("Memory was allocated by new and is deallocated by delete[]", scalar, 40));
}

TEST(MemoryManager, MatchingFormsAreUnregisteredSilently) {
  cMemoryManager manager;
  void* array = std::malloc(16);
  void* scalar = std::malloc(8);
  manager.Register(array, 16, true, "alloc.cpp", 1);
  manager.Register(scalar, 8, false, "alloc.cpp", 2);
  manager.SetDeallocationSite("free.cpp", 3);
  manager.Deallocate(array, true);
  manager.Deallocate(scalar, false);
  EXPECT_EQ(manager.LiveBlocks(), 0);
  EXPECT_EQ(manager.ReportText(), kHeader);
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
  // The site is used once: the next deallocation reports nothing.
  manager.Deallocate(std::malloc(4), false);
  EXPECT_EQ(manager.ReportText(), kHeader + warning);
}

TEST(MemoryManager, BucketUsesTheAddressCutTo32Bits) {
  EXPECT_EQ(cMemoryManager::Bucket(reinterpret_cast<void*>(0x100)), 1792);
  EXPECT_EQ(cMemoryManager::Bucket(reinterpret_cast<void*>(0x12345678)), 392);
  EXPECT_EQ(cMemoryManager::Bucket(reinterpret_cast<void*>(std::uintptr_t{0x7f0012345678})), 392);
}

TEST(MemoryManager, SharedBucketFindsEveryRecordAfterRemovals) {
  cMemoryManager manager;
  // Find three heap blocks that share a bucket.
  std::vector<void*> pool;
  std::vector<std::vector<void*>> byBucket(cMemoryManager::kBucketCount);
  std::vector<void*>* shared = nullptr;
  while (shared == nullptr && pool.size() < 100000) {
    void* block = std::malloc(16);
    pool.push_back(block);
    auto& same = byBucket[static_cast<std::size_t>(cMemoryManager::Bucket(block))];
    same.push_back(block);
    if (same.size() == 3) shared = &same;
  }
  ASSERT_NE(shared, nullptr);
  const std::vector<void*> blocks = *shared;
  for (void* b : blocks) manager.Register(b, 16, true, "alloc.cpp", 12);
  // Remove the middle, then the last, then the first record; each lookup
  // must still find its record (the mismatch warning shows it was found).
  std::string expected = kHeader;
  for (int index : {1, 2, 0}) {
    void* block = blocks[static_cast<std::size_t>(index)];
    manager.SetDeallocationSite("free.cpp", 34);
    manager.Deallocate(block, false);
    expected += Mismatch("Memory was allocated by new[] and is deallocated by delete", block, 16);
  }
  EXPECT_EQ(manager.ReportText(), expected);
  EXPECT_EQ(manager.LiveBlocks(), 0);
  for (void* block : pool) {
    if (std::find(blocks.begin(), blocks.end(), block) == blocks.end()) std::free(block);
  }
}

TEST(MemoryManager, ReportChunksTakeTheIndentation) {
  cMemoryReport report;
  report.Append("a%d\n", 1);
  report.SetIndent(2);
  report.Append("%s", "b");
  EXPECT_EQ(report.Text(), "a1\n\t\tb");
}

TEST(MemoryManagerThread, ConcurrentRegistrationsStayConsistent) {
  cMemoryManager manager;
  auto worker = [&manager](int salt) {
    for (int i = 0; i < 2000; ++i) {
      void* block = std::malloc(static_cast<std::size_t>(8 + salt));
      manager.Register(block, static_cast<std::size_t>(8 + salt), false, "t.cpp", i);
      manager.Deallocate(block, false);
    }
  };
  std::thread a(worker, 0);
  std::thread b(worker, 8);
  a.join();
  b.join();
  EXPECT_EQ(manager.LiveBlocks(), 0);
  EXPECT_EQ(manager.LiveBytes(), 0);
  EXPECT_EQ(manager.ReportText(), kHeader);
}

}  // namespace
