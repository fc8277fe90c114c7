// Helpers shared by the test programs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace twtest {

// The source tree: TW_SOURCE_DIR, or the first folder above the working
// folder or the program that holds marker (a path inside the tree); empty
// when none does.
std::filesystem::path FindSourceRoot(const std::string& marker);

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Path of name inside the folder, as text.
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // Writes bytes to name inside the folder (folders made as needed).
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// Makes a folder the working folder for the scope (the game's data paths
// are relative to it) and goes back afterwards.
class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~ScopedWorkingFolder() { std::filesystem::current_path(previous_); }
  ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
  ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

// A fresh temporary folder that is the working folder for the scope: what a
// test writes through the game's relative paths ("data\...") lands in it.
class TempWorkingFolder : public TempDir {
 private:
  ScopedWorkingFolder folder_{Path()};
};

// Sends the program's log to a file of its own for the scope of a test and
// reads it back; restores "ConsoleOut.txt" of the working folder afterwards.
// The log is app's: this part lives in tw_test_support, which the platform
// layer's test programs do not link (they link tw_test_base).
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // The file's raw bytes.
  std::string Bytes() const;
  // The lines written so far (UTF-16LE decoded, split at CR LF; a leading
  // byte-order mark is dropped).
  std::vector<std::wstring> Lines() const;
  // True when some line equals text.
  bool Contains(const std::wstring& text) const;

 private:
  TempDir dir_;
  std::string file_;
  std::string previous_;
};

std::string ReadFile(const std::string& path);

// A saved game's file (its name and bytes) with the wall clock left out, to
// compare two saves of one game: Info.ini's line "Date = ..." and, in the
// record of the save's files, Info.ini's checksum, which follows it.
std::string WithoutSaveClock(const std::string& fileName, std::string bytes);

// The first bytes of a PNG file of the given size: all the recording
// renderer reads of a picture.
inline std::string PngHeader(std::uint32_t w, std::uint32_t h) {
  std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (std::uint32_t v : {w, h}) {
    for (int shift = 24; shift >= 0; shift -= 8) s.push_back(static_cast<char>((v >> shift) & 0xFF));
  }
  return s + std::string("\x08\x06\0\0\0", 5);
}

}  // namespace twtest
