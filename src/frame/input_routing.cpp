#include "frame/input_routing.h"

#include <algorithm>

#include "app/draw_objects.h"
#include "dialogs/dialog_stack.h"
#include "gui/hint_text.h"
#include "app/main_thread_queue.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "gui/dxut_dialog.h"
#include "platform/input_state.h"
#include "screens/menu.h"
#include "screens/map_screen.h"
#include "screens/panel.h"
#include "world/world.h"
#include "world/game_phase.h"

namespace {

bool IsMouseMessage(unsigned msg) { return msg >= plat::kWmMouseMove && msg <= 0x020D; }

// What the keys go to now: the visible active dialog, the current menu or
// the map screen (null in the intro).
const void* KeyScreen() {
  if (cDialog* dialog = VisibleActiveDialog()) return dialog;
  if (g_pCurrentMenu != nullptr) return g_pCurrentMenu;
  return LoadedMapScreen();
}

// A held key repeats its press: the repeats belong to the screen that took
// the first press. Esc held while the logo ends would otherwise go on to
// the main menu and, after the click that opens the scenario list, send
// the player straight back. True when the message goes no further.
bool IsRepeatFromAnotherScreen(const plat::Message& message) {
  plat::KeyAndButtonState& input = plat::GetInputState();
  const auto key = static_cast<unsigned>(message.wParam);
  switch (message.msg) {
    case plat::kWmKeyDown:
    case plat::kWmSysKeyDown:
      if ((message.lParam & plat::kKeyRepeatBit) != 0) return input.KeyPressedOn(key) != KeyScreen();
      input.SetKeyPressedOn(key, KeyScreen());
      return false;
    case plat::kWmKeyUp:
    case plat::kWmSysKeyUp:
      input.SetKeyPressedOn(key, nullptr);
      return false;
    default:
      return false;
  }
}

}  // namespace

long MsgProc(const plat::Message& message, bool& noFurtherProcessing) {
  if (IsRepeatFromAnotherScreen(message)) {
    noFurtherProcessing = true;
    return 0;
  }
  cDialog* dialog = VisibleActiveDialog();
  if (dialog != nullptr && dialog->Dialog().MsgProc(message)) {
    noFurtherProcessing = true;
    return 0;
  }
  // What lies under the open dialog gets no mouse: no click, hint or hover
  // of a menu or panel goes through it.
  const bool overDialog = dialog != nullptr && IsMouseMessage(message.msg) &&
                          dialog->Dialog().CoversPoint(plat::MouseX(message.lParam), plat::MouseY(message.lParam));
  if (g_pCurrentMenu != nullptr) {
    if (overDialog) {
      g_pCurrentMenu->Dialog().ForgetMouseOver();
    } else {
      noFurtherProcessing = g_pCurrentMenu->Dialog().MsgProc(message);
    }
    return 0;
  }
  if (g_pWorld == nullptr || g_pWorld->GetGameState() == kPhaseScenarioLoaded) return 0;
  cMapScreen* screen = LoadedMapScreen();
  if (screen == nullptr) return 0;
  if (overDialog) {
    screen->ForgetPanelMouseOver();
  } else {
    noFurtherProcessing = screen->OfferMessageToPanels(message);
  }
  return 0;
}

