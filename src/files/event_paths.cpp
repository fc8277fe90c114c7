#include "files/event_paths.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/format.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// The folder names of a relative path ("\" or "/" between them), "." and
// empty names left out; false for an absolute path or one that climbs
// ("..").
bool SplitRelative(std::string_view path, std::vector<std::string>& parts) {
  const std::string translated = plat::TranslatePath(path);
  if (translated.empty() || translated.front() == '/') return false;
  std::size_t pos = 0;
  while (pos <= translated.size()) {
    std::size_t end = translated.find('/', pos);
    if (end == std::string::npos) end = translated.size();
    const std::string name = translated.substr(pos, end - pos);
    pos = end + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") return false;
    parts.push_back(name);
  }
  return true;
}

// True when path lies below folder (both made absolute, links followed).
bool ReallyInside(const std::string& path, const std::string& folder) {
  std::error_code ec;
  const fs::path file = fs::weakly_canonical(path, ec);
  if (ec) return false;
  const fs::path base = fs::weakly_canonical(folder, ec);
  if (ec) return false;
  auto f = file.begin();
  for (auto b = base.begin(); b != base.end(); ++b, ++f) {
    if (b->empty()) continue;  // a trailing separator
    if (f == file.end() || *f != *b) return false;
  }
  return f != file.end();
}

}  // namespace

std::wstring EventScenarioFolder(std::wstring_view scenarioName) {
  return plat::Format(L"data\\scenarios\\%s\\", std::wstring(scenarioName));
}

bool IsEventFileInScenario(std::string_view fileName, std::string_view scenarioName) {
  if (fileName.find('\0') != std::string_view::npos) return false;
  std::vector<std::string> folder{"data", "scenarios"};
  if (!SplitRelative(scenarioName, folder) || folder.size() < 3) return false;
  std::vector<std::string> file;
  if (!SplitRelative(fileName, file) || file.size() <= folder.size()) return false;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (!SameName(folder[i], file[i])) return false;
  }
  // A link inside the folder must not lead out of it.
  const std::string resolved = plat::ResolvePath(fileName);
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(resolved, ec))) return true;
  std::string folderPath;
  for (const std::string& name : folder) folderPath += name + "/";
  return ReallyInside(resolved, plat::ResolvePath(folderPath));
}

std::string EventDumpPath(std::string_view documentName) {
  const std::string translated = plat::TranslatePath(documentName);
  const std::size_t slash = translated.rfind('/');
  std::string base = slash == std::string::npos ? translated : translated.substr(slash + 1);
  if (base.size() > 4) base.resize(base.size() - 4);
  if (base.empty() || base == "." || base == "..") base = "events";
  return std::string(kEventDumpFolder) + "/" + base;
}
