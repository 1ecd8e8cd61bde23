// Folder counts on a tree that changes under the scan, loops, odd names and many files:
// every readable file is counted once, the rest skipped, and the run goes on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "sources/file_reader.h"
#include "sources/folder_scan.h"
#include "support/counting_session.h"

namespace talq {
namespace {

namespace fs = std::filesystem;
using test::Counts;

class FolderFaultsTest : public test::CountingTest {
 protected:
  void SetUp() override {
    CountingTest::SetUp();
    s.settings.chkDisableOutputToFile = 1;
    s.settings.source = Source::optFolder;
    s.settings.txbFolder = root_;
    s.settings.chkIncludeSubfolders = 1;
  }
  const std::string root_ = temp.path().string();
};

// Each file is read from the descriptor its classification opened: what the counting pass
// accepted is read as it was then, whatever happens to its name afterwards.
TEST_F(FolderFaultsTest, FilesChangingBetweenCountingAndReadingAreReadAsOpened) {
  Write("a.txt", "alpha alpha\n");
  Write("b.txt", "beta\n");
  Write("c.txt", "gamma\n");
  Write("d.txt", "delta\n");
  Write("e.txt", "epsilon\n");
  Write("\xFF\xFEname.txt", "zeta\n");  // not UTF-8
  Write("sub/f.txt", "eta\n");
  fs::create_directory_symlink(root_, root_ + "/sub/loop");

  bool changed = false;
  const PerFileReader perFile = [&](const std::string& path) {
    if (s.run.blnScanningFiles && !changed) {
      changed = true;  // after the counting pass listed every file
      fs::remove(root_ + "/b.txt");
      fs::remove(root_ + "/c.txt");
      fs::create_directory(root_ + "/c.txt");
      ::chmod((root_ + "/d.txt").c_str(), 0);
      fs::resize_file(root_ + "/e.txt", 0);
    }
    return DoItFromFile(s, path);
  };
  RunFolderScan(s, perFile);
  // The truncated file has nothing left to read.
  const Counts want{{"alpha", 2}, {"beta", 1}, {"gamma", 1}, {"delta", 1}, {"zeta", 1}, {"eta", 1}};
  EXPECT_EQ(Table(), want);
  EXPECT_EQ(s.run.lngFilesDone, 7);
}

TEST_F(FolderFaultsTest, TenThousandFilesAreEachCountedOnce) {
  constexpr int kFiles = 10000;
  for (int i = 0; i < kFiles; ++i) {
    char name[32], text[] = "word?\n";
    std::snprintf(name, sizeof name, "d%d/f%d.txt", i / 100, i % 100);
    text[4] = char('a' + i % 26);
    Write(name, text);
  }
  const RunResult r = CountWords(s);
  EXPECT_NE(r, RunResult::Refused);
  std::int64_t total = 0;
  for (const auto& [w, n] : Table()) total += n;
  EXPECT_EQ(total, kFiles);
  EXPECT_EQ(s.reports.lngNumFilesScanned, kFiles);
}

}  // namespace
}  // namespace talq
