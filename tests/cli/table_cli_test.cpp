// `talq table`: its statuses, and the old table kept when writing a new one fails.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace talq::cli::test {
namespace {

// The options, the written table and the closing message: settings_cli_test's record run.
TEST(TableCliTest, StatusesWithoutAnOutputFileOrAFolder) {
  TempDir t;
  t.Write("in/a.txt", "cat cat dog\n");
  const CliResult r = RunIn(t.path().string(), {"table", "in"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("No output file has been specified."), std::string::npos) << r.err;
  EXPECT_EQ(RunIn(t.path().string(), {"table", "--layout", "up", "-o", "t.txt", "in"}).status, 2);
  EXPECT_EQ(RunIn(t.path().string(), {"table", "-o", "t.txt"}).status, 2);
}

// Former fault: a table that failed midway (a full disk) had already destroyed the table
// the user had under that name. The file size limit stands in for the full disk.
TEST(TableCliTest, AFailedWriteKeepsTheOldTable) {
  TempDir t;
  std::string words;
  for (int i = 0; i < 3000; ++i)
    words += {char('a' + i % 26), char('a' + i / 26 % 26), char('a' + i / 676), ' '};
  t.Write("in/a.txt", words + "\n");
  for (const std::string name : {"t.txt", "t.xlsx"}) {
    WriteWholeFile(t / name, "the old table\n");
    const CliResult r = RunBinary(t.path().string(), "table -q -o " + name + " in",
                                  "trap '' XFSZ; ulimit -f 4; true");
    EXPECT_EQ(r.status, 1) << name << r.err;
    EXPECT_TRUE(ReadWholeFile(t / name) == "the old table\n") << name;
  }
  for (const auto& e : fs::directory_iterator(t.path()))
    EXPECT_EQ(e.path().filename().string().find(".talq-"), std::string::npos) << e.path();

  // Former fault: a full device was reported as an I/O error of "the report".
  const CliResult r = RunBinary(t.path().string(), "table -q -o /dev/full in");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.ends_with("talq: cannot write the table to /dev/full: No space left on device\n"))
      << r.err;
}

}  // namespace
}  // namespace talq::cli::test
