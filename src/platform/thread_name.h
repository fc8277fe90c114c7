// The name a thread shows to the system's tools (top -H, ps -L,
// /proc/PID/task/TID/comm), so that a measurement can find it.
#pragma once

namespace plat {

// Names the calling thread; the system keeps the first 15 bytes.
void NameThisThread(const char* name);

}  // namespace plat
