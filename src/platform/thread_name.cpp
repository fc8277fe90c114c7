#include "platform/thread_name.h"

#include <pthread.h>

#include <string>

namespace plat {

void NameThisThread(const char* name) {
  // A longer name is refused whole: it is cut instead.
  constexpr std::size_t kLongestName = 15;
  std::string kept(name != nullptr ? name : "");
  if (kept.size() > kLongestName) kept.resize(kLongestName);
  pthread_setname_np(pthread_self(), kept.c_str());
}

}  // namespace plat
