// The one formatter of the program, with the rules of the Windows wide printf.
//
// In a wide format "%s" takes a wide text and "%S" or "%hs" a narrow one;
// "%ls"/"%lS" are wide. In a narrow format "%s" is narrow and "%S"/"%ls" wide.
// "%c" and "%C" follow the same rule for characters. Narrow text in a wide
// output is read as UTF-8, wide text in a narrow output is written as UTF-8.
// Supported: flags "-+ 0#", width and precision (also "*"), the length
// prefixes hh, h, l, ll, I64, I32, z, j, t, and the conversions
// d i u x X o c C s S f F e E g G p and "%%". Integer conversions without
// "ll"/"I64"/"z"/"j"/"t" print the value as a 32-bit number, as the Windows
// runtime does; "h" cuts it to 16 bits and "hh" to 8. A precision on a text
// limits its characters. Widths and precisions above 4096 are refused.
//
// The formatter never reads past its arguments: when the conversions of the
// format do not match the arguments given (too few, too many, or of the
// wrong kind), or a conversion is unknown or cut off, the result is the format
// text itself, unchanged. "%n" is never honoured.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace plat {

class FormatArg {
 public:
  enum class Kind { Signed, Unsigned, Floating, Wide, Narrow, Pointer };

  template <class T>
    requires(std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, bool>)
  FormatArg(T v) : kind_(Kind::Signed), i_(static_cast<std::int64_t>(v)) {}
  template <class T>
    requires(std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>)
  FormatArg(T v) : kind_(Kind::Unsigned), u_(static_cast<std::uint64_t>(v)) {}
  FormatArg(bool v) : kind_(Kind::Signed), i_(v ? 1 : 0) {}
  template <class T>
    requires std::is_floating_point_v<T>
  FormatArg(T v) : kind_(Kind::Floating), d_(static_cast<double>(v)) {}
  template <class E>
    requires std::is_enum_v<E>
  FormatArg(E v) : FormatArg(static_cast<std::underlying_type_t<E>>(v)) {}
  FormatArg(const wchar_t* s) : kind_(Kind::Wide), w_(s ? std::wstring_view(s) : std::wstring_view(L"(null)")) {}
  FormatArg(wchar_t* s) : FormatArg(static_cast<const wchar_t*>(s)) {}
  FormatArg(const std::wstring& s) : kind_(Kind::Wide), w_(s) {}
  FormatArg(std::wstring_view s) : kind_(Kind::Wide), w_(s) {}
  FormatArg(const char* s) : kind_(Kind::Narrow), n_(s ? std::string_view(s) : std::string_view("(null)")) {}
  FormatArg(char* s) : FormatArg(static_cast<const char*>(s)) {}
  FormatArg(const std::string& s) : kind_(Kind::Narrow), n_(s) {}
  FormatArg(std::string_view s) : kind_(Kind::Narrow), n_(s) {}
  FormatArg(const void* p) : kind_(Kind::Pointer), u_(reinterpret_cast<std::uintptr_t>(p)) {}

  Kind kind() const { return kind_; }
  std::int64_t AsSigned() const { return kind_ == Kind::Signed ? i_ : static_cast<std::int64_t>(u_); }
  std::uint64_t AsUnsigned() const { return kind_ == Kind::Signed ? static_cast<std::uint64_t>(i_) : u_; }
  double AsDouble() const { return d_; }
  std::wstring_view AsWide() const { return w_; }
  std::string_view AsNarrow() const { return n_; }

 private:
  Kind kind_;
  union {
    std::int64_t i_;
    std::uint64_t u_;
    double d_;
  };
  std::wstring_view w_;
  std::string_view n_;
};

std::wstring FormatV(std::wstring_view format, std::span<const FormatArg> args);
std::string FormatNarrowV(std::string_view format, std::span<const FormatArg> args);

// Format(L"Loaded %i strings", n): the arguments are kept only for the call.
template <class... A>
std::wstring Format(std::wstring_view format, const A&... args) {
  const std::array<FormatArg, sizeof...(A)> list{FormatArg(args)...};
  return FormatV(format, std::span<const FormatArg>(list.data(), list.size()));
}

template <class... A>
std::string FormatNarrow(std::string_view format, const A&... args) {
  const std::array<FormatArg, sizeof...(A)> list{FormatArg(args)...};
  return FormatNarrowV(format, std::span<const FormatArg>(list.data(), list.size()));
}

}  // namespace plat
