#include "dialogs/preferences_values.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/string_base.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

struct sNamedRgb {
  const wchar_t* name;
  std::uint32_t rgb;
};

// The CSS colour keywords in the box's order. MediumPurple and PaleVioletRed
// keep the values the box has always shown for them.
constexpr sNamedRgb kKeywords[] = {
    {L"AliceBlue", 0xF0F8FF}, {L"AntiqueWhite", 0xFAEBD7}, {L"Aqua", 0x00FFFF}, {L"Aquamarine", 0x7FFFD4},
    {L"Azure", 0xF0FFFF}, {L"Beige", 0xF5F5DC}, {L"Bisque", 0xFFE4C4}, {L"Black", 0x000000},
    {L"BlanchedAlmond", 0xFFEBCD}, {L"Blue", 0x0000FF}, {L"BlueViolet", 0x8A2BE2}, {L"Brown", 0xA52A2A},
    {L"BurlyWood", 0xDEB887}, {L"CadetBlue", 0x5F9EA0}, {L"Chartreuse", 0x7FFF00}, {L"Chocolate", 0xD2691E},
    {L"Coral", 0xFF7F50}, {L"CornflowerBlue", 0x6495ED}, {L"Cornsilk", 0xFFF8DC}, {L"Crimson", 0xDC143C},
    {L"Cyan", 0x00FFFF}, {L"DarkBlue", 0x00008B}, {L"DarkCyan", 0x008B8B}, {L"DarkGoldenRod", 0xB8860B},
    {L"DarkGray", 0xA9A9A9}, {L"DarkGrey", 0xA9A9A9}, {L"DarkGreen", 0x006400}, {L"DarkKhaki", 0xBDB76B},
    {L"DarkMagenta", 0x8B008B}, {L"DarkOliveGreen", 0x556B2F}, {L"Darkorange", 0xFF8C00},
    {L"DarkOrchid", 0x9932CC}, {L"DarkRed", 0x8B0000}, {L"DarkSalmon", 0xE9967A}, {L"DarkSeaGreen", 0x8FBC8F},
    {L"DarkSlateBlue", 0x483D8B}, {L"DarkSlateGray", 0x2F4F4F}, {L"DarkSlateGrey", 0x2F4F4F},
    {L"DarkTurquoise", 0x00CED1}, {L"DarkViolet", 0x9400D3}, {L"DeepPink", 0xFF1493},
    {L"DeepSkyBlue", 0x00BFFF}, {L"DimGray", 0x696969}, {L"DimGrey", 0x696969}, {L"DodgerBlue", 0x1E90FF},
    {L"FireBrick", 0xB22222}, {L"FloralWhite", 0xFFFAF0}, {L"ForestGreen", 0x228B22}, {L"Fuchsia", 0xFF00FF},
    {L"Gainsboro", 0xDCDCDC}, {L"GhostWhite", 0xF8F8FF}, {L"Gold", 0xFFD700}, {L"GoldenRod", 0xDAA520},
    {L"Gray", 0x808080}, {L"Grey", 0x808080}, {L"Green", 0x008000}, {L"GreenYellow", 0xADFF2F},
    {L"HoneyDew", 0xF0FFF0}, {L"HotPink", 0xFF69B4}, {L"IndianRed", 0xCD5C5C}, {L"Indigo", 0x4B0082},
    {L"Ivory", 0xFFFFF0}, {L"Khaki", 0xF0E68C}, {L"Lavender", 0xE6E6FA}, {L"LavenderBlush", 0xFFF0F5},
    {L"LawnGreen", 0x7CFC00}, {L"LemonChiffon", 0xFFFACD}, {L"LightBlue", 0xADD8E6}, {L"LightCoral", 0xF08080},
    {L"LightCyan", 0xE0FFFF}, {L"LightGoldenRodYellow", 0xFAFAD2}, {L"LightGray", 0xD3D3D3},
    {L"LightGrey", 0xD3D3D3}, {L"LightGreen", 0x90EE90}, {L"LightPink", 0xFFB6C1}, {L"LightSalmon", 0xFFA07A},
    {L"LightSeaGreen", 0x20B2AA}, {L"LightSkyBlue", 0x87CEFA}, {L"LightSlateGray", 0x778899},
    {L"LightSlateGrey", 0x778899}, {L"LightSteelBlue", 0xB0C4DE}, {L"LightYellow", 0xFFFFE0},
    {L"Lime", 0x00FF00}, {L"LimeGreen", 0x32CD32}, {L"Linen", 0xFAF0E6}, {L"Magenta", 0xFF00FF},
    {L"Maroon", 0x800000}, {L"MediumAquaMarine", 0x66CDAA}, {L"MediumBlue", 0x0000CD},
    {L"MediumOrchid", 0xBA55D3}, {L"MediumPurple", 0x9370D8}, {L"MediumSeaGreen", 0x3CB371},
    {L"MediumSlateBlue", 0x7B68EE}, {L"MediumSpringGreen", 0x00FA9A}, {L"MediumTurquoise", 0x48D1CC},
    {L"MediumVioletRed", 0xC71585}, {L"MidnightBlue", 0x191970}, {L"MintCream", 0xF5FFFA},
    {L"MistyRose", 0xFFE4E1}, {L"Moccasin", 0xFFE4B5}, {L"NavajoWhite", 0xFFDEAD}, {L"Navy", 0x000080},
    {L"OldLace", 0xFDF5E6}, {L"Olive", 0x808000}, {L"OliveDrab", 0x6B8E23}, {L"Orange", 0xFFA500},
    {L"OrangeRed", 0xFF4500}, {L"Orchid", 0xDA70D6}, {L"PaleGoldenRod", 0xEEE8AA}, {L"PaleGreen", 0x98FB98},
    {L"PaleTurquoise", 0xAFEEEE}, {L"PaleVioletRed", 0xD87093}, {L"PapayaWhip", 0xFFEFD5},
    {L"PeachPuff", 0xFFDAB9}, {L"Peru", 0xCD853F}, {L"Pink", 0xFFC0CB}, {L"Plum", 0xDDA0DD},
    {L"PowderBlue", 0xB0E0E6}, {L"Purple", 0x800080}, {L"Red", 0xFF0000}, {L"RosyBrown", 0xBC8F8F},
    {L"RoyalBlue", 0x4169E1}, {L"SaddleBrown", 0x8B4513}, {L"Salmon", 0xFA8072}, {L"SandyBrown", 0xF4A460},
    {L"SeaGreen", 0x2E8B57}, {L"SeaShell", 0xFFF5EE}, {L"Sienna", 0xA0522D}, {L"Silver", 0xC0C0C0},
    {L"SkyBlue", 0x87CEEB}, {L"SlateBlue", 0x6A5ACD}, {L"SlateGray", 0x708090}, {L"SlateGrey", 0x708090},
    {L"Snow", 0xFFFAFA}, {L"SpringGreen", 0x00FF7F}, {L"SteelBlue", 0x4682B4}, {L"Tan", 0xD2B48C},
    {L"Teal", 0x008080}, {L"Thistle", 0xD8BFD8}, {L"Tomato", 0xFF6347}, {L"Turquoise", 0x40E0D0},
    {L"Violet", 0xEE82EE}, {L"Wheat", 0xF5DEB3}, {L"White", 0xFFFFFF}, {L"WhiteSmoke", 0xF5F5F5},
    {L"Yellow", 0xFFFF00}, {L"YellowGreen", 0x9ACD32},
};
static_assert(std::size(kKeywords) + 1 == kBorderColourCount);

