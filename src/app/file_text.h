// Small pieces shared by the scenario and save-game file readers and
// writers: the number parses of the readers, the cleaning of names written
// into rows, file names from folder patterns and the writing of a whole
// data file with the save log lines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class cCsvReader;

namespace files {

// Decimal number from the start of text (sign, digits, point, exponent);
// no number gives 0. Never infinite or NaN.
double ParseDouble(std::wstring_view text);
// The same, brought into the range of a 32-bit float.
float ParseFloat(std::wstring_view text);
// Base-16 number from the start of text (optional "0x"); beyond 32 bits it
// stops at 0xFFFFFFFF.
std::uint32_t ParseHex(std::wstring_view text);
// A double (finite) as a float, kept within the float range.
float ToFloat(double value);
// The whole part of a double, within the 32-bit range (NaN gives 0).
int TruncateToInt(double value);

// A name as it may stand in a ";"-separated row: ";" becomes ",", CR and LF
// become blanks, and an empty name becomes "_" so that it still fills its
// column (the readers drop empty fields).
std::wstring CleanFieldText(std::wstring_view text);

// The folder pattern with its "%s" replaced by the file name (appended
// after a backslash when the pattern has none).
std::wstring PathFromPattern(std::wstring_view folderPattern, std::wstring_view fileName);

// Writes a whole data file: logs "Opening file for writing..." and the path,
// writes the bytes and logs "File opened OK"; when the file cannot be
// written, logs "Error opening file for writing" and ends the process.
void WriteDataFile(std::wstring_view path, std::string_view bytes);
// The same for text: every LF that is not already after a CR becomes CR LF.
void WriteTextDataFile(std::wstring_view path, std::string_view text);
// Writes without any log line; false on failure.
bool WriteBytes(const std::wstring& path, std::string_view bytes);
// The whole file; false when it cannot be opened or read.
bool ReadBytes(const std::wstring& path, std::string& out);

// How a reader opens its data file: the log lines before and after, and the
// line a missing file ends the process with.
struct sDataFileLines {
  std::wstring_view opening;
  std::wstring_view failed = L"Blad otwarcia pliku! (nie istnieje?)";
  std::wstring_view opened = L"Otwarcie OK";
};
// Logs the opening line and the path, reads the whole file and logs the
// opened line; a file that cannot be read logs the failed line and ends the
// process (FatalExit).
std::string ReadDataFileOrExit(const std::wstring& path, const sDataFileLines& lines);
// The same for a semicolon-separated file read record by record.
std::unique_ptr<cCsvReader> OpenCsvFileOrExit(const std::wstring& path, const sDataFileLines& lines);
// The same for a file of a folder given as a path pattern (one "%s").
std::unique_ptr<cCsvReader> OpenCsvFileOrExit(std::wstring_view folderPattern, std::wstring_view fileName,
                                              const sDataFileLines& lines);

// "<folder>\<file>".
std::wstring JoinPath(std::wstring_view folder, std::wstring_view fileName);
// Blanks (space, tab, CR, LF, vertical tab, form feed) cut from both ends.
std::wstring Trim(std::wstring_view text);
// Fields between ';'. keepEmpty false drops empty fields, so a run of ';'
// separates like one.
std::vector<std::wstring> Split(std::wstring_view line, bool keepEmpty);
// The whole field (blanks around it allowed) must be a decimal integer
// within int; false otherwise.
bool StrictInt(std::wstring_view field, int& out);

}  // namespace files
