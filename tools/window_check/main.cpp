// window_check: opens the game's window as a player would see it, draws a
// frame through the window renderer (a clear, tinted quads of a texture
// written through Lock, a line of text) and saves what the renderer drew as
// a PNG, then closes after the given number of frames.
//
//   window_check <screenshot.png> [frames]
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/render.h"
#include "platform/sdl/sdl_framework.h"
#include "platform/sdl/sdl_renderer.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Writes a 64x64 tile: a soft diagonal gradient with a light frame, white
// enough that tints show through.
void PaintTile(plat::Texture& texture) {
  int pitch = 0;
  std::uint32_t* texels = texture.Lock(pitch);
  if (!texels) return;
  for (int y = 0; y < texture.Height(); ++y) {
    for (int x = 0; x < texture.Width(); ++x) {
      const bool edge = x < 3 || y < 3 || x >= texture.Width() - 3 || y >= texture.Height() - 3;
      const std::uint32_t v = edge ? 255u : static_cast<std::uint32_t>(150 + (x + y) * 100 / 126);
      texels[y * pitch + x] = 0xFF000000u | (v << 16) | (v << 8) | v;
    }
  }
  texture.Unlock();
}

bool SaveScreenshot(plat::Renderer* renderer, const std::string& path) {
  auto* sdlRenderer = dynamic_cast<plat::sdl::SdlRenderer*>(renderer);
  if (!sdlRenderer || !sdlRenderer->Native()) return false;
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(sdlRenderer->Native(), &w, &h) != 0 || w <= 0 || h <= 0) return false;
  SDL_Surface* shot = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!shot) return false;
  bool ok = SDL_RenderReadPixels(sdlRenderer->Native(), nullptr, SDL_PIXELFORMAT_ARGB8888, shot->pixels,
                                 shot->pitch) == 0 &&
            IMG_SavePNG(shot, path.c_str()) == 0;
  if (!ok) std::fprintf(stderr, "window_check: screenshot failed: %s\n", SDL_GetError());
  SDL_FreeSurface(shot);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_check <screenshot.png> [frames]\n");
    return 2;
  }
  const std::string shotPath = argv[1];
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

  plat::sdl::SdlFramework fw;
  plat::SetFramework(&fw);
  std::unique_ptr<plat::Texture> tile;
  std::unique_ptr<plat::Font> font;
  std::unique_ptr<plat::SpriteBatch> batch;
  bool shotSaved = false;
  int frame = 0;

  fw.SetCallbackDeviceCreated([&](const plat::BackBufferDesc& desc) {
    std::printf("device created %dx%d\n", desc.width, desc.height);
    plat::Renderer* r = fw.GetRenderer();
    tile = r->CreateTexture(64, 64);
    if (tile) PaintTile(*tile);
    font = r->CreateFont(L"Arial", 24, 700);
    batch = std::make_unique<plat::SpriteBatch>(*r);
    return 0L;
  });
  fw.SetCallbackDeviceDestroyed([&] {
    batch.reset();
    font.reset();
    tile.reset();
  });
  fw.SetFrameInterval(33);
  fw.SetCallbackFrameRender([&](double, float) {
    plat::Renderer* r = fw.GetRenderer();
    if (r->BeginScene() < 0) return;
    r->Clear(0xFF141C28);
    batch->Begin();
    if (tile) {
      const std::uint32_t tints[] = {0xFFFF4040, 0xFF40FF40, 0xFF4080FF, 0xFFFFD040, 0xFFFFFFFF};
      batch->SetTransform(plat::Matrix2D::Scaling(2.0f, 2.0f));
      for (int i = 0; i < 5; ++i) {
        // Positions are transformed too: x, y are in the scaled space.
        batch->Draw(*tile, nullptr, 40.0f + i * 90.0f, 60.0f, 0.5f, tints[i]);
      }
      batch->SetTransform(plat::Matrix2D::Identity());
      // Overlap: the nearer (smaller depth) quad must cover the farther one.
      batch->Draw(*tile, nullptr, 420.0f, 480.0f, 0.2f, 0xFFFF40FF);
      batch->Draw(*tile, nullptr, 450.0f, 510.0f, 0.8f, 0xFF40FFFF);
    }
    if (font) {
      plat::RectI rect{0, 360, kWidth, 420};
      font->DrawText(batch.get(), L"Tidewrack v1.01 \u2014 window check", rect,
                     plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine, 0xFFFFFFFF);
    }
    batch->End();
    ++frame;
    if (frame == frames) {
      shotSaved = SaveScreenshot(r, shotPath);
      fw.Shutdown(shotSaved ? 0 : 1);
    }
    r->EndScene();
  });

  if (!fw.CreateWindow(L"Tidewrack v1.01")) {
    std::fprintf(stderr, "window_check: no window: %s\n", SDL_GetError());
    return 1;
  }
  if (fw.CreateDevice(true, kWidth, kHeight) < 0) {
    std::fprintf(stderr, "window_check: no device: %s\n", SDL_GetError());
    return 1;
  }
  if (!font) std::fprintf(stderr, "window_check: font Arial 24/700 not made\n");
  fw.MainLoop();
  plat::SetFramework(nullptr);
  SDL_Quit();  // the program ends here: let SDL close its system connections
  if (shotSaved) std::printf("screenshot %s after %d frames\n", shotPath.c_str(), frame);
  return fw.GetExitCode();
}
