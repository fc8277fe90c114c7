#include "screens/loading_menu.h"

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/texture.h"
#include "gui/dxut_frames.h"
#include "platform/framework.h"
#include "platform/render.h"
#include "rules/worker_thread.h"
#include "screens/main_menu.h"
#include "screens/scenario_settings_menu.h"
#include "world/world.h"

cLoadingMenu::cLoadingMenu() {
  g_Textures[kMenuWallpaperSlot].Release();
  g_Textures[kMenuWallpaperSlot].Load(L"data\\gfx\\wallpaper_loading.png", cTexture::kFromFile, 1);
  LogLine(L"----- Loading -----");
  dialog_.AddProgressBarFromLayout(kLoadingProgressBarId, 0, 100, 0, &bar_);
  dialog_.SetVisible(true);
}

void cLoadingMenu::SetProgress(int percent) {
  if (bar_ != nullptr) bar_->SetValue(percent);
  LogLine(L" Progress = %i%%", percent);
  DrawFrameNow();
}

void cLoadingMenu::DrawFrameNow() {
  plat::Renderer* renderer = plat::GetFramework().GetRenderer();
  if (renderer == nullptr) return;
  // The time since the last frame drawn here; the controls blend their
  // colours by it (a first frame, or a clock that stands still, counts as
  // one frame at 60 per second).
  const double now = plat::GetFramework().GetTime();
  float elapsed = last_frame_time_ >= 0.0 ? static_cast<float>(now - last_frame_time_) : 0.0f;
  if (elapsed <= 0.0f) elapsed = 1.0f / 60.0f;
  last_frame_time_ = now;
  AcquireFrameworkLock(nullptr, 0);
  if (renderer->BeginScene() >= 0) {
    renderer->Clear(0x00000000u);
    OnRender(elapsed);
    renderer->EndScene();
  }
  ReleaseFrameworkLock(nullptr, 0);
}

void cLoadingMenu::CreateNextMenu() {
  if (g_pWorld != nullptr) StartAiThread(*g_pWorld);
  LogLine(L"Creating next menu");
  g_Textures[kMenuWallpaperSlot].Release();
  // The new menu retires this one; nothing of it is touched afterwards.
  new cScenarioSettingsMenu();
}

void cLoadingMenu::OnRender(float elapsed) {
  DrawMenuWallpaper(kMenuWallpaperSlot);
  dialog_.OnRender(elapsed);
}
