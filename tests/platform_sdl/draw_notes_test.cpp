// The notes of a frame's draw calls: the same calls of the same texels give
// the same fingerprint, and a frame too large to note (the whole map at its
// farthest zoom) never counts as the picture on the screen.
#include "platform/sdl/draw_notes.h"

#include <gtest/gtest.h>

namespace {

using plat::sdl::DrawNotes;

// A frame of count calls of one texture, each at a place of its own.
std::uint64_t Frame(DrawNotes& notes, std::size_t count, std::uint64_t version = 1) {
  notes.Reset();
  for (std::size_t i = 0; i < count; ++i) notes.Note(3, 42, version, static_cast<float>(i), 0.5f);
  return notes.Fingerprint();
}

TEST(DrawNotes, AFrameTooLargeToNoteIsNeverTheSamePicture) {
  DrawNotes notes;
  const std::size_t most = DrawNotes::kMostNotedCalls;
  EXPECT_EQ(Frame(notes, most - 1), Frame(notes, most - 1));
  EXPECT_NE(Frame(notes, most - 1, 2), Frame(notes, most - 1));  // the texels written anew
  EXPECT_NE(Frame(notes, most), Frame(notes, most));
  EXPECT_NE(Frame(notes, most + 5), Frame(notes, most + 5));
  EXPECT_FALSE(notes.Wanted());
  // The calls of the kept picture are noted as one when it is kept.
  const std::uint64_t empty = Frame(notes, 0);
  notes.SetHeld(true);
  notes.Note(1, 0, 0, 7);
  EXPECT_EQ(notes.Fingerprint(), empty);
}

}  // namespace
