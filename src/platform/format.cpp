// The formatter with the rules of the Windows wide printf (see format.h).
//
// One walk over the format serves both character types. Numbers are rendered
// by snprintf with a conversion directive built here from the parsed flags, so the
// C library only ever sees a directive whose argument type we chose ourselves.
#include "platform/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>
#include <utility>

#include "platform/text.h"

namespace plat {
namespace {

// Widths and precisions above this are refused as a mismatch: a format read
// from a data file must not make us allocate megabytes of padding.
constexpr int kMaxField = 4096;

enum class Len { None, HH, H, L, LL, I64, I32, Z, J, T };

struct Directive {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool zero = false;
  bool alt = false;
  int width = 0;
  int precision = -1;  // -1: none given
  Len len = Len::None;
  char conv = 0;
};

int IntegerBits(Len len) {
  switch (len) {
    case Len::HH: return 8;
    case Len::H: return 16;
    case Len::None:
    case Len::L:
    case Len::I32: return 32;
    default: return 64;
  }
}

bool IsInteger(const FormatArg& a) {
  return a.kind() == FormatArg::Kind::Signed || a.kind() == FormatArg::Kind::Unsigned ||
         a.kind() == FormatArg::Kind::Pointer;
}

// Renders one value with snprintf into text; false if the C library fails.
template <class V>
bool Render(std::string& text, const std::string& cspec, int width, int precision, V value) {
  char buf[256];
  const int n = std::snprintf(buf, sizeof buf, cspec.c_str(), width, precision, value);
  if (n < 0) return false;
  if (static_cast<std::size_t>(n) < sizeof buf) {
    text.assign(buf, static_cast<std::size_t>(n));
    return true;
  }
  text.assign(static_cast<std::size_t>(n) + 1, '\0');
  if (std::snprintf(text.data(), text.size(), cspec.c_str(), width, precision, value) != n) return false;
  text.resize(static_cast<std::size_t>(n));
  return true;
}

template <class Ch>
class Formatter {
 public:
  using View = std::basic_string_view<Ch>;
  using String = std::basic_string<Ch>;
  static constexpr bool kWide = std::is_same_v<Ch, wchar_t>;

  Formatter(View format, std::span<const FormatArg> args) : format_(format), args_(args) {}

  // The formatted text, or the format itself when it does not fit the arguments.
  String Run() {
    std::size_t i = 0;
    out_.reserve(format_.size() + 16 * args_.size());
    while (i < format_.size()) {
      // The literal text up to the next directive goes in at once.
      const std::size_t percent = format_.find(Ch('%'), i);
      const std::size_t literalEnd = percent == View::npos ? format_.size() : percent;
      out_.append(format_.data() + i, literalEnd - i);
      if (percent == View::npos) break;
      i = percent + 1;
      if (i < format_.size() && format_[i] == Ch('%')) {
        out_.push_back(Ch('%'));
        ++i;
        continue;
      }
      Directive directive;
      if (!ParseDirective(i, directive) || !Convert(directive)) return String(format_);
    }
    if (next_ != args_.size()) return String(format_);
    return std::move(out_);
  }

 private:
  const FormatArg* NextArg() { return next_ < args_.size() ? &args_[next_++] : nullptr; }

  bool At(std::size_t i, char c) const { return i < format_.size() && format_[i] == Ch(c); }

  // An integer for '*', cut to 32 bits like the int the Windows runtime reads.
  bool StarArg(int& value) {
    const FormatArg* a = NextArg();
    if (!a || (a->kind() != FormatArg::Kind::Signed && a->kind() != FormatArg::Kind::Unsigned)) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(a->AsUnsigned()));
    return true;
  }

  bool Digits(std::size_t& i, int& value) {
    value = 0;
    while (i < format_.size() && format_[i] >= Ch('0') && format_[i] <= Ch('9')) {
      value = value * 10 + static_cast<int>(format_[i++] - Ch('0'));
      if (value > kMaxField) return false;
    }
    return true;
  }

