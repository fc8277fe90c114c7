// A recursive lock: the thread that holds it may enter again.
#pragma once

#include <mutex>

namespace plat {

class CriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }

 private:
  std::recursive_mutex mutex_;
};

}  // namespace plat
