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
  EXPECT_TRUE(Same(g_GuiLayout[16], 0, 7, -1, 6));  // "x" reads 0; width and height stay -1
  EXPECT_TRUE(Same(g_GuiLayout[1], -1, -1, -2, -2));  // the line before the header was skipped
  EXPECT_TRUE(Same(g_GuiLayout[700], -1, -1, -1, -1));
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
  EXPECT_EQ(f1.weight, 500);
  EXPECT_EQ(f1.color, 0xFFFFFF00u);
  EXPECT_EQ(g_GuiFonts[1].face, L"Caf\u00e9");  // Windows-1252 widened
  EXPECT_EQ(g_GuiFonts[1].height, 0);            // missing fields stay
  // No eighth font in the file: the seventh at three quarters of its height.
  EXPECT_EQ(g_GuiFonts[7].face, L"Tahoma");
  EXPECT_EQ(g_GuiFonts[7].height, 13);
  EXPECT_EQ(g_GuiFonts[7].color2, 0xFF040506u);

  // An eighth font in the file is kept, also when it is not the last line.
  ASSERT_TRUE(Load("#\n#\n8;Small;10;37;1;1;1;0;0;0\n7;Tahoma;18;37;1;2;3;4;5;6\n"));
  EXPECT_EQ(g_GuiFonts[7].face, L"Small");
  EXPECT_EQ(g_GuiFonts[7].height, 10);
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

}  // namespace
