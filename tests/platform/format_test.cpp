#include "platform/format.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

using namespace plat;

namespace {

template <class Ch>
struct Case {
  std::basic_string<Ch> format;
  std::basic_string<Ch> got;
  std::basic_string<Ch> want;
};

template <class... A>
Case<wchar_t> W(std::wstring_view want, std::wstring_view format, const A&... args) {
  return {std::wstring(format), Format(format, args...), std::wstring(want)};
}

// A format that does not fit its arguments comes back unchanged.
template <class... A>
Case<wchar_t> Same(std::wstring_view format, const A&... args) {
  return W(format, format, args...);
}

template <class... A>
Case<char> N(std::string_view want, std::string_view format, const A&... args) {
  return {std::string(format), FormatNarrow(format, args...), std::string(want)};
}

enum class Colour : unsigned char { Red = 3 };

}  // namespace

TEST(Format, WideFormatsFollowTheWindowsRules) {
  const std::vector<Case<wchar_t>> cases = {
      // Text: %s is wide in a wide format, %S and %hs narrow, %ls and %lS wide.
      W(L"abc", L"%s", L"abc"),
      W(L"abc", L"%S", "abc"),
      W(L"abc", L"%hs", std::string("abc")),
      W(L"abc", L"%ls", std::wstring(L"abc")),
      W(L"abc", L"%lS", std::wstring_view(L"abc")),
      W(L"z\u00E9", L"%S", "z\xC3\xA9"),
      W(L"\U0001F600!", L"%s!", L"\U0001F600"),
      W(L"\U0001F600", L"%.1s", L"\U0001F600xyz"),
      W(L"ab", L"%.2s", L"abcdef"),
      W(L"ab", L"%.2S", "abcdef"),
      W(L"   ab", L"%5s", L"ab"),
      W(L"ab   |", L"%-5s|", L"ab"),
      W(L"000ab", L"%05s", L"ab"),
      W(L"   ab", L"%*s", 5, L"ab"),
      W(L"ab   |", L"%*s|", -5, L"ab"),
      W(L"a", L"%.*s", 1, L"abc"),
      W(L"(null)", L"%s", static_cast<const wchar_t*>(nullptr)),
      // Characters.
      W(L"x", L"%c", L'x'),
      W(L"y", L"%C", 'y'),
      W(L"y", L"%hc", 'y'),
      W(L"\U0001F600", L"%c", 0x1F600),
      W(L"\uFFFD", L"%c", 0x110000),
      W(L"  x", L"%3c", L'x'),
      // Integers, cut to 32 bits unless a 64-bit prefix is given.
      W(L"-42", L"%i", -42),
      W(L"-42", L"%d", -42L),
      W(L"42", L"%u", 42u),
      W(L"1", L"%i", true),
      W(L"3", L"%i", Colour::Red),
      W(L"ff FF", L"%x %X", 255, 255),
      W(L"000000ff", L"%08x", 255),
      W(L"+5 -5", L"%+i %+i", 5, -5),
      W(L" 42", L"% d", 42),
      W(L"00042", L"%05d", 42),
      W(L"  007", L"%5.3d", 7),
      W(L"0x1f 017", L"%#x %#o", 31, 15),
      W(L"[build   5]", L"[build %3i]", 5),
      W(L"4294967295", L"%u", -1),
      W(L"ffffffff", L"%x", -1),
      W(L"-1", L"%d", 4294967295u),
      W(L"1", L"%d", 4294967297LL),
      W(L"-1", L"%ld", 0xFFFFFFFFLL),
      W(L"9000000000", L"%lld", 9000000000LL),
      W(L"-9000000000", L"%I64i", -9000000000LL),
      W(L"1", L"%I32d", 4294967297LL),
      W(L"18446744073709551615", L"%llu", -1LL),
      W(L"1234567890123", L"%zu", static_cast<std::size_t>(1234567890123ULL)),
      W(L"-3 0", L"%jd %td", -3LL, static_cast<std::ptrdiff_t>(0)),
      W(L"-1 -1", L"%hd %hhd", 65535, 255),
      W(L"65535", L"%hu", -1),
      W(L"00000000000000FF", L"%p", reinterpret_cast<const void*>(0xFF)),
      // Floating point.
      W(L"1.500000", L"%f", 1.5),
      W(L"2.000000", L"%lf", 2.0),
      W(L"1.01", L"%.2f", 1.01f),
      W(L"3.1", L"%.1f", 3.14159),
      W(L"3.14", L"%.*f", 2, 3.14159),
      W(L"  3.1", L"%5.1f", 3.14159),
      W(L"-2", L"%.0f", -2.4),
      W(L"+1.5", L"%+.1f", 1.5),
      W(L"1.500000e+00 1.5E+20", L"%e %.1E", 1.5, 1.5e20),
      W(L"0.5 1E+20", L"%g %G", 0.5, 1e20),
      // Plain text and percent signs.
      W(L"plain", L"plain"),
      W(L"100%", L"%i%%", 100),
      W(L"%", L"%%"),
      // Mismatches: the format comes back as it was written.
      Same(L"%i and %i", 1),
      Same(L"%i", 1, 2),
      Same(L"no conversions", 1),
      Same(L"%s", "narrow"),
      Same(L"%S", L"wide"),
      Same(L"%ls", "narrow"),
      Same(L"%hs", L"wide"),
      Same(L"%s", 5),
      Same(L"%i", 1.5),
      Same(L"%i", L"5"),
      Same(L"%f", 1),
      Same(L"%hf", 1.0),
      Same(L"%c", L"x"),
      Same(L"%c", 1.0),
      Same(L"%q", 1),
      Same(L"%n", 1),
      Same(L"% b", 1),
      Same(L"%I6d", 1),
      Same(L"%lls", L"x"),
      Same(L"100%"),
      Same(L"%5", 1),
      Same(L"%.", 1.0),
      Same(L"%*d", L"x", 5),
      Same(L"%*d", 5),
      Same(L"%99999d", 1),
      Same(L"%.99999f", 1.0),
      Same(L"%*d", 100000, 1),
      Same(L"ok %i then %s", 1, 2),
      Same(L"%\u00E9", 1),
  };
  ASSERT_GE(cases.size(), 40u);
  for (const auto& c : cases) {
    EXPECT_EQ(c.got, c.want) << "format: " << ::testing::PrintToString(c.format);
  }
}

