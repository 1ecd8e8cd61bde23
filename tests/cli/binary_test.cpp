// The built `talq` program end to end: standard output, standard error and the exit
// status as a shell sees them.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace talq::cli::test {
namespace {

// What the shell sees of one run: the exit status, how standard output starts, standard error.
struct BinaryCase {
  const char* args;
  const char* input;  // a command whose output is standard input; "" for none
  int status;
  std::string outStart, err;
};

TEST(BinaryTest, StatusesAndStreams) {
  const std::string fish =
      "     Rank      Freq  Word [longest has 4 characters]\n"
      "        1         2  fish\n"
      "        2         1  blue\n"
      "        3         1  red\n";
  // Reports and messages are pinned in-process (goldens, refusals); this is one run per way
  // out of the process.
  const BinaryCase cases[] = {
      {"count -", "printf 'Red fish, blue fish.\\n'", 0, fish, ""},
      {"count -", "printf ''", 1, "", "Invalid input: There is no text on standard input.\n"},
      {"count -q -f 2", "", 0, "     Rank      Freq\n", ""},  // the sample text
      {"--version", "", 0, std::string("talq ") + TALQ_VERSION + "\n", ""},
      {"--help", "", 0,
       "talq: counts words and phrases in text and lists them by frequency.\n"
       "Usage: talq [OPTIONS] SUBCOMMAND\n",
       ""},
      {"count --frobnicate corpus.txt", "", 2, "",
       "talq: The following argument was not expected: --frobnicate\nRun 'talq --help' for "
       "usage.\n"},
      {"count -q --summary corpus.txt", "", 0,
       "     Rank      Freq  Word [longest has 10 characters]\n        1         6  the\n",
       "Number of words in this list: 21\n"
       "Number of words ignored: 1\n"
       "Number of instances of words in this list: 36\n"
       "Total number of instances of words: 38\n"},
  };
  for (const BinaryCase& c : cases) {
    SCOPED_TRACE(c.args);
    const CliResult r = RunBinary(FixtureDir(), c.args, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(r.out.starts_with(c.outStart)) << r.out;
    if (c.outStart.empty()) {
      EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(r.err, c.err);
  }
}

// Former faults.

TEST(BinaryFormerFaults, StandardInputIsStreamedWithoutTheClipboardLimit) {
  // 380,000 characters: the clipboard would refuse them.
  CliResult r = RunBinary(FixtureDir(), "count -q -", "yes 'red fish blue fish' | head -n 20000");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("     Rank      Freq  Word [longest has 4 characters]\n"
                                "        1     40000  fish\n"))
      << r.out;
  r = RunBinary(FixtureDir(), "count -", "printf 'one\\001two\\n'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Invalid input: The text on standard input does not consist\n"
            "solely of natural language words.\n");
}

TEST(BinaryFormerFaults, AReportThatCannotBeWrittenExitsOne) {
  TempDir t;
  const struct {
    std::string args, stdoutPath, err;
  } cases[] = {
      {"count -q -o /dev/full corpus.txt", "",
       "talq: cannot write the report to /dev/full: No space left on device\n"},
      {"count -q -o '" + t.path().string() + "' corpus.txt", "",
       "talq: cannot write the report to " + t.path().string() + ": Is a directory\n"},
      {"count -q corpus.txt", "/dev/full",
       "talq: cannot write the report to standard output: No space left on device\n"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunBinary(FixtureDir(), c.args, "", c.stdoutPath);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_TRUE(r.err.ends_with(c.err)) << r.err;
  }
}

TEST(BinaryFormerFaults, HelpNamesTheFieldsOfSettings) {
  const CliResult r = RunBinary(FixtureDir(), "settings fields");
  EXPECT_EQ(r.status, 0);
  for (const char* text : {"\ncboDisplayFormat  choice (an index)  default \"0\"\n  0  #0  Rank",
                           "\n  13  #13 Word, then", "\nchkAllowWordsWithHyphens  check (0 or 1)  default \"1\"\n"})
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
}

// Former fault: `talq list-files --help` (and table's) offered every option of count.
TEST(BinaryFormerFaults, EachCommandsHelpShowsOnlyItsOptions) {
  const struct {
    const char* command;
    std::vector<std::string> shown, hidden;
  } cases[] = {
      {"list-files",
       {"--subfolders", "--patterns", "--exclude", "--set", "--verbose"},
       {"--output", "--format", "--order", "--relative", "--sort-by-files", "--summary", "--jobs",
        "--ignore", "--count-only", "--all-words", "--layout"}},
      {"table",
       {"--output", "--subfolders", "--ignore-file", "--layout", "--relative-cells"},
       {"--format", "--order", "--relative ", "--sort-by-files", "--summary", "--all-words"}},
      {"count",
       {"--output", "--format", "--order", "--sort-by-files", "--summary", "--all-words",
        // Formats, the word rules and where the fields are listed.
        "  #0  Rank, frequency, word\n",
        "  #13 Word, then the files containing it with counts (folder only)\n",
        "at least 3 letters, at most 50; hyphens kept, apostrophes split, no digits, words with 4 "
        "repeated letters dropped.",
        "'talq settings fields'"},
       {"--layout"}},
  };
  for (const auto& c : cases) {
    const CliResult r = RunIn(FixtureDir(), {c.command, "--help"});
    EXPECT_EQ(r.status, 0) << c.command;
    for (const std::string& o : c.shown) EXPECT_NE(r.out.find(o), std::string::npos) << c.command << o;
    for (const std::string& o : c.hidden) EXPECT_EQ(r.out.find(o), std::string::npos) << c.command << o;
  }
}

}  // namespace
}  // namespace talq::cli::test
