// When the debugging pictures of TW_SCREENSHOT_DIR (frame/main.cpp) are
// taken: a screen is pictured once, some frames after it came up, and again
// when it has changed or been away. A frame that shows nothing worth a
// picture (the computer thinking between its moves, a move being stepped)
// counts as the screen being away, so that a dialog that comes back as it
// was, or a new one made where the last one lay in memory (the same key),
// is pictured anew.
#pragma once

#include <string>

class cScreenshotPacer {
 public:
  // One drawn frame showing the screen of that key (empty: nothing to
  // picture); true when it is the framesIn-th frame of the screen.
  bool Frame(const std::wstring& screen, int framesIn);

 private:
  std::wstring screen_;
  int frames_ = 0;
};
