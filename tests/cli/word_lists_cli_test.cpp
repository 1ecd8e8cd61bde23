// The word-list options end to end: which words the report keeps, and how a list that does
// not load or a typed expression that is not admissible ends the run.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace talq::cli::test {
namespace {

// The word column of a format #8 report, one word a line after the title.
std::string Words(const CliResult& r) {
  const auto title = r.out.find('\n');
  return title == std::string::npos ? r.out : r.out.substr(title + 1);
}

class WordListsCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteWholeFile(t / "text.txt",
                   "The apple and the pear. New York is big; the apple of New York.\n");
    WriteWholeFile(t / "ignore.txt", "pear\nbig\n");
    WriteWholeFile(t / "ignore2.txt", "apple\n");
    WriteWholeFile(t / "only.txt", "new york\npear\n");
  }
  CliResult Count(std::vector<std::string> options) {
    std::vector<std::string> args{"count", "-f", "8", "--order", "alpha"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("text.txt");
    return RunIn(t.path().string(), args);
  }
  TempDir t;
};

TEST_F(WordListsCliTest, ListsDecideWhichWordsAreReported) {
  const struct {
    std::vector<std::string> options;
    std::string words;
  } cases[] = {
      {{}, "and\napple\nbig\nnew\npear\nthe\nyork\n"},
      {{"--ignore-common", "en"}, "apple\nbig\nnew\npear\nyork\n"},
      {{"--ignore", "apple the"}, "and\nbig\nnew\npear\nyork\n"},
      {{"--ignore-file", "ignore.txt"}, "and\napple\nnew\nthe\nyork\n"},
      // Two files: the last one is loaded.
      {{"--ignore-file", "ignore.txt", "--ignore-file", "ignore2.txt"},
       "and\nbig\nnew\npear\nthe\nyork\n"},
      {{"--ignore-common", "en", "--ignore-file", "ignore.txt"}, "and\napple\nnew\nthe\nyork\n"},
      {{"--count-only", "new york, apple"}, "apple\nnew york\n"},
      {{"--count-only-file", "only.txt"}, "new york\npear\n"},
      {{"--count-only-file", "only.txt", "--all-words"}, "and\napple\nbig\nnew\npear\nthe\nyork\n"},
      {{"--count-only", "apple", "--all-words"}, "and\napple\nbig\nnew\npear\nthe\nyork\n"},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& o : c.options) shown += o + " ";
    const CliResult r = Count(c.options);
    EXPECT_EQ(r.status, 0) << shown << r.err;
    EXPECT_EQ(Words(r), c.words) << shown;
  }
}

TEST_F(WordListsCliTest, CountOnlyListingStaysOffStandardOutput) {
  const CliResult r = Count({"--count-only-file", "only.txt"});
  EXPECT_EQ(r.out, "Word or phrase [longest has 8 characters]\nnew york\npear\n");
  EXPECT_EQ(r.err,
            "Count-only words/phrases loaded: 2 count-only-words/phrases loaded from only.txt\n\n"
            "Do you wish to list them?\n");
  EXPECT_EQ(Count({"-q", "--count-only-file", "only.txt"}).err, "");
}

TEST_F(WordListsCliTest, ListsThatDoNotLoadEndTheRun) {
  WriteWholeFile(t / "utf16.txt", std::string("\xff\xfe\x00\x00x\x00\x01\x02", 8));
  const struct {
    std::vector<std::string> options;
    std::string err;
  } cases[] = {
      {{"--ignore-file", "missing.txt"}, "File not found: File for words-to-ignore not found.\n"},
      {{"--count-only-file", "missing.txt"}, "File not found: File for count-only words not found.\n"},
      {{"--ignore-file", "utf16.txt"},
       "Fatal error: File utf16.txt\nis a Unicode file but not UTF-8 encoded.\n"
       "Error when reading count-only words/phrases: Error when attempting to load "
       "words-to-ignore\nfrom file utf16.txt\n"},
      {{"--count-only", "<a.b>"},
       "Extra count-only words/phrases: inadmissible regular expression: <a.b>\n"
       "contains an unescaped '.' outside square brackets.\n"
       "Perhaps use '[\\S]' instead of '.'.\n"},
  };
  for (const auto& c : cases) {
    for (bool quiet : {false, true}) {
      std::vector<std::string> options = c.options;
      if (quiet) options.push_back("-q");
      EXPECT_EQ(Count(options), (CliResult{1, "", c.err}));
    }
  }
}

// Former faults.

// The report read its own copy of the recorded-frequencies flag, which nothing set.
TEST_F(WordListsCliTest, RecordedFrequenciesShowInFormats5And7) {
  WriteWholeFile(t / "report.txt", "10 250 the\n3 80 apple\n");
  for (const char* format : {"5", "7"}) {
    const CliResult r = RunIn(t.path().string(), {"count", "-q", "-f", format, "--count-only-file",
                                                  "report.txt", "-o", "out.txt", "text.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const std::string& report : {r.out, ReadWholeFile(t / "out.txt")}) {
      EXPECT_NE(report.find("RecFreq"), std::string::npos) << format << "\n" << report;
      EXPECT_NE(report.find("10 250"), std::string::npos) << format << "\n" << report;
      EXPECT_NE(report.find("3 80"), std::string::npos) << format << "\n" << report;
    }
  }
}

// A typed count-only entry that is also a word to ignore ended the lookup before the list.
TEST_F(WordListsCliTest, IgnoredTypedEntryIsStillFoundThroughTheList) {
  WriteWholeFile(t / "apple.txt", "apple\n");
  EXPECT_EQ(Words(Count({"-q", "--count-only", "apple, pear", "--count-only-file", "apple.txt",
                         "--ignore", "apple pear"})),
            "apple\n");
}

// Former fault: a second file for one list was set aside without a word.
TEST_F(WordListsCliTest, ASecondFileForOneListSaysOnlyTheLastIsLoaded) {
  CliResult r = Count({"--ignore-common", "en", "--ignore-file", "ignore.txt"});
  EXPECT_EQ(r.err, "Only the last words-to-ignore file given is loaded: ignore.txt\n");
  r = Count({"--count-only-file", "ignore.txt", "--count-only-file", "only.txt"});
  EXPECT_TRUE(r.err.starts_with("Only the last count-only file given is loaded: only.txt\n"))
      << r.err;
  EXPECT_EQ(Count({"--ignore-file", "ignore.txt"}).err, "");
}

}  // namespace
}  // namespace talq::cli::test
