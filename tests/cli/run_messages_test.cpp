// Refusals and usage errors of the command line: exit status, empty standard output and
// the exact lines on standard error, with and without --quiet.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "cli_harness.h"
#include "support/unreadable_file.h"

namespace talq::cli::test {
namespace {

struct RefusalCase {
  const char* name;
  std::vector<std::string> args;
  std::string err;
};

// Test listings and failures name the case instead of dumping its bytes.
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

// A working folder: in.txt (text), empty.txt (no bytes), bin.txt (not text), an empty
// folder, a folder with one unscannable file at the top and a text file one level down, and
// a FIFO.
void MakeWorkFolder(const TempDir& t) {
  WriteWholeFile(t / "in.txt", "hello world hello\n");
  WriteWholeFile(t / "empty.txt", "");
  std::string binary;
  for (int i = 0; i < 3000; ++i) binary += static_cast<char>((i * 7919) % 256);
  WriteWholeFile(t / "bin.txt", binary);
  fs::create_directories(t.path() / "nothing");
  t.Write("dir/picture.jpg", "x");
  t.Write("dir/sub/in.txt", "hello\n");
  ::mkfifo((t / "fifo").c_str(), 0600);
}

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, ExitsOneWithTheMessageOnly) {
  TempDir t;
  MakeWorkFolder(t);
  for (bool quiet : {false, true}) {
    std::vector<std::string> args = GetParam().args;
    if (quiet) args.insert(args.begin() + 1, "-q");
    EXPECT_EQ(RunIn(t.path().string(), args), (CliResult{1, "", GetParam().err})) << quiet;
    EXPECT_EQ(ReadWholeFile(t / "in.txt"), "hello world hello\n");  // a refusal writes nothing
  }
}

const RefusalCase kRefusals[] = {
    {"FrequencyLimitsExcludeEverything",
     {"count", "--set", "chkIgnoreInfrequentWords=1", "--set", "cboThresholdFrequency=8", "--set",
      "chkIgnoreExcessivelyFrequentWords=1", "--set", "cboExcessFrequency=4", "in.txt"},
     "Invalid input: The settings currently say to ignore words\n"
     "with fewer than 10 occurrences and with more than 5 occurrences,\n"
     "which implies that all words will be ignored.\n"},
    {"EmptyFile", {"count", "empty.txt"}, "Empty file: Input file is zero-length!\n"},
    {"MissingFile", {"count", "missing.txt"}, "Invalid input: Input file not found:\nmissing.txt\n"},
    {"EmptyFolder", {"count", "nothing"}, "Nothing to do: Folder contains no files.\n"},
    {"NoScannableFiles", {"count", "dir"},
     "No files found: No scanable files were found in this folder.\n"},
    {"NoScannableFilesInSubfolders", {"count", "-r", FixtureDir() + "/nofiles"},
     "No files found: No scanable files were found in this folder or in its subfolders.\n"},
    {"NoFilesAsSpecified", {"count", "--patterns", "*.xyz", "dir"},
     "No files found: No scanable files as specified were found in this folder.\n"},
    {"NoFilesAsSpecifiedInSubfolders", {"count", "-r", "--patterns", "*.xyz", "dir"},
     "No files found: No scanable files as specified were found in this folder or in its "
     "subfolders.\n"},
    {"NotText", {"count", "bin.txt"},
     "Not a text file: bin.txt is not a text file.\n\n"
     "This file contains a byte 0 at position 1, indicating that it does not consist solely of "
     "text.  The percentage of such anomalous bytes in the first 16384 bytes is 10.60%.\n\n\n"},
    {"OutputFolderMissing", {"count", "-o", "nodir/out.txt", "in.txt"},
     "Output file error: Output folder does not exist.\n"},
    {"OutputIsInput", {"count", "-o", "./in.txt", "in.txt"},
     "Error: The output file cannot be the same as some input file.\n"},
    {"FolderFormatWithFile", {"count", "-f", "13", "in.txt"},
     "Unavailable display format: The display format '#13 Word, then the files containing it "
     "with counts (folder only)' is available\n"
     "only when the source of the text is a folder.\n"},
};

INSTANTIATE_TEST_SUITE_P(Cli, RefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// Former faults: a device or FIFO was taken for a missing path ("Input file not specified.").
const RefusalCase kFormerFaultRefusals[] = {
    {"Device", {"count", "/dev/zero"}, "Invalid input: /dev/zero is not a regular file.\n"},
    {"Fifo", {"count", "fifo"}, "Invalid input: fifo is not a regular file.\n"},
};

INSTANTIATE_TEST_SUITE_P(FormerFaults, RefusalTest, ::testing::ValuesIn(kFormerFaultRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RunMessagesTest, UsageErrorsExitTwoWithOneExplanation) {
  TempDir t;
  MakeWorkFolder(t);
  const std::string usage = "\nRun 'talq --help' for usage.\n";
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"count", "--bogus", "in.txt"},
       "talq: The following argument was not expected: --bogus" + usage},
      {{"count", "in.txt", "extra.txt"},
       "talq: The following argument was not expected: extra.txt" + usage},
      {{}, "talq: A subcommand is required" + usage},
      {{"list-files"}, "talq: FOLDER is required" + usage},
      {{"count", "-f", "14", "in.txt"}, "talq: --format: Value 14 not in range 0 to 13" + usage},
      {{"count", "--order", "up", "in.txt"}, "talq: --order: up not in {freq,alpha}" + usage},
      {{"count", "--ignore-common", "xx", "in.txt"},
       "talq: --ignore-common: xx not in {en,de,es,pt,it,fr,all}" + usage},
      {{"count", "--set", "chkCaseSignificant=7", "in.txt"},
       "talq: chkCaseSignificant takes 0 or 1, not \"7\".\n"},
      {{"count", "--set", "chkCaseSignificant", "in.txt"},
       "talq: --set takes NAME=VALUE, not \"chkCaseSignificant\".\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RunIn(t.path().string(), c.args), (CliResult{2, "", c.err}));
}

TEST(RunMessagesTest, FinishedRunsExitZero) {
  TempDir t;
  MakeWorkFolder(t);
  // Everything filtered away is still a finished run.
  CliResult r = RunIn(t.path().string(), {"count", "--set", "chkIgnoreInfrequentWords=1",
                                          "--set", "cboThresholdFrequency=8", "in.txt"});
  EXPECT_EQ(r, (CliResult{0,
                          "No words with at least 3 characters\n"
                          "satisfying the specified conditions were found.\n",
                          ""}));

  r = RunIn(t.path().string(), {"list-files", "-r", "dir"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "dir/sub/in.txt [6 bytes]\n1 file in 1 folder will be scanned.\n");

  // -f and --order win over --set.
  WriteWholeFile(t / "w.txt", "bee ant bee\n");
  r = RunIn(t.path().string(), {"count", "-q", "--set", "cboDisplayFormat=3", "--set",
                                "cboWordOrder=1", "-f", "8", "--order", "freq", "w.txt"});
  EXPECT_EQ(r.out, "Word [longest has 3 characters]\nbee\nant\n");
}

// Former fault: files whose size reads 0 were refused as zero-length, though they hold text.
TEST(RunMessagesTest, AFileWithNoSizeIsReadToTheEnd) {
  if (!fs::exists("/proc/version")) GTEST_SKIP() << "no /proc";
  const CliResult r = RunIn(fs::temp_directory_path().string(),
                            {"count", "-q", "-f", "8", "--order", "alpha", "/proc/version"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nversion\n"), std::string::npos) << r.out;
}

// Former fault: a scan skipped unreadable files without a word.
TEST(RunMessagesTest, SkippedFilesAreCountedAndListedWithVerbose) {
  TempDir t;
  MakeWorkFolder(t);
  if (!talq::test::MakeUnreadableFile(t / "dir/sub/locked.txt")) GTEST_SKIP();
  const std::string count =
      "talq: 1 file or folder was skipped because it could not be read";
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"count", "-r", "dir"}, count + " (--verbose lists them).\n"},
      {{"count", "-r", "--verbose", "dir"},
       "talq: skipped dir/sub/locked.txt: Permission denied\n" + count + ".\n"},
      {{"list-files", "-r", "dir"}, count + " (--verbose lists them).\n"},
      {{"count", "-r", "-q", "--verbose", "dir"}, ""},
  };
  for (const auto& c : cases) {
    const CliResult r = RunIn(t.path().string(), c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.ends_with(c.err)) << r.err;
    if (c.err.empty()) {
      EXPECT_EQ(r.err, "");
    }
  }
}

}  // namespace
}  // namespace talq::cli::test
