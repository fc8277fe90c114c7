#include "screens/destroy_game.h"

#include "app/texture.h"
#include "world/world.h"

void DestroyGame() {
  delete g_pWorld;
  g_pWorld = nullptr;
  for (int i = 3; i < kTextureTableSize; ++i) g_Textures[i].Release();
}
