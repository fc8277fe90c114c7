#include "platform/text.h"

#include <gtest/gtest.h>

using namespace plat;

// The cases the program's readers and writers do not already go through.
TEST(Text, UnmappableAndInvalidInput) {
  EXPECT_EQ(WidenBytes("a\x80\xFF"), std::wstring(L"a\u0080\u00FF"));
  EXPECT_EQ(NarrowBytes(L"A\u0141\u00E9"), std::string("A\x41\xE9"));
  EXPECT_EQ(NarrowAnsi(L"\u20AC\u00E9\u0141"), std::string("\x80\xE9?"));
  const std::wstring text = L"Zu\u017C\u0119\U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(FromUtf16LE(ToUtf16LE(text).data(), 12), text);
  // An odd trailing byte is ignored; a lone surrogate stays as it is.
  EXPECT_EQ(FromUtf16LE("\x00\xD8x", 3), std::wstring(1, static_cast<wchar_t>(0xD800)));
  EXPECT_EQ(FromUtf8("a\xC3"), std::wstring(L"a\uFFFD"));          // cut sequence
  EXPECT_EQ(FromUtf8("\xC0\xAF"), std::wstring(L"\uFFFD\uFFFD"));  // overlong form
  EXPECT_EQ(FromUtf8("\xED\xA0\x80").front(), L'\uFFFD');          // encoded surrogate
}
