// A message box with a caption, a text and the information icon, for the few
// places that tell the player about broken data while going on. The default
// shows nothing (tests, headless runs); the window layer installs one that
// shows a real box.
#pragma once

#include <functional>
#include <string_view>

namespace plat {

using MessageBoxHandler = std::function<void(std::wstring_view caption, std::wstring_view text)>;

// Shows the box through the installed handler (nothing when none is).
void ShowMessageBox(std::wstring_view caption, std::wstring_view text);
// Installs the handler; an empty one restores the default.
void SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace plat
