#include "screens/menu.h"

#include <algorithm>
#include <vector>

#include "app/device_events.h"
#include "app/input_routing.h"
#include "platform/framework.h"

cMenu* g_pCurrentMenu = nullptr;

namespace {
std::vector<cMenu*> g_RetiredMenus;
}

cMenu::cMenu() {
  if (g_pCurrentMenu != nullptr) g_RetiredMenus.push_back(g_pCurrentMenu);
  g_pCurrentMenu = this;
  dialog_.SetCallback(MenuOnGUIEventThunk);
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackFrameMove(MenuOnFrameMoveThunk);
  framework.SetCallbackFrameRender(OnFrameRender);
  framework.SetCallbackKeyboard(MenuOnKeyboardThunk);
  framework.SetCallbackMouse(MenuOnMouseThunk, true);
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

void DeleteRetiredMenus() {
  // A menu's destructor may retire further menus; take the list first.
  while (!g_RetiredMenus.empty()) {
    cMenu* menu = g_RetiredMenus.back();
    g_RetiredMenus.pop_back();
    delete menu;
  }
}