std::vector<sBorderColour> MakeBorderColours() {
  std::vector<sBorderColour> colours;
  colours.reserve(kBorderColourCount);
  colours.push_back({0xFFF5A52Cu, L"Default"});
  for (const sNamedRgb& k : kKeywords) {
    std::wstring name = k.name;
    name += L' ';
    if (name == L"IndianRed " || name == L"Indigo ") name += L' ';
    colours.push_back({0xFF000000u | k.rgb, name});
  }
  return colours;
}

}  // namespace

const std::vector<sBorderColour>& BorderColours() {
  static const std::vector<sBorderColour> colours = MakeBorderColours();
  return colours;
}

int BorderColourIndex(std::uint32_t colour) {
  const std::vector<sBorderColour>& colours = BorderColours();
  for (int i = static_cast<int>(colours.size()) - 1; i >= 0; --i) {
    if (colours[static_cast<std::size_t>(i)].colour == colour) return i;
  }
  return 0;
}

std::vector<sResolution> BuildResolutionList(const std::vector<plat::DisplayMode>& modes,
                                             const std::function<bool(int width, int height)>& hasLayout) {
  std::vector<sResolution> list;
  for (const plat::DisplayMode& mode : modes) {
    const bool known = std::any_of(list.begin(), list.end(), [&](const sResolution& r) {
      return r.width == mode.width && r.height == mode.height;
    });
    if (known || !hasLayout(mode.width, mode.height)) continue;
    list.push_back({0, mode.width, mode.height, 0});
  }
  std::sort(list.begin(), list.end(), [](const sResolution& a, const sResolution& b) {
    return a.width != b.width ? a.width < b.width : a.height < b.height;
  });
  for (std::size_t i = 0; i < list.size(); ++i) list[i].index = static_cast<int>(i);
  return list;
}

