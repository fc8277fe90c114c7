// One player of a play-by-e-mail game, as the game's header lists them.
#pragma once

#include <string>

struct sPbemPlayer {
  int number = 0;  // 1 to 8
  std::wstring name;
  std::wstring email;
};
