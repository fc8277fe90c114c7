// The allocation tracker behind the program's global operator delete and
// delete[]. The program's operator new takes its blocks from malloc and
// registers none, so there is nothing to check a deallocation against:
// every one frees its block, on any thread at once.
//
// It runs inside operator delete: it may not allocate with operator new.
#pragma once

class cMemoryManager {
 public:
  // Frees block (a malloc block or null), whichever form of delete (array
  // or not) hands it over.
  void Deallocate(void* block, bool arrayForm);
};

extern cMemoryManager g_MemoryManager;
