#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_files.h"

#include "util/paths.h"
#include "util/times.h"

namespace talq {
namespace {

TEST(PathsTest, SplitsFromTheRight) {
  struct Case {
    const char* path;
    const char* ext;
    const char* name;
    const char* folder;
  };
  const Case cases[] = {
      {"/home/u/Read.Me.TXT", "TXT", "Read.Me.TXT", "/home/u/"},
      {"/home/u.v/README", "", "README", "/home/u.v/"},
      {"notes.md", "md", "", ""},
      {"/data/", "", "", "/data/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFileExtension(c.path, false), c.ext) << c.path;
    EXPECT_EQ(GetFileName(c.path, false), c.name) << c.path;
    EXPECT_EQ(GetFolderPart(c.path, false), c.folder) << c.path;
  }
  EXPECT_EQ(GetFileExtension("/a/B.DOCX", true), "docx");
  EXPECT_EQ(GetFileName("/a/ÉTÉ.txt", true), "été.txt");
  EXPECT_EQ(GetFolderPart("/Home/Ünter/x", true), "/home/ünter/");
}

TEST(PathsTest, ChangeExtensionKeepsFolderNames) {
  EXPECT_EQ(ChangeExtension("/a/report.txt", "csv"), "/a/report.csv");
  EXPECT_EQ(ChangeExtension("/a.b/report", "csv"), "/a.b/report.csv");
  EXPECT_EQ(ChangeExtension("x.tar.gz", "zip"), "x.tar.zip");
}

TEST(PathsTest, FileExistsOnlyForNonFolders) {
  test::TempDir dir;
  const auto file = test::WriteWholeFile(dir.path() / "paths.txt", "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir.path().string()));
  EXPECT_FALSE(FileExists(""));
  std::filesystem::remove(file);
  EXPECT_FALSE(FileExists(file));
}

TEST(TimesTest, ElapsedForms) {
  struct Case {
    std::int64_t seconds;
    const char* longForm;
    const char* compact;
  };
  const Case cases[] = {
      {0, "0 seconds", "0s"},
      {1, "1 second", "1s"},
      {60, "1 minute", "1m 0s"},
      {125, "2 minutes and 5 seconds", "2m 5s"},
      {3725, "1 hour, 2 minutes and 5 seconds", "1h 2m 5s"},
      {3605, "1 hour and 5 seconds", "1h 0m 5s"},
      {2 * 86400 + 3600 + 60 + 1, "2 days, 1 hour, 1 minute and 1 second", "2d 1h 1m 1s"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ElapsedTimeLong(c.seconds), c.longForm) << c.seconds;
    EXPECT_EQ(ElapsedTimeCompact(c.seconds), c.compact) << c.seconds;
  }
}

TEST(TimesTest, DateTimeJoinings) {
  std::tm tm{};
  tm.tm_year = 2024 - 1900;
  tm.tm_mon = 2;
  tm.tm_mday = 5;
  tm.tm_hour = 9;
  tm.tm_min = 7;
  tm.tm_isdst = -1;
  const std::time_t when = std::mktime(&tm);
  EXPECT_EQ(DateTimeText(when, false), "2024-03-05 09:07");
  EXPECT_EQ(DateTimeText(when, true), "09:07 on 2024-03-05");
}

}  // namespace
}  // namespace talq
