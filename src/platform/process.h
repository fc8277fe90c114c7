// Other processes, as the files they leave behind name them by their ids.
#pragma once

namespace plat {

// True when the process of the id runs (a process of another user too).
// This process counts as not running: a file or folder under its own id
// found outside its own write was left by an earlier process that had the
// same id.
bool IsOtherProcessRunning(long long pid);

}  // namespace plat
