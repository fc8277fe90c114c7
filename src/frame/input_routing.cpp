#include "frame/input_routing.h"

#include <algorithm>

#include "app/draw_objects.h"
#include "dialogs/dialog_stack.h"
#include "gui/hint_text.h"
#include "app/main_thread_queue.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "gui/dxut_dialog.h"
#include "platform/framework.h"
#include "platform/input_state.h"
#include "screens/menu.h"
#include "screens/map_screen.h"
#include "screens/panel.h"
#include "world/world.h"
#include "world/game_phase.h"

// Who owns a press: the rules of the keys, the mouse buttons and what lies
// on top, all kept here.
//
// - Identity. Every dialog, menu and map screen has a serial (Serial(),
//   platform/screen_serial.h) given as it is made and never given again.
//   The notes below hold serials, never addresses: a note that outlives its
//   screen is never taken for a later one made in its memory, so a screen
//   that goes leaves its notes as they are.
// - Keys. The first press of a key is noted in the input state as made on
//   the key screen (KeyScreen: the visible active dialog, else the current
//   menu, else the map screen); its repeats reach only that screen, and
//   nothing once it has gone. The release ends the note.
// - Mouse buttons. A press is noted as the shown dialog's when the dialog
//   took it, with no owner (kNoScreen) when something beneath took it or no
//   dialog is shown. The rest of a click whose owner is no longer the dialog
//   shown reaches nothing, and the dialog shown takes no release of a press
//   it did not take; the menu under a dialog takes the release of a press
//   noted with no owner (cMenu::OfferMessage). A press whose release never
//   came (let go outside the window) is forgotten at the next move without
//   its button or the next press of it.
// - What lies on top. Each frame drawn notes the visible active dialog, or
//   none, with the frame's time (NoteFrameDrawn, from the frame render). A
//   press made before what lies on top now has been on the screen for
//   kSeeAndAimSeconds is noted as a gone screen's (kGoneScreen): it and its
//   release reach nothing.
// All of it is the main thread's, as the screens are.

namespace {

bool IsMouseMessage(unsigned msg) { return msg >= plat::kWmMouseMove && msg <= 0x020D; }

plat::ScreenSerial SerialOf(const cDialog* dialog) { return dialog != nullptr ? dialog->Serial() : plat::kNoScreen; }

// A player needs about a quarter of a second to see a new picture and act
// on it: a press made sooner after what lies on top changed on the screen
// (a report came, or went by its countdown) was begun for the picture
// before. The frames' time (GetTime) measures it: a frame reads its input
// before it takes its own time, so a press made while the changed picture
// was still being drawn (under load, most of a frame) counts as made at
// once.
constexpr double kSeeAndAimSeconds = 0.25;

// What the keys go to now: the visible active dialog, the current menu or
// the map screen (none in the intro).
plat::ScreenSerial KeyScreen() {
  if (cDialog* dialog = VisibleActiveDialog()) return dialog->Serial();
  if (g_pCurrentMenu != nullptr) return g_pCurrentMenu->Serial();
  if (cMapScreen* screen = LoadedMapScreen()) return screen->Serial();
  return plat::kNoScreen;
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
      input.SetKeyPressedOn(key, plat::kNoScreen);
      return false;
    default:
      return false;
  }
}

// Notes owner as the owner of a press; a release ends the note.
void NotePressOwner(const plat::Message& message, plat::ScreenSerial owner) {
  bool press = false;
  if (const unsigned button = plat::ButtonOf(message.msg, press)) {
    plat::GetInputState().SetKeyPressedOn(button, press ? owner : plat::kNoScreen);
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
  const unsigned button = plat::ButtonOf(message.msg, press);
  for (const sButton& held : kButtons) {
    if ((carriesButtons && (message.wParam & held.flag) == 0) || (press && held.key == button)) {
      plat::GetInputState().SetKeyPressedOn(held.key, plat::kNoScreen);
    }
  }
}

// The dialog that took a press still held, when it is no longer the one
// shown on top (it closed on that press, by its countdown or a key while
// the button was down, or another came over it); kNoScreen otherwise.
plat::ScreenSerial HoldOfAGoneDialog(plat::ScreenSerial shown) {
  for (unsigned button : {plat::kVkLButton, plat::kVkRButton, plat::kVkMButton}) {
    const plat::ScreenSerial owner = plat::GetInputState().KeyPressedOn(button);
    if (owner != plat::kNoScreen && owner != shown) return owner;
  }
  return plat::kNoScreen;
}

// Whether the message is a press made before the player could see what
// lies on top now (the shown dialog, or none): it was aimed at the picture
// before.
bool IsPressBeforeItWasSeen(const plat::Message& message, plat::ScreenSerial shown) {
  bool press = false;
  return plat::ButtonOf(message.msg, press) != 0 && press &&
         !plat::GetFramework().ShownOnTopFor(shown, kSeeAndAimSeconds);
}

// Whether the message releases a button whose press the shown dialog did
// not take (the map or a menu took it before the dialog came).
bool ReleasesAPressNotTakenBy(const plat::Message& message, plat::ScreenSerial shown) {
  bool press = false;
  const unsigned button = plat::ButtonOf(message.msg, press);
  return shown != plat::kNoScreen && button != 0 && !press && plat::GetInputState().KeyPressedOn(button) != shown;
}

// Offers the message to what lies under the shown dialog (null: none is
// shown): the current menu, else the map screen's panels. True when one
// took it.
bool OfferBeneath(const plat::Message& message, cDialog* dialog) {
  if (g_pCurrentMenu != nullptr) return g_pCurrentMenu->OfferMessage(message);
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

void NoteFrameDrawn(double frameTime) {
  plat::GetFramework().NoteShownOnTop(SerialOf(VisibleActiveDialog()), frameTime);
}

long MsgProc(const plat::Message& message, bool& noFurtherProcessing) {
  if (IsRepeatFromAnotherScreen(message)) {
    noFurtherProcessing = true;
    return 0;
  }
  cDialog* dialog = VisibleActiveDialog();
  const plat::ScreenSerial shown = SerialOf(dialog);
  // The rest of a click whose press a dialog took reaches nothing once that
  // dialog is gone: a report closed by its countdown while the button was
  // down, or on the release itself, lets no half click through to the map.
  if (IsMouseMessage(message.msg)) {
    ForgetEndedPresses(message);
    plat::ScreenSerial gone = HoldOfAGoneDialog(shown);
    // A press aimed at the picture before (a report the countdown closed
    // while it was still on the screen, or none where a report has just
    // come) is as one a gone screen took: it and its release reach nothing.
    if (gone == plat::kNoScreen && IsPressBeforeItWasSeen(message, shown)) gone = plat::kGoneScreen;
    if (gone != plat::kNoScreen) {
      NotePressOwner(message, gone);
      noFurtherProcessing = true;
      return 0;
    }
  }
  // Nor does the shown dialog take a click whose press it did not take: a
  // move with the button down after it came made the hint hold the button
  // as pressed on it, and a report would close on the release. The hint
  // forgets it first.
  if (ReleasesAPressNotTakenBy(message, shown)) g_HintText.ClearMouseButtons();
  if (dialog != nullptr && dialog->Dialog().MsgProc(message)) {
    NotePressOwner(message, shown);
    noFurtherProcessing = true;
    return 0;
  }
  noFurtherProcessing = OfferBeneath(message, dialog);
  // Not taken beneath, a press goes on to the shown dialog's own mouse
  // handling (a click anywhere closes a report).
  NotePressOwner(message, noFurtherProcessing ? plat::kNoScreen : shown);
  return 0;
}
