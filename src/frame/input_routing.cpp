#include "frame/input_routing.h"

#include <algorithm>

#include "app/draw_objects.h"
#include "dialogs/dialog_stack.h"
#include "gui/hint_text.h"
#include "app/main_thread_queue.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "gui/dxut_dialog.h"
#include "screens/menu.h"
#include "screens/map_screen.h"
#include "screens/panel.h"
#include "world/world.h"
#include "world/game_phase.h"

namespace {

}  // namespace

long MsgProc(const plat::Message& message, bool& noFurtherProcessing) {
  if (cDialog* dialog = VisibleActiveDialog()) {
    if (dialog->Dialog().MsgProc(message)) {
      noFurtherProcessing = true;
      return 0;
    }
  }
  if (g_pCurrentMenu != nullptr) {
    noFurtherProcessing = g_pCurrentMenu->Dialog().MsgProc(message);
    return 0;
  }
  if (g_pWorld == nullptr || g_pWorld->GetGameState() == kPhaseScenarioLoaded) return 0;
  if (cMapScreen* screen = LoadedMapScreen()) noFurtherProcessing = screen->OfferMessageToPanels(message);
  return 0;
}

