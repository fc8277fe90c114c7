// Line splitting, CR LF line ends and whole-file reads and writes.
#include "platform/lines.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/process.h"

namespace plat {

bool LineReader::Next(std::string_view& line) {
  if (pos_ >= data_.size()) return false;
  std::size_t end = data_.find_first_of("\r\n", pos_);
  if (end == std::string_view::npos) end = data_.size();
  std::size_t next = end + 1;
  if (end < data_.size() && data_[end] == '\r' && next < data_.size() && data_[next] == '\n') ++next;
  line = data_.substr(pos_, end - pos_);
  pos_ = next < data_.size() ? next : data_.size();
  ++line_number_;
  return true;
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
    out.push_back(text[i]);
  }
  return out;
}

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

bool ReadFileBytes(const std::string& path, std::string& out) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  std::string bytes;
  char buf[65536];
  for (;;) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, file.get());
    bytes.append(buf, n);
    if (n < sizeof buf) break;
  }
  // A folder opens but fails to read; a read error must not pass as a short file.
  if (std::ferror(file.get())) return false;
  out.swap(bytes);
  return true;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

namespace {

// Removes the temporary files "<path>.tmp-<pid>" that writers killed before
// their rename left beside path: those of processes that no longer run
// (the one of this process's id is this writer's own too). A running
// process's file is its write in progress and stays.
void RemoveDeadWritersTemporaries(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".tmp-";
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 9 || name.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    const std::string digits = name.substr(prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
    if (!IsOtherProcessRunning(std::stoll(digits))) ::unlink(it->path().c_str());
  }
}

}  // namespace

bool ReplaceFileBytes(const std::string& path, std::string_view bytes) {
  // The process id keeps two games converting in one folder apart.
  RemoveDeadWritersTemporaries(path);
  const std::string temp = path + ".tmp-" + std::to_string(::getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      ok = false;
    }
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace plat
