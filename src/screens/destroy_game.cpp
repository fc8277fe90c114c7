#include "screens/destroy_game.h"

#include "app/texture.h"
#include "dialogs/dialog_stack.h"
#include "rules/worker_thread.h"
#include "world/world.h"
#include "world/world_view.h"

void DestroyGame() {
  if (g_pWorld != nullptr) {
    // The worker first: it may be waiting for one of the dialogs below.
    StopAiThread(g_pWorld);
    // Then whatever shows the world's records: the dialogs opened over the
    // game, and the map screen with its panels (the world's view).
    PopDialogs(-1);
    g_pWorld->SetView(nullptr);
  }
  delete g_pWorld;
  g_pWorld = nullptr;
  for (int i = 3; i < kTextureTableSize; ++i) g_Textures[i].Release();
}
