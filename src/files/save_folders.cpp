#include "files/save_folders.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cwctype>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

#include "app/console_log.h"
#include "app/file_text.h"
#include "files/save_rows.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace {

constexpr std::wstring_view kTempTag = L".tmp-";
constexpr std::wstring_view kOldTag = L".old-";

fs::path DiskPath(const std::wstring& path) { return fs::path(plat::ResolvePath(path)); }

// The third field of a marker line: the tag, then the checksum in 16
// hexadecimal digits. A line of the older form ends in its size, digits
// alone, so a line ending in this field is of the present form.
constexpr char kChecksumTag[] = "fnv1a64=";
constexpr std::size_t kChecksumDigits = 16;

// The fourth field of a marker line: the tag, then the rows in decimal.
constexpr char kRowsTag[] = "rows=";

// The rows that end the line, which then loses its field; nothing (and the
// line as it was) for a line without them.
std::optional<std::uint32_t> TakeRows(std::string& line) {
  const std::size_t semicolon = line.rfind(';');
  if (semicolon == std::string::npos) return std::nullopt;
  const std::string_view field = std::string_view(line).substr(semicolon + 1);
  const std::string_view tag(kRowsTag);
  if (field.size() <= tag.size() || field.size() > tag.size() + 9 || field.substr(0, tag.size()) != tag) {
    return std::nullopt;
  }
  std::uint32_t rows = 0;
  for (const char c : field.substr(tag.size())) {
    if (c < '0' || c > '9') return std::nullopt;
    rows = rows * 10 + static_cast<std::uint32_t>(c - '0');
  }
  line.resize(semicolon);
  return rows;
}

// The checksum that ends the line, which then loses its field; nothing (and
// the line as it was) for a line of the older form.
std::optional<std::uint64_t> TakeChecksum(std::string& line) {
  const std::size_t semicolon = line.rfind(';');
  if (semicolon == std::string::npos) return std::nullopt;
  const std::string_view field = std::string_view(line).substr(semicolon + 1);
  const std::string_view tag(kChecksumTag);
  if (field.size() != tag.size() + kChecksumDigits || field.substr(0, tag.size()) != tag) return std::nullopt;
  std::uint64_t checksum = 0;
  for (const char c : field.substr(tag.size())) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return std::nullopt;
    checksum = checksum << 4 | static_cast<std::uint64_t>(digit);
  }
  line.resize(semicolon);
  return checksum;
}

// The entries of a folder by name (UTF-8 decoded); empty when it cannot be
// read.
std::vector<std::pair<std::wstring, bool>> FolderEntries(const std::wstring& root) {
  std::vector<std::pair<std::wstring, bool>> entries;
  std::error_code error;
  fs::directory_iterator it(DiskPath(root), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    const bool folder = it->is_directory(typeError) && !typeError;
    entries.emplace_back(plat::FromUtf8(it->path().filename().string()), folder);
  }
  return entries;
}

bool EntryExists(const std::wstring& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(DiskPath(path), ec));
}

struct sCopy {
  std::wstring folderName;
  sSaveCopyName name;
};

// The marker's time, for the choice of the newest complete copy.
fs::file_time_type MarkerTime(const std::wstring& folder) {
  std::error_code ec;
  const fs::file_time_type time = fs::last_write_time(DiskPath(files::JoinPath(folder, kSaveCompleteMarker)), ec);
  return ec ? fs::file_time_type::min() : time;
}

