#include "dialogs/dialog.h"

#include "app/dialog_stack.h"
#include "app/input_routing.h"

// GUI events of any dialog go to the active dialog (the top of the stack).
cDialog::cDialog(int id) : id_(id) { dialog_.SetCallback(DialogOnGUIEventThunk); }

cDialog::~cDialog() = default;

void cDialog::OnRender(float) {}

void cDialog::Close() {
  dialog_.SetCallback(nullptr);
  if (g_pActiveDialog == this) g_pActiveDialog = nullptr;
  delete this;
}

void cDialog::OnGUIEvent(unsigned, int, CDXUTControl*) {}
void cDialog::OnKeyboard(unsigned, bool, bool) {}
void cDialog::OnMouse(bool, bool, bool, bool, bool, int, int, int) {}
void cDialog::OnReactivate() {}
void cDialog::OnTimerTick() {}