TEST(Format, NarrowFormatsTakeNarrowTextForLowerCaseS) {
  const std::vector<Case<char>> cases = {
      N("abc", "%s", "abc"),
      N("abc", "%hs", "abc"),
      N("abc", "%S", L"abc"),
      N("abc", "%ls", L"abc"),
      N("abc", "%hS", "abc"),
      N("z\xC3\xA9", "%S", L"z\u00E9"),
      N("\xF0\x9F\x98\x80", "%ls", L"\U0001F600"),
      N("\xF0\x9F\x98\x80", "%.1ls", L"\U0001F600x"),  // the precision counts characters
      N("ab", "%.2s", "abcdef"),
      N("  \xC3\xA9", "%4S", L"\u00E9"),                 // the width counts bytes
      N("x", "%c", 'x'),
      N("\xC3\xA9", "%C", L'\u00E9'),
      N("7 items, 1.50", "%i items, %.2f", 7, 1.5),
      N("%s", "%s", L"wide"),
      N("%S", "%S", "narrow"),
      N("%d", "%d"),
      N("%d %d", "%d %d", 1, 2, 3),
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.got, c.want) << "format: " << c.format;
  }
}

TEST(Format, LongOutputsAndLargeWidthsAreWhole) {
  const std::wstring wide = Format(L"%4000d|%.300f", 1, 1e300);
  ASSERT_EQ(wide.size(), 4000u + 1 + 301 + 1 + 300);
  EXPECT_EQ(wide.substr(3998, 3), L" 1|");
  EXPECT_EQ(wide.substr(4001, 2), L"10");
  const std::string text(10000, 'q');
  EXPECT_EQ(FormatNarrow("<%s>", text), "<" + text + ">");
}
