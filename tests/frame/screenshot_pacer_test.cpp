#include "frame/screenshot_pacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The frames pictured (1-based) when the screens are shown in turn.
std::vector<int> Pictured(const std::vector<std::wstring>& frames, int framesIn) {
  cScreenshotPacer pacer;
  std::vector<int> shots;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (pacer.Frame(frames[i], framesIn)) shots.push_back(static_cast<int>(i) + 1);
  }
  return shots;
}

TEST(ScreenshotPacer, AScreenIsPicturedOnceAfterItsFramesAndAgainWhenItComesBackAfterNothing) {
  const std::wstring a = L"dialog at 0x1", b = L"dialog at 0x2";
  // Pictured on its third frame, once however long it stays.
  EXPECT_EQ(Pictured({a, a, a, a, a}, 3), (std::vector<int>{3}));
  // Too short a stay is not pictured; a change starts the count again.
  EXPECT_EQ(Pictured({a, a, b, b, b, a, a, a}, 3), (std::vector<int>{5, 8}));
  // The end-turn question, the computer's turn (nothing to picture), then
  // the greeting, made where the question lay and so of the same key: it
  // is a new screen all the same.
  EXPECT_EQ(Pictured({a, a, a, L"", L"", a, a, a}, 3), (std::vector<int>{3, 8}));
  // A menu whose message closes was pictured with the message over it.
  const std::wstring menu = L"menu at 0x3", message = L"menu at 0x3 message at 0x4";
  EXPECT_EQ(Pictured({menu, menu, menu, message, message, message, menu, menu, menu}, 3),
            (std::vector<int>{3, 6}));
}

}  // namespace
