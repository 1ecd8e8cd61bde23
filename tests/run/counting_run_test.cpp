// The counting run driven through the count button, with files under tests/data/run.
#include "run/counting_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "run/filter_words.h"
#include "run/run_summary.h"
#include "run/session.h"
#include "host/scripted_host.h"
#include "settings/setting_choices.h"
#include "support/shown_messages.h"
#include "support/table_dump.h"
#include "support/temp_files.h"
#include "util/program_texts.h"

namespace talq {
namespace {

const std::string kData = std::string(TALQ_TEST_DATA_DIR) + "/run";

// Clicks the count button again (a stop request) at the stopAt-th Pump().
class StoppingHost : public ScriptedHost {
 public:
  Session* session = nullptr;
  int stopAt = 0;
  void Pump() override {
    ScriptedHost::Pump();
    if (session != nullptr && pumps == stopAt) cmdCountWords_Click(*session);
  }
};

int ChoiceIndex(const std::vector<std::string>& choices, const std::string& value) {
  auto it = std::find(choices.begin(), choices.end(), value);
  EXPECT_NE(it, choices.end()) << value;
  return static_cast<int>(it - choices.begin());
}

class CountingRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadProgramTexts(DataDir() + "/talq.dat"); }

  void SetUp() override { host.session = &s; }

  void UseFile(const std::string& path) {
    s.settings.source = Source::optInFile;
    s.settings.txbFile[0] = path;
  }
  // A file of `lines` lines, each one distinct five-letter word.
  std::string DistinctWordsFile(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i)
      text += {'q', 'x', char('a' + i / 676), char('a' + i / 26 % 26), char('a' + i % 26), '\n'};
    return tempDir.Write("words.txt", text);
  }

  StoppingHost host;
  Session s{host};
  test::TempDir tempDir;
};

TEST_F(CountingRunTest, CountsAFileIntoAReport) {
  UseFile(kData + "/small.txt");
  EXPECT_EQ(cmdCountWords_Click(s), RunResult::Reported);
  EXPECT_EQ(test::Shown(host), test::Lines{});
  // A single file has no per-file data (file 0). Short words and the repeated letters of "zzzzap" are excluded; "1234" is no word.
  EXPECT_EQ(DumpWordTable(s.words),
            "a\t2\tx\t0:2\n"
            "and\t2\t3\t0:2\n"
            "cat\t3\t2\t0:3\n"
            "dog\t1\t4\t0:1\n"
            "dog-house\t1\t5\t0:1\n"
            "mat\t1\t6\t0:1\n"
            "on\t1\tx\t0:1\n"
            "ran\t1\t7\t0:1\n"
            "sat\t1\t8\t0:1\n"
            "the\t4\t1\t0:4\n"
            "why\t1\t9\t0:1\n"
            "zzzzap\t1\tx\t0:1\n");
  EXPECT_EQ(host.labels["lblNumberOfWords"], "Number of words in this list: 9");
  EXPECT_EQ(host.labels["lblNumWordsExcluded"], "Number of words ignored: 3");
  EXPECT_EQ(host.captions["cmdCountArray"], ProgramText(101));
  EXPECT_FALSE(s.run.blnElapsedTimeRunning);
}

TEST_F(CountingRunTest, PhrasesNeverSpanTwoFilesOfAFolder) {
  // a.txt ends with "alpha", sub/b.txt starts with it.
  s.settings.source = Source::optFolder;
  s.settings.txbFolder = kData + "/folder";
  s.settings.chkIncludeSubfolders = 1;
  s.settings.txbWordsToIgnoreOrCount[kCountOnly] = "alpha+alpha, gamma+alpha";
  EXPECT_EQ(cmdCountWords_Click(s), RunResult::Reported);
  EXPECT_EQ(DumpWordTable(s.words), "gamma alpha\t1\t1\t1:1\n");
  EXPECT_EQ(s.extraction.intPhraseWindow, 2);
  EXPECT_EQ(host.labels["lblNumberOfWords"], "Number of words/phrases in this list: 1");
}

