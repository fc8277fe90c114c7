// Paths as the game writes them ("data\gfx\Flags\pol.png") on a file system
// that is case-sensitive.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// Backslashes become '/'; the case is kept.
std::string TranslatePath(std::string_view path);

// The translated path as it exists on disk: when it is not found as written,
// each component is looked up case-insensitively (ASCII letters), one folder
// at a time. A path that cannot be found either way comes back translated
// but otherwise unchanged, so that creating a new file under it works.
std::string ResolvePath(std::string_view path);
// The same for a wide path (converted to UTF-8 first).
std::string ResolvePath(std::wstring_view path);

bool FileExists(std::string_view path);    // a regular file, after ResolvePath
bool FolderExists(std::string_view path);  // a folder, after ResolvePath

}  // namespace plat
