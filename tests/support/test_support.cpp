#include "support/test_support.h"

#include <unistd.h>

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

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::ostringstream name;
  name << "tidewrack-test-" << ::getpid() << "-" << counter++;
  path_ = std::filesystem::temp_directory_path() / name.str();
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
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

}  // namespace twtest
