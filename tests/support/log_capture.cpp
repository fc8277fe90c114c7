// The log capture of the test support: apart from the rest, so the test
// programs of the platform layer link no application service.
#include "support/test_support.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "platform/text.h"

namespace twtest {

LogCapture::LogCapture() : file_(dir_.File("ConsoleOut.txt")), previous_(g_ConsoleLog.Path()) {
  g_ConsoleLog.RedirectTo(file_);
}

LogCapture::~LogCapture() { g_ConsoleLog.RedirectTo(previous_); }

std::string LogCapture::Bytes() const { return ReadFile(file_); }

std::vector<std::wstring> LogCapture::Lines() const {
  std::string bytes = Bytes();
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') bytes.erase(0, 2);
  const std::wstring text = plat::FromUtf16LE(bytes.data(), bytes.size());
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool LogCapture::Contains(const std::wstring& text) const {
  const auto lines = Lines();
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

}  // namespace twtest
