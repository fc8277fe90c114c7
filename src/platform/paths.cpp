// Windows-style paths on a case-sensitive file system.
#include "platform/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/text.h"

namespace fs = std::filesystem;

namespace plat {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

// The entry of folder whose name equals name: the exact name when present,
// otherwise the first case-insensitive match in sorted order (so the choice
// between "Data" and "DATA" is the same on every run); empty when none.
std::string FindEntry(const std::string& folder, const std::string& name) {
  const std::string exact = folder.empty() ? name : folder + name;
  if (Exists(exact)) return name;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? std::string(".") : folder, ec);
  std::vector<std::string> matches;
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualsIgnoringCase(entry, name)) matches.push_back(std::move(entry));
  }
  if (matches.empty()) return {};
  return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::string TranslatePath(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::string ResolvePath(std::string_view path) {
  const std::string translated = TranslatePath(path);
  if (translated.empty() || Exists(translated)) return translated;
  // Walk from the working folder (or the root), one component at a time;
  // resolved always ends with '/' unless it is empty.
  std::string resolved = translated.front() == '/' ? "/" : "";
  std::size_t pos = 0;
  while (pos < translated.size()) {
    std::size_t end = translated.find('/', pos);
    if (end == std::string::npos) end = translated.size();
    const std::string name = translated.substr(pos, end - pos);
    pos = end + 1;
    if (name.empty()) continue;  // doubled or leading slash
    const std::string found = FindEntry(resolved, name);
    if (found.empty()) return translated;
    resolved += found;
    resolved += '/';
  }
  if (translated.back() != '/' && !resolved.empty() && resolved != "/") resolved.pop_back();
  return resolved;
}

std::string ResolvePath(std::wstring_view path) { return ResolvePath(std::string_view(ToUtf8(path))); }

bool FileExists(std::string_view path) {
  std::error_code ec;
  return fs::is_regular_file(ResolvePath(path), ec);
}

bool FolderExists(std::string_view path) {
  std::error_code ec;
  return fs::is_directory(ResolvePath(path), ec);
}

}  // namespace plat
