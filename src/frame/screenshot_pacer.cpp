#include "frame/screenshot_pacer.h"

bool cScreenshotPacer::Frame(const std::wstring& screen, int framesIn) {
  if (screen != screen_) {
    // A menu whose message has closed was pictured with it ("<menu> <message>").
    const bool messageClosed = !screen.empty() && screen_.rfind(screen + L" ", 0) == 0;
    screen_ = screen;
    frames_ = messageClosed ? framesIn : 0;
  }
  if (screen.empty()) return false;
  return ++frames_ == framesIn;
}
