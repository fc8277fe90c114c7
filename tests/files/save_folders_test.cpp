// The copies a save leaves beside its target when its process dies: their
// names, when one is complete, and what the saved-game list, the loader and
// the start of the game do with them for a dead process and a running one.
#include "files/save_folders.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/save_game.h"
#include "files_fixture.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace {

// A save of two files whose first holds text, made by the transaction.
void Save(const std::wstring& name, const std::string& text) {
  const auto write = [](const char* file, std::string bytes) {
    return [file, bytes](const std::wstring& folder) {
      std::ofstream(plat::ResolvePath(folder + L"\\" + plat::WidenBytes(file)), std::ios::binary) << bytes;
      return true;
    };
  };
  ASSERT_TRUE(SaveGameSteps(name, false, {{L"a.csv", write("a.csv", text)}, {L"b.csv", write("b.csv", "bb")}}).ok);
}

std::string SaveText(const std::string& folder) { return twtest::ReadFile("data/save/" + folder + "/a.csv"); }

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> Entries() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator("data/save")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A child process that ends at once (its id then belongs to no process) or
// that waits until it is killed.
struct Child {
  explicit Child(bool keepRunning) {
    pid = ::fork();
    if (pid == 0) {
      if (keepRunning) ::pause();
      ::_exit(0);
    }
    if (!keepRunning) ::waitpid(pid, nullptr, 0);
  }
  void Kill() {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  std::string Copy(const std::string& save, const char* tag) const { return save + tag + std::to_string(pid); }
  pid_t pid = 0;
};

TEST(SaveCopyNames, OnlyANameATagAndAProcessIdMakeACopy) {
  const auto copy = ParseSaveCopyName(L"My game.tmp-4711");
  ASSERT_TRUE(copy.has_value());
  EXPECT_EQ(copy->saveName, L"My game");
  EXPECT_TRUE(copy->temporary);
  EXPECT_EQ(copy->pid, 4711);
  EXPECT_FALSE(ParseSaveCopyName(L"a.old-12")->temporary);
  for (const wchar_t* name : {L"game", L".tmp-12", L"a.tmp-", L"a.tmp-12x", L"a.tmp--3", L"a.new-12", L"a.tmp- 1"}) {
    EXPECT_FALSE(ParseSaveCopyName(name).has_value()) << plat::NarrowBytes(name);
  }
  // A player cannot name a save like a copy.
  EXPECT_FALSE(IsValidSaveName(L"a.tmp-12"));
  EXPECT_TRUE(IsValidSaveName(L"a.tmp-"));
  EXPECT_EQ(SaveCopyName(L"x", false), L"x.old-" + std::to_wstring(::getpid()));
}

TEST(SaveCopies, CompleteOnlyWithTheMarkerAndEveryFileAsMarked) {
  twtest::TempWorkingFolder dir;
  // Each file's size, checksum, FNV-1a of 64 bits ("foobar" gives the
  // published 85944171f73967e8), and a table's rows: a row without its
  // line end was cut short and is none.
  Save(L"V", "foobar");
  EXPECT_EQ(twtest::ReadFile("data/save/V/save_complete.txt").substr(0, 41),
            "a.csv;6;fnv1a64=85944171f73967e8;rows=0\r\n");
  Save(L"S", "text");
  EXPECT_TRUE(IsCompleteSaveCopy(L"data\\save\\S"));
  // A short file (a power cut before it reached the disk), one of its size
  // with other bytes ...
  for (const char* text : {"tex", "texT"}) {
    dir.Write("data/save/S/a.csv", text);
    EXPECT_FALSE(IsCompleteSaveCopy(L"data\\save\\S")) << text;
  }
  dir.Write("data/save/S/a.csv", "text");
  // ... a missing file, a missing or damaged marker.
  fs::remove("data/save/S/b.csv");
  EXPECT_FALSE(IsCompleteSaveCopy(L"data\\save\\S"));
  dir.Write("data/save/S/b.csv", "bb");
  // A marker that names a file outside its folder, even one that is there
  // at that size, is no marker of this save.
  dir.Write("data/save/elsewhere.csv", "text");
  for (const char* marker : {"", "a.csv;4\r\nb.csv", "a.csv;-4\r\n", "a.csv;4x\r\n", ";4\r\n", "a.csv;4;fnv1a64=12\r\n",
                             "a.csv;4\r\n../elsewhere.csv;4\r\n", "a.csv;4\r\n..\\elsewhere.csv;4\r\n", "a.csv;4;rows=1\r\n"}) {
    dir.Write("data/save/S/save_complete.txt", marker);
    EXPECT_FALSE(IsCompleteSaveCopy(L"data\\save\\S")) << marker;
  }
  dir.Write("data/save/S/save_complete.txt", std::string("a.csv\0\0;4\r\nb.csv;2\r\n", 20));
  EXPECT_FALSE(IsCompleteSaveCopy(L"data\\save\\S"));
  // An older save's marker keeps the sizes alone, and is judged by them.
  dir.Write("data/save/S/save_complete.txt", "a.csv;4\r\nb.csv;2\r\n");
  dir.Write("data/save/S/a.csv", "texT");
  EXPECT_TRUE(IsCompleteSaveCopy(L"data\\save\\S"));
  fs::remove("data/save/S/save_complete.txt");
  EXPECT_FALSE(IsCompleteSaveCopy(L"data\\save\\S"));
}

TEST(SaveCopies, DeadProcessCopiesAreNeverListedAndGoAtStartUp) {
  twtest::TempWorkingFolder dir;
  Child dead(false), running(true);
  Save(L"Kept", "kept");
  Save(L"Lost", "lost new");
  Save(L"Busy", "busy new");
  Save(L"Old", "old");
  // Kept: an incomplete copy of the dead process beside the save.
  dir.Write("data/save/" + dead.Copy("Kept", ".tmp-") + "/a.csv", "half");
  // Lost: killed between the two renames; the new copy is complete, and so
  // is the old one, written earlier.
  Save(L"Lost2", "lost old");
  fs::rename("data/save/Lost2", "data/save/" + dead.Copy("Lost", ".old-"));
  fs::last_write_time("data/save/" + dead.Copy("Lost", ".old-") + "/save_complete.txt",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  fs::rename("data/save/Lost", "data/save/" + dead.Copy("Lost", ".tmp-"));
  // Busy: a running process is between its two renames.
  fs::rename("data/save/Busy", "data/save/" + running.Copy("Busy", ".tmp-"));
  // Old: only the old copy of a dead process is there, and it is complete.
  fs::rename("data/save/Old", "data/save/" + dead.Copy("Old", ".old-"));
  // Hidden folders and a copy under this process's own id (left by an
  // earlier process that had it) are no saves either.
  fs::create_directories("data/save/.hidden");
  dir.Write("data/save/Kept.tmp-" + std::to_string(::getpid()) + "/a.csv", "x");

  twtest::LogCapture log;
  EXPECT_EQ(ListSaveFolders(L"data\\save"), (std::vector<std::wstring>{L"Kept", L"Lost", L"Old"}));
  EXPECT_EQ(SaveText("Lost"), "lost new");
  EXPECT_EQ(SaveText("Old"), "old");
  EXPECT_TRUE(log.Contains(L"Save data\\save\\Lost recovered from its complete copy data\\save\\" +
                           plat::WidenBytes(dead.Copy("Lost", ".tmp-"))));
  // The list takes back what is missing and removes nothing.
  EXPECT_TRUE(fs::exists("data/save/" + dead.Copy("Kept", ".tmp-")));
  EXPECT_TRUE(fs::exists("data/save/" + dead.Copy("Lost", ".old-")));

  TidySaveCopiesAtStart();
  EXPECT_EQ(Entries(), Sorted({".hidden", "Kept", "Lost", "Old", running.Copy("Busy", ".tmp-")}));
  EXPECT_TRUE(log.Contains(plat::WidenBytes("Removed leftover save folder data\\save\\" + dead.Copy("Kept", ".tmp-") +
                                            " of process " + std::to_string(dead.pid) + ", which no longer runs")));
  EXPECT_EQ(SaveText("Kept"), "kept");

  // Once that process has died, its complete copy is the save.
  running.Kill();
  TidySaveCopiesAtStart();
  EXPECT_EQ(Entries(), (std::vector<std::string>{".hidden", "Busy", "Kept", "Lost", "Old"}));
  EXPECT_EQ(SaveText("Busy"), "busy new");
}

TEST(SaveCopies, TheLoaderAndTheNextSaveOfTheNameTakeTheirCopiesOnly) {
  twtest::TempWorkingFolder dir;
  Child dead(false);
  Save(L"A", "a");
  Save(L"B", "b");
  fs::rename("data/save/A", "data/save/" + dead.Copy("A", ".tmp-"));
  fs::rename("data/save/B", "data/save/" + dead.Copy("B", ".tmp-"));
  // The loader brings back the save it is asked for, no other.
  RecoverSaveFolderOf(L"data\\save\\A\\%s");
  EXPECT_EQ(SaveText("A"), "a");
  EXPECT_FALSE(fs::exists("data/save/B"));
  // The next save of B: its copy goes, the rest stays.
  dir.Write("data/save/" + dead.Copy("A", ".old-") + "/a.csv", "half");
  Save(L"B", "b2");
  EXPECT_EQ(Entries(), Sorted({"A", dead.Copy("A", ".old-"), "B"}));
  EXPECT_EQ(SaveText("B"), "b2");
}

}  // namespace
