// A recursive lock: the thread that holds it may enter again.
#pragma once

#include <mutex>

namespace plat {

class CriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }
  bool TryEnter() { return mutex_.try_lock(); }

 private:
  std::recursive_mutex mutex_;
};

}  // namespace plat
