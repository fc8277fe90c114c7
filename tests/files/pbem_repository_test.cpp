#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/fatal_exit.h"
#include "files/pbem_repository.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

class PbemRepository : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.Path() / "data/pbem");
    SetPbemRepositoryPath(L"data\\pbem\\repo.dat");
  }
  std::string Bytes() const { return twtest::ReadFile(dir_.File("data/pbem/repo.dat")); }
  twtest::TempWorkingFolder dir_;
};

std::uint32_t Never() {
  ADD_FAILURE() << "the next player was asked for a known game";
  return 99;
}

TEST_F(PbemRepository, RecordsAreFixedAndUpdatedInPlace) {
  dir_.Write("data/pbem/repo.dat", "");
  UpdatePbemRepository(2, L"Duel");
  std::string bytes = Bytes();
  ASSERT_EQ(bytes.size(), kPbemRecordSize);
  EXPECT_EQ(bytes.substr(0, 10), std::string("D\0u\0e\0l\0\0\0", 10));

  UpdatePbemRepository(0x01020304u, L"Second");
  UpdatePbemRepository(7, L"Duel");
  bytes = Bytes();
  ASSERT_EQ(bytes.size(), 2 * kPbemRecordSize);
  EXPECT_EQ(bytes.substr(500, 4), std::string("\x07\0\0\0", 4));
  EXPECT_EQ(bytes.substr(kPbemRecordSize + 500, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(GetPbemRepositoryValue(L"Duel", Never), 7u);
  EXPECT_EQ(GetPbemRepositoryValue(L"Second", Never), 0x01020304u);
  // Names compare exactly.
  EXPECT_EQ(GetPbemRepositoryValue(L"duel", [] { return 3u; }), 3u);
  EXPECT_EQ(Bytes().size(), 3 * kPbemRecordSize);
}

TEST_F(PbemRepository, UnknownGamesGetTheNextPlayerAndBadFilesAreSurvived) {
  // No file yet: made with the first record.
  EXPECT_EQ(GetPbemRepositoryValue(L"Fresh", [] { return 4u; }), 4u);
  EXPECT_EQ(Bytes().size(), kPbemRecordSize);
  EXPECT_EQ(GetPbemRepositoryValue(L"Fresh", Never), 4u);

  // A torn record at the end is not read and is overwritten by the next.
  dir_.Write("data/pbem/repo.dat", Bytes() + std::string(100, 'x'));
  EXPECT_EQ(GetPbemRepositoryValue(L"Other", [] { return 5u; }), 5u);
  EXPECT_EQ(Bytes().size(), 2 * kPbemRecordSize);
  EXPECT_EQ(GetPbemRepositoryValue(L"Other", Never), 5u);

  // A name longer than a record holds is cut, and still found.
  const std::wstring longName(400, L'n');
  UpdatePbemRepository(6, longName);
  EXPECT_EQ(GetPbemRepositoryValue(longName, Never), 6u);
  EXPECT_EQ(Bytes().size(), 3 * kPbemRecordSize);
  // A record whose name fills the field without a terminator.
  std::string full(kPbemRecordSize, 'a');
  full.replace(500, 4, std::string("\x09\0\0\0", 4));
  dir_.Write("data/pbem/repo.dat", Bytes() + full);
  EXPECT_EQ(GetPbemRepositoryValue(L"Fresh", Never), 4u);
}

TEST_F(PbemRepository, AFileThatCannotBeWrittenEndsTheProcess) {
  fs::remove_all(dir_.Path() / "data/pbem");
  cScopedThrowingFatalHook throwing;
  EXPECT_THROW(UpdatePbemRepository(1, L"Duel"), sFatalExitError);
}

}  // namespace
