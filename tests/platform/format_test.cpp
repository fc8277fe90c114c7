#include "platform/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace plat;

namespace {

template <class Ch>
struct Case {
  std::basic_string<Ch> format, got, want;
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
      // Text: %s and %ls wide in a wide format, %S and %hs narrow (UTF-8); precision counts characters.
      W(L"a b c d z\u00E9", L"%s %S %hs %ls %S", L"a", "b", std::string("c"), std::wstring(L"d"), "z\xC3\xA9"),
      W(L"\U0001F600|(null)", L"%.1s|%s", L"\U0001F600xyz", static_cast<const wchar_t*>(nullptr)),
      W(L"   ab|ab   |000ab|   ab|ab   |a", L"%5s|%-5s|%05s|%*s|%*s|%.*s", L"ab", L"ab", L"ab", 5, L"ab", -5, L"ab", 1,
        L"abc"),
      W(L"xy\U0001F600\uFFFD", L"%c%C%c%c", L'x', 'y', 0x1F600, 0x110000),
      // Integers, cut to 32 bits unless a 64-bit prefix is given.
      W(L"-42 1 3 ff FF 000000ff 0x1f 017", L"%i %i %i %x %X %08x %#x %#o", -42, true, Colour::Red, 255, 255, 255, 31,
        15),
      W(L"+5 -5| 42|00042|  007", L"%+i %+i|% d|%05d|%5.3d", 5, -5, 42, 42, 7),
      W(L"4294967295 1 -1 -1 -1", L"%u %d %ld %hd %hhd", -1, 4294967297LL, 0xFFFFFFFFLL, 65535, 255),
      W(L"9000000000 -9000000000 1 18446744073709551615", L"%lld %I64i %I32d %llu", 9000000000LL, -9000000000LL,
        4294967297LL, -1LL),
      W(L"1234567890123 -3 0 00000000000000FF", L"%zu %jd %td %p", static_cast<std::size_t>(1234567890123ULL), -3LL,
        static_cast<std::ptrdiff_t>(0), reinterpret_cast<const void*>(0xFF)),
      // Floating point; a float argument is promoted.
      W(L"1.500000 1.01 3.14|  3.1", L"%f %.2f %.*f|%5.1f", 1.5, 1.01f, 2, 3.14159, 3.14159),
      W(L"1.500000e+00 1.5E+20 0.5 1E+20", L"%e %.1E %g %G", 1.5, 1.5e20, 0.5, 1e20),
      W(L"plain 100% %", L"plain %i%% %%", 100),
      // Mismatches: the format comes back as it was written.
      Same(L"%i and %i", 1),
      Same(L"%i", 1, 2),
      Same(L"%s", "narrow"),
      Same(L"%S", L"wide"),
      Same(L"%s", 5),
      Same(L"%i", 1.5),
      Same(L"%f", 1),
      Same(L"%c", L"x"),
      Same(L"%hf", 1.0),
      Same(L"%q", 1),
      Same(L"%n", 1),
      Same(L"100%"),
      Same(L"%*d", L"x", 5),
      Same(L"%99999d", 1),
      Same(L"ok %i then %s", 1, 2),
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << "format: " << ::testing::PrintToString(c.format);
}

TEST(Format, NarrowFormatsTakeNarrowTextForLowerCaseS) {
  const std::vector<Case<char>> cases = {
      N("a z\xC3\xA9 \xC3\xA9 7, 1.50", "%s %S %C %i, %.2f", "a", L"z\u00E9", L'\u00E9', 7, 1.5),
      // The precision counts characters, the width bytes.
      N("\xF0\x9F\x98\x80|  \xC3\xA9", "%.1ls|%4S", L"\U0001F600x", L"\u00E9"),
      N("%s", "%s", L"wide"),
      N("%S", "%S", "narrow"),
      N("%d %d", "%d %d", 1, 2, 3),
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << "format: " << c.format;
}

TEST(Format, LongOutputsAndLargeWidthsAreWhole) {
  const std::wstring wide = Format(L"%4000d|%.300f", 1, 1e300);
  ASSERT_EQ(wide.size(), 4000u + 1 + 301 + 1 + 300);
  EXPECT_EQ(wide.substr(3998, 5), L" 1|10");
  const std::string text(10000, 'q');
  EXPECT_EQ(FormatNarrow("<%s>", text), "<" + text + ">");
}

TEST(Format, FixedPointAgreesWithTheCLibraryDigitForDigit) {
  // Halves that round to even in binary, values just below a carry, signs,
  // negative zero, large and tiny magnitudes, and random values at every
  // precision and width, plain and left-aligned.
  std::vector<double> values = {0.0,    -0.0,    0.125,  0.375,  2.5,     -2.5,        0.005,  1.005,
                                9.995,  99.995,  1e-7,   123456789.125,    -987654.321, 1e16 - 1, 0.1,
                                1.0 / 3, 2.0 / 3, 270.705, 5.0e-324};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> any(-1e6, 1e6);
  for (int i = 0; i < 300; ++i) values.push_back(any(random));
  for (const double value : values) {
    for (int precision = -1; precision <= 9; ++precision) {
      for (const int width : {0, 5, 12}) {
        for (const bool left : {false, true}) {
          const std::string spec = std::string("%") + (left ? "-" : "") + "*.*f";
          char want[128];
          std::snprintf(want, sizeof want, spec.c_str(), width, precision < 0 ? 6 : precision, value);
          std::string format = left ? "%-" : "%";
          format += std::to_string(width);
          if (precision >= 0) format += '.' + std::to_string(precision);
          format += 'f';
          ASSERT_EQ(FormatNarrow(format, value), want) << format << " of " << value;
        }
      }
    }
  }
  // Wide output, and the directives the fast way leaves to the C library.
  EXPECT_EQ(Format(L"%5.2f|%-6.1f|%+.1f|%05.1f|% .0f|%#.0f", 3.14159, 2.25, 1.0, 2.5, 3.0, 4.0),
            L" 3.14|2.2   |+1.0|002.5| 3|4.");
  EXPECT_EQ(FormatNarrow("%f %F", std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()),
            "inf -INF");
}

TEST(Format, PlainDecimalsAndLiteralRunsAgreeWithTheCLibrary) {
  // Plain %d, %i and %u cut their value to 32 bits as the Windows runtime
  // reads an int; literal text around and between them, "%%" included,
  // comes through whole, in both character kinds.
  const std::vector<long long> values = {0, 1, -1, 42, -42, 2147483647, -2147483647 - 1, 4294967295LL,
                                         4294967296LL + 5, -4294967296LL - 7, 9223372036854775807LL};
  for (const long long value : values) {
    char want[128];
    std::snprintf(want, sizeof want, "a%d b%%%i c%u d", static_cast<int>(value), static_cast<int>(value),
                  static_cast<unsigned>(value));
    EXPECT_EQ(FormatNarrow("a%d b%%%i c%u d", value, value, value), want) << value;
    const std::string narrow = want;
    EXPECT_EQ(Format(L"a%d b%%%i c%u d", value, value, value), std::wstring(narrow.begin(), narrow.end())) << value;
  }
  EXPECT_EQ(Format(L"%d", 7u), L"7");
  EXPECT_EQ(Format(L"no directives at all"), L"no directives at all");
  EXPECT_EQ(Format(L"%d trailing %", 1), L"%d trailing %");
}
