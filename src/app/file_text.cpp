#include "app/file_text.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "app/char_classes.h"
#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "app/csv_reader.h"

namespace files {

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r'; }

// Copies the decimal number at the start of text (nothing else) and
// converts it in the "C" manner.
double ParseDoubleText(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += static_cast<char>(text[i++]);
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) {
    number += static_cast<char>(text[i++]);
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    number += '.';
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      number += static_cast<char>(text[i++]);
      digits = true;
    }
  }
  if (!digits) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += static_cast<char>(text[j++]);
    bool expDigits = false;
    while (j < text.size() && IsDigit(text[j])) {
      // Long exponents only push the value to 0 or to the range's end.
      if (exponent.size() < 8) exponent += static_cast<char>(text[j]);
      ++j;
      expDigits = true;
    }
    if (expDigits) number += exponent;
  }
  double value = std::strtod(number.c_str(), nullptr);
  if (std::isnan(value)) return 0.0;
  if (value > DBL_MAX) return DBL_MAX;
  if (value < -DBL_MAX) return -DBL_MAX;
  return value;
}

}  // namespace

double ParseDouble(std::wstring_view text) { return ParseDoubleText(text); }
float ParseFloat(std::wstring_view text) { return ToFloat(ParseDouble(text)); }

std::uint32_t ParseHex(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) i += 2;
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    int digit;
    if (IsDigit(c)) {
      digit = c - L'0';
    } else if (c >= L'a' && c <= L'f') {
      digit = c - L'a' + 10;
    } else if (c >= L'A' && c <= L'F') {
      digit = c - L'A' + 10;
    } else {
      break;
    }
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull + 1;
  }
  return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

float ToFloat(double value) {
  if (std::isnan(value)) return 0.0f;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(value);
}

std::wstring CleanFieldText(std::wstring_view text) {
  if (text.empty()) return L"_";
  std::wstring out(text);
  for (wchar_t& c : out) {
    if (c == L';') {
      c = L',';
    } else if (c == L'\r' || c == L'\n') {
      c = L' ';
    }
  }
  return out;
}

std::wstring PathFromPattern(std::wstring_view folderPattern, std::wstring_view fileName) {
  std::wstring path(folderPattern);
  const std::size_t at = path.find(L"%s");
  if (at == std::wstring::npos) {
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += fileName;
  } else {
    path.replace(at, 2, fileName);
  }
  return path;
}

void WriteDataFile(std::wstring_view path, std::string_view bytes) {
  LogLine(L"Opening file for writing...");
  g_ConsoleLog.WriteLine(path);
  if (!plat::WriteFileBytes(plat::ResolvePath(path), bytes)) {
    FatalExit(L"Error opening file for writing");
  }
  LogLine(L"File opened OK");
}

void WriteTextDataFile(std::wstring_view path, std::string_view text) { WriteDataFile(path, plat::ToCrLf(text)); }

std::wstring JoinPath(std::wstring_view folder, std::wstring_view fileName) {
  std::wstring path(folder);
  path += L'\\';
  path += fileName;
  return path;
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
  return plat::WriteFileBytes(plat::ResolvePath(path), bytes);
}

bool ReadBytes(const std::wstring& path, std::string& out) {
  out.clear();
  return plat::ReadFileBytes(plat::ResolvePath(path), out);
}

std::string ReadDataFileOrExit(const std::wstring& path, const sDataFileLines& lines) {
  g_ConsoleLog.WriteLine(lines.opening);
  g_ConsoleLog.WriteLine(path);
  std::string bytes;
  if (!ReadBytes(path, bytes)) FatalExit(lines.failed);
  g_ConsoleLog.WriteLine(lines.opened);
  return bytes;
}

std::unique_ptr<cCsvReader> OpenCsvFileOrExit(const std::wstring& path, const sDataFileLines& lines) {
  g_ConsoleLog.WriteLine(lines.opening);
  g_ConsoleLog.WriteLine(path);
  auto reader = std::make_unique<cCsvReader>(path);
  if (!reader->IsOpened()) FatalExit(lines.failed);
  g_ConsoleLog.WriteLine(lines.opened);
  return reader;
}

std::unique_ptr<cCsvReader> OpenCsvFileOrExit(std::wstring_view folderPattern, std::wstring_view fileName,
                                              const sDataFileLines& lines) {
  return OpenCsvFileOrExit(PathFromPattern(folderPattern, fileName), lines);
}

std::wstring Trim(std::wstring_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::wstring(text.substr(begin, end - begin));
}

std::vector<std::wstring> Split(std::wstring_view line, bool keepEmpty) {
  std::vector<std::wstring> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(L';', start);
    const std::wstring_view field =
        line.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
    if (keepEmpty || !field.empty()) fields.emplace_back(field);
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  return fields;
}

bool StrictInt(std::wstring_view field, int& out) {
  const std::wstring text = Trim(field);
  if (text.empty()) return false;
  std::size_t i = 0;
  bool negative = false;
  if (text[0] == L'+' || text[0] == L'-') {
    negative = text[0] == L'-';
    i = 1;
  }
  if (i == text.size()) return false;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return false;
  out = static_cast<int>(value);
  return true;
}

}  // namespace files
