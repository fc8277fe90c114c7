// The folders of a save folder ("data\save", "data\pbem") and the copies a
// save leaves beside its target while it runs: "<name>.tmp-<pid>" (the new
// save being written) and "<name>.old-<pid>" (the previous save stepped
// aside during the swap). A process that dies in the middle of a save leaves
// such copies behind; they are never saved games themselves, but a complete
// one stands in for its save when the save's own folder is missing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file a save writes last into its folder: one line per file written
// before it, "<file>;<size>;fnv1a64=<checksum>;rows=<rows>" (the checksum of
// its bytes as 16 hexadecimal digits; the rows of a table as
// files/save_rows.h counts them, for tables only). Saves of older versions
// wrote "<file>;<size>;fnv1a64=<checksum>" or "<file>;<size>" alone, which
// still read. A copy holding it, and every file it names as it names it, is
// complete.
inline constexpr const wchar_t* kSaveCompleteMarker = L"save_complete.txt";

// A copy's folder name taken apart.
struct sSaveCopyName {
  std::wstring saveName;
  // True for ".tmp-", false for ".old-".
  bool temporary = false;
  long long pid = 0;
};

// The parts of "<name>.tmp-<pid>" or "<name>.old-<pid>"; nothing for any
// other folder name.
std::optional<sSaveCopyName> ParseSaveCopyName(std::wstring_view folderName);
// "<name>.tmp-<pid>" and "<name>.old-<pid>" of this process.
std::wstring SaveCopyName(std::wstring_view saveName, bool temporary);

// One file the marker names: its name in the folder, the size the save
// wrote, the checksum of its bytes and the rows of a table (none in an
// older save's marker).
struct sMarkedFile {
  std::wstring name;
  std::uintmax_t size = 0;
  std::optional<std::uint64_t> checksum;
  std::optional<std::uint32_t> rows;
};

// The checksum the marker keeps of a file's bytes: FNV-1a of 64 bits, which
// sees every change of one byte and almost surely any other.
std::uint64_t SaveFileChecksum(std::string_view bytes);
// The marker's line of a file of these bytes (its rows counted when it is
// a table), with its CR LF.
std::string SaveMarkerLine(std::wstring_view file, std::string_view bytes);

// The files every save writes into its folder, whatever its version wrote
// the marker with.
inline constexpr const wchar_t* kSavedGameFiles[] = {
    L"ai_data.csv",     L"air_units.csv",       L"cities.csv",         L"sea_nodes.csv",
    L"cities_supply_info.csv", L"cities_convoy_info.csv", L"commanders.csv", L"convoys.csv",
    L"countries.csv",   L"flags.txt",           L"fleets.csv",         L"land_units.csv",
    L"losses.csv",      L"map.tdw",             L"Info.ini",           L"naval_units.csv",
    L"relations.csv",   L"topography.csv",      L"unit_names.csv",     L"airship_attacks.csv",
    L"airrecon_units.csv", L"reports.dat",      L"auto_events.csv",
};

// The marker as far as it reads: the files its lines name, each line that
// reads in its order, and whether the marker reads whole. It reads whole
// when it holds a line, every line reads and ends with its line end, the
// lines are all of one form (the size alone; the size and the checksum; or
// the size, the checksum and the rows of every table and of no other file),
// no file is named twice and no file of kSavedGameFiles is left out (of a
// marker of the current form, with rows, that names one of them: none; of
// an older form's: none that the folder holds): a marker cut short, at a
// line end or inside a line, or one that lost a file's line with the file,
// does not. A UTF-8 byte-order mark before it is passed over.
struct sSaveMarker {
  std::vector<sMarkedFile> files;
  bool whole = false;
};
// Nothing when the folder holds no marker or its bytes cannot be read.
std::optional<sSaveMarker> ReadSaveMarkerLines(const std::wstring& folder);
// The files the folder's marker names, in its order, when the marker reads
// whole; nothing when the folder holds no marker, or one that does not read
// whole (a line without "<file>;<size>", a name with a path or a control
// character, no line, a line cut short, a file left out). A line may go on
// with ";fnv1a64=" and 16 hexadecimal digits, the checksum, and then with
// ";rows=" and the rows.
std::optional<std::vector<sMarkedFile>> ReadSaveMarker(const std::wstring& folder);
// True when the folder holds a marker, whether it reads or not.
bool HasSaveMarker(const std::wstring& folder);

// How a file the marker names stands in the folder.
enum class eMarkedFileState {
  kAsMarked,  // there at its size, and of its checksum where the marker keeps one
  kChanged,   // there, but of another size or checksum (a hand edit, say)
  kMissing,   // not there, or its size or bytes cannot be read
};
eMarkedFileState MarkedFileState(const std::wstring& folder, const sMarkedFile& file);

// The first file of the list that is not in the folder as marked (its size
// and checksum); nothing when each one is.
std::optional<sMarkedFile> FirstFileNotAsMarked(const std::wstring& folder, const std::vector<sMarkedFile>& marked);

// True when the folder holds the marker and every file the marker names,
// each as marked.
bool IsCompleteSaveCopy(const std::wstring& folder);

// What to do with the copies of a dead process.
enum class eLeftoverAction {
  // Only bring a missing save back from its newest complete copy.
  kRecoverOnly,
  // Bring a missing save back, then remove every other copy of a process
  // that no longer runs (a log line for each).
  kRecoverAndRemove,
};

// Tidies the copies in the save folder root ("data\save"): every save
// whose own folder is missing while a complete copy of a process that no
// longer runs is there takes that copy back under its name (the newest one
// when there are several; a log line). With kRecoverAndRemove the remaining
// copies of processes that no longer run are removed. Copies of a running
// process are left alone. With a save name, only that save's copies.
void TidySaveCopies(const std::wstring& root, eLeftoverAction action, std::wstring_view onlySaveName = {});

// At the start of the game: TidySaveCopies with kRecoverAndRemove over
// "data\save" and "data\pbem".
void TidySaveCopiesAtStart();

// The saved games of the folder root, sorted: every folder that is not a
// copy and not hidden, after missing saves were brought back from their
// complete copies.
std::vector<std::wstring> ListSaveFolders(const std::wstring& root);

// Before a saved game loads from its folder pattern ("data\save\<name>\%s"):
// when the folder is missing, it is brought back from a complete copy.
void RecoverSaveFolderOf(std::wstring_view folderPattern);

// Flushes a file or a folder (its entries) to the disk: 0, or the error
// number of the open or the fsync that failed.
int FlushToDisk(const std::wstring& path);
// Flushes everything written to the file system that holds path (its files'
// data and its folders' entries) in one go; 0, or the error number.
int FlushFileSystemOf(const std::wstring& path);
