#include "frame/device_events.h"

#include <cstddef>
#include <memory>

#include "app/console_log.h"
#include "app/draw_objects.h"
#include "dialogs/dialog_stack.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "gui/hint_text.h"
#include "app/skins.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "frame/input_routing.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "platform/framework.h"
#include "world/world.h"
#include "world/game_phase.h"

namespace {

// The owners of the objects the globals above and g_GuiFonts name.
std::unique_ptr<plat::Font> g_LayoutFontOwners[kGuiFonts];
std::unique_ptr<plat::Font> g_OverlayFontOwner;
std::unique_ptr<plat::SpriteBatch> g_SpriteOwner;

plat::Renderer* GetRenderer() { return plat::GetFramework().GetRenderer(); }

// Game phases in which the map screen is not drawn: constructed, scenario
// loaded, sea-battle screen shown.
bool IsMapScreenPhase(int phase) {
  return phase != kPhaseNothingLoaded && phase != kPhaseScenarioLoaded && phase != kPhaseSeaBattleScreen;
}

}  // namespace

long OnCreateDevice(const plat::BackBufferDesc&) {
  LogLine(L"Device create");
  if (plat::Renderer* renderer = GetRenderer()) {
    for (int i = 0; i < kGuiFonts; ++i) {
      sGuiFont& entry = g_GuiFonts[i];
      g_LayoutFontOwners[i] = renderer->CreateFont(entry.face, entry.height, entry.weight);
      entry.font = g_LayoutFontOwners[i].get();
    }
    g_OverlayFontOwner = renderer->CreateFont(L"Arial", 15, 700);
    g_pOverlayFont = g_OverlayFontOwner.get();
    // The unit and city appearance fonts of the skins.
    CreateSkinFonts(renderer);
  }
  for (cTexture& texture : g_Textures) texture.OnDeviceCreated();
  if (g_pWorld != nullptr) g_pWorld->ForEachCountryTexture([](cTexture& t) { t.OnDeviceCreated(); });
  LogLine(L"Device create end");
  return 0;
}

long OnResetDevice(const plat::BackBufferDesc&) {
  LogLine(L"Device reset");
  // Fonts keep their glyphs across a reset; only the sprite is made again.
  plat::Renderer* renderer = GetRenderer();
  if (renderer == nullptr) return kDeviceObjectFailed;
  g_SpriteOwner = std::make_unique<plat::SpriteBatch>(*renderer);
  g_pSprite = g_SpriteOwner.get();
  for (cTexture& texture : g_Textures) texture.OnDeviceReset();
  if (g_pWorld != nullptr) g_pWorld->ForEachCountryTexture([](cTexture& t) { t.OnDeviceReset(); });
  LogLine(L"Device reset end");
  return 0;
}

void OnLostDevice() {
  LogLine(L"Device lost");
  for (cTexture& texture : g_Textures) texture.OnDeviceLost();
  if (g_pWorld != nullptr) g_pWorld->ForEachCountryTexture([](cTexture& t) { t.OnDeviceLost(); });
  g_pSprite = nullptr;
  g_SpriteOwner.reset();
  LogLine(L"Device lost end");
}

void OnDestroyDevice() {
  LogLine(L"Device destroy");
  for (cTexture& texture : g_Textures) texture.Release();
  if (g_pWorld != nullptr) g_pWorld->ForEachCountryTexture([](cTexture& t) { t.Release(); });
  for (int i = 0; i < kGuiFonts; ++i) {
    g_GuiFonts[i].font = nullptr;
    g_LayoutFontOwners[i].reset();
  }
  g_pOverlayFont = nullptr;
  g_OverlayFontOwner.reset();
  ReleaseSkinFonts();
  LogLine(L"Device destroy end");
}

void OnFrameRender(double time, float elapsed) {
  AcquireFrameworkLock(nullptr, 0);
  plat::Renderer* renderer = GetRenderer();
  if (renderer != nullptr) {
    const long result = renderer->BeginScene();
    if (result < 0) {
      LogLine(L"-- Begin scene problem (%ld)", result);
    } else {
      renderer->Clear(0x00000000u);
      if (g_pWorld != nullptr && IsMapScreenPhase(g_pWorld->GetGameState())) {
        if (cMapScreen* screen = LoadedMapScreen()) screen->Render(elapsed);
      }
      if (g_pCurrentMenu != nullptr) g_pCurrentMenu->OnRender(elapsed);
      // By index: a dialog's drawing may change the stack.
      for (std::size_t i = 0; i < g_DialogStack.size(); ++i) {
        cDialog* dialog = g_DialogStack[i];
        if (dialog->GetId() >= 0 && dialog->Dialog().GetVisible()) dialog->OnRender(elapsed);
      }
      g_HintText.OnFrameRender();
    }
    renderer->EndScene();
    // A resting window draws a frame twice (a probe first): both have its
    // time.
    if (result >= 0) NoteFrameDrawn(time);
  }
  ReleaseFrameworkLock(nullptr, 0);
  DeleteRetiredMenus();
  DeleteRetiredDialogs();
}
