#include "support/test_support.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace twtest {

std::filesystem::path FindSourceRoot(const std::string& marker) {
  namespace fs = std::filesystem;
  if (const char* env = std::getenv("TW_SOURCE_DIR")) return env;
  std::error_code ec;
  for (fs::path start : {fs::current_path(ec), fs::read_symlink("/proc/self/exe", ec).parent_path()}) {
    for (fs::path p = start; !p.empty(); p = p.parent_path()) {
      if (fs::exists(p / marker, ec)) return p;
      if (p == p.parent_path()) break;
    }
  }
  return {};
}

namespace {

constexpr char kFolderPrefix[] = "tidewrack-test-";

// Removes the folders of test processes that have ended without removing
// them: a child that a test expects to end the process runs none of its
// own destructors. Folders of processes still running are left alone.
void RemoveFoldersOfEndedProcesses(const std::filesystem::path& temp) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(temp, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(kFolderPrefix, 0) != 0) continue;
    const char* digits = name.c_str() + sizeof kFolderPrefix - 1;
    char* after = nullptr;
    const long pid = std::strtol(digits, &after, 10);
    if (after == digits || *after != '-' || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    std::filesystem::remove_all(it->path(), ignored);
  }
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::ostringstream name;
  name << kFolderPrefix << ::getpid() << "-" << counter++;
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  RemoveFoldersOfEndedProcesses(temp);
  path_ = temp / name.str();
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  RemoveFoldersOfEndedProcesses(path_.parent_path());
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  const auto full = path_ / name;
  std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full.string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WithoutSaveClock(const std::string& fileName, std::string bytes) {
  const auto eraseToLineEnd = [&bytes](std::size_t from) {
    if (from != std::string::npos) bytes.erase(from, bytes.find_first_of("\r\n", from) - from);
  };
  if (fileName == "Info.ini") {
    const std::size_t date = bytes.find("\nDate = ");
    eraseToLineEnd(date == std::string::npos ? date : date + 1);
  } else if (fileName == "save_complete.txt") {
    const std::size_t line = bytes.find("Info.ini;");
    eraseToLineEnd(line == std::string::npos ? line : bytes.find(";fnv1a64=", line));
  }
  return bytes;
}

}  // namespace twtest
