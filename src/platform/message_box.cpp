#include "platform/message_box.h"

#include <utility>

namespace plat {

namespace {

MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}

}  // namespace

void ShowMessageBox(std::wstring_view caption, std::wstring_view text) {
  if (const MessageBoxHandler& handler = Handler()) handler(caption, text);
}

void SetMessageBoxHandler(MessageBoxHandler handler) { Handler() = std::move(handler); }

}  // namespace plat
