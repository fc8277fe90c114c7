#include "platform/clipboard.h"

namespace plat {

namespace {
Clipboard* g_pClipboard = nullptr;
}

MemoryClipboard& GetMemoryClipboard() {
  static MemoryClipboard clipboard;
  return clipboard;
}

Clipboard& GetClipboard() { return g_pClipboard != nullptr ? *g_pClipboard : GetMemoryClipboard(); }

void SetClipboard(Clipboard* clipboard) { g_pClipboard = clipboard; }

}  // namespace plat
