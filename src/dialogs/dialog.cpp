#include "dialogs/dialog.h"

#include <algorithm>
#include <vector>

#include "app/dialog_stack.h"
#include "app/input_routing.h"

// GUI events of any dialog go to the active dialog (the top of the stack).
cDialog::cDialog(int id) : id_(id) { dialog_.SetCallback(DialogOnGUIEventThunk); }

namespace {
std::vector<cDialog*> g_RetiredDialogs;
}

cDialog::~cDialog() {
  // A dialog deleted directly must not be deleted again as a retired one.
  g_RetiredDialogs.erase(std::remove(g_RetiredDialogs.begin(), g_RetiredDialogs.end(), this),
                         g_RetiredDialogs.end());
}

void cDialog::OnRender(float) {}

void cDialog::Close() {
  dialog_.SetCallback(nullptr);
  if (g_pActiveDialog == this) g_pActiveDialog = nullptr;
  if (IsRetiredDialog(this)) return;
  // Out of reach of input and drawing until it is freed.
  dialog_.SetVisible(false);
  g_RetiredDialogs.push_back(this);
}

bool IsRetiredDialog(const cDialog* dialog) {
  return std::find(g_RetiredDialogs.begin(), g_RetiredDialogs.end(), dialog) != g_RetiredDialogs.end();
}

void DeleteRetiredDialogs() {
  // A dialog's destructor may close further dialogs; take them one by one.
  while (!g_RetiredDialogs.empty()) {
    cDialog* dialog = g_RetiredDialogs.back();
    g_RetiredDialogs.pop_back();
    delete dialog;
  }
}

void cDialog::OnGUIEvent(unsigned, int, CDXUTControl*) {}
void cDialog::OnKeyboard(unsigned, bool, bool) {}
void cDialog::OnMouse(bool, bool, bool, bool, bool, int, int, int) {}
void cDialog::OnReactivate() {}
void cDialog::OnTimerTick() {}
