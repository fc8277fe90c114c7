// The system clipboard through SDL: wide text in, UTF-8 to SDL and back.
#pragma once

#include "platform/clipboard.h"

namespace plat::sdl {

class SdlClipboard final : public Clipboard {
 public:
  bool SetText(std::wstring_view text) override;
  std::optional<std::wstring> GetText() override;
};

}  // namespace plat::sdl