bool LayoutFileExists(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  return plat::FileExists(plat::ToUtf8(plat::Format(L"data\\GUI_%dx%d.csv", width, height)));
}

std::vector<plat::DisplayMode> LayoutSizes() {
  std::vector<plat::DisplayMode> sizes;
  std::error_code error;
  std::filesystem::directory_iterator it(plat::ResolvePath(std::string_view("data")), error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    int w = 0, h = 0;
    char tail[8] = {};
    if (std::sscanf(name.c_str(), "GUI_%dx%d%7s", &w, &h, tail) == 3 && std::string(tail) == ".csv" && w > 0 &&
        h > 0) {
      sizes.push_back({w, h});
    }
  }
  return sizes;
}

float VolumeFromSlider(int position) { return static_cast<float>(position) / static_cast<float>(kVolumeSteps); }

int VolumeToSlider(float volume) { return static_cast<int>(volume * static_cast<float>(kVolumeSteps)); }

int VolumeToPercent(float volume) {
  const float percent = volume * 100.0f;
  return static_cast<int>(std::ceil(percent));
}

int DelayToSlider(float milliseconds) { return static_cast<int>(milliseconds / 1000.0f); }

int DelaySliderMinimum(int row) { return DelayMinimumMs(row) / kDelayMsPerStep; }

std::wstring DelayLabel(int row, float milliseconds) {
  if (milliseconds < 0.0f) return g_StringBase.GetText("pref_delay_wait_for_click");
  if (milliseconds == 0.0f) {
    if (row == 0) return g_StringBase.GetText("pref_delay_immediately");
    if (row == 1 || row == 2) return g_StringBase.GetText("pref_delay_dont_show");
  }
  return plat::Format(g_StringBase.GetText("pref_delay_%.1f"), static_cast<double>(milliseconds) / 1000.0);
}

std::wstring VisibilityLabel(int range) {
  if (range < 1) return g_StringBase.GetText("pref_visibility_disabled");
  if (range == 1) return g_StringBase.GetText("pref_visibility_1_hex");
  return plat::Format(g_StringBase.GetText("pref_visibility_%i_hexes"), range);
}

int FrameIntervalForLimit(int limit) { return limit >= 1 ? 1000 / limit : 0; }
