// Address reuse made certain: every InOneMemory<T> is made in one memory,
// the memory the last one left, as the allocator may do (one lives at a
// time: the last is freed before the next is made).
#pragma once

#include <cstddef>

namespace twtest {

template <class T>
struct InOneMemory : T {
  using T::T;
  static void* operator new(std::size_t) {
    static_assert(sizeof(InOneMemory) == sizeof(T) && alignof(InOneMemory) == alignof(T));
    return memory;
  }
  static void operator delete(void*) {}
  alignas(T) static inline unsigned char memory[sizeof(T)];
};

}  // namespace twtest
