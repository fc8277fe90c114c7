#include "files/save_text.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "app/console_log.h"
#include "files/file_text.h"
#include "platform/lines.h"
#include "platform/paths.h"

namespace savetext {

std::wstring JoinPath(std::wstring_view folder, std::wstring_view fileName) {
  std::wstring path(folder);
  path += L'\\';
  path += fileName;
  return path;
}

std::wstring PatternPath(std::wstring_view folderFormat, std::wstring_view fileName) {
  return files::PathFromPattern(folderFormat, fileName);
}

std::wstring FieldSafe(std::wstring_view text) { return files::CleanFieldText(text); }

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
  return plat::WriteFileBytes(plat::ResolvePath(path), bytes);
}

namespace {

void WriteWithConvention(const std::wstring& path, std::string_view bytes) { files::WriteDataFile(path, bytes); }

}  // namespace

void WriteTextFile(const std::wstring& path, std::string_view text) {
  WriteWithConvention(path, plat::ToCrLf(text));
}

void WriteBinaryFile(const std::wstring& path, std::string_view bytes) { WriteWithConvention(path, bytes); }

bool ReadBytes(const std::wstring& path, std::string& out) {
  out.clear();
  return plat::ReadFileBytes(plat::ResolvePath(path), out);
}

namespace {
bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}
}  // namespace

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

int LeadingInt(std::wstring_view field) { return files::ParseInt(field); }

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

}  // namespace savetext
