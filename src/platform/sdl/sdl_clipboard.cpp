#include "platform/sdl/sdl_clipboard.h"

#include <SDL.h>

#include "platform/text.h"

namespace plat::sdl {

bool SdlClipboard::SetText(std::wstring_view text) {
  return SDL_SetClipboardText(ToUtf8(text).c_str()) == 0;
}

std::optional<std::wstring> SdlClipboard::GetText() {
  if (SDL_HasClipboardText() != SDL_TRUE) return std::nullopt;
  char* utf8 = SDL_GetClipboardText();
  if (utf8 == nullptr) return std::nullopt;
  std::wstring text = FromUtf8(utf8);
  SDL_free(utf8);
  return text;
}

}  // namespace plat::sdl
