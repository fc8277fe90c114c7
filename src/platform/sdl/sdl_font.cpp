// Fonts over SDL_ttf. Windows face names map to metric-compatible Liberation
// faces where there is one, DejaVu Sans otherwise. Lines are rendered white
// once and cached (CachedTextFont); the tint colours them at draw time.
#include <SDL_ttf.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>

#include "platform/sdl/sdl_renderer.h"
#include "platform/text.h"

namespace plat::sdl {
namespace {

constexpr const char* kLiberation = "/usr/share/fonts/truetype/liberation2/";
constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/";

std::wstring Lower(const std::wstring& s) {
  std::wstring out(s);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(c));
  return out;
}

// Control characters (a newline in a single-line text) show as spaces.
std::string LineUtf8(std::wstring_view line) {
  std::wstring clean(line);
  for (wchar_t& c : clean) {
    if (c < 0x20) c = L' ';
  }
  return ToUtf8(clean);
}

class SdlFont final : public CachedTextFont {
 public:
  SdlFont(SdlRenderer& renderer, int height, TTF_Font* font)
      : CachedTextFont(renderer, height), renderer_(renderer), font_(font),
        line_height_(TTF_FontHeight(font)) {}
  ~SdlFont() override { TTF_CloseFont(font_); }

 protected:
  int MeasureWidth(std::wstring_view piece) const override {
    int w = 0, h = 0;
    if (TTF_SizeUTF8(font_, LineUtf8(piece).c_str(), &w, &h) != 0) return 0;
    return w;
  }
  int LineHeight() const override { return line_height_; }
  std::unique_ptr<Texture> RenderLine(std::wstring_view line) override {
    SDL_Surface* surface = TTF_RenderUTF8_Blended(font_, LineUtf8(line).c_str(), SDL_Color{255, 255, 255, 255});
    if (!surface) return nullptr;
    auto texture = renderer_.TextureFromSurface(surface, {});
    SDL_FreeSurface(surface);
    return texture;
  }

 private:
  SdlRenderer& renderer_;
  TTF_Font* font_;
  int line_height_;
};

}  // namespace

std::string FontFileFor(const std::wstring& face, int weight) {
  const bool bold = weight >= 600;
  const std::wstring f = Lower(face);
  std::string file;
  if (f == L"arial" || f == L"tahoma" || f == L"verdana") {
    file = std::string(kLiberation) + (bold ? "LiberationSans-Bold.ttf" : "LiberationSans-Regular.ttf");
  } else if (f == L"times new roman") {
    file = std::string(kLiberation) + (bold ? "LiberationSerif-Bold.ttf" : "LiberationSerif-Regular.ttf");
  } else if (f == L"courier new") {
    file = std::string(kLiberation) + (bold ? "LiberationMono-Bold.ttf" : "LiberationMono-Regular.ttf");
  }
  std::error_code ec;
  if (file.empty() || !std::filesystem::exists(file, ec)) {
    file = std::string(kDejaVu) + (bold ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf");
  }
  return file;
}

std::unique_ptr<Font> CreateSdlFont(SdlRenderer& renderer, const std::wstring& face, int height, int weight) {
  if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
  // A positive height is the character cell (ascent + descent), as Windows
  // reads it; a negative one the em size.
  const int pixels = height == 0 ? 12 : std::min(std::abs(height), 1000);
  const std::string file = FontFileFor(face, weight);
  TTF_Font* font = TTF_OpenFont(file.c_str(), pixels);
  if (!font) return nullptr;
  if (height > 0) {
    const int cell = TTF_FontHeight(font);
    if (cell > 0 && cell != pixels) {
      const int size = std::max(1, (pixels * pixels + cell / 2) / cell);
      TTF_SetFontSize(font, size);
    }
  }
  return std::make_unique<SdlFont>(renderer, height, font);
}

}  // namespace plat::sdl
