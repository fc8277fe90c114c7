// The allocation tracker behind the program's global operator delete. It can
// check each deallocation against a registry of allocations and writes what
// it finds into an in-memory report. The program's operator new registers
// nothing, so normally every deallocation just frees its block.
//
// Everything here runs inside operator delete: no part of it may allocate
// with operator new, only with malloc and friends.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

// Text chunks in memory, each prefixed with the current indentation (tabs).
class cMemoryReport {
 public:
  constexpr cMemoryReport() = default;
  ~cMemoryReport();
  cMemoryReport(const cMemoryReport&) = delete;
  cMemoryReport& operator=(const cMemoryReport&) = delete;

  // printf-style narrow formatting into the report's own buffer; the text is
  // appended as a new chunk. A chunk that cannot be stored is dropped.
  void Append(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void SetIndent(int tabs) { indent_ = tabs < 0 ? 0 : tabs; }
  void Clear();

  // The chunks joined. Builds the string with a single allocation and frees
  // nothing, so the tracker may call it while it holds its lock.
  std::string Text() const;

 private:
  struct sChunk {
    sChunk* next;
    std::size_t length;
    // the text follows the header
    char* Data() { return reinterpret_cast<char*>(this + 1); }
  };

  sChunk* head_ = nullptr;
  sChunk* tail_ = nullptr;
  int indent_ = 0;
  char buffer_[1024] = {};
};

class cMemoryManager {
 public:
  static constexpr int kBucketCount = 2048;

  cMemoryManager();
  ~cMemoryManager();
  cMemoryManager(const cMemoryManager&) = delete;
  cMemoryManager& operator=(const cMemoryManager&) = delete;

  // Frees block (a malloc block or null) and checks it against the registry.
  void Deallocate(void* block, bool arrayForm);

  // Records a block allocated with new (arrayForm: new[]). The program's
  // operator new never calls it; tests do.
  void Register(void* block, std::size_t size, bool arrayForm, const char* file, int line);
  // Names the source of the next deallocation (cleared by it).
  void SetDeallocationSite(const char* file, int line);

  bool IsTracking() const { return tracking_.load(std::memory_order_relaxed); }
  int LiveBlocks() const;
  long long LiveBytes() const;
  // The report's text (allocates: not for use inside operator delete).
  std::string ReportText() const;

  // Bucket of a block: its address cut to 32 bits, ((p & 255) * 0x50000 - p)
  // mod 2048 in unsigned 32-bit arithmetic.
  static int Bucket(const void* block);

 private:
  struct sRecord {
    sRecord* next;
    void* block;
    std::size_t size;
    bool array;
    const char* file;
    int line;
  };
  struct sBucket {
    sRecord* head;
    sRecord* tail;
    int count;
  };

  // Frees every record and the registry.
  void ReleaseAll();
  void AppendMismatch(const sRecord& record, unsigned address, const char* information);

  // A delete may run before the constructor (the object is zero-initialised
  // until then) and after the destructor: tracking is off in both cases.
  std::atomic<bool> tracking_{false};
  // Serialises the registry and the report; a spin lock, since it runs
  // inside operator delete and must never allocate.
  mutable std::atomic_flag busy_;
  sBucket* registry_ = nullptr;
  cMemoryReport report_;
  const char* dealloc_file_ = nullptr;
  int dealloc_line_ = 0;
  int live_blocks_ = 0;
  long long live_bytes_ = 0;
};

extern cMemoryManager g_MemoryManager;
