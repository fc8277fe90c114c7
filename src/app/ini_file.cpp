#include "app/ini_file.h"

#include <climits>
#include <vector>

#include "app/console_log.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// The section part of a path: the text before its first '/', or the whole
// path when the slash is missing, first or last.
std::string_view SectionOf(std::string_view path) {
  const std::size_t slash = path.find('/');
  if (slash == std::string_view::npos || slash == 0 || slash + 1 == path.size()) return path;
  return path.substr(0, slash);
}

// Decimal text to int the way atoi reads it (leading blanks, an optional
// sign, digits up to the first non-digit, 0 when none); values beyond the
// range of int stop at its limits instead of overflowing.
int ParseInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;  // later digits cannot bring it back
  }
  if (negative) return static_cast<int>(-value);  // -kLimit is INT_MIN
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// Windows wrote the file in text mode: every line end becomes CR LF.
void AppendText(std::string& out, std::string_view text) { out += plat::ToCrLf(text); }

}  // namespace

void cIniFile::Load(std::wstring_view fileName) {
  entries_.clear();
  fileName_.assign(fileName);
  loaded_ = false;
  LogLine(L"Loading INI file %s ...", fileName_);

  std::string data;
  if (!plat::ReadFileBytes(plat::ResolvePath(plat::ToUtf8(fileName_)), data)) {
    LogLine(L"ERROR during opening INI file %s", fileName_);
    return;
  }

  std::string comment;
  std::string prefix;
  std::string path;
  std::string_view rest(data);
  while (!rest.empty()) {
    // A line ends at CR LF, LF or CR.
    const std::size_t lf = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, lf);
    rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);

    line = Trim(line);
    if (line.empty()) continue;
    if (line.front() == ';' || line.front() == '#') {
      comment.append(line);
      comment += '\n';
      continue;
    }
    if (line.front() == '[') {
      // The last character is taken for the closing bracket without a look.
      const std::string name(line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view());
      entries_.insert_or_assign(name, Entry{std::move(comment), std::nullopt});
      comment.clear();
      prefix = name + '/';
      continue;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;  // its comment waits for the next entry
    path = prefix;
    path.append(line.substr(0, eq));
    const std::string value(Trim(line.substr(eq + 1)));
    entries_.insert_or_assign(std::string(Trim(path)), Entry{std::move(comment), value});
    comment.clear();
  }

  LogLine(L"Loaded");
  loaded_ = true;
}

void cIniFile::Save(bool createMissing) {
  if (!loaded_ && !(createMissing && !fileName_.empty() && !plat::FileExists(plat::ToUtf8(fileName_)))) {
    return;
  }

  // Each key goes under the longest section whose name and a '/' begin its
  // path, with the rest of the path as its name; keys that no section claims
  // are written first, before any section line, under their whole path. So
  // a saved file loads back into the same sections and keys, which writing
  // the table in plain path order would not give: "Main X" sorts between
  // "Main" and "Main/Key" and would take Main's keys.
  std::vector<const Table::value_type*> bareKeys;
  std::map<std::string_view, std::vector<const Table::value_type*>> keysOf;
  for (const auto& item : entries_) {
    if (!item.second.value) continue;
    const std::string_view path = item.first;
    bool owned = false;
    for (std::size_t slash = path.rfind('/'); slash != std::string_view::npos;
         slash = slash == 0 ? std::string_view::npos : path.rfind('/', slash - 1)) {
      const auto section = entries_.find(path.substr(0, slash));
      if (section != entries_.end() && !section->second.value) {
        keysOf[section->first].push_back(&item);
        owned = true;
        break;
      }
    }
    if (!owned) bareKeys.push_back(&item);
  }

  std::string out;
  auto writeKey = [&out](std::string_view name, const Entry& entry) {
    AppendText(out, entry.comment);
    AppendText(out, name);
    out += " = ";
    AppendText(out, *entry.value);
    AppendText(out, "\n");
  };
  for (const auto* key : bareKeys) writeKey(key->first, key->second);
  for (const auto& [name, entry] : entries_) {
    if (entry.value) continue;
    AppendText(out, "\n");
    AppendText(out, entry.comment);
    out += '[';
    AppendText(out, name);
    AppendText(out, "]\n");
    const auto keys = keysOf.find(name);
    if (keys == keysOf.end()) continue;
    for (const auto* key : keys->second) {
      writeKey(std::string_view(key->first).substr(name.size() + 1), key->second);
    }
  }

  if (!plat::WriteFileBytes(plat::ResolvePath(plat::ToUtf8(fileName_)), out)) {
    LogLine(L"ERROR during saving INI file %s", fileName_);
    return;
  }
  loaded_ = true;  // the file now exists and holds the table
}

void cIniFile::FindKey(std::string_view path) {
  const std::string_view section = SectionOf(path);
  if (entries_.find(section) == entries_.end()) entries_.emplace(std::string(section), Entry{});
}

const std::string& cIniFile::ValueOrDefault(std::string_view path, std::string_view defaultText) {
  FindKey(path);
  auto it = entries_.find(path);
  if (it == entries_.end()) {
    it = entries_.emplace(std::string(path), Entry{}).first;
  }
  // A section entry of the same name (a bare path names its own section)
  // becomes the key, keeping its comment.
  if (!it->second.value) it->second.value.emplace(defaultText);
  return *it->second.value;
}

void cIniFile::StoreValue(std::string_view path, std::string text) {
  FindKey(path);
  auto it = entries_.find(path);
  if (it == entries_.end()) it = entries_.emplace(std::string(path), Entry{}).first;
  it->second.value = std::move(text);
}

std::wstring cIniFile::GetString(std::string_view path, std::wstring_view defaultValue) {
  return plat::WidenBytes(ValueOrDefault(path, plat::NarrowBytes(defaultValue)));
}

void cIniFile::SetString(std::string_view path, std::wstring_view text) {
  StoreValue(path, plat::NarrowBytes(text));
}

int cIniFile::GetInt(std::string_view path, int defaultValue) {
  return ParseInt(ValueOrDefault(path, std::to_string(defaultValue)));
}

void cIniFile::SetInt(std::string_view path, int value) { StoreValue(path, std::to_string(value)); }

bool cIniFile::GetBool(std::string_view path, bool defaultValue) {
  const std::string& value = ValueOrDefault(path, defaultValue ? "true" : "false");
  return value == "true" || value == "yes";
}

void cIniFile::SetBool(std::string_view path, bool value) { StoreValue(path, value ? "true" : "false"); }