  bool ParseDirective(std::size_t& i, Directive& s) {
    for (;; ++i) {
      if (At(i, '-')) s.left = true;
      else if (At(i, '+')) s.plus = true;
      else if (At(i, ' ')) s.space = true;
      else if (At(i, '0')) s.zero = true;
      else if (At(i, '#')) s.alt = true;
      else break;
    }
    if (At(i, '*')) {
      ++i;
      if (!StarArg(s.width)) return false;
      if (s.width < 0) {
        s.left = true;
        s.width = s.width == INT32_MIN ? kMaxField + 1 : -s.width;
      }
    } else if (!Digits(i, s.width)) {
      return false;
    }
    if (s.width > kMaxField) return false;
    if (At(i, '.')) {
      ++i;
      if (At(i, '*')) {
        ++i;
        if (!StarArg(s.precision)) return false;
        if (s.precision < 0) s.precision = -1;  // as if none were given
      } else if (!Digits(i, s.precision)) {
        return false;
      }
      if (s.precision > kMaxField) return false;
    }
    if (At(i, 'h')) {
      s.len = At(i + 1, 'h') ? Len::HH : Len::H;
      i += s.len == Len::HH ? 2 : 1;
    } else if (At(i, 'l')) {
      s.len = At(i + 1, 'l') ? Len::LL : Len::L;
      i += s.len == Len::LL ? 2 : 1;
    } else if (At(i, 'I')) {
      if (At(i + 1, '6') && At(i + 2, '4')) s.len = Len::I64;
      else if (At(i + 1, '3') && At(i + 2, '2')) s.len = Len::I32;
      else return false;
      i += 3;
    } else if (At(i, 'z')) {
      s.len = Len::Z, ++i;
    } else if (At(i, 'j')) {
      s.len = Len::J, ++i;
    } else if (At(i, 't')) {
      s.len = Len::T, ++i;
    }
    if (i >= format_.size() || format_[i] < Ch(0x21) || format_[i] > Ch(0x7E)) return false;
    s.conv = static_cast<char>(format_[i++]);
    return true;
  }

  bool Convert(const Directive& s) {
    switch (s.conv) {
      case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': return Integer(s);
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': return Floating(s);
      case 'p': return Pointer(s);
      case 's': case 'S': return Text(s);
      case 'c': case 'C': return Char(s);
      default: return false;  // unknown, and %n, which is never honoured
    }
  }

  void AppendAscii(const std::string& text) {
    for (char c : text) out_.push_back(static_cast<Ch>(static_cast<unsigned char>(c)));
  }

  // Text and characters pad to the width with spaces, or with zeros under the
  // '0' flag as the Windows runtime does.
  void AppendPadded(const Directive& s, View body) {
    const auto width = static_cast<std::size_t>(s.width);
    const std::size_t pad = body.size() < width ? width - body.size() : 0;
    if (!s.left) out_.append(pad, s.zero ? Ch('0') : Ch(' '));
    out_.append(body);
    if (s.left) out_.append(pad, Ch(' '));
  }

  static std::string Flags(const Directive& s, bool sign, bool alt) {
    std::string f = "%";
    if (s.left) f += '-';
    if (sign && s.plus) f += '+';
    if (sign && s.space) f += ' ';
    if (s.zero) f += '0';
    if (alt && s.alt) f += '#';
    return f + "*.*";
  }

  // A plain decimal (no flags, width, precision or length) is the commonest
  // directive of the log's lines: std::to_chars gives printf's digits.
  bool DecimalFast(const Directive& s, const FormatArg& a) {
    if (s.left || s.plus || s.space || s.zero || s.alt || s.width != 0 || s.precision >= 0 || s.len != Len::None)
      return false;
    char buf[24];
    std::to_chars_result r;
    if (s.conv == 'u') r = std::to_chars(buf, buf + sizeof buf, static_cast<std::uint32_t>(a.AsUnsigned()));
    else r = std::to_chars(buf, buf + sizeof buf, static_cast<std::int32_t>(a.AsSigned()));
    if (r.ec != std::errc()) return false;
    for (const char* c = buf; c != r.ptr; ++c) out_.push_back(static_cast<Ch>(*c));
    return true;
  }

  bool Integer(const Directive& s) {
    const FormatArg* a = NextArg();
    if (!a || !IsInteger(*a)) return false;
    if ((s.conv == 'd' || s.conv == 'i' || s.conv == 'u') && DecimalFast(s, *a)) return true;
    const int bits = IntegerBits(s.len);
    const bool isSigned = s.conv == 'd' || s.conv == 'i';
    const std::string cspec = Flags(s, isSigned, !isSigned && s.conv != 'u') + "ll" + s.conv;
    std::string text;
    bool ok;
    if (isSigned) {
      std::int64_t v = a->AsSigned();
      if (bits == 8) v = static_cast<std::int8_t>(v);
      else if (bits == 16) v = static_cast<std::int16_t>(v);
      else if (bits == 32) v = static_cast<std::int32_t>(v);
      ok = Render(text, cspec, s.width, s.precision, static_cast<long long>(v));
    } else {
      std::uint64_t v = a->AsUnsigned();
      if (bits == 8) v = static_cast<std::uint8_t>(v);
      else if (bits == 16) v = static_cast<std::uint16_t>(v);
      else if (bits == 32) v = static_cast<std::uint32_t>(v);
      ok = Render(text, cspec, s.width, s.precision, static_cast<unsigned long long>(v));
    }
    if (ok) AppendAscii(text);
    return ok;
  }

