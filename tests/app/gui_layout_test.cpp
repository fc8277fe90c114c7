#include "app/gui_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "app/settings.h"
#include "platform/text.h"
#include "support/test_support.h"

namespace {

bool Same(const sLayoutRect& r, int a, int b, int c, int d) { return r.a == a && r.b == b && r.c == c && r.d == d; }

class GuiLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (sLayoutRect& r : g_GuiLayout) r = {};
    for (sGuiFont& f : g_GuiFonts) f = {};
  }
  bool Load(const std::string& text) {
    return LoadGuiLayoutFile(plat::FromUtf8(dir_.Write("GUI_test.csv", text)));
  }
  twtest::TempDir dir_;
};

TEST_F(GuiLayoutTest, RectanglesAndEdgeConversion) {
  g_GuiLayout[1200] = {5, 6, 7, 8};  // entries from 1000 up are not reset
  g_GuiLayout[700] = {5, 6, 7, 8};
  twtest::LogCapture log;
  ASSERT_TRUE(Load("skipped;1;2;3;4\r\n# header\r\n12;100;50;200;30\r\n3;10;20;30;40\r\n"
                   "56;1;2;3;4\r\n57;1;2;3;4\r\n16;x;7\r\n1500;1;1;1;1\r\n-1;1;1;1;1\r\n"
                   "1499;9;9;9;9;99\r\n\r\n# fonts\r\n"));
  EXPECT_TRUE(Same(g_GuiLayout[12], 100, 50, 200, 30));  // kept as x, y, width, height
  EXPECT_TRUE(Same(g_GuiLayout[3], 10, 20, 40, 60));
  EXPECT_TRUE(Same(g_GuiLayout[56], 1, 2, 4, 6));
  EXPECT_TRUE(Same(g_GuiLayout[57], 1, 2, 3, 4));
  EXPECT_TRUE(Same(g_GuiLayout[16], 0, 7, -1, 6));  // "x" reads 0; width and height stay -1
  EXPECT_TRUE(Same(g_GuiLayout[1], -1, -1, -2, -2));  // the line before the header was skipped
  EXPECT_TRUE(Same(g_GuiLayout[700], -1, -1, -1, -1));
  EXPECT_TRUE(Same(g_GuiLayout[999], -1, -1, -1, -1));
  EXPECT_TRUE(Same(g_GuiLayout[1000], 0, 0, 0, 0));
  EXPECT_TRUE(Same(g_GuiLayout[1200], 5, 6, 7, 8));
  EXPECT_TRUE(Same(g_GuiLayout[1499], 9, 9, 9, 9));
  EXPECT_TRUE(log.Contains(L"Loading GUI coordinates nad fonts from \"" + plat::FromUtf8(dir_.File("GUI_test.csv")) +
                           L"\"... OK"));
}

TEST_F(GuiLayoutTest, FontsAndTheEighthFont) {
  ASSERT_TRUE(Load("#\n#\n1;Arial;14;50;255;255;0;0;0;0;77\n7;Tahoma;18;37;1;2;3;4;5;6\n"
                   "9;Bad;1;1;1;1;1;1;1;1\n0;Bad;1;1;1;1;1;1;1;1\n2;Caf\xe9\n"));
  const sGuiFont& f1 = g_GuiFonts[0];
  EXPECT_EQ(f1.face, L"Arial");
  EXPECT_EQ(f1.height, 14);
  EXPECT_EQ(f1.weight, 500);
  EXPECT_EQ(f1.color, 0xFFFFFF00u);
  EXPECT_EQ(f1.color2, 0xFF000000u);
  EXPECT_EQ(g_GuiFonts[1].face, L"Caf\u00e9");  // Windows-1252 widened
  EXPECT_EQ(g_GuiFonts[1].height, 0);            // missing fields stay
  // No eighth font in the file: the seventh at three quarters of its height.
  EXPECT_EQ(g_GuiFonts[7].face, L"Tahoma");
  EXPECT_EQ(g_GuiFonts[7].height, 13);
  EXPECT_EQ(g_GuiFonts[7].weight, 396);
  EXPECT_EQ(g_GuiFonts[7].color, 0xFF010203u);
  EXPECT_EQ(g_GuiFonts[7].color2, 0xFF040506u);

  // An eighth font in the file is kept, also when it is not the last line.
  ASSERT_TRUE(Load("#\n#\n8;Small;10;37;1;1;1;0;0;0\n7;Tahoma;18;37;1;2;3;4;5;6\n"));
  EXPECT_EQ(g_GuiFonts[7].face, L"Small");
  EXPECT_EQ(g_GuiFonts[7].height, 10);
}

