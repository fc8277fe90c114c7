#include "farthest_zoom.h"

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/hex_drawing.h"
#include "platform/framework.h"
#include "platform/sdl/sdl_renderer.h"
#include "world/hex.h"
#include "world/map.h"
#include "world/world.h"

namespace {

// The frame of the drawing: no window and no loop, only the renderer the
// skin's textures and fonts are made on.
class OffscreenFramework final : public plat::Framework {
 public:
  explicit OffscreenFramework(plat::Renderer* renderer, int width, int height)
      : renderer_(renderer), desc_{width, height} {}
  void SetCallbackFrameMove(plat::FrameMoveCallback) override {}
  void SetCallbackFrameRender(plat::FrameRenderCallback) override {}
  void SetCallbackKeyboard(plat::KeyboardCallback) override {}
  void SetCallbackMouse(plat::MouseCallback, bool) override {}
  void SetCallbackMsgProc(plat::MsgProcCallback) override {}
  void SetCallbackDeviceCreated(plat::DeviceCallback) override {}
  void SetCallbackDeviceReset(plat::DeviceCallback) override {}
  void SetCallbackDeviceLost(plat::DeviceEventCallback) override {}
  void SetCallbackDeviceDestroyed(plat::DeviceEventCallback) override {}
  void SetCallbackPauseChanged(plat::PauseCallback) override {}
  void SetCursorSettings(bool, bool) override {}
  void SetFrameInterval(int) override {}
  bool CreateWindow(const std::wstring&) override { return false; }
  long CreateDevice(bool, int, int) override { return -1; }
  void MainLoop() override {}
  void Shutdown(int) override {}
  int GetExitCode() const override { return 0; }
  plat::Renderer* GetRenderer() override { return renderer_; }
  double GetTime() const override { return 0.0; }
  bool IsWindowed() const override { return true; }
  plat::BackBufferDesc GetBackBufferDesc() const override { return desc_; }

 private:
  plat::Renderer* renderer_;
  plat::BackBufferDesc desc_;
};

// Puts the settings and the skin's textures and fonts back however the
// drawing ends.
struct sRestore {
  const cMap* map;
  sSettings settings = g_Settings;
  float targetScale = g_MapTargetScale;
  ~sRestore() {
    ForgetMapPictures(*map);
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Release();
    ReleaseSkinFonts();
    g_Settings = settings;
    g_MapTargetScale = targetScale;
    plat::SetFramework(nullptr);
  }
};

}  // namespace

void RenderFarthestZoomPicture(cWorld& world, const std::filesystem::path& png) {
  cMap& map = world.GetMap();
  const int columns = map.GetWidth();
  const int rows = map.GetHeight();
  if (columns <= 0 || rows <= 0) throw std::runtime_error("the world has no map");
  // The farthest zoom of the 1024-pixel-wide screen; the picture holds every
  // cell's picture (166 pixels square, a column and a row apart).
  const float scale = 1024.0f / static_cast<float>(columns * kHexColumnWidth);
  const int picture = skin_sheet_layout::kPicture;
  const int width = static_cast<int>(std::ceil(((columns - 1) * kHexColumnWidth + picture) * scale));
  const int height =
      static_cast<int>(std::ceil(((rows - 1) * kHexRowHeight + kHexEvenColumnDrop + picture) * scale));
  auto renderer = plat::sdl::CreateSoftwareRenderer(width, height);
  if (!renderer) throw std::runtime_error("no software renderer of " + std::to_string(width) + "x" +
                                          std::to_string(height));
  sRestore restore{&map};
  OffscreenFramework frame(renderer.get(), width, height);
  plat::SetFramework(&frame);

  g_Settings.ResolutionX = width;
  g_Settings.ResolutionY = height;
  g_Settings.MapMode = 0;
  LoadMapSkin(L"Normal");
  if (!g_Textures[kSlotTerrain].Get()) throw std::runtime_error("the map skin \"Normal\" could not be loaded");

  // The view: the scale at once, the map's top-left corner at the picture's.
  g_Settings.MapZoom = g_MapTargetScale = scale;
  map.baseVisibleColumns = static_cast<int>(width / 41.5 + 2);
  map.baseVisibleRows = static_cast<int>(height / 49.0 + 2);
  map.ApplyCurrentZoom();
  map.viewX = map.targetX = static_cast<float>(width) / (2.0f * scale);
  map.viewY = map.targetY = static_cast<float>(height) / (2.0f * scale);
  map.centreColumn = columns / 2;
  map.centreRow = rows / 2;
  int firstColumn = 0, endColumn = 0, firstRow = 0, endRow = 0;
  map.VisibleRange(firstColumn, endColumn, firstRow, endRow);
  if (firstColumn != 0 || endColumn != columns || firstRow != 0 || endRow != rows) {
    throw std::runtime_error("the view does not reach every cell");
  }

  renderer->BeginScene();
  renderer->Clear(0xFF101820);
  plat::SpriteBatch batch(*renderer);
  batch.Begin();
  map.Render(batch);
  batch.End();
  renderer->EndScene();
  if (!renderer->SavePng(png.string())) throw std::runtime_error("cannot write " + png.string());
}
