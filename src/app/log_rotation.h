// The log of a game without a human turn (the computer playing every
// country) never starts anew. At the end of an impulse it is rotated once it
// has grown past a limit: the file is renamed to its rotated name
// ("ConsoleOut.txt" becomes "ConsoleOut.1.txt", replacing the one rotated
// before) and the log goes on in a new file. The last impulses are thus
// kept whole, in the two files, and the log never holds much more than
// twice the limit. No line is lost: a line written while the file is
// renamed goes to the rotated file, in its order.
#pragma once

#include <cstdint>
#include <string>

class cConsoleLog;

// 16 MiB: six to seven impulses of a late war.
constexpr std::uint64_t kLogRotationBytes = 16ull * 1024 * 1024;

// The name a log file is rotated to: "1" before its extension.
std::string RotatedLogPath(const std::string& path);

// Rotates log when its file holds more than limitBytes; true when it did.
bool RotateLogIfLarger(cConsoleLog& log, std::uint64_t limitBytes);
