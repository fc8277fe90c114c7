// The layout files of every screen size: each screen and dialog laid out in
// them keeps its controls on the screen, inside their frames and clear of
// one another; and the preferences dialog built in each size does too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/preferences_values.h"
#include "gui/dxut_control.h"
#include "platform/format.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

struct sBox {
  int left, top, right, bottom;
};

bool Overlap(const sBox& a, const sBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool Inside(const sBox& inner, const sBox& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}
bool Empty(const sBox& b) { return b.right <= b.left || b.bottom <= b.top; }
// An id the layout does not define (its four values stay -1).
bool Undefined(int id) {
  const sLayoutRect& r = g_GuiLayout[id];
  return r.a == -1 && r.b == -1 && r.c == -1 && r.d == -1;
}

// A layout entry as a box on the screen (the entries held as edges too).
sBox Entry(int id) {
  const sLayoutRect& r = g_GuiLayout[id];
  if (IsEdgeLayoutEntry(id)) return {r.a, r.b, r.c, r.d};
  return {r.a, r.b, r.a + r.c, r.b + r.d};
}

std::vector<int> Ids(std::initializer_list<std::pair<int, int>> ranges, std::initializer_list<int> without = {}) {
  std::vector<int> ids;
  for (auto [first, last] : ranges) {
    for (int id = first; id <= last; ++id) {
      if (std::find(without.begin(), without.end(), id) == without.end()) ids.push_back(id);
    }
  }
  return ids;
}

// One screen or dialog (or one page of it): the frame its controls lie in
// (-1: the screen) and the controls that must not overlap.
struct sGroup {
  const char* name;
  int frame;
  std::vector<int> controls;
};

std::vector<sGroup> Groups() {
  return {
      {"main menu", 70, Ids({{71, 74}})},
      {"pause menu", 270, Ids({{272, 276}})},
      {"scenario menu", 177, Ids({{175, 175}, {178, 178}, {181, 194}, {197, 201}})},
      {"scenario menu tabs", 178, Ids({{179, 179}})},
      {"scenario settings: countries", 208, Ids({{216, 216}, {218, 218}, {220, 220}, {222, 222}, {224, 233}})},
      {"scenario settings: e-mail game", 208, Ids({{234, 244}})},
      {"scenario settings", -1, Ids({{205, 205}, {208, 208}, {245, 248}})},
      {"loading", -1, Ids({{263, 263}})},
      {"map screen panels", -1, {292, 310, 335, 351, 401, 451}},
      {"information bar", 292, Ids({{293, 294}, {296, 296}, {298, 298}, {300, 300}, {302, 302}, {304, 304},
                                    {330, 331}, {350, 350}, {400, 400}, {450, 450}, {600, 600}})},
      {"minimap panel", 310, Ids({{311, 311}, {315, 320}})},
      {"command strip", 335, Ids({{336, 344}})},
      {"hex panel", 401, Ids({{402, 419}, {421, 421}})},
      {"unit panel", 351, Ids({{352, 390}})},
      {"attack panel", 451, Ids({{453, 461}, {463, 473}}, {462})},
      {"fleets", 550, Ids({{551, 553}, {555, 578}}, {554, 565})},
      {"replacements", 840, Ids({{842, 852}})},
      {"commanders", 860, Ids({{862, 871}})},
      {"text prompt", 694, Ids({{695, 695}, {697, 700}})},
      {"yes/no prompt", 701, Ids({{702, 702}, {704, 706}})},
      {"list prompt", 722, Ids({{723, 723}, {725, 728}})},
      {"new turn", 730, {733, 732}},
      {"sea battle", 650, Ids({{651, 663}})},
      {"combat result", 900, {902, 903, 910, 907, 914, 917, 918, 919}},
      {"convoys", 940, Ids({{941, 956}})},
      {"convoy results", 960, Ids({{962, 968}})},
      {"purchases", 740, Ids({{741, 741}, {743, 743}, {746, 757}})},
      {"purchases: list page", 743, {744, 745}},
      {"save game", 252, Ids({{250, 250}, {253, 258}})},
      {"hotkeys", 667, {665, 672, 673}},
      {"developer", 630, Ids({{632, 640}})},
      {"units manager", 480, {481, 483, 504, 501, 503, 502, 505}},
      {"units manager: land", 483, Ids({{484, 490}})},
      {"units manager: air", 483, Ids({{491, 493}})},
      {"units manager: naval", 483, Ids({{494, 499}})},
      {"research", 790, Ids({{794, 800}})},
      {"reports", 810, {811, 813, 818, 819, 822, 823, 824, 826}},
      {"reports: lists", 813, Ids({{814, 817}})},
      {"reports: table pages", 820, {821, 825}},
      {"diplomacy: a foreign country", 601, Ids({{602, 604}, {609, 627}})},
      {"diplomacy: own country", 601, Ids({{605, 627}})},
      {"orientation choice", 930, Ids({{932, 938}})},
      {"event", 780, Ids({{781, 786}})},
      {"settings menu", -1, {80, 82}},
      {"preferences", 82, {83, 171}},
      {"preferences: general", 83, Ids({{84, 88}})},
      {"preferences: gameplay", 83, Ids({{111, 147}})},
      {"preferences: units", 83, {90, 91, 92, 95}},
      {"preferences: map", 83, Ids({{96, 110}})},
      {"preferences: interface", 83, Ids({{154, 169}})},
      {"preferences: audio", 83, Ids({{148, 153}})},
  };
}

// Entries that are no rectangle on the screen: picture sources in sheets,
// offsets inside a box or a frame, and the sea battle's scroll edges.
bool IsScreenRectangle(int id) {
  if (id == 1 || (id >= 3 && id <= 6) || id == 14 || (id >= 15 && id <= 58)) return false;
  return id != 291 && id != 685 && id != 687 && id != 688;
}

std::vector<plat::DisplayMode> LayoutFiles(const fs::path& data) {
  std::vector<plat::DisplayMode> sizes;
  for (const auto& entry : fs::directory_iterator(data)) {
    int w = 0, h = 0;
    char tail[8] = {};
    if (std::sscanf(entry.path().filename().string().c_str(), "GUI_%dx%d%7s", &w, &h, tail) == 3 &&
        std::string(tail) == ".csv") {
      sizes.push_back({w, h});
    }
  }
  return sizes;
}

class LayoutCheck : public ::testing::Test {
 protected:
  LayoutCheck() { fs::create_directory_symlink(data_, folder_.Path() / "data"); }

  bool Load(const plat::DisplayMode& size) {
    return LoadGuiLayoutFile(plat::Format(L"data\\GUI_%ix%i.csv", size.width, size.height));
  }

  const fs::path data_ = twtest::FindSourceRoot("data/GUI_1024x768.csv") / "data";
  twtest::TempWorkingFolder folder_;
};

TEST_F(LayoutCheck, EveryNeededScreenSizeHasItsFile) {
  const std::vector<plat::DisplayMode> sizes = LayoutFiles(data_);
  for (auto [w, h] : {std::pair{1024, 768}, {1280, 720}, {1280, 1024}, {1366, 768}, {1600, 900}, {1920, 1080}}) {
    bool found = false;
    for (const plat::DisplayMode& s : sizes) found = found || (s.width == w && s.height == h);
    EXPECT_TRUE(found) << w << "x" << h;
  }
}

TEST_F(LayoutCheck, ScreensAndDialogsFitTheScreenAndKeepClear) {
  // Entries on the 1024x768 screen: every other size must keep them on its
  // own, whoever added them.
  ASSERT_TRUE(Load({1024, 768}));
  std::vector<int> onScreen;
  for (int id = 0; id < 1000; ++id) {
    const sBox b = Entry(id);
    if (IsScreenRectangle(id) && !Empty(b) && Inside(b, {0, 0, 1024, 768})) onScreen.push_back(id);
  }
  ASSERT_GT(onScreen.size(), 300u);

  for (const plat::DisplayMode& size : LayoutFiles(data_)) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    ASSERT_TRUE(Load(size));
    const sBox screen{0, 0, size.width, size.height};
    for (int id : onScreen) EXPECT_TRUE(Inside(Entry(id), screen)) << "entry " << id << " leaves the screen";
    for (const sGroup& group : Groups()) {
      const sBox frame = group.frame < 0 ? screen : Entry(group.frame);
      std::vector<int> controls;
      for (int id : group.controls) {
        if (!Undefined(id)) controls.push_back(id);
      }
      for (std::size_t i = 0; i < controls.size(); ++i) {
        const int a = controls[i];
        EXPECT_FALSE(Empty(Entry(a))) << group.name << ": entry " << a << " has no size";
        EXPECT_TRUE(Inside(Entry(a), frame)) << group.name << ": entry " << a << " leaves its frame";
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
          const int b = controls[j];
          EXPECT_FALSE(Overlap(Entry(a), Entry(b))) << group.name << ": entries " << a << " and " << b;
        }
      }
    }
  }
}