TEST_F(CountingRunTest, InvalidInputIsRefusedWithItsMessage) {
  struct Case {
    Source source;
    std::string path;
    std::string expected;
  } cases[] = {
      {Source::optInFile, "  ", "Invalid input: Input file not specified!"},
      {Source::optOnClipboard, "", "Invalid input: " + ProgramText(213)},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    s.settings.source = c.source;
    s.settings.txbFile[0] = c.path;
    EXPECT_EQ(cmdCountWords_Click(s), RunResult::Refused) << c.expected;
    EXPECT_EQ(test::Shown(host), std::vector<std::string>{c.expected});
    EXPECT_TRUE(host.prompts.empty()) << "the chooser is not shown";
  }
}

TEST_F(CountingRunTest, ContradictoryFrequencyLimitsRefuseTheRun) {
  UseFile(kData + "/small.txt");
  ASSERT_EQ(cmdCountWords_Click(s), RunResult::Reported);
  const std::string before = DumpWordTable(s.words);
  Settings& st = s.settings;
  st.chkIgnoreInfrequentWords = st.chkIgnoreExcessivelyFrequentWords = 1;
  st.cboThresholdFrequency = ChoiceIndex(ThresholdFrequencyChoices(), "10");
  st.cboExcessFrequency = ChoiceIndex(ExcessFrequencyChoices(), "5");
  struct Case {
    bool mfp, countOnlyWithPhrase;
    std::string noun;
  } cases[] = {{false, false, "words"}, {true, false, "phrases"}, {false, true, "words/phrases"}};
  for (const Case& c : cases) {
    host.messages.clear();
    s.run.blnCountingMFP = c.mfp;
    s.run.blnThereAreCountOnlyWords = s.run.blnCountOnlyWordsIncludePhrase = c.countOnlyWithPhrase;
    EXPECT_EQ(DoCount(s), RunResult::Refused);
    EXPECT_EQ(test::Shown(host),
              std::vector<std::string>{
                  "Invalid input: The settings currently say to ignore " + c.noun +
                  "\nwith fewer than 10 occurrences and with more than 5 occurrences,\n"
                  "which implies that all " +
                  c.noun + " will be ignored."});
  }
  EXPECT_EQ(DumpWordTable(s.words), before) << "the previous results stay";
}

// A stop part-way: with few words the count stops at once and offers what it found; with
// many it asks first.
TEST_F(CountingRunTest, StopPartWay) {
  const std::string listThem =
      "Counting interrupted: The operation was stopped before all words "
      "were counted.\nDo you wish to list those which were were found?";
  const std::string reallyStop = ProgramText(25) + ": 900 found so far.\n\nReally stop?";
  struct Case {
    int lines, stopAt;  // two pumps a line
    std::vector<MsgAnswer> answers;
    RunResult result;
    std::int64_t words;
    std::string question;
  } cases[] = {
      {300, 201, {MsgAnswer::Yes}, RunResult::Reported, 100, listThem},
      {1200, 1801, {MsgAnswer::No}, RunResult::Reported, 1200, reallyStop},  // keeps counting
      {1200, 1801, {MsgAnswer::Yes, MsgAnswer::No}, RunResult::Stopped, 900, reallyStop},
      {1200, 1801, {MsgAnswer::Yes, MsgAnswer::Yes}, RunResult::Reported, 900, reallyStop},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lines << " lines, " << c.answers.size() << " answers");
    host.messages.clear();
    host.TxbClear();
    host.pumps = 0;
    host.stopAt = c.stopAt;
    host.answers.assign(c.answers.begin(), c.answers.end());
    UseFile(DistinctWordsFile(c.lines));
    EXPECT_EQ(cmdCountWords_Click(s), c.result);
    ASSERT_GE(host.messages.size(), 1u);
    EXPECT_EQ(test::Shown(host)[0], c.question);
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(s.words.lngNumWords, c.words);
    const bool listed = c.result == RunResult::Reported;
    EXPECT_EQ(host.TxbText().find("qxaaa") != std::string::npos, listed);
    EXPECT_EQ(s.reports.blnCountingStopped, listed && c.words < c.lines)
        << "a partial list says so";
    EXPECT_FALSE(s.run.blnStop);
    EXPECT_EQ(host.captions["cmdCountWords"], ProgramText(21));
  }
}

