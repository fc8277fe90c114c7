#include "platform/lines.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_support.h"

using namespace plat;

namespace {

using V = std::vector<std::string>;

V Lines(std::string_view data) {
  LineReader reader(data);
  V out;
  std::string_view line;
  while (reader.Next(line)) out.emplace_back(line);
  EXPECT_EQ(reader.LineNumber(), out.size());
  EXPECT_FALSE(reader.Next(line));
  return out;
}

}  // namespace

TEST(Lines, SplitAtCrLfLfAndCr) {
  EXPECT_EQ(Lines(""), V{});
  EXPECT_EQ(Lines("a"), V{"a"});
  EXPECT_EQ(Lines("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(Lines("\n\r\n"), (V{"", ""}));
  EXPECT_EQ(Lines("\r"), V{""});
  EXPECT_EQ(Lines("a\r\r\n"), (V{"a", ""}));
  EXPECT_EQ(Lines("x\ry\nz"), (V{"x", "y", "z"}));
  EXPECT_EQ(Lines("a\n\rb\r\n\nc"), (V{"a", "", "b", "", "c"}));
  EXPECT_EQ(Lines(std::string("a\0b\n", 4)), V{std::string("a\0b", 3)});
  EXPECT_EQ(ToCrLf(""), "");
  EXPECT_EQ(ToCrLf("a\nb\r\nc\n\n"), "a\r\nb\r\nc\r\n\r\n");
  EXPECT_EQ(ToCrLf("a\rb"), "a\rb");
}

TEST(Lines, FilesRoundTripAsBytesAndFailuresReportFalse) {
  twtest::TempDir dir;
  const std::string path = dir.File("blob.bin"), bytes = std::string(200000, '\x1A') + std::string("\0\r\n", 3);
  std::string read;
  ASSERT_TRUE(WriteFileBytes(path, bytes) && ReadFileBytes(path, read));
  EXPECT_EQ(read, bytes);
  ASSERT_TRUE(WriteFileBytes(path, "short") && ReadFileBytes(path, read));  // emptied first
  EXPECT_EQ(read, "short");
  EXPECT_FALSE(ReadFileBytes(dir.File("missing.txt"), read));
  EXPECT_FALSE(ReadFileBytes(dir.Path().string(), read));  // a folder
  EXPECT_EQ(read, "short");
  EXPECT_FALSE(WriteFileBytes(dir.File("no/such/folder.txt"), "x"));
}

// A write killed before its rename leaves "<file>.tmp-<pid>": the next
// replacement removes those of processes that no longer run and keeps a
// running one's.
TEST(Lines, AReplacementRemovesTheTemporariesOfDeadWriters) {
  twtest::TempDir dir;
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  const std::string path = dir.File("out.tdw"), dead = path + ".tmp-" + std::to_string(child);
  const std::string running = path + ".tmp-1", other = dir.File("other.tdw.tmp-") + std::to_string(child);
  for (const std::string& file : {dead, running, other}) ASSERT_TRUE(WriteFileBytes(file, "partly written"));
  ASSERT_TRUE(ReplaceFileBytes(path, "whole"));
  std::string read;
  EXPECT_TRUE(ReadFileBytes(path, read) && read == "whole");
  EXPECT_EQ(std::tuple(std::filesystem::exists(dead), std::filesystem::exists(running), std::filesystem::exists(other)),
            std::tuple(false, true, true));
}
