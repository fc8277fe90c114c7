#include "platform/movie.h"

#include <mutex>
#include <utility>

namespace plat {

namespace {
std::mutex g_factoryMutex;
MovieDecoderFactory& Factory() {
  static MovieDecoderFactory factory;
  return factory;
}
}  // namespace

void SetMovieDecoderFactory(MovieDecoderFactory factory) {
  std::lock_guard lock(g_factoryMutex);
  Factory() = std::move(factory);
}

std::unique_ptr<MovieDecoder> CreateMovieDecoder() {
  MovieDecoderFactory factory;
  {
    std::lock_guard lock(g_factoryMutex);
    factory = Factory();
  }
  return factory ? factory() : nullptr;
}

}  // namespace plat