TEST_F(GuiLayoutTest, LineEndsAndOddInput) {
  const std::string body = "#\n3;10;20;30;40\n#\n1;Arial;14;50;255;255;0;0;0;0\n";
  std::string crlf;
  for (char c : body) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& text : {body, crlf}) {
    ASSERT_TRUE(Load(text));
    EXPECT_TRUE(Same(g_GuiLayout[3], 10, 20, 40, 60));
    EXPECT_EQ(g_GuiFonts[0].face, L"Arial");
    EXPECT_EQ(g_GuiFonts[0].color2, 0xFF000000u);
  }
  // Huge numbers are clamped and their sums do not overflow.
  ASSERT_TRUE(Load("#\n3;2147483647;99999999999;5;5\n315;2147483647;-2147483648;1;1\n"));
  EXPECT_TRUE(Same(g_GuiLayout[3], INT_MAX, INT_MAX, INT_MAX, INT_MAX));
  EXPECT_EQ(g_MinimapFrameRect.left, INT_MAX - 2);
  EXPECT_EQ(g_MinimapFrameRect.top, INT_MIN);
  // No header at all: every reset entry stays -1.
  ASSERT_TRUE(Load("3;1;1;1;1\n"));
  EXPECT_TRUE(Same(g_GuiLayout[3], -1, -1, -2, -2));
}

TEST_F(GuiLayoutTest, MissingFileEndsTheProcess) {
  twtest::LogCapture log;
  g_GuiLayout[5] = {1, 2, 3, 4};
  EXPECT_FALSE(LoadGuiLayoutFile(L"data\\GUI_1x1.csv"));
  EXPECT_TRUE(Same(g_GuiLayout[5], 1, 2, 3, 4));  // nothing changed
  EXPECT_TRUE(log.Contains(L"Loading GUI coordinates from \"data\\GUI_1x1.csv\"... FAILED"));

  g_Settings.ResolutionX = 1;
  g_Settings.ResolutionY = 1;
  EXPECT_EQ(GuiLayoutFileName(), L"data\\GUI_1x1.csv");
  EXPECT_EXIT(LoadGuiLayout(), ::testing::ExitedWithCode(1), "");
}

// The shipped layout file loads and holds what the frame draws with.
TEST_F(GuiLayoutTest, ShippedLayoutFile) {
  // The build's run folder links data/ beside the test programs' folder.
  const auto path = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "run" / "data" /
                    "GUI_1024x768.csv";
  ASSERT_TRUE(LoadGuiLayoutFile(plat::FromUtf8(path.string())));
  EXPECT_TRUE(Same(g_GuiLayout[1], 0, 0, 1024, 768));
  EXPECT_EQ(g_GuiLayout[58].c, 120);
  EXPECT_EQ(g_GuiLayout[58].d, 120);
  for (int id : {315, 350, 400, 450, 600}) {
    const sLayoutRect& r = g_GuiLayout[id];
    EXPECT_TRUE(r.a >= 0 && r.b >= 0 && r.c > 0 && r.d > 0 && r.a + r.c <= 1024 && r.b + r.d <= 768) << id;
  }
  for (const sGuiFont& f : g_GuiFonts) EXPECT_TRUE(!f.face.empty() && f.height > 0 && f.weight >= 100);
  EXPECT_EQ(g_GuiFonts[0].height, 14);
  // The frame around the minimap picture (828, 12, 184 x 138).
  EXPECT_EQ(g_MinimapFrameRect.left, 826);
  EXPECT_EQ(g_MinimapFrameRect.top, 10);
  EXPECT_EQ(g_MinimapFrameRect.right, 1016);
  EXPECT_EQ(g_MinimapFrameRect.bottom, 154);
}

}  // namespace