  // Fixed notation without sign, zero or alternative flags, the commonest
  // directive of the log's lines, is rendered without the C library's
  // formatter: std::to_chars gives the same digits as printf does.
  bool FixedFast(const Directive& s, double value) {
    constexpr int kMaxFastPrecision = 17;
    if ((s.conv != 'f' && s.conv != 'F') || s.plus || s.space || s.zero || s.alt) return false;
    const int precision = s.precision < 0 ? 6 : s.precision;
    if (precision > kMaxFastPrecision || !std::isfinite(value) || std::fabs(value) >= 1e17) return false;
    char buf[64];
    const auto [end, error] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    if (error != std::errc()) return false;
    const auto length = static_cast<std::size_t>(end - buf);
    const auto width = static_cast<std::size_t>(s.width);
    const std::size_t pad = length < width ? width - length : 0;
    if (!s.left) out_.append(pad, Ch(' '));
    for (const char* c = buf; c != end; ++c) out_.push_back(static_cast<Ch>(*c));
    if (s.left) out_.append(pad, Ch(' '));
    return true;
  }

  bool Floating(const Directive& s) {
    const FormatArg* a = NextArg();
    if (!a || a->kind() != FormatArg::Kind::Floating) return false;
    if (s.len != Len::None && s.len != Len::L) return false;
    if (FixedFast(s, a->AsDouble())) return true;
    std::string text;
    if (!Render(text, Flags(s, true, true) + s.conv, s.width, s.precision, a->AsDouble())) return false;
    AppendAscii(text);
    return true;
  }

  // A pointer prints as all its hexadecimal digits in upper case.
  bool Pointer(const Directive& s) {
    const FormatArg* a = NextArg();
    if (!a || !IsInteger(*a) || s.len != Len::None) return false;
    std::string text;
    const std::string cspec = std::string(s.left ? "%-" : "%") + "*.*llX";
    if (!Render(text, cspec, s.width, static_cast<int>(2 * sizeof(void*)),
                static_cast<unsigned long long>(a->AsUnsigned())))
      return false;
    AppendAscii(text);
    return true;
  }

  // Whether a string or character conversion takes wide text: "l" always,
  // "h" never, otherwise the lower-case letter takes the format's own kind.
  bool WantsWide(const Directive& s, bool& wide) const {
    if (s.len == Len::L) wide = true;
    else if (s.len == Len::H) wide = false;
    else if (s.len == Len::None) wide = (s.conv == 's' || s.conv == 'c') == kWide;
    else return false;
    return true;
  }

  // Wide text in a narrow output becomes UTF-8, narrow text in a wide output
  // is read as UTF-8: the encoding of file names and sources on this system.
  void AppendText(const Directive& s, std::wstring_view w, std::string_view n, bool wide, std::size_t limit) {
    if constexpr (kWide) {
      if (wide) {
        AppendPadded(s, w.substr(0, limit));
      } else {
        const std::wstring text = FromUtf8(n);
        AppendPadded(s, std::wstring_view(text).substr(0, limit));
      }
    } else {
      if (wide) {
        AppendPadded(s, ToUtf8(w.substr(0, limit)));
      } else {
        AppendPadded(s, n.substr(0, limit));
      }
    }
  }

  bool Text(const Directive& s) {
    bool wide = false;
    if (!WantsWide(s, wide)) return false;
    const FormatArg* a = NextArg();
    if (!a || a->kind() != (wide ? FormatArg::Kind::Wide : FormatArg::Kind::Narrow)) return false;
    const std::size_t limit = s.precision < 0 ? std::wstring_view::npos : static_cast<std::size_t>(s.precision);
    AppendText(s, a->AsWide(), a->AsNarrow(), wide, limit);
    return true;
  }

  bool Char(const Directive& s) {
    bool wide = false;
    if (!WantsWide(s, wide)) return false;
    const FormatArg* a = NextArg();
    if (!a || (a->kind() != FormatArg::Kind::Signed && a->kind() != FormatArg::Kind::Unsigned)) return false;
    const auto value = static_cast<std::uint32_t>(a->AsUnsigned());
    if (wide) {
      const wchar_t w = value > 0x10FFFF ? L'\uFFFD' : static_cast<wchar_t>(value);
      AppendText(s, std::wstring_view(&w, 1), {}, true, 1);
    } else {
      const char n = static_cast<char>(value & 0xFF);
      AppendText(s, {}, std::string_view(&n, 1), false, 1);
    }
    return true;
  }

  View format_;
  std::span<const FormatArg> args_;
  std::size_t next_ = 0;
  String out_;
};

}  // namespace

std::wstring FormatV(std::wstring_view format, std::span<const FormatArg> args) {
  return Formatter<wchar_t>(format, args).Run();
}

std::string FormatNarrowV(std::string_view format, std::span<const FormatArg> args) {
  return Formatter<char>(format, args).Run();
}

}  // namespace plat
