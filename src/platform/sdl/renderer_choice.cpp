#include "platform/sdl/renderer_choice.h"

#include <SDL.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace plat::sdl {
namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER
// How long the child that asks the GL may take; a driver that hangs longer
// leaves the choice to SDL.
constexpr int kProbeMs = 5000;

bool Contains(std::string_view text, std::string_view word) {
  return std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         }) != text.end();
}

bool Asked(const char* hint) { return hint != nullptr && *hint != '\0'; }

// The name of the render driver SDL tries first for a window.
std::string FirstRenderDriver() {
  SDL_RendererInfo info{};
  if (SDL_GetNumRenderDrivers() < 1 || SDL_GetRenderDriverInfo(0, &info) != 0 || info.name == nullptr) return {};
  return info.name;
}

// The GL_RENDERER text of a GL context made on a hidden window; empty when
// there is no GL. SDL's video must be up.
std::string GlRendererOfANewContext() {
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
  if (probe == nullptr) return {};
  std::string name;
  if (SDL_GLContext context = SDL_GL_CreateContext(probe)) {
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* text = getString != nullptr ? getString(kGlRenderer) : nullptr;
    if (text != nullptr) name = reinterpret_cast<const char*>(text);
    SDL_GL_DeleteContext(context);
  }
  SDL_DestroyWindow(probe);
  return name;
}

// GlRendererOfANewContext in a child process forked while this one has no
// other thread and no video yet; the child writes the text into a pipe and
// ends without running this process's exit handlers.
std::string GlRendererApart() {
  int ends[2];
  if (pipe(ends) != 0) return {};
  const pid_t child = fork();
  if (child < 0) {
    close(ends[0]);
    close(ends[1]);
    return {};
  }
  if (child == 0) {
    close(ends[0]);
    const std::string name = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 ? GlRendererOfANewContext() : std::string();
    const ssize_t written = write(ends[1], name.data(), name.size());
    _exit(written == static_cast<ssize_t>(name.size()) ? 0 : 1);
  }
  close(ends[1]);
  std::string name;
  bool ended = false;
  const Uint64 until = SDL_GetTicks64() + kProbeMs;
  while (!ended) {
    const Uint64 now = SDL_GetTicks64();
    if (now >= until) break;
    pollfd wait{ends[0], POLLIN, 0};
    if (poll(&wait, 1, static_cast<int>(until - now)) <= 0) continue;
    char part[256];
    const ssize_t got = read(ends[0], part, sizeof part);
    if (got > 0) {
      name.append(part, static_cast<std::size_t>(got));
    } else {
      ended = true;
    }
  }
  close(ends[0]);
  if (!ended) {
    kill(child, SIGKILL);
    name.clear();
  }
  waitpid(child, nullptr, 0);
  return name;
}

}  // namespace

bool NamesSoftwareRasteriser(std::string_view glRenderer) {
  return Contains(glRenderer, "llvmpipe") || Contains(glRenderer, "softpipe") || Contains(glRenderer, "swrast") ||
         Contains(glRenderer, "Software Rasterizer");
}

bool DrawInSoftwareInstead(const char* askedDriver, std::string_view rendererName,
                           const std::function<std::string()>& glRenderer) {
  if (Asked(askedDriver)) return false;
  if (rendererName.substr(0, 6) != "opengl") return false;
  return NamesSoftwareRasteriser(glRenderer());
}

std::string ChooseRenderDriver() {
  const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (Asked(asked)) return "asked for by SDL_RENDER_DRIVER=" + std::string(asked);
  const char* video = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (Asked(video) && (std::strcmp(video, "dummy") == 0 || std::strcmp(video, "offscreen") == 0)) {
    return "SDL's choice";
  }
  const std::string first = FirstRenderDriver();
  std::string gl;
  if (!DrawInSoftwareInstead(asked, first, [&gl] { return gl = GlRendererApart(); })) return "SDL's choice";
  SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
  return "in place of SDL's " + first + " renderer, which would draw on " + gl +
         ", a software rasteriser (SDL_RENDER_DRIVER=" + first + " takes it)";
}

}  // namespace plat::sdl
