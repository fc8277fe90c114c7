#include "platform/lines.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_support.h"

using namespace plat;

namespace {

std::vector<std::string> Lines(std::string_view data) {
  LineReader reader(data);
  std::vector<std::string> out;
  std::string_view line;
  while (reader.Next(line)) out.emplace_back(line);
  EXPECT_EQ(reader.LineNumber(), out.size());
  EXPECT_FALSE(reader.Next(line));
  return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(Lines, SplitAtLfAndStripOneTrailingCr) {
  EXPECT_EQ(Lines(""), V{});
  EXPECT_EQ(Lines("a"), V{"a"});
  EXPECT_EQ(Lines("a\n"), V{"a"});
  EXPECT_EQ(Lines("a\r\nb"), (V{"a", "b"}));
  EXPECT_EQ(Lines("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(Lines("\n\r\n"), (V{"", ""}));
  EXPECT_EQ(Lines("\r"), V{""});
  EXPECT_EQ(Lines("a\r\r\n"), V{"a\r"});
  EXPECT_EQ(Lines("x\ry\nz"), (V{"x\ry", "z"}));
  EXPECT_EQ(Lines(std::string("a\0b\n", 4)), V{std::string("a\0b", 3)});
}

TEST(Lines, ToCrLfAddsCrOnlyWhereMissing) {
  EXPECT_EQ(ToCrLf(""), "");
  EXPECT_EQ(ToCrLf("\n"), "\r\n");
  EXPECT_EQ(ToCrLf("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(ToCrLf("\n\n"), "\r\n\r\n");
  EXPECT_EQ(ToCrLf("a\rb"), "a\rb");
  EXPECT_EQ(ToCrLf(ToCrLf("x\ny\n")), "x\r\ny\r\n");
}

TEST(Lines, FilesRoundTripAsBytes) {
  twtest::TempDir dir;
  std::string bytes(200000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  bytes += "\r\n\n\x1A";
  const std::string path = dir.File("blob.bin");
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  std::string read;
  ASSERT_TRUE(ReadFileBytes(path, read));
  EXPECT_EQ(read, bytes);

  ASSERT_TRUE(WriteFileBytes(path, "short"));  // emptied first
  ASSERT_TRUE(ReadFileBytes(path, read));
  EXPECT_EQ(read, "short");
  ASSERT_TRUE(WriteFileBytes(path, ""));
  ASSERT_TRUE(ReadFileBytes(path, read));
  EXPECT_EQ(read, "");
}

TEST(Lines, FileFailuresReportFalse) {
  twtest::TempDir dir;
  std::string out = "kept";
  EXPECT_FALSE(ReadFileBytes(dir.File("missing.txt"), out));
  EXPECT_FALSE(ReadFileBytes(dir.Path().string(), out));  // a folder
  EXPECT_EQ(out, "kept");
  EXPECT_FALSE(WriteFileBytes(dir.File("no/such/folder.txt"), "x"));
  EXPECT_FALSE(WriteFileBytes(dir.Path().string(), "x"));
}
