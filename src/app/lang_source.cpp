#include "app/lang_source.h"

#include <cstdint>
#include <unordered_map>

#include "platform/lines.h"
#include "platform/text.h"

namespace {

constexpr std::size_t kMaxKeyBytes = 255;
constexpr std::size_t kMaxTextUnits = 65535;

// Units of c in UTF-16 as plat::AppendUtf16LE writes it (a value past
// U+10FFFF becomes one replacement character).
std::size_t Utf16Units(wchar_t c) {
  const auto v = static_cast<char32_t>(c);
  return v >= 0x10000 && v <= 0x10FFFF ? 2 : 1;
}

std::size_t Utf16Units(std::wstring_view text) {
  std::size_t n = 0;
  for (wchar_t c : text) n += Utf16Units(c);
  return n;
}

bool Fail(sLangSourceError& error, std::size_t line, std::string message) {
  error.line = line;
  error.message = std::move(message);
  return false;
}

// The text part of a line with its escapes resolved.
bool ParseText(std::string_view raw, std::wstring& text, std::string& message) {
  text.clear();
  std::size_t i = 0;
  while (i < raw.size()) {
    const unsigned char b = static_cast<unsigned char>(raw[i]);
    if (b == '\\') {
      if (i + 1 >= raw.size()) {
        message = "backslash at the end of the line (write \\\\ for a backslash)";
        return false;
      }
      const char e = raw[i + 1];
      if (e == 'n') text.push_back(L'\n');
      else if (e == 't') text.push_back(L'\t');
      else if (e == '\\') text.push_back(L'\\');
      else {
        message = "unknown escape \\";
        message += e;
        message += " (known: \\n \\t \\\\)";
        return false;
      }
      i += 2;
      continue;
    }
    if (b < 0x20) {
      message = "control character in the text (write \\t for a tab)";
      return false;
    }
    char32_t c;
    if (!plat::DecodeUtf8(raw, i, c)) {
      message = "invalid UTF-8";
      return false;
    }
    text.push_back(static_cast<wchar_t>(c));
  }
  return true;
}

}  // namespace

bool ParseLangSource(std::string_view source, std::vector<sLangText>& texts, sLangSourceError& error) {
  if (source.substr(0, 3) == "\xEF\xBB\xBF") source.remove_prefix(3);

  std::unordered_map<std::string, std::size_t> first_line;
  plat::LineReader reader(source);
  std::string_view line;
  std::wstring text;
  std::string message;
  while (reader.Next(line)) {
    const std::size_t number = reader.LineNumber();
    if (line.empty() || line[0] == '#') continue;

    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return Fail(error, number, "malformed line: expected key, TAB, text");
    const std::string_view key = line.substr(0, tab);
    if (key.empty()) return Fail(error, number, "empty key");
    if (key.size() > kMaxKeyBytes) return Fail(error, number, "key longer than 255 bytes");
    for (const char ch : key) {
      const auto b = static_cast<unsigned char>(ch);
      if (b <= 0x20 || b >= 0x7F) return Fail(error, number, "key must be printable ASCII without spaces");
    }
    if (!ParseText(line.substr(tab + 1), text, message)) return Fail(error, number, message);
    if (Utf16Units(text) > kMaxTextUnits) return Fail(error, number, "text longer than 65535 UTF-16 units");

    const auto [it, inserted] = first_line.try_emplace(std::string(key), number);
    if (!inserted) {
      return Fail(error, number,
                  "duplicate key '" + std::string(key) + "' (first on line " + std::to_string(it->second) + ")");
    }
    texts.push_back(sLangText{std::string(key), text, number});
  }
  return true;
}

bool BuildLangBase(const std::vector<sLangText>& texts, std::string& out) {
  std::size_t bytes = 9;
  for (const auto& t : texts) {
    const std::size_t units = Utf16Units(t.text);
    if (t.key.size() > kMaxKeyBytes || units > kMaxTextUnits) return false;
    bytes += 3 + t.key.size() + 2 * units;
  }

  std::string db;
  db.reserve(bytes);
  db.push_back('\0');
  const auto n = static_cast<std::uint64_t>(texts.size());
  for (int i = 0; i < 8; ++i) db.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
  for (const auto& t : texts) {
    db.push_back(static_cast<char>(t.key.size()));
    db += t.key;
    const std::size_t units = Utf16Units(t.text);
    db.push_back(static_cast<char>(units & 0xFF));
    db.push_back(static_cast<char>(units >> 8));
    plat::AppendUtf16LE(db, t.text);
  }
  out = std::move(db);
  return true;
}
