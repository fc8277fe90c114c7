#include "screens/menu.h"

#include <algorithm>
#include <vector>

#include "app/main_thread_queue.h"
#include "app/console_log.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "gui/hint_text.h"
#include "platform/framework.h"
#include "platform/input_state.h"

cMenu* g_pCurrentMenu = nullptr;

namespace {
std::vector<cMenu*> g_RetiredMenus;
}

cMenu::cMenu() {
  if (g_pCurrentMenu != nullptr) {
    LogLine(L"-- Deleting old menu");
    // The old menu stops being reachable now and is freed when the frame
    // ends: the handler that opens this menu may still be running in it.
    g_RetiredMenus.push_back(g_pCurrentMenu);
  }
  g_pCurrentMenu = nullptr;
  g_HintText.SetText(nullptr);
  g_HintText.SetAnchor(nullptr);
  // Hidden until the subclass has built its controls.
  dialog_.SetVisible(false);

  LogLine(L"-- Setting callbacks");
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackFrameMove(MenuOnFrameMoveThunk);
  dialog_.SetCallback(MenuOnGUIEventThunk);
  framework.SetCallbackMouse(MenuOnMouseThunk, true);
  framework.SetCallbackKeyboard(MenuOnKeyboardThunk);
  framework.SetCallbackFrameRender(MenuFrameRender);
  g_pCurrentMenu = this;
}

cMenu::~cMenu() {
  dialog_.RemoveAllControls();
  if (g_pCurrentMenu == this) g_pCurrentMenu = nullptr;
  // A menu deleted directly must not be deleted again as a retired one.
  g_RetiredMenus.erase(std::remove(g_RetiredMenus.begin(), g_RetiredMenus.end(), this),
                       g_RetiredMenus.end());
}

void cMenu::OnGUIEvent(unsigned, int, CDXUTControl*) {}
void cMenu::OnKeyboard(unsigned, bool, bool) {}
void cMenu::OnMouse(bool, bool, bool, bool, bool, int, int, int) {}
void cMenu::OnFrameMove(double, float) {}
void cMenu::OnRender(float) {}

bool cMenu::OfferMessage(const plat::Message& message) {
  bool press = false;
  const unsigned button = plat::ButtonOf(message.msg, press);
  // The list's double click that asks a question comes on the press: its
  // release still lets the list go. A press no dialog took has no owner
  // noted (the routing's rules, frame/input_routing.cpp).
  const bool releasesOwnPress =
      button != 0 && !press && plat::GetInputState().KeyPressedOn(button) == plat::kNoScreen;
  if (VisibleActiveDialog() != nullptr && !releasesOwnPress) {
    dialog_.ForgetMouseOver();
    return false;
  }
  return dialog_.MsgProc(message);
}

void RetireCurrentMenu() {
  if (g_pCurrentMenu == nullptr) return;
  g_RetiredMenus.push_back(g_pCurrentMenu);
  g_pCurrentMenu = nullptr;
}

void (*g_MenuFrameDrawnHook)() = nullptr;

namespace {

plat::FrameRenderCallback g_ScreenRender;

}  // namespace

void SetScreenRender(plat::FrameRenderCallback render) { g_ScreenRender = std::move(render); }

void MenuFrameRender(double time, float elapsed) {
  if (g_ScreenRender) g_ScreenRender(time, elapsed);
  // A menu switched during the frame goes now that nothing of it runs.
  DeleteRetiredMenus();
  if (g_MenuFrameDrawnHook != nullptr) g_MenuFrameDrawnHook();
}

void DeleteRetiredMenus() {
  // A menu's destructor may retire further menus; take the list first.
  while (!g_RetiredMenus.empty()) {
    cMenu* menu = g_RetiredMenus.back();
    g_RetiredMenus.pop_back();
    delete menu;
  }
}

void MenuOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control) {
  if (g_pCurrentMenu != nullptr) g_pCurrentMenu->OnGUIEvent(event, controlId, control);
}

void MenuOnKeyboardThunk(unsigned key, bool keyDown, bool altDown) {
  if (g_pCurrentMenu != nullptr) {
    g_pCurrentMenu->OnKeyboard(key, keyDown, altDown);
  } else if (cDialog* dialog = VisibleActiveDialog()) {
    // The map in its menu state under a dialog (the save dialog): its
    // message and question take Enter and Escape as everywhere else.
    dialog->OnKeyboard(key, keyDown, altDown);
  }
}

void MenuOnMouseThunk(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                      int x, int y) {
  g_HintText.UpdateMouse(left, right, x, y);
  if (g_pCurrentMenu != nullptr) {
    g_pCurrentMenu->OnMouse(left, right, middle, side1, side2, wheelDelta, x, y);
  }
}

void MenuOnFrameMoveThunk(double time, float elapsed) {
  // What the worker thread asked of the main thread is done here, each frame.
  DrainMainThreadRequests();
  if (g_pCurrentMenu != nullptr) g_pCurrentMenu->OnFrameMove(time, elapsed);
}
