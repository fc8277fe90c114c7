#include "dialogs/dialog_stack.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "app/framework_lock.h"

#include "gui/hint_text.h"
#include "dialogs/dialog.h"
#include "gui/dxut_dialog.h"

std::vector<cDialog*> g_DialogStack;
cDialog* g_pActiveDialog = nullptr;

namespace {

// Id of the minimal dialog that stands in for a never-drawn top dialog.
constexpr int kPlaceholderId = 675;

// Told after dialogs have left the stack (SetDialogsClosedHook).
DialogsClosedHook g_DialogsClosedHook;

// The placeholder made active for a negative-id top; valid only while it is
// the active dialog. It is never on the stack, so the stack functions end it
// themselves whenever something else becomes active.
cDialog* g_pPlaceholder = nullptr;

// The mouse, drag and hint state belongs to the old top dialog.
void ResetInputState() {
  g_HintText.ClearMouseButtons();
  CDXUTDialog::ResetDrag();
  g_HintText.SetControl(nullptr);
}

// Makes the top of the stack active, or a placeholder when the top is a
// dialog that is never drawn.
void ActivateTop() {
  g_pActiveDialog = g_DialogStack.back();
  if (g_pActiveDialog->GetId() < 0) {
    g_pPlaceholder = new cDialog(kPlaceholderId);
    g_pActiveDialog = g_pPlaceholder;
  }
}

}  // namespace

void PushDialog(cDialog* dialog, int offset) {
  ResetInputState();
  if (dialog == nullptr) return;
  const auto size = static_cast<std::int64_t>(g_DialogStack.size());
  std::int64_t at = size + offset;
  if (at < 0) at = 0;
  if (at > size) at = size;  // a positive offset cannot reach past the top
  g_DialogStack.insert(g_DialogStack.begin() + static_cast<std::ptrdiff_t>(at), dialog);
  // A placeholder that loses the active place would be unreachable: end it.
  if (g_pPlaceholder != nullptr && g_pActiveDialog == g_pPlaceholder) g_pPlaceholder->Close();
  g_pPlaceholder = nullptr;
  g_pActiveDialog = g_DialogStack.back();
  g_HintText.SetAnchor(nullptr);
}

DialogsClosedHook SetDialogsClosedHook(DialogsClosedHook hook) {
  DialogsClosedHook previous = std::move(g_DialogsClosedHook);
  g_DialogsClosedHook = std::move(hook);
  return previous;
}

void PopDialogs(int count) {
  ResetInputState();
  if (count < 1 && count != -1) return;
  bool closed = false;
  for (;;) {
    if (g_pActiveDialog != nullptr) {
      // Closing a placeholder removes the never-drawn dialog under it from
      // the stack without closing that one.
      g_pActiveDialog->Close();
      g_pPlaceholder = nullptr;
      if (!g_DialogStack.empty()) {
        g_DialogStack.pop_back();
        closed = true;
      }
      g_pActiveDialog = nullptr;
      if (count > 0) --count;
    }
    if (!g_DialogStack.empty()) {
      ActivateTop();
      g_pActiveDialog->OnReactivate();
    }
    if (g_pActiveDialog == nullptr || count == 0) break;
  }
  if (closed && g_DialogsClosedHook) g_DialogsClosedHook();
}

void CloseDialogsDownTo(int id) {
  const std::size_t size = g_DialogStack.size();
  for (std::size_t k = 1; k <= size; ++k) {
    if (g_DialogStack[size - k]->GetId() == id) {
      PopDialogs(static_cast<int>(k));
      return;
    }
  }
}

cDialog* FindDialogById(int id) {
  for (cDialog* dialog : g_DialogStack) {
    if (dialog->GetId() == id) return dialog;
  }
  return nullptr;
}

bool IsOnDialogStack(plat::ScreenSerial serial) {
  return std::any_of(g_DialogStack.begin(), g_DialogStack.end(),
                     [serial](const cDialog* dialog) { return dialog->Serial() == serial; });
}

cDialog* VisibleActiveDialog() {
  cDialog* dialog = g_pActiveDialog;
  return dialog != nullptr && dialog->Dialog().GetVisible() ? dialog : nullptr;
}