TEST_F(CountingRunTest, CountAllWordsSetsTheCountOnlyListAsideForOneRun) {
  UseFile(kData + "/small.txt");
  s.settings.txbWordsToIgnoreOrCount[kCountOnly] = "cat";

  host.choices = {-1};
  EXPECT_EQ(cmdCountWords_Click(s), RunResult::Cancelled);
  EXPECT_EQ(s.words.lngNumWords, 0);

  host.choices = {0};
  EXPECT_EQ(cmdCountWords_Click(s), RunResult::Reported);
  EXPECT_EQ(s.words.lngNumWords, 12) << "every word was counted";
  EXPECT_EQ(s.lists.intNumExtraCountOnlyWords, 1);
  EXPECT_EQ(s.lists.strExtraCountOnlyWords, (std::vector<std::string>{"", "cat"}));
  EXPECT_EQ(s.settings.txbWordsToIgnoreOrCount[kCountOnly], "cat");
  EXPECT_EQ(host.captions["cmdCountArray"], ProgramText(102));
  ASSERT_EQ(host.prompts.size(), 2u);
  EXPECT_EQ(host.prompts[1].rfind("The 'Settings' window states that only certain words", 0), 0u);
}

TEST_F(CountingRunTest, WordRulesOfFilterWords) {
  Settings& st = s.settings;  // defaults: short < 3, long > 50, repetitions and no-letter on
  WordTableContext ctx;
  std::string ok50;
  for (int i = 0; i < 50; ++i) ok50 += char('a' + i % 3);
  const std::string longWord = ok50 + "a";
  for (const char* w : {"ab", "abc", "baaaad", "aaa", "жжжжик", "мир", "1234", "--", "x1",
                        "\xC5\x92uvre"})
    s.words.AddWordToList(ctx, w);
  s.words.AddWordToList(ctx, longWord);
  s.words.AddWordToList(ctx, ok50);
  auto included = [&](const std::string& w) {
    const std::int64_t i = s.words.IndexOf(w);
    EXPECT_NE(i, 0) << w;
    return s.words.udtWords[static_cast<std::size_t>(i)].blnIncluded;
  };
  FilterWords(s);
  for (const char* w : {"abc", "aaa", "мир", "\xC5\x92uvre"}) EXPECT_TRUE(included(w)) << w;
  for (const char* w : {"ab", "baaaad", "жжжжик", "1234", "--", "x1"}) EXPECT_FALSE(included(w)) << w;
  EXPECT_FALSE(included(longWord));
  EXPECT_TRUE(included(ok50));

  st.chkIgnoreShortWords = st.chkIgnoreRepetitions = st.chkIgnoreNoLetter = 0;
  FilterWords(s);
  for (const char* w : {"ab", "baaaad", "жжжжик", "1234", "x1"}) EXPECT_TRUE(included(w)) << w;
  EXPECT_FALSE(included(longWord)) << "the long-word limit always applies";

  s.words.AddWordToList(ctx, "abc");
  s.words.AddWordToList(ctx, "abc");
  st.chkIgnoreInfrequentWords = 1;
  s.counting.intThresholdFrequency = 2;
  FilterWords(s);
  EXPECT_TRUE(included("abc"));
  EXPECT_FALSE(included("мир"));
}

