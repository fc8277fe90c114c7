#include "dialogs/dialog.h"

#include <algorithm>
#include <vector>

#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_frames.h"

namespace {
std::vector<cDialog*> g_RetiredDialogs;
}

// GUI events of any dialog go to the active dialog (the top of the stack).
cDialog::cDialog(int id) : id_(id) { dialog_.SetCallback(DialogOnGUIEventThunk); }

cDialog::cDialog(int id, int x, int y, int width, int height) : id_(id) {
  if (id > 0) {
    CDXUTFrame* frame = nullptr;
    if (SUCCEEDED(dialog_.AddFrame(id, x, y, width, height, 0, &frame)) && frame != nullptr) {
      frame->SetDraggable(true);
    }
  }
  dialog_.SetCallback(DialogOnGUIEventThunk);
}

cDialog::~cDialog() {
  // A dialog deleted directly must not be deleted again as a retired one.
  g_RetiredDialogs.erase(std::remove(g_RetiredDialogs.begin(), g_RetiredDialogs.end(), this),
                         g_RetiredDialogs.end());
  // Nobody may call a listener that is gone.
  for (cDialog* dialog : g_DialogStack) {
    if (dialog != nullptr && dialog->listener_ == this) dialog->listener_ = nullptr;
  }
  for (cDialog* dialog : g_RetiredDialogs) {
    if (dialog->listener_ == this) dialog->listener_ = nullptr;
  }
}

void cDialog::OnRender(float elapsed) { dialog_.OnRender(elapsed); }

void cDialog::Close() {
  dialog_.SetCallback(nullptr);
  if (g_pActiveDialog == this) g_pActiveDialog = nullptr;
  if (IsRetiredDialog(this)) return;
  // Out of reach of input and drawing until it is freed.
  dialog_.SetVisible(false);
  g_RetiredDialogs.push_back(this);
}

void cDialog::UpdateTimer(float elapsed) {
  if (timer_stopped_ != 0) return;
  if (countdown_ < 0.0f) return;  // exactly 0 still runs
  countdown_ -= elapsed;
  OnTimerTick(elapsed);
  if (countdown_ > 0.0f) return;
  countdown_ = -1.0f;
  // The timer stays running but idle until a new countdown is set.
  switch (expiry_action_) {
    case kExpiryClose: PopDialogs(1); break;
    case kExpiryHide: dialog_.SetVisible(false); break;
    case kExpiryShow: dialog_.SetVisible(true); break;
    default: break;
  }
}

void cDialog::StartCountdown(float seconds, int action) {
  countdown_ = seconds;
  expiry_action_ = action;
  timer_stopped_ = 0;
}

void cDialog::ClickButton(int id) {
  CDXUTControl* button = dialog_.GetControl(id);
  if (button == nullptr) return;
  dialog_.EnableNonUserEvents(true);
  dialog_.SendEvent(EVENT_BUTTON_CLICKED, true, button, true);
}

void cDialog::NotifyListener(unsigned event, int controlId, CDXUTControl* control) {
  if (listener_ != nullptr && !IsRetiredDialog(listener_)) listener_->OnGUIEvent(event, controlId, control);
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
void cDialog::OnTimerTick(float) {}

void DialogOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control) {
  if (cDialog* dialog = VisibleActiveDialog()) dialog->OnGUIEvent(event, controlId, control);
}
