#include "frame/screenshot_pacer.h"

bool cScreenshotPacer::Frame(const std::wstring& screen, int framesIn) {
  if (screen != screen_) {
    screen_ = screen;
    frames_ = 0;
  }
  if (screen.empty()) return false;
  return ++frames_ == framesIn;
}