// Brings the save back from its newest complete copy of a dead process;
// true when it did.
bool RecoverFromCopies(const std::wstring& root, const std::wstring& saveName, const std::vector<sCopy>& copies) {
  const sCopy* best = nullptr;
  fs::file_time_type bestTime = fs::file_time_type::min();
  for (const sCopy& copy : copies) {
    if (plat::IsOtherProcessRunning(copy.name.pid)) continue;
    const std::wstring folder = files::JoinPath(root, copy.folderName);
    if (!IsCompleteSaveCopy(folder)) continue;
    const fs::file_time_type time = MarkerTime(folder);
    // The newest wins; of equal ones the new save rather than the old.
    if (best == nullptr || time > bestTime || (time == bestTime && copy.name.temporary && !best->name.temporary)) {
      best = &copy;
      bestTime = time;
    }
  }
  if (best == nullptr) return false;
  const std::wstring from = files::JoinPath(root, best->folderName);
  const std::wstring to = files::JoinPath(root, saveName);
  std::error_code ec;
  fs::rename(DiskPath(from), DiskPath(root) / fs::path(plat::ToUtf8(saveName)), ec);
  if (ec) {
    g_ConsoleLog.WriteLine(L"WARNING: cannot recover save " + to + L" from " + from);
    return false;
  }
  FlushToDisk(root);
  g_ConsoleLog.WriteLine(L"Save " + to + L" recovered from its complete copy " + from);
  return true;
}

}  // namespace

std::optional<sSaveCopyName> ParseSaveCopyName(std::wstring_view folderName) {
  for (const std::wstring_view tag : {kTempTag, kOldTag}) {
    const std::size_t at = folderName.rfind(tag);
    if (at == std::wstring_view::npos || at == 0) continue;
    const std::wstring_view digits = folderName.substr(at + tag.size());
    // A process id: 1 to 18 digits (no sign, no blank).
    if (digits.empty() || digits.size() > 18) continue;
    if (!std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) continue;
    sSaveCopyName name;
    name.saveName = std::wstring(folderName.substr(0, at));
    name.temporary = tag == kTempTag;
    for (const wchar_t c : digits) name.pid = name.pid * 10 + (c - L'0');
    return name;
  }
  return std::nullopt;
}

std::wstring SaveCopyName(std::wstring_view saveName, bool temporary) {
  std::wstring name(saveName);
  name += temporary ? kTempTag : kOldTag;
  name += std::to_wstring(static_cast<long long>(::getpid()));
  return name;
}

