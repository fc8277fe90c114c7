#include "app/draw_objects.h"

#include "platform/framework.h"

plat::SpriteBatch* g_pSprite = nullptr;
plat::Font* g_pOverlayFont = nullptr;

void GetScreenSize(int& width, int& height) {
  if (plat::Renderer* renderer = plat::GetFramework().GetRenderer()) {
    width = renderer->ScreenWidth();
    height = renderer->ScreenHeight();
    return;
  }
  const plat::BackBufferDesc desc = plat::GetFramework().GetBackBufferDesc();
  width = desc.width;
  height = desc.height;
}
