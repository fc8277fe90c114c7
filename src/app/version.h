// The program's version and build numbers, shown in the first log line and
// the window title.
#pragma once

#include <string>

constexpr float kGameVersion = 1.01f;
constexpr int kGameBuild = 200;

// "Tidewrack v%.2f", with " [build %3i]" appended when the build number is
// not a multiple of 100: the window title and the menus' version line.
std::wstring VersionTitle(float version, int build);