TEST_F(CountingRunTest, SummaryLabels) {
  struct Case {
    bool countOnly, phrases, ignore;
    std::vector<std::string> entries;  // count-only entries
    std::vector<std::string> found;    // table entries, all included
    std::string words, excluded, occurrences;
  } cases[] = {
      {false, false, true, {}, {"cat"}, "Number of words in this list: 1",
       "No. of words ignored (other than words-to-ignore): 0",
       "Number of instances of words in this list: 1"},
      {true, false, false, {"cat"}, {"cat"}, "The word to be counted was found.",
       "Number of words ignored: 0", "No. of instances of words in this list: 1"},
      {true, false, false, {"cat", "dog"}, {"cat", "dog"}, "Both words to be counted were found.",
       "Number of words ignored: 0", "No. of instances of words in this list: 2"},
      {true, true, false, {"cat", "dog", "the+cat"}, {"cat", "dog", "the cat"},
       "All 3 words or phrases to be counted were found.", "Number of words ignored: 0",
       "No. of instances of words/phrases in this list: 3"},
      {true, false, false, {"cat", "dog"}, {"cat"}, "Number of words in this list: 1",
       "Number of words ignored: 0", "No. of instances of words in this list: 1"},
      {true, false, false, {"ca?"}, {"cat"}, "Number of words in this list: 1",
       "Number of words ignored: 0", "No. of instances of words in this list: 1"},
  };
  for (const Case& c : cases) {
    Session t{host};
    t.run.blnThereAreCountOnlyWords = c.countOnly;
    t.run.blnCountOnlyWordsIncludePhrase = c.phrases;
    t.run.blnThereAreWordsToIgnore = c.ignore;
    for (const auto& e : c.entries) t.lists.strExtraCountOnlyWords.push_back(e);
    t.lists.intNumExtraCountOnlyWords = static_cast<int>(c.entries.size());
    for (const auto& w : c.found) t.words.AddWordToList(WordTableContext{}, w);
    ComputeRunStatistics(t);
    t.reports.lngTotalNumOccurrences = 7;
    ShowRunSummary(t);
    EXPECT_EQ(host.labels["lblNumberOfWords"], c.words);
    EXPECT_EQ(host.labels["lblNumWordsExcluded"], c.excluded);
    EXPECT_EQ(host.labels["lblNumOccurrences"], c.occurrences);
    EXPECT_EQ(host.labels["lblTotalNumOccurrences"],
              std::string("Total number of instances of ") + (c.phrases ? "words/phrases" : "words") + ": 7");
  }
}

TEST_F(CountingRunTest, NothingIncludedShowsNothingFound) {
  UseFile(tempDir.Write("short.txt", "a b c of it\n"));
  EXPECT_EQ(cmdCountWords_Click(s), RunResult::NothingFound);
  EXPECT_EQ(host.TxbText(),
            "No words with at least 3 characters\nsatisfying the specified conditions were found.");
}

TEST_F(CountingRunTest, TickCountsWholeSeconds) {
  const auto t0 = std::chrono::steady_clock::now();
  Tick(s, t0);
  EXPECT_EQ(s.run.lngSecondsElapsed, 0) << "the timer is not running";
  s.run.blnElapsedTimeRunning = true;
  s.settings.source = Source::optInFile;
  s.words.AddWordToList(WordTableContext{}, "cat");
  Tick(s, t0);
  Tick(s, t0 + std::chrono::milliseconds(2500));
  EXPECT_EQ(s.run.lngSecondsElapsed, 2);
  EXPECT_EQ(host.labels["lblTimeElapsed"], "Time elapsed: 2s");
  EXPECT_EQ(host.labels["lblNumberOfWords"], "Number of different words found so far: 1");
  Tick(s, t0 + std::chrono::milliseconds(3100));
  EXPECT_EQ(s.run.lngSecondsElapsed, 3);
}

}  // namespace
}  // namespace talq
