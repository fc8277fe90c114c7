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

// The button a press or a release message is about (its virtual key), 0
// for other messages; press tells which of the two it is (a double click
// is a press).
unsigned ButtonOf(unsigned msg, bool& press) {
  switch (msg) {
    case plat::kWmLButtonDown:
    case plat::kWmLButtonDblClk: press = true; return plat::kVkLButton;
    case plat::kWmRButtonDown:
    case plat::kWmRButtonDblClk: press = true; return plat::kVkRButton;
    case plat::kWmMButtonDown:
    case plat::kWmMButtonDblClk: press = true; return plat::kVkMButton;
    case plat::kWmLButtonUp: press = false; return plat::kVkLButton;
    case plat::kWmRButtonUp: press = false; return plat::kVkRButton;
    case plat::kWmMButtonUp: press = false; return plat::kVkMButton;
    default: return 0;
  }
}

// A press that a shown dialog took holds the mouse for the dialogs until
// its button is up: the input state notes the dialog (null for a press that
// something beneath took, or that came with no dialog shown), and a release
// ends the note.
void NotePressOwner(const plat::Message& message, const void* dialog) {
  bool press = false;
  if (const unsigned button = ButtonOf(message.msg, press)) {
    plat::GetInputState().SetKeyPressedOn(button, press ? dialog : nullptr);
  }
}

// A press noted held whose release never came (let go outside the window)
// is forgotten: a move or the wheel carries the buttons held, and a new
// press of a button begins a new click.
void ForgetEndedPresses(const plat::Message& message) {
  struct sButton {
    unsigned key, flag;
  };
  constexpr sButton kButtons[] = {
      {plat::kVkLButton, plat::kMkLButton}, {plat::kVkRButton, plat::kMkRButton}, {plat::kVkMButton, plat::kMkMButton}};
  const bool carriesButtons = message.msg == plat::kWmMouseMove || message.msg == plat::kWmMouseWheel;
  bool press = false;
  const unsigned button = ButtonOf(message.msg, press);
  for (const sButton& held : kButtons) {
    if ((carriesButtons && (message.wParam & held.flag) == 0) || (press && held.key == button)) {
      plat::GetInputState().SetKeyPressedOn(held.key, nullptr);
    }
  }
}

// The dialog that took a press still held, when it is no longer the one
// shown on top (it closed on that press, by its countdown or a key while
// the button was down, or another came over it); null otherwise.
const void* HoldOfAGoneDialog(const cDialog* shown) {
  for (unsigned button : {plat::kVkLButton, plat::kVkRButton, plat::kVkMButton}) {
    const void* owner = plat::GetInputState().KeyPressedOn(button);
    if (owner != nullptr && owner != shown) return owner;
  }
  return nullptr;
}

// Offers the message to what lies under the shown dialog (null: none is
// shown): the current menu, else the map screen's panels. True when one
// took it.
bool OfferBeneath(const plat::Message& message, cDialog* dialog) {
  if (g_pCurrentMenu != nullptr) {
    // The release of a press the menu took before the dialog came lets its
    // control go (the list's double click that asks a question comes on
    // the press); anything else is the dialog's.
    bool press = false;
    const unsigned button = ButtonOf(message.msg, press);
    if (dialog != nullptr && button != 0 && !press && plat::GetInputState().KeyPressedOn(button) == nullptr) {
      return g_pCurrentMenu->Dialog().MsgProc(message);
    }
    return g_pCurrentMenu->OfferMessage(message);
  }
  if (g_pWorld == nullptr || g_pWorld->GetGameState() == kPhaseScenarioLoaded) return false;
  cMapScreen* screen = LoadedMapScreen();
  if (screen == nullptr) return false;
  // What lies under the open dialog gets no mouse: no click, hint or hover
  // of a panel goes through it.
  if (dialog != nullptr && IsMouseMessage(message.msg) &&
      dialog->Dialog().CoversPoint(plat::MouseX(message.lParam), plat::MouseY(message.lParam))) {
    screen->ForgetPanelMouseOver();
    return false;
  }
  return screen->OfferMessageToPanels(message);
}

}  // namespace

long MsgProc(const plat::Message& message, bool& noFurtherProcessing) {
  if (IsRepeatFromAnotherScreen(message)) {
    noFurtherProcessing = true;
    return 0;
  }
  cDialog* dialog = VisibleActiveDialog();
  // The rest of a click whose press a dialog took reaches nothing once that
  // dialog is gone: a report closed by its countdown while the button was
  // down, or on the release itself, lets no half click through to the map.
  if (IsMouseMessage(message.msg)) {
    ForgetEndedPresses(message);
    if (const void* gone = HoldOfAGoneDialog(dialog)) {
      NotePressOwner(message, gone);
      noFurtherProcessing = true;
      return 0;
    }
  }
  if (dialog != nullptr && dialog->Dialog().MsgProc(message)) {
    NotePressOwner(message, dialog);
    noFurtherProcessing = true;
    return 0;
  }
  noFurtherProcessing = OfferBeneath(message, dialog);
  // Not taken beneath, a press goes on to the shown dialog's own mouse
  // handling (a click anywhere closes a report).
  NotePressOwner(message, noFurtherProcessing ? nullptr : dialog);
  return 0;
}
