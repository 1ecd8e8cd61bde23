// `talq phrases` end to end: the report on standard output and in the output file, the
// filter run, refusals and usage errors.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace talq::cli::test {
namespace {

const std::string kText =
    "The sea was calm. The sea was calm and the night was dark.\n"
    "The night was dark, and the sea was calm. Of the sea was nothing said.\n";

struct PhrasesTest : ::testing::Test {
  PhrasesTest() { WriteWholeFile(t / "in.txt", kText); }
  CliResult Phrases(std::vector<std::string> args) {
    args.insert(args.begin(), "phrases");
    args.push_back("in.txt");
    return RunIn(t.path().string(), args);
  }
  TempDir t;
};

TEST_F(PhrasesTest, ListsRepeatedPhrasesWithTheSummary) {
  EXPECT_EQ(Phrases({"-q", "--min", "2", "--max", "4", "--set", "chkIgnoreShortWords=0"}),
            (CliResult{0,
                       "There are 4 phrases with 2 to 4 words which occur at least twice.\n"
                       "The longest phrase has 4 words.\n\n"
                       "     Rank      Freq  Phrase [longest has 18 characters]\n"
                       "        1         4  the sea was\n"
                       "        2         3  the sea was calm\n"
                       "        3         2  and the\n"
                       "        4         2  the night was dark\n",
                       ""}));
}

TEST_F(PhrasesTest, FilterNarrowsStandardOutputAndTheFile) {
  const CliResult r = Phrases({"-q", "--min", "2", "--max", "4", "--set", "chkIgnoreShortWords=0",
                               "--filter", "NIGHT", "--filter-mode", "subphrase", "-o", "out.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Phrase filtering (all filter words as a subphrase) has been applied.\n"
                       "Filter words: night\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("the night was dark"), std::string::npos);
  EXPECT_EQ(r.out.find("the sea was calm"), std::string::npos);
  const std::string file = ReadWholeFile(t / "out.txt");
  EXPECT_NE(file.find("the night was dark\t"), std::string::npos) << file;
  EXPECT_EQ(file.find("the sea was calm"), std::string::npos) << file;
}

TEST_F(PhrasesTest, RefusalsAndUsageErrors) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"--min", "4", "--max", "3"}, 1,
       "Invalid input: The maximum number of words in each phrase\nmust not be less than the "
       "minimum number.\n"},
      {{"--min", "1", "--max", "1"}, 1,
       "Count all phrases: To count all and only 'phrases' with one word please\ncancel then "
       "click on the 'Count words/phrases' button\nthen click on the 'Count all words' button.\n"},
      {{"--min", "0"}, 2, ""},
      {{"--max", "26"}, 2, ""},
      {{"--min-freq", "31"}, 2, ""},
      {{"--ignore-mode", "some"}, 2, ""},
      {{"--filter-mode", "any"}, 2, ""},
      {{"--filter", "?!"}, 2, "talq: --filter \"?!\" holds no filter word (letters, digits, ' or -).\n"},
  };
  for (const auto& c : cases) {
    const CliResult r = Phrases(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0] << " " << r.err;
    EXPECT_EQ(r.out, "") << c.args[0];
    if (!c.err.empty()) {
      EXPECT_EQ(r.err, c.err) << c.args[0];
    }
  }
}

TEST_F(PhrasesTest, IgnoreModeDecidesAboutWordsToIgnore) {
  const struct {
    const char* mode;
    bool andThe, theSea, calmNight;
  } cases[] = {
      {"allow", true, true, false},
      {"exclude-all", false, true, false},
      {"exclude-any", false, false, false},
      {"remove", false, false, true},  // "calm and the night" without and, the
  };
  for (const auto& c : cases) {
    const CliResult r = Phrases({"-q", "--min", "2", "--max", "2", "--min-freq", "1", "--ignore",
                                 "the and", "--ignore-mode", c.mode, "--set", "chkIgnoreShortWords=0"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("  and the\n") != std::string::npos, c.andThe) << c.mode;
    EXPECT_EQ(r.out.find("  the sea\n") != std::string::npos, c.theSea) << c.mode;
    EXPECT_EQ(r.out.find("  calm night\n") != std::string::npos, c.calmNight) << c.mode;
  }
}

}  // namespace
}  // namespace talq::cli::test
