// The system clipboard with Unicode text, for the edit boxes. The default is
// an in-memory clipboard (tests, headless runs); the window layer installs
// the system one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plat {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual bool SetText(std::wstring_view text) = 0;
  // Nothing when the clipboard holds no text.
  virtual std::optional<std::wstring> GetText() = 0;
};

class MemoryClipboard final : public Clipboard {
 public:
  bool SetText(std::wstring_view text) override {
    text_ = std::wstring(text);
    return true;
  }
  std::optional<std::wstring> GetText() override { return text_; }

 private:
  std::optional<std::wstring> text_;
};

// The clipboard in use; the in-memory one unless another is installed.
Clipboard& GetClipboard();
// Installs a clipboard (the caller keeps it alive); null restores the
// in-memory one.
void SetClipboard(Clipboard* clipboard);
MemoryClipboard& GetMemoryClipboard();

}  // namespace plat
