#include "platform/text.h"

namespace plat {
namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned ones keep their byte value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code page 437, bytes 0x80..0xFF.
constexpr char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1,
    0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393,
    0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6,
    0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

constexpr wchar_t kReplacement = 0xFFFD;

}  // namespace

std::wstring WidenBytes(std::string_view bytes) {
  std::wstring out(bytes.size(), L'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

std::wstring WidenBytesSigned(std::string_view bytes) {
  std::wstring out(bytes.size(), L'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto s = static_cast<std::int16_t>(static_cast<signed char>(bytes[i]));
    out[i] = static_cast<wchar_t>(static_cast<std::uint16_t>(s));
  }
  return out;
}

std::string NarrowBytes(std::wstring_view text) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i] & 0xFF);
  return out;
}

std::wstring WidenAnsi(std::string_view bytes) {
  std::wstring out(bytes.size(), L'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    out[i] = (b >= 0x80 && b < 0xA0) ? static_cast<wchar_t>(kCp1252High[b - 0x80]) : b;
  }
  return out;
}

std::string NarrowAnsi(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (static_cast<wchar_t>(kCp1252High[k]) == c) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out.push_back(mapped);
  }
  return out;
}

std::wstring WidenOem(std::string_view bytes) {
  std::wstring out(bytes.size(), L'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    out[i] = b < 0x80 ? b : static_cast<wchar_t>(kCp437High[b - 0x80]);
  }
  return out;
}

std::wstring FromUtf16LE(const void* data, std::size_t byteCount) {
  const auto* p = static_cast<const unsigned char*>(data);
  const std::size_t units = byteCount / 2;
  std::wstring out;
  out.reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t u = p[2 * i] | (p[2 * i + 1] << 8);
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
      const char32_t lo = p[2 * i + 2] | (p[2 * i + 3] << 8);
      if (lo >= 0xDC00 && lo < 0xE000) {
        out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00)));
        ++i;
        continue;
      }
    }
    out.push_back(static_cast<wchar_t>(u));
  }
  return out;
}

void AppendUtf16LE(std::string& out, std::wstring_view text) {
  // The commonest case, every character in the basic plane, is sized at
  // once and written in place; a character past it makes room for its
  // second unit.
  std::size_t at = out.size();
  out.resize(at + 2 * text.size());
  char* units = out.data();
  for (wchar_t wc : text) {
    auto c = static_cast<char32_t>(wc);
    if (c > 0x10FFFF) c = kReplacement;
    if (c >= 0x10000) {
      const char32_t v = c - 0x10000;
      const char32_t hi = 0xD800 + (v >> 10), lo = 0xDC00 + (v & 0x3FF);
      out.resize(out.size() + 2);
      units = out.data();
      units[at++] = static_cast<char>(hi & 0xFF);
      units[at++] = static_cast<char>(hi >> 8);
      units[at++] = static_cast<char>(lo & 0xFF);
      units[at++] = static_cast<char>(lo >> 8);
    } else {
      units[at++] = static_cast<char>(c & 0xFF);
      units[at++] = static_cast<char>(c >> 8);
    }
  }
}

std::string ToUtf16LE(std::wstring_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  AppendUtf16LE(out, text);
  return out;
}

bool DecodeUtf8(std::string_view s, std::size_t& i, char32_t& out) {
  const unsigned char b = static_cast<unsigned char>(s[i]);
  int extra;
  char32_t c;
  if (b < 0x80) {
    out = b;
    ++i;
    return true;
  } else if ((b & 0xE0) == 0xC0) {
    extra = 1, c = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2, c = b & 0x0F;
  } else if ((b & 0xF8) == 0xF0) {
    extra = 3, c = b & 0x07;
  } else {
    return false;
  }
  if (s.size() - i <= static_cast<std::size_t>(extra)) return false;
  for (int k = 1; k <= extra; ++k) {
    const unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return false;
    c = (c << 6) | (t & 0x3F);
  }
  static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return false;
  out = c;
  i += static_cast<std::size_t>(extra) + 1;
  return true;
}

std::wstring FromUtf8(std::string_view s) {
  std::wstring out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    char32_t c;
    if (DecodeUtf8(s, i, c)) {
      out.push_back(static_cast<wchar_t>(c));
    } else {
      out.push_back(kReplacement);
      ++i;
    }
  }
  return out;
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    auto c = static_cast<char32_t>(wc);
    if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace plat
