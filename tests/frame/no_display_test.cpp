// The built game started with no display to show its window on.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/text.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// Runs the game in a fresh folder with its data linked, as play.sh's run
// folder has it, and the environment's displays replaced by vars: it must end
// with exit 1 within 20 s, without a sanitizer report, and with one line on
// stderr and in its log that begins with start, which is returned.
std::string RunExpectingNoDisplay(const std::string& vars, const std::string& start) {
  const twtest::TempDir dir;
  const fs::path program = TW_GAME_PROGRAM;
  fs::create_directory_symlink(fs::canonical(program.parent_path() / "data"), dir.Path() / "data");
  const std::string command = "cd '" + dir.Path().string() +
                              "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ASAN_OPTIONS=detect_leaks=0 " +
                              vars + " timeout -s KILL 20 '" + program.string() + "' >/dev/null 2>stderr.txt";
  const int status = std::system(command.c_str());
  const std::string err = twtest::ReadFile(dir.File("stderr.txt"));
  const std::string log = twtest::ReadFile(dir.File("ConsoleOut.txt"));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "status " << status << "\n" << err;
  EXPECT_EQ(err.find("Sanitizer"), std::string::npos) << err;
  EXPECT_EQ(err.find("runtime error:"), std::string::npos) << err;
  const std::size_t at = err.find(start);
  const std::string line = at == std::string::npos ? "" : err.substr(at, err.find('\n', at) - at);
  EXPECT_FALSE(line.empty()) << err;
  EXPECT_NE(plat::ToUtf8(plat::FromUtf16LE(log.data(), log.size())).find("\n" + line + "\r\n"), std::string::npos);
  return line;
}

TEST(NoDisplay, GameStartedWithoutDisplayEndsWithExit1AndItsLine) {
  RunExpectingNoDisplay("", "ERROR: no display: DISPLAY is not set; ");
}

TEST(NoDisplay, GameOnADisplayThatCannotBeOpenedEndsWithExit1AndSdlsReason) {
  int number = 1000;  // a display no X server here holds
  while (fs::exists("/tmp/.X" + std::to_string(number) + "-lock") ||
         fs::exists("/tmp/.X11-unix/X" + std::to_string(number))) {
    ++number;
  }
  const std::string display = "DISPLAY=:" + std::to_string(number);
  // X11 asked for by name, as the walks ask, is honoured: SDL's reason names it.
  const std::string line =
      RunExpectingNoDisplay(display + " SDL_VIDEODRIVER=x11", "ERROR: no display: " + display + "; ");
  EXPECT_NE(line.find("x11"), std::string::npos) << line;
  // Not asked for, SDL falls back from X11 to a driver that shows nothing:
  // the line gives X11's reason all the same.
  const std::string fallback = RunExpectingNoDisplay(display, "ERROR: no display: " + display + "; ");
  EXPECT_NE(fallback.find("(x11: "), std::string::npos) << fallback;
}

}  // namespace
