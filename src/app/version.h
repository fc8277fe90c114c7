// The program's version and build numbers, shown in the first log line and
// the window title.
#pragma once

constexpr float kGameVersion = 1.01f;
constexpr int kGameBuild = 200;