// The second click on a command icon closes the dialog it opened: the dialog
// must leave its icon clear, or the click lands on the dialog.
TEST_F(LayoutCheck, NoDialogCoversTheIconThatClosesIt) {
  const struct {
    int icon, frame;
  } pairs[] = {{336, 740}, {337, 480}, {339, 790}, {340, 810}, {341, 940}, {344, 667}};
  for (const plat::DisplayMode& size : LayoutFiles(data_)) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    ASSERT_TRUE(Load(size));
    for (auto [icon, frame] : pairs) {
      EXPECT_FALSE(Empty(Entry(icon)));
      EXPECT_FALSE(Overlap(Entry(icon), Entry(frame))) << "dialog " << frame << " covers icon " << icon;
    }
  }
}

TEST_F(LayoutCheck, PreferencesDialogBuiltInEverySize) {
  plat::RecordingRenderer renderer{1024, 768};
  twtest::FakeFramework framework{&renderer};
  for (const plat::DisplayMode& size : LayoutFiles(data_)) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    ASSERT_TRUE(Load(size));
    g_Settings.ResolutionX = size.width;
    g_Settings.ResolutionY = size.height;
    framework.desc = {size.width, size.height};
    auto* dialog = new cDialogUstawien(nullptr, {});
    PushDialog(dialog);
    CDXUTDialog& d = dialog->Dialog();
    auto box = [&](const CDXUTControl* c) {
      return sBox{d.GetX() + c->GetX(), d.GetY() + c->GetY(), d.GetX() + c->GetX() + c->GetWidth(),
                  d.GetY() + c->GetY() + c->GetHeight()};
    };
    const CDXUTControl* tabs = d.GetControl(cDialogUstawien::kTabsId);
    ASSERT_NE(tabs, nullptr);
    std::vector<const CDXUTControl*> controls;
    for (int i = 0; i < d.GetControlCount(); ++i) controls.push_back(d.GetControlByIndex(i));
    EXPECT_GE(controls.size(), 80u);
    // The tab a control belongs to, by its id (-1: none).
    auto tabOf = [](int id) {
      const std::pair<int, int> tabs[] = {{84, 88}, {111, 147}, {90, 95}, {96, 110}, {154, 169}, {148, 153}};
      for (int t = 0; t < 6; ++t) {
        if (id >= tabs[t].first && id <= tabs[t].second) return t;
      }
      return -1;
    };
    for (const CDXUTControl* c : controls) {
      const sBox b = box(c);
      EXPECT_TRUE(Inside(b, {0, 0, size.width, size.height})) << "control " << c->GetID();
      if (c->GetID() != cDialogUstawien::kId) {
        EXPECT_TRUE(Inside(b, box(d.GetControl(cDialogUstawien::kId)))) << "control " << c->GetID();
      }
      if (tabOf(c->GetID()) >= 0) {
        EXPECT_TRUE(Inside(b, box(tabs))) << "control " << c->GetID();
      }
      for (const CDXUTControl* other : controls) {
        if (other == c || other->GetID() <= c->GetID()) continue;
        const int t = tabOf(c->GetID());
        if (t < 0 || t != tabOf(other->GetID())) continue;  // other tabs share the area
        EXPECT_FALSE(Overlap(b, box(other))) << "controls " << c->GetID() << " and " << other->GetID();
      }
    }
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }
  g_Settings = sSettings{};
}

}  // namespace
