// Any format with fixed arguments of every kind: never a crash, never a read
// past the arguments.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/format.h"
#include "platform/text.h"

namespace {

// The first byte picks a set of arguments, the rest is the format, given
// both as a narrow format and as a wide one.
template <class... A>
void Run(std::string_view format, const A&... args) {
  const std::string narrow = plat::FormatNarrow(format, args...);
  const std::wstring wideFormat = plat::WidenBytes(format);
  const std::wstring wide = plat::Format(wideFormat, args...);
  if constexpr (sizeof...(A) == 0) {
    // Without arguments only "%%" can change the text, and only shorten it.
    if (narrow.size() > format.size() || wide.size() > wideFormat.size()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view format(reinterpret_cast<const char*>(data) + 1, size - 1);
  int local = 0;
  switch (data[0] % 5) {
    case 0:
      Run(format);
      break;
    case 1:
      Run(format, -5, 7u, 1.5, L"wide", "narrow", static_cast<const void*>(&local));
      break;
    case 2:
      Run(format, 12);
      break;
    case 3:
      Run(format, L"w\U0001F600", std::string("n\xC3\xA9"), 3.25, -1LL, 'c', 0xFFFFFFFFFFull, L'\u0141');
      break;
    default:
      Run(format, 20, 3, -1e300, std::wstring_view(L"abc"), std::string_view("xyz"));
      break;
  }
  return 0;
}
