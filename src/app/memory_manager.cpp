#include "app/memory_manager.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

cMemoryManager g_MemoryManager;

namespace {

constexpr char kReportHeader[] =
    "XMEMORY_MANAGER Report -------------------------------------------\n\n";

constexpr char kNotRegistered[] =
    "WARNING\n{\n\tAction: Deallocating memory\n\tInformation: Memory allocation was not "
    "registered\n\tDeallocation\n\t{\n\t\tFile: %s\n\t\tLine: %d\n\t}\n\tPointer: %08x\n}\n";

constexpr char kMismatch[] =
    "WARNING\n{\n\tAction: deallocating memory\n\tInformation: %s\n\tAllocation\n\t{\n\t\tFile: "
    "%s\n\t\tLine: %d\n\t}\n\tDeallocation\n\t{\n\t\tFile: %s\n\t\tLine: %d\n\t}\n\tPointer: "
    "%08x\n\tSize:%d\n}\n";

// The report keys and prints blocks by their address cut to 32 bits.
unsigned Address32(const void* block) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(block));
}

const char* OrNull(const char* text) { return text != nullptr ? text : "(null)"; }

}  // namespace

// ---- cMemoryReport ----

cMemoryReport::~cMemoryReport() { Clear(); }

void cMemoryReport::Clear() {
  for (sChunk* chunk = head_; chunk != nullptr;) {
    sChunk* next = chunk->next;
    std::free(chunk);
    chunk = next;
  }
  head_ = tail_ = nullptr;
}

void cMemoryReport::Append(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int written = std::vsnprintf(buffer_, sizeof buffer_, format, args);
  va_end(args);
  if (written < 0) return;
  const std::size_t text = std::min(static_cast<std::size_t>(written), sizeof buffer_ - 1);
  const auto tabs = static_cast<std::size_t>(indent_);
  const std::size_t length = tabs + text;
  auto* chunk = static_cast<sChunk*>(std::malloc(sizeof(sChunk) + length + 1));
  if (chunk == nullptr) return;
  chunk->next = nullptr;
  chunk->length = length;
  std::memset(chunk->Data(), '\t', tabs);
  std::memcpy(chunk->Data() + tabs, buffer_, text);
  chunk->Data()[length] = '\0';
  if (tail_ != nullptr) {
    tail_->next = chunk;
  } else {
    head_ = chunk;
  }
  tail_ = chunk;
}

std::string cMemoryReport::Text() const {
  std::size_t total = 0;
  for (const sChunk* chunk = head_; chunk != nullptr; chunk = chunk->next) total += chunk->length;
  std::string text(total, '\0');
  std::size_t at = 0;
  for (sChunk* chunk = head_; chunk != nullptr; chunk = chunk->next) {
    std::memcpy(text.data() + at, chunk->Data(), chunk->length);
    at += chunk->length;
  }
  return text;
}

// ---- cMemoryManager ----

namespace {

class RegistryGuard {
 public:
  explicit RegistryGuard(std::atomic_flag& flag) : flag_(flag) {
    while (flag_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  }
  ~RegistryGuard() { flag_.clear(std::memory_order_release); }
  RegistryGuard(const RegistryGuard&) = delete;
  RegistryGuard& operator=(const RegistryGuard&) = delete;

 private:
  std::atomic_flag& flag_;
};

}  // namespace

cMemoryManager::cMemoryManager() {
  registry_ = static_cast<sBucket*>(std::calloc(kBucketCount, sizeof(sBucket)));
  if (registry_ != nullptr) {
    report_.Append("%s", kReportHeader);
    tracking_.store(true, std::memory_order_release);
  }
}

cMemoryManager::~cMemoryManager() {
  tracking_.store(false, std::memory_order_release);
  RegistryGuard guard(busy_);
  ReleaseAll();
  report_.Clear();
}

int cMemoryManager::Bucket(const void* block) {
  const std::uint32_t p = Address32(block);
  return static_cast<int>(((p & 255u) * 0x50000u - p) % static_cast<std::uint32_t>(kBucketCount));
}

void cMemoryManager::ReleaseAll() {
  if (registry_ != nullptr) {
    for (int b = 0; b < kBucketCount; ++b) {
      for (sRecord* record = registry_[b].head; record != nullptr;) {
        sRecord* next = record->next;
        std::free(record);
        record = next;
      }
    }
    std::free(registry_);
    registry_ = nullptr;
  }
  live_blocks_ = 0;
  live_bytes_ = 0;
}

void cMemoryManager::Register(void* block, std::size_t size, bool arrayForm, const char* file,
                              int line) {
  if (block == nullptr || !tracking_.load(std::memory_order_acquire)) return;
  auto* record = static_cast<sRecord*>(std::malloc(sizeof(sRecord)));
  if (record == nullptr) return;
  *record = sRecord{nullptr, block, size, arrayForm, file, line};
  RegistryGuard guard(busy_);
  if (registry_ == nullptr) {
    std::free(record);
    return;
  }
  sBucket& bucket = registry_[Bucket(block)];
  if (bucket.tail != nullptr) {
    bucket.tail->next = record;
  } else {
    bucket.head = record;
  }
  bucket.tail = record;
  ++bucket.count;
  ++live_blocks_;
  live_bytes_ += static_cast<long long>(size);
}

void cMemoryManager::SetDeallocationSite(const char* file, int line) {
  RegistryGuard guard(busy_);
  dealloc_file_ = file;
  dealloc_line_ = line;
}

void cMemoryManager::AppendMismatch(const sRecord& record, unsigned address,
                                   const char* information) {
  report_.Append(kMismatch, information, OrNull(record.file), record.line, OrNull(dealloc_file_),
                 dealloc_line_, address, static_cast<int>(record.size));
}

void cMemoryManager::Deallocate(void* block, bool arrayForm) {
  // Before the constructor and after the destructor nothing is tracked and
  // no deallocation site can be pending: just free.
  if (!tracking_.load(std::memory_order_acquire)) {
    std::free(block);
    return;
  }
  RegistryGuard guard(busy_);
  if (registry_ == nullptr) {  // the destructor ran meanwhile
    std::free(block);
    return;
  }
  if (block != nullptr) {
    const unsigned address = Address32(block);
    sBucket& bucket = registry_[Bucket(block)];
    sRecord* previous = nullptr;
    sRecord* record = bucket.head;
    while (record != nullptr && record->block != block) {
      previous = record;
      record = record->next;
    }
    std::free(block);
    if (record == nullptr) {
      if (dealloc_line_ != 0) {
        report_.Append(kNotRegistered, OrNull(dealloc_file_), dealloc_line_, address);
      }
    } else {
      if (record->array && !arrayForm) {
        AppendMismatch(*record, address, "Memory was allocated by new[] and is deallocated by delete");
      } else if (!record->array && arrayForm) {
        AppendMismatch(*record, address, "Memory was allocated by new and is deallocated by delete[]");
      }
      --live_blocks_;
      live_bytes_ -= static_cast<long long>(record->size);
      if (previous != nullptr) {
        previous->next = record->next;
      } else {
        bucket.head = record->next;
      }
      if (bucket.tail == record) bucket.tail = previous;
      --bucket.count;
      std::free(record);
    }
  }
  dealloc_file_ = nullptr;
  dealloc_line_ = 0;
}

int cMemoryManager::LiveBlocks() const {
  RegistryGuard guard(busy_);
  return live_blocks_;
}

long long cMemoryManager::LiveBytes() const {
  RegistryGuard guard(busy_);
  return live_bytes_;
}

std::string cMemoryManager::ReportText() const {
  RegistryGuard guard(busy_);
  return report_.Text();
}
