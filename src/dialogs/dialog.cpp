#include "dialogs/dialog.h"

#include "app/dialog_stack.h"

cDialog::cDialog(int id) : id_(id) {}

cDialog::~cDialog() = default;

void cDialog::OnRender(float) {}

void cDialog::Close() {
  if (g_pActiveDialog == this) g_pActiveDialog = nullptr;
  delete this;
}

void cDialog::OnGUIEvent(unsigned, int, CDXUTControl*) {}
void cDialog::OnKeyboard(unsigned, bool, bool) {}
void cDialog::OnMouse(bool, bool, bool, bool, bool, int, int, int) {}
void cDialog::OnReactivate() {}
void cDialog::OnTimerTick() {}
