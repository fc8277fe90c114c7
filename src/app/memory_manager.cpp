#include "app/memory_manager.h"

#include <cstdlib>

cMemoryManager g_MemoryManager;

void cMemoryManager::Deallocate(void* block, bool) { std::free(block); }
