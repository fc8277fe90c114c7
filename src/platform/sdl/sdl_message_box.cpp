#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/message_box.h"
#include "platform/text.h"

namespace plat::sdl {

bool IsHeadlessDriver(const char* name) {
  return name != nullptr && (SDL_strcasecmp(name, "dummy") == 0 || SDL_strcasecmp(name, "offscreen") == 0);
}

bool IsHeadlessVideo() {
  return IsHeadlessDriver(SDL_GetCurrentVideoDriver()) || IsHeadlessDriver(std::getenv("SDL_VIDEODRIVER"));
}

void InstallSdlMessageBox(SDL_Window* window) {
  SetMessageBoxHandler([window](std::wstring_view caption, std::wstring_view text) {
    if (IsHeadlessVideo()) return;
    const std::string title = ToUtf8(caption);
    const std::string message = ToUtf8(text);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), message.c_str(), window) != 0) {
      SDL_LogWarn(SDL_LOG_CATEGORY_VIDEO, "message box failed: %s", SDL_GetError());
    }
  });
}

}  // namespace plat::sdl
