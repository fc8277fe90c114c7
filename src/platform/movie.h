// Video files decoded frame by frame for the movie player. The decoder is a
// back-end (FFmpeg in the window layer, fakes in tests); the player asks for
// one through the factory installed here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace plat {

class MovieDecoder {
 public:
  virtual ~MovieDecoder() = default;

  // Opens a video file (a path as it stands on disk). false when the file is
  // missing, unreadable or holds no video stream that can be decoded.
  virtual bool Open(const std::string& path) = 0;
  // Size of the video's frames in pixels (0 before a successful Open).
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Length in seconds; 0 when the file does not say.
  virtual double Duration() const = 0;
  // Decodes up to the frame that is due at the given time (seconds from the
  // start). Returns true when the current frame changed.
  virtual bool Advance(double seconds) = 0;
  // The current frame as ARGB texels with the row pitch in pixels; null
  // before the first frame.
  virtual const std::uint32_t* CurrentFrameARGB(int& pitch) const = 0;
  // True once the last frame has been shown for its whole duration (or the
  // stream ended without any frame).
  virtual bool AtEnd() const = 0;
};

using MovieDecoderFactory = std::function<std::unique_ptr<MovieDecoder>()>;

// Installs the factory that players use (an empty one removes it).
void SetMovieDecoderFactory(MovieDecoderFactory factory);
// A new decoder from the installed factory; null when none is installed.
std::unique_ptr<MovieDecoder> CreateMovieDecoder();

}  // namespace plat
