// The save transaction at every one of its steps: a fault injected there
// (the step fails as if the system had refused it), or the process killed
// there (a child that saves raises SIGKILL at that step), with the folders
// exchanged in one step and with the two-rename swap of file systems that
// cannot exchange. After each, the save loads as the old game or the new
// one and the saved-game list shows it once. Then the copies a dead
// process leaves: never listed, the missing save taken back from a complete
// one, the rest removed at start-up, a running process's left alone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "files/save_folders.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "files_fixture.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kSavePattern = L"data\\save\\Game\\%s";

// Sets a hook for the scope.
struct ScopedHook {
  explicit ScopedHook(SaveStepHook hook) : previous(SetSaveStepHook(std::move(hook))) {}
  ~ScopedHook() { SetSaveStepHook(std::move(previous)); }
  SaveStepHook previous;
};

// The hook that counts the steps; with fallback the file system "cannot
// exchange" (EINVAL), so the two-rename swap runs. At step failAt it answers
// failWith, or kills the process when failWith is 0.
SaveStepHook CountingHook(int* count, std::vector<eSaveStage>* stages, bool fallback, int failAt, int failWith) {
  return [=](eSaveStage stage, const std::wstring&, const std::wstring&) {
    const int index = (*count)++;
    if (stages != nullptr) stages->push_back(stage);
    if (index == failAt) {
      if (failWith == 0) ::raise(SIGKILL);
      return failWith;
    }
    return fallback && stage == eSaveStage::kExchange ? EINVAL : 0;
  };
}

// The entries of data/save other than the save itself.
std::set<std::string> OtherEntries() {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator("data/save")) {
    if (entry.path().filename() != "Game") names.insert(entry.path().filename().string());
  }
  return names;
}

class SaveTransaction : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    ASSERT_NE(g_pWorld, nullptr);
    // The old save.
    g_pWorld->turnNumber = 100;
    ASSERT_TRUE(SaveGame(*g_pWorld, L"Game", false).ok);
    // The steps of a whole save with this swap.
    std::vector<eSaveStage> stages;
    int count = 0;
    ScopedHook hook(CountingHook(&count, &stages, GetParam(), -1, 0));
    g_pWorld->turnNumber = 101;
    ASSERT_TRUE(SaveGame(*g_pWorld, L"Game", false).ok);
    stages_ = stages;
    current_ = 101;
  }
  void TearDown() override {
    delete g_pWorld;
    g_pWorld = nullptr;
  }
  int StageCount(eSaveStage stage) const {
    int n = 0;
    for (const eSaveStage s : stages_) n += s == stage ? 1 : 0;
    return n;
  }
  // The save is listed once and loads; its turn number.
  int ListedAndLoaded() {
    EXPECT_EQ(ListSaveFolders(L"data\\save"), std::vector<std::wstring>{L"Game"});
    LoadWorld(sGameStartSettings{kSavePattern, 1});
    EXPECT_NE(g_pWorld, nullptr);
    return g_pWorld ? g_pWorld->turnNumber : -1;
  }

  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  cScopedThrowingFatalHook fatal_;
  std::vector<eSaveStage> stages_;
  int current_ = 0;  // the turn number under the name
};

TEST_P(SaveTransaction, StepsAreEveryFileWrittenAndFlushedThenTheSwap) {
  // 23 files written, then flushed together; the marker, the folder, the
  // swap, the save folder and the removal of the old save.
  EXPECT_EQ(StageCount(eSaveStage::kWriteFile), 23);
  for (const eSaveStage once : {eSaveStage::kFlushFile, eSaveStage::kWriteMarker, eSaveStage::kFlushFolder,
                                eSaveStage::kExchange, eSaveStage::kFlushParent, eSaveStage::kRemoveOld}) {
    EXPECT_EQ(StageCount(once), 1) << static_cast<int>(once);
  }
  EXPECT_EQ(StageCount(eSaveStage::kStepAside), GetParam() ? 1 : 0);
  EXPECT_EQ(StageCount(eSaveStage::kRenameIn), GetParam() ? 1 : 0);
  EXPECT_EQ(ListedAndLoaded(), 101);
  EXPECT_TRUE(OtherEntries().empty());
  EXPECT_TRUE(IsCompleteSaveCopy(L"data\\save\\Game"));
}

TEST_P(SaveTransaction, AFaultAtAnyStepLeavesTheOldSaveOrTheNewOne) {
  for (int at = 0; at < static_cast<int>(stages_.size()); ++at) {
    const eSaveStage stage = stages_[static_cast<std::size_t>(at)];
    SCOPED_TRACE("step " + std::to_string(at) + " stage " + std::to_string(static_cast<int>(stage)));
    const int next = current_ + 1;
    g_pWorld->turnNumber = next;
    int count = 0;
    sSaveResult result;
    {
      ScopedHook hook(CountingHook(&count, nullptr, GetParam(), at, EIO));
      result = SaveGame(*g_pWorld, L"Game", false);
    }
    // The new save holds the name once the swap is done; only a failed
    // removal of the old save still counts as saved.
    const bool swapped = stage == eSaveStage::kFlushParent || stage == eSaveStage::kRemoveOld;
    EXPECT_EQ(result.ok, stage == eSaveStage::kRemoveOld);
    EXPECT_EQ(ListedAndLoaded(), swapped ? next : current_);
    // The old save whose removal failed is the only thing left beside it,
    // and the next save removes it.
    EXPECT_EQ(OtherEntries().size(), stage == eSaveStage::kRemoveOld ? 1u : 0u);
    current_ = swapped ? next : current_;
  }
  g_pWorld->turnNumber = current_ + 1;
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Game", false).ok);
  EXPECT_TRUE(OtherEntries().empty());
}

TEST_P(SaveTransaction, AProcessKilledAtAnyStepLeavesTheOldSaveOrTheNewOne) {
  twtest::LogCapture log;
  // The step that takes the old save from its name.
  int swapStep = 0;
  while (stages_[static_cast<std::size_t>(swapStep)] != (GetParam() ? eSaveStage::kStepAside : eSaveStage::kExchange)) {
    ++swapStep;
  }
  for (int at = 0; at <= static_cast<int>(stages_.size()); ++at) {
    SCOPED_TRACE("killed at step " + std::to_string(at));
    const int next = current_ + 1;
    g_pWorld->turnNumber = next;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int count = 0;
      SetSaveStepHook(CountingHook(&count, nullptr, GetParam(), at, 0));
      ::_exit(SaveGame(*g_pWorld, L"Game", false).ok ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    // Killed at every step; past the last one the save ends well.
    if (at < static_cast<int>(stages_.size())) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Killed before the old save leaves the name, the old one loads; from
    // then on (folders exchanged, or the old one stepped aside) the new one.
    const bool swapped = at > swapStep;
    EXPECT_EQ(ListedAndLoaded(), swapped ? next : current_);
    current_ = swapped ? next : current_;
    // What the dead child left goes at the next start.
    TidySaveCopiesAtStart();
    EXPECT_TRUE(OtherEntries().empty());
  }
  // Killed between the two renames, the save came back from its complete
  // new copy.
  EXPECT_EQ(filestest::CountLines(log, L"Save data\\save\\Game recovered from its complete copy "), GetParam() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Swap, SaveTransaction, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("TwoRenames") : std::string("Exchange");
                         });

}  // namespace