std::uint64_t SaveFileChecksum(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

std::string SaveMarkerLine(std::wstring_view file, std::string_view bytes) {
  std::string line = plat::FormatNarrow("%s;%llu;%s%016llx", plat::ToUtf8(file).c_str(),
                                        static_cast<unsigned long long>(bytes.size()), kChecksumTag,
                                        static_cast<unsigned long long>(SaveFileChecksum(bytes)));
  if (const std::optional<std::uint32_t> rows = SaveFileRows(file, bytes)) {
    line += plat::FormatNarrow(";%s%u", kRowsTag, static_cast<unsigned>(*rows));
  }
  return line + "\r\n";
}

namespace {

// The file a marker line names, with what the line keeps of it; nothing for
// a line that does not read.
std::optional<sMarkedFile> ReadMarkerLine(std::string line) {
  const std::optional<std::uint32_t> rows = TakeRows(line);
  const std::optional<std::uint64_t> checksum = TakeChecksum(line);
  // The rows come after a checksum only.
  if (rows && !checksum) return std::nullopt;
  const std::size_t semicolon = line.rfind(';');
  if (semicolon == std::string::npos || semicolon == 0 || semicolon + 1 == line.size()) return std::nullopt;
  const std::string sizeText = line.substr(semicolon + 1);
  if (sizeText.size() > 18 ||
      !std::all_of(sizeText.begin(), sizeText.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  // A marker names the files of its own folder only: no path, and no
  // control character (a NUL would cut the name short on its way to the
  // file system).
  const std::string name = line.substr(0, semicolon);
  if (name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos ||
      std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    return std::nullopt;
  }
  return sMarkedFile{plat::FromUtf8(name), std::stoull(sizeText), checksum, rows};
}

// Whether the lines are of one form: each keeps the size alone, each the
// size and the checksum, or each the size and the checksum and every table
// its rows as well (no other file has rows).
bool OfOneForm(const std::vector<sMarkedFile>& marked) {
  const bool checksums = marked.front().checksum.has_value();
  const bool rows = std::any_of(marked.begin(), marked.end(), [](const sMarkedFile& f) { return f.rows; });
  return std::all_of(marked.begin(), marked.end(), [&](const sMarkedFile& file) {
    return file.checksum.has_value() == checksums && file.rows.has_value() == (rows && IsRowCountedFile(file.name));
  });
}

// Whether the marker names each file once, and every file of a save: a
// marker whose lines keep rows was written by a version that writes every
// file of kSavedGameFiles into a game's save, so one that names any of them
// names them all, whether the folder still holds them or not (a file
// deleted with its line was lost); an older one names every such file that
// the folder holds.
bool NamesEverySavedFileOnce(const std::wstring& folder, const std::vector<sMarkedFile>& marked) {
  std::vector<std::wstring> names;
  for (const sMarkedFile& file : marked) names.push_back(file.name);
  std::sort(names.begin(), names.end());
  if (std::adjacent_find(names.begin(), names.end()) != names.end()) return false;
  const auto named = [&names](const wchar_t* file) {
    return std::binary_search(names.begin(), names.end(), std::wstring(file));
  };
  const bool currentForm = std::any_of(marked.begin(), marked.end(), [](const sMarkedFile& f) { return f.rows; });
  const bool allNamed = currentForm && std::any_of(std::begin(kSavedGameFiles), std::end(kSavedGameFiles), named);
  return std::all_of(std::begin(kSavedGameFiles), std::end(kSavedGameFiles), [&](const wchar_t* file) {
    return named(file) || (!allNamed && !EntryExists(files::JoinPath(folder, file)));
  });
}

}  // namespace

std::optional<sSaveMarker> ReadSaveMarkerLines(const std::wstring& folder) {
  std::string text;
  if (!files::ReadBytes(files::JoinPath(folder, kSaveCompleteMarker), text)) return std::nullopt;
  std::string_view marker(text);
  if (marker.substr(0, 3) == "\xEF\xBB\xBF") marker.remove_prefix(3);
  sSaveMarker read;
  // A marker that stops inside a line lost its end.
  read.whole = !marker.empty() && marker.back() == '\n';
  std::size_t at = 0;
  while (at < marker.size()) {
    std::size_t end = marker.find('\n', at);
    if (end == std::string::npos) end = marker.size();
    std::string line(marker.substr(at, end - at));
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (std::optional<sMarkedFile> file = ReadMarkerLine(std::move(line))) {
      read.files.push_back(std::move(*file));
    } else {
      read.whole = false;
    }
  }
  read.whole = read.whole && !read.files.empty() && OfOneForm(read.files) &&
               NamesEverySavedFileOnce(folder, read.files);
  return read;
}

std::optional<std::vector<sMarkedFile>> ReadSaveMarker(const std::wstring& folder) {
  std::optional<sSaveMarker> marker = ReadSaveMarkerLines(folder);
  if (!marker || !marker->whole) return std::nullopt;
  return std::move(marker->files);
}

bool HasSaveMarker(const std::wstring& folder) { return EntryExists(files::JoinPath(folder, kSaveCompleteMarker)); }

eMarkedFileState MarkedFileState(const std::wstring& folder, const sMarkedFile& file) {
  const std::wstring path = files::JoinPath(folder, file.name);
  std::error_code ec;
  const fs::path disk = DiskPath(path);
  const bool present = fs::is_regular_file(disk, ec);
  const std::uintmax_t size = present ? fs::file_size(disk, ec) : 0;
  // A file whose size cannot be read is as good as gone.
  if (!present || ec) return eMarkedFileState::kMissing;
  if (size != file.size) return eMarkedFileState::kChanged;
  if (!file.checksum) return eMarkedFileState::kAsMarked;
  std::string bytes;
  if (!files::ReadBytes(path, bytes)) return eMarkedFileState::kMissing;
  return bytes.size() == file.size && SaveFileChecksum(bytes) == *file.checksum ? eMarkedFileState::kAsMarked
                                                                                 : eMarkedFileState::kChanged;
}

std::optional<sMarkedFile> FirstFileNotAsMarked(const std::wstring& folder, const std::vector<sMarkedFile>& marked) {
  for (const sMarkedFile& file : marked) {
    if (MarkedFileState(folder, file) != eMarkedFileState::kAsMarked) return file;
  }
  return std::nullopt;
}

bool IsCompleteSaveCopy(const std::wstring& folder) {
  const std::optional<std::vector<sMarkedFile>> marked = ReadSaveMarker(folder);
  return marked && !FirstFileNotAsMarked(folder, *marked);
}

void TidySaveCopies(const std::wstring& root, eLeftoverAction action, std::wstring_view onlySaveName) {
  std::map<std::wstring, std::vector<sCopy>> copiesOf;
  for (const auto& [entryName, folder] : FolderEntries(root)) {
    if (!folder) continue;
    std::optional<sSaveCopyName> name = ParseSaveCopyName(entryName);
    if (!name || (!onlySaveName.empty() && name->saveName != onlySaveName)) continue;
    copiesOf[name->saveName].push_back(sCopy{entryName, std::move(*name)});
  }
  for (const auto& [saveName, copies] : copiesOf) {
    if (!EntryExists(files::JoinPath(root, saveName))) RecoverFromCopies(root, saveName, copies);
    if (action != eLeftoverAction::kRecoverAndRemove) continue;
    for (const sCopy& copy : copies) {
      const std::wstring folder = files::JoinPath(root, copy.folderName);
      // A running process's copies are its save in progress; the copy
      // taken back is no longer there.
      if (plat::IsOtherProcessRunning(copy.name.pid) || !EntryExists(folder)) continue;
      std::error_code ec;
      fs::remove_all(DiskPath(folder), ec);
      if (ec) {
        g_ConsoleLog.WriteLine(L"WARNING: cannot remove leftover save folder " + folder);
      } else {
        g_ConsoleLog.WriteLine(plat::Format(L"Removed leftover save folder %s of process %i, which no longer runs",
                                            folder, static_cast<int>(copy.name.pid)));
      }
    }
  }
}

void TidySaveCopiesAtStart() {
  for (const wchar_t* root : {L"data\\save", L"data\\pbem"}) TidySaveCopies(root, eLeftoverAction::kRecoverAndRemove);
}

std::vector<std::wstring> ListSaveFolders(const std::wstring& root) {
  TidySaveCopies(root, eLeftoverAction::kRecoverOnly);
  std::vector<std::wstring> names;
  for (const auto& [name, folder] : FolderEntries(root)) {
    // Hidden folders, "." and ".." among them, are never saves; nor are
    // the copies a save makes while it runs.
    if (!folder || name.empty() || name[0] == L'.' || ParseSaveCopyName(name)) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void RecoverSaveFolderOf(std::wstring_view folderPattern) {
  std::wstring folder(folderPattern);
  if (folder.size() >= 2 && folder.compare(folder.size() - 2, 2, L"%s") == 0) folder.resize(folder.size() - 2);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  const std::size_t slash = folder.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash + 1 == folder.size() || EntryExists(folder)) return;
  const std::wstring saveName = folder.substr(slash + 1);
  TidySaveCopies(folder.substr(0, slash), eLeftoverAction::kRecoverOnly, saveName);
}

int FlushFileSystemOf(const std::wstring& path) {
  const std::string disk = plat::ResolvePath(path);
  const int fd = ::open(disk.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int result = ::syncfs(fd) == 0 ? 0 : errno;
  ::close(fd);
  return result;
}

int FlushToDisk(const std::wstring& path) {
  const std::string disk = plat::ResolvePath(path);
  const int fd = ::open(disk.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int result = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return result;
}
