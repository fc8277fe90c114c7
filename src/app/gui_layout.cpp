#include "app/gui_layout.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "app/console_log.h"
#include "app/settings.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"

sLayoutRect g_GuiLayout[kLayoutEntries];
sGuiFont g_GuiFonts[kGuiFonts];
plat::RectI g_MinimapFrameRect;

namespace {

constexpr int kResetEntries = 1000;  // entries 0..999 start at -1 at every load
constexpr int kMinimapEntry = 315;

int ClampToInt(std::int64_t v) {
  if (v < INT_MIN) return INT_MIN;
  if (v > INT_MAX) return INT_MAX;
  return static_cast<int>(v);
}

// The runtime's decimal conversion: leading blanks, a sign and digits; a
// text that is no number gives 0. Values beyond int are clamped.
int ToInt(std::string_view field) {
  const std::string text(field);
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  return ClampToInt(v);
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  if (line.empty()) return fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t semi = line.find(';', start);
    fields.push_back(line.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start));
    if (semi == std::string_view::npos) break;
    start = semi + 1;
  }
  return fields;
}

std::uint32_t Colour(int r, int g, int b) {
  return 0xFF000000u | (static_cast<std::uint32_t>(r) & 255u) << 16 |
         (static_cast<std::uint32_t>(g) & 255u) << 8 | (static_cast<std::uint32_t>(b) & 255u);
}

void ReadRectangleLine(const std::vector<std::string_view>& f) {
  const int id = ToInt(f[0]);
  if (id < 0 || id >= kLayoutEntries) return;
  sLayoutRect& r = g_GuiLayout[id];
  int* values[] = {&r.a, &r.b, &r.c, &r.d};
  for (std::size_t i = 1; i < f.size() && i <= 4; ++i) *values[i - 1] = ToInt(f[i]);
}

// Returns the font's index when the line was taken, -1 otherwise.
int ReadFontLine(const std::vector<std::string_view>& f) {
  const std::int64_t index = static_cast<std::int64_t>(ToInt(f[0])) - 1;
  if (index < 0 || index >= kGuiFonts) return -1;
  sGuiFont& font = g_GuiFonts[index];
  const std::size_t n = f.size();
  if (n > 1) font.face = plat::WidenAnsi(f[1]);
  if (n > 2) font.height = ToInt(f[2]);
  if (n > 3) font.weight = ClampToInt(static_cast<std::int64_t>(ToInt(f[3])) * 8 + 100);
  // A colour whose components are only partly given keeps its missing
  // components.
  auto component = [&](std::size_t i, std::uint32_t old, int shift) {
    return i < n ? ToInt(f[i]) : static_cast<int>((old >> shift) & 255u);
  };
  if (n > 4) font.color = Colour(component(4, font.color, 16), component(5, font.color, 8), component(6, font.color, 0));
  if (n > 7) {
    font.color2 = Colour(component(7, font.color2, 16), component(8, font.color2, 8), component(9, font.color2, 0));
  }
  return static_cast<int>(index);
}

}  // namespace

bool IsEdgeLayoutEntry(int id) { return id == 1 || (id >= 3 && id <= 9) || (id >= 16 && id <= 56); }

std::wstring GuiLayoutFileName() { return GuiLayoutFileName(g_Settings.ResolutionX, g_Settings.ResolutionY); }

std::wstring GuiLayoutFileName(int width, int height) {
  return plat::Format(L"data\\GUI_%ix%i.csv", width, height);
}

bool LoadGuiLayoutFile(std::wstring_view fileName) {
  std::string data;
  if (!plat::ReadFileBytes(plat::ResolvePath(fileName), data)) {
    LogLine(L"Loading GUI coordinates from \"%s\"... FAILED", std::wstring(fileName));
    return false;
  }

  for (int i = 0; i < kResetEntries; ++i) g_GuiLayout[i] = {-1, -1, -1, -1};

  plat::LineReader lines(data);
  std::string_view line;
  auto isHeader = [](std::string_view l) { return !l.empty() && l.front() == '#'; };

  // Everything up to and including the first section header is skipped.
  bool inSection = false;
  while (!inSection && lines.Next(line)) inSection = isHeader(line);

  // Rectangles up to the next header.
  bool fontSection = false;
  while (inSection && lines.Next(line)) {
    if (isHeader(line)) {
      fontSection = true;
      break;
    }
    const auto fields = SplitFields(line);
    if (!fields.empty()) ReadRectangleLine(fields);
  }

  // Fonts: every further line that is not a header.
  bool font8Defined = false;
  while (fontSection && lines.Next(line)) {
    if (isHeader(line)) continue;
    const auto fields = SplitFields(line);
    if (!fields.empty() && ReadFontLine(fields) == kGuiFonts - 1) font8Defined = true;
  }

  // A file without an eighth font gets the seventh at three quarters of its
  // height.
  if (!font8Defined) {
    sGuiFont& font8 = g_GuiFonts[kGuiFonts - 1];
    const sGuiFont& font7 = g_GuiFonts[kGuiFonts - 2];
    font8.face = font7.face;
    font8.height = static_cast<int>(static_cast<std::int64_t>(font7.height) * 3 / 4);
    font8.weight = font7.weight;
    font8.color = font7.color;
    font8.color2 = font7.color2;
    // font8.font is the frame's device object for this slot; it stays.
  }

  LogLine(L"Loading GUI coordinates nad fonts from \"%s\"... OK", std::wstring(fileName));

  for (int id = 0; id < kLayoutEntries; ++id) {
    if (!IsEdgeLayoutEntry(id)) continue;
    sLayoutRect& r = g_GuiLayout[id];
    r.c = ClampToInt(static_cast<std::int64_t>(r.a) + r.c);
    r.d = ClampToInt(static_cast<std::int64_t>(r.b) + r.d);
  }

  const sLayoutRect& m = g_GuiLayout[kMinimapEntry];
  g_MinimapFrameRect = {ClampToInt(static_cast<std::int64_t>(m.a) - 2), ClampToInt(static_cast<std::int64_t>(m.b) - 2),
                        ClampToInt(static_cast<std::int64_t>(m.a) + m.c + 4),
                        ClampToInt(static_cast<std::int64_t>(m.b) + m.d + 4)};
  return true;
}

void LoadGuiLayout() {
  if (!LoadGuiLayoutFile(GuiLayoutFileName())) {
    plat::GetFramework().Shutdown(1);
    FatalExit(1);
  }
}
