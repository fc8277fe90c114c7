#include "platform/text.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(Text, ByteWiseConversionsKeepOrSignExtendTheByte) {
  const std::string bytes = "a\x80\xFF";
  EXPECT_EQ(WidenBytes(bytes), std::wstring(L"a\u0080\u00FF"));
  const std::wstring signedWide = WidenBytesSigned(bytes);
  ASSERT_EQ(signedWide.size(), 3u);
  EXPECT_EQ(signedWide[1], static_cast<wchar_t>(0xFF80));
  EXPECT_EQ(signedWide[2], static_cast<wchar_t>(0xFFFF));
  EXPECT_EQ(NarrowBytes(L"A\u0141\u00E9"), std::string("A\x41\xE9"));
}

TEST(Text, AnsiIsWindows1252) {
  EXPECT_EQ(WidenAnsi("\x80\x9C\xE9"), std::wstring(L"\u20AC\u0153\u00E9"));
  EXPECT_EQ(NarrowAnsi(L"\u20AC\u00E9\u0141"), std::string("\x80\xE9?"));
  EXPECT_EQ(WidenOem("\x8E"), std::wstring(L"\u00C4"));
}

TEST(Text, Utf16RoundTripIncludingSurrogatePairs) {
  const std::wstring text = L"Zu\u017C\u0119\U0001F600";
  const std::string bytes = ToUtf16LE(text);
  ASSERT_EQ(bytes.size(), 12u);  // four units of the BMP, one surrogate pair
  EXPECT_EQ(bytes.substr(4, 2), std::string("\x7C\x01", 2));
  EXPECT_EQ(FromUtf16LE(bytes.data(), bytes.size()), text);
  // An odd trailing byte is ignored; a lone surrogate stays as it is.
  const std::string lone("\x00\xD8", 2);
  EXPECT_EQ(FromUtf16LE((lone + "x").data(), 3), std::wstring(1, static_cast<wchar_t>(0xD800)));
}

TEST(Text, Utf8RoundTripAndInvalidBytes) {
  const std::wstring text = L"\u00E9\u20AC\U0001F600z";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(FromUtf8("a\xC3"), std::wstring(L"a\uFFFD"));          // cut sequence
  EXPECT_EQ(FromUtf8("\xC0\xAF"), std::wstring(L"\uFFFD\uFFFD"));  // overlong form
  EXPECT_EQ(FromUtf8("\xED\xA0\x80").front(), L'\uFFFD');          // encoded surrogate
}
