// Counts of all phrases through the run controller: the cases that pin the rules down, the
// phrase counter against the literal way (phrase slots, pairwise redundancy) on many
// generated texts, and the filter run over a phrase count.
#include "run/phrase_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/phrase_filter.h"
#include "host/scripted_host.h"
#include "run/counting_run.h"
#include "run/session.h"
#include "support/phrase_reference.h"
#include "support/shown_messages.h"
#include "support/table_dump.h"
#include "support/temp_files.h"
#include "util/program_texts.h"

namespace talq {
namespace {

using H = WordsToIgnoreHandling;

struct Choices {
  int minWords = 2, maxWords = 3, minFrequency = 2;
  H handling = H::optExcludePhrasesAllWordsToIgnore;
  const char* ignore = "";  // typed extra words to ignore
  int shortWords = 0;  // chkIgnoreShortWords
  int comma = 0;       // chkTerminatePhraseAtComma
  int period = 1;      // chkTerminatePhraseAtPeriod
  int format = 0;
  int order = 0;
};

void Apply(Session& s, const Choices& c) {
  Settings& st = s.settings;
  st.cboPhraseLength[0] = c.minWords - 1;
  st.cboPhraseLength[1] = c.maxWords - 1;
  st.cboMinimumFrequency = c.minFrequency - 1;
  st.wordsToIgnoreHandling = c.handling;
  st.txbWordsToIgnoreOrCount[0] = c.ignore;
  st.chkIgnoreShortWords = c.shortWords;
  st.chkTerminatePhraseAtComma = c.comma;
  st.chkTerminatePhraseAtPeriod = c.period;
  st.cboDisplayFormat = c.format;
  st.cboWordOrder = c.order;
  st.blnStartUpCompleted = true;
}

class PhraseCountTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadProgramTexts(DataDir() + "/talq.dat"); }

  // Counts text (as the clipboard) the fast way or the literal way.
  RunResult Count(Session& s, ScriptedHost& h, const std::string& text, const Choices& c, bool literal) {
    h.clipboard = text;
    s.settings.source = Source::optOnClipboard;
    Apply(s, c);
    if (literal) UseLiteralPhraseCount(s);
    return cmdCountAllPhrases_Click(s);
  }
  std::string Fast(const std::string& text, const Choices& c) {
    Count(s, host, text, c, false);
    return WordCounts(s.words, true);
  }

  ScriptedHost host;
  Session s{host};
};

struct RuleCase {
  const char* name;
  std::string text;
  Choices setup;
  std::string included;
};

// The rules as their examples give them, and the literal way agrees on each.
TEST_F(PhraseCountTest, Rules) {
  const RuleCase cases[] = {
      {"RepeatedRunKeepsOnlyItsLongestPhrase", "a b c a b c", {}, "a b c=2"},
      {"AtFrequencyOneSubphrasesOfEqualCountGo", "a b c a b c", {.minFrequency = 1},
       "a b c=2 | b c a=1 | c a b=1"},
      {"ExcludeAnyDropsEveryPhraseWithTheIgnoredWord", "end of the day",
       {.minFrequency = 1, .handling = H::optExcludePhrasesWithWordToIgnore, .ignore = "the"},
       "end of=1"},
      {"ExcludeAllKeepsMixedPhrasesOnly", "x the the y",
       {.maxWords = 2, .minFrequency = 1, .ignore = "the"}, "the y=1 | x the=1"},
      {"AllowKeepsPhrasesOfIgnoredWords", "x the the y",
       {.maxWords = 2, .minFrequency = 1, .handling = H::optAllowPhrasesAllWordsToIgnore, .ignore = "the"},
       "the the=1 | the y=1 | x the=1"},
      {"RemoveFormsPhrasesWithoutTheIgnoredWord", "end of the day",
       {.minFrequency = 1, .handling = H::optRemoveWordsToIgnore, .ignore = "the"}, "end of day=1"},
      {"PeriodEndsThePhrase", "a b. a b", {.maxWords = 2, .minFrequency = 1}, "a b=2"},
      {"WithoutTheTerminatorPhrasesSpanIt", "a b. a b", {.maxWords = 2, .minFrequency = 1, .period = 0},
       "a b=2 | b a=1"},
      {"CommaEndsThePhraseWhenChosen", "a b, a b", {.maxWords = 2, .minFrequency = 1, .comma = 1}, "a b=2"},
      {"ContainmentIsByCharacters", "she said x she said x she said y he said z he said z he said",
       {.maxWords = 2},
       "said x=2 | said z=2 | she said=3 | x she=2 | z he=2"},
      {"ShortSingleWordsFollowTheWordRules", "a cats a dogs a",
       {.minWords = 1, .maxWords = 2, .shortWords = 1}, ""},
      {"SingleWordsCountedWithoutTheWordRules", "a cats a dogs a", {.minWords = 1, .maxWords = 2},
       "a=3"},
      {"SingleWordInsideALongerWord", "the, he, the, he", {.minWords = 1, .maxWords = 2, .comma = 1},
       "the=2"},
      {"SingleIgnoredWordGoesWhenExcluded", "the the cat",
       {.minWords = 1, .maxWords = 2, .minFrequency = 1, .ignore = "the"}, "the cat=1"},
      {"SingleIgnoredWordStaysWhenAllowed", "the the cat",
       {.minWords = 1, .maxWords = 2, .minFrequency = 1,
        .handling = H::optAllowPhrasesAllWordsToIgnore, .ignore = "the"},
       "the=2 | the cat=1 | the the=1"},
      // Former fault: a word removed as a word to ignore no longer ended the phrase.
      {"RemovedWordStillEndsThePhrase", "end of the. next day",
       {.maxWords = 2, .minFrequency = 1, .handling = H::optRemoveWordsToIgnore, .ignore = "the"},
       "end of=1 | next day=1"},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Fast(c.text, c.setup), c.included);
    ScriptedHost h2;
    Session literal{h2};
    Count(literal, h2, c.text, c.setup, true);
    EXPECT_EQ(WordCounts(literal.words, true), c.included);
  }
}

TEST_F(PhraseCountTest, RemovedWordsLeaveTheirPhrasesBehindAsExcluded) {
  Fast("end of the day", {.minFrequency = 1, .handling = H::optRemoveWordsToIgnore, .ignore = "the"});
  EXPECT_EQ(DumpWordTable(s.words), "end of\t1\tx\t0:1\nend of day\t1\t1\t0:1\nof day\t1\tx\t0:1\n");
}

TEST_F(PhraseCountTest, RefusedLengthsAndTheirMessages) {
  struct Case {
    int minWords, maxWords;
    std::string title, text;
  } cases[] = {
      {4, 3, "Invalid input",
       "The maximum number of words in each phrase\nmust not be less than the minimum number."},
      {1, 1, "Count all phrases",
       "To count all and only 'phrases' with one word please\ncancel then click on the 'Count "
       "words/phrases' button\nthen click on the 'Count all words' button."},
  };
  for (const Case& c : cases) {
    ScriptedHost h;
    Session t{h};
    EXPECT_EQ(Count(t, h, "a b c", {.minWords = c.minWords, .maxWords = c.maxWords}, false),
              RunResult::Refused);
    EXPECT_EQ(test::Shown(h), test::Lines{c.title + ": " + c.text});
    EXPECT_FALSE(t.run.blnCountingMFP);
  }
}

TEST_F(PhraseCountTest, SummaryLabelsAndCountOnlyListComeBack) {
  s.lists.strExtraCountOnlyWords = {"", "cat"};
  s.lists.intNumExtraCountOnlyWords = 1;
  EXPECT_EQ(Count(s, host, "a b c a b c", {.minFrequency = 1}, false), RunResult::Reported);
  EXPECT_EQ(s.lists.strExtraCountOnlyWords, (std::vector<std::string>{"", "cat"}));
  EXPECT_EQ(s.lists.intNumExtraCountOnlyWords, 1);
  EXPECT_TRUE(s.run.blnCountingMFP);
  EXPECT_EQ(host.labels["lblNumberOfWords"], "Number of phrases in this list: 3");
  // Six distinct phrases, three of them inside a b c.
  EXPECT_EQ(host.labels["lblNumWordsExcluded"], "Number of words ignored: 3");
  EXPECT_TRUE(host.TxbText().starts_with(
      "There are 3 phrases with 2 to 3 words which occur at least once.\n\n"))
      << host.TxbText();
}

TEST_F(PhraseCountTest, NothingFoundSaysWhyInTheSummary) {
  EXPECT_EQ(Count(s, host, "x the y the", {.minFrequency = 2, .ignore = "the"}, false),
            RunResult::NothingFound);
  EXPECT_EQ(host.TxbText(),
            "There are no phrases with 2 to 3 words which occur at least twice\nwhen phrases "
            "consisting entirely of words to ignore are excluded.\n\nYou could try repeating the "
            "count without excluding phrases consisting entirely of words to ignore.");
}

// The large-file question, which only a user at a screen is asked.
class AskingHost : public ScriptedHost {
 public:
  std::vector<std::string> asked;
  MsgAnswer answer = MsgAnswer::No;
  MsgAnswer AskInteractive(const std::string& text, const std::string&, MsgAnswer) override {
    asked.push_back(text);
    return answer;
  }
};

TEST_F(PhraseCountTest, LargeFileAtFrequencyOneIsAskedAbout) {
  test::TempDir temp;
  std::string words;
  for (int i = 0; i < 12000; ++i) words += "word ";
  const std::string file = temp.Write("words.txt", words);
  for (int frequency : {1, 2}) {
    AskingHost h;
    Session t{h};
    t.settings.source = Source::optInFile;
    t.settings.txbFile[0] = file;
    Apply(t, {.minFrequency = frequency});
    const RunResult r = cmdCountAllPhrases_Click(t);
    EXPECT_EQ(h.asked.size(), frequency == 1 ? 1u : 0u);
    EXPECT_EQ(r, frequency == 1 ? RunResult::Cancelled : RunResult::Reported);
  }
}

// ---- Former faults ----

// Stop in a late stage of a phrase count: the count ends there and lists nothing. (A stop
// while the frequency chain was set up was answered, then the listing cleared it and ran.)
TEST_F(PhraseCountTest, StopInALateStageEndsTheCount) {
  // Presses Stop (answered Yes) at the given Pump() once the text box starts with stage.
  struct StoppingHost : ScriptedHost {
    Session* s = nullptr;
    std::string stage;
    int atPump = 1, pumpsAfterStop = 0;
    void Pump() override {
      if (s->run.blnStop) {
        ++pumpsAfterStop;
      } else if (s->counting.blnRunInProgress && TxbText().starts_with(stage) && --atPump == 0) {
        RequestStop(*s);
      }
    }
  };
  std::string text;  // 3,000 different words twice over: thousands of phrases to chain
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 3000; ++i) {
      for (int n = i; n > 0; n /= 26) text += static_cast<char>('a' + n % 26);
      text += "q ";
    }
  }
  // The second pump of the sub-phrase stage falls inside its set-up, which ran to its end
  // (a pump every 4,096 entries) before it looked at the stop.
  for (auto [stage, atPump] : {std::pair{"Excluding redundant", 2}, {"Now setting up frequency chain", 1}}) {
    StoppingHost h;
    h.answerYes = true;
    h.stage = stage;
    h.atPump = atPump;
    Session t{h};
    h.s = &t;
    EXPECT_EQ(Count(t, h, text, {}, false), RunResult::Stopped) << stage;
    EXPECT_EQ(h.TxbText(), "Counting of phrases was stopped.") << stage;
    EXPECT_LE(h.pumpsAfterStop, 2) << stage;
  }
}

// Removing words to ignore belongs to the phrase count: a later word count keeps its
// short words as counted-and-excluded entries.
TEST_F(PhraseCountTest, WordCountAfterRemovingPhraseCountKeepsItsStream) {
  Fast("a cat sat", {.minFrequency = 1, .handling = H::optRemoveWordsToIgnore, .ignore = "the", .shortWords = 1});
  host.choices.push_back(0);
  ASSERT_EQ(CountWords(s), RunResult::Reported);
  EXPECT_EQ(host.labels["lblNumWordsExcluded"], "No. of words ignored (other than words-to-ignore): 1");
}

// ---- The phrase counter against the literal way ----

// Words that lie inside one another, so that containment by characters happens often; "hé"
// shares its sort key with "he", so the counter's phrases do not reach the table in order.
const char* const kWords[] = {"a", "ab", "b", "ba", "bab", "he", "hé", "she", "the", "x", "xy"};
const char* const kGaps[] = {" ", " ", " ", " ", ". ", ", ", "\t", "\n", "; "};

std::string RandomText(std::mt19937& rng, int words) {
  std::string text;
  for (int i = 0; i < words; ++i) {
    text += kWords[rng() % std::size(kWords)];
    text += kGaps[rng() % std::size(kGaps)];
  }
  return text;
}

Choices RandomChoices(std::mt19937& rng) {
  Choices c;
  c.minWords = 1 + static_cast<int>(rng() % 3);
  c.maxWords = std::max(c.minWords, 2) + static_cast<int>(rng() % (7 - std::max(c.minWords, 2)));
  c.minFrequency = 1 + static_cast<int>(rng() % 3);
  c.handling = static_cast<H>(rng() % 4);
  const char* ignores[] = {"", "", "the a", "b he"};
  c.ignore = ignores[rng() % 4];
  c.shortWords = static_cast<int>(rng() % 4 == 0);
  c.comma = static_cast<int>(rng() % 2);
  c.period = static_cast<int>(rng() % 2);
  c.order = static_cast<int>(rng() % 2);
  return c;
}

TEST_F(PhraseCountTest, CounterAgreesWithTheLiteralWay) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 250; ++round) {
    // Now and then a longer text, where phrase groups and the filters of the sub-phrase
    // pass grow large.
    const int words = round % 50 == 49 ? 700 : 20 + static_cast<int>(rng() % 60);
    const std::string text = RandomText(rng, words);
    const Choices setup = RandomChoices(rng);
    SCOPED_TRACE("round " + std::to_string(round) + ": " + text);
    ScriptedHost h1, h2;
    Session fast{h1}, literal{h2};
    const RunResult r1 = Count(fast, h1, text, setup, false);
    const RunResult r2 = Count(literal, h2, text, setup, true);
    ASSERT_EQ(r1, r2);
    ASSERT_EQ(WordCounts(fast.words, true), WordCounts(literal.words, true));
    ASSERT_EQ(h1.TxbText(), h2.TxbText());
    ASSERT_EQ(h1.labels, h2.labels);
  }
}

// Per-file counts and file numbers in a folder run, listed with the per-file format.
TEST_F(PhraseCountTest, CounterAgreesOnFilesOfAFolder) {
  std::mt19937 rng(7);
  for (int round = 0; round < 30; ++round) {
    test::TempDir dir;
    for (char name[] = "f0.txt"; name[1] < '4'; ++name[1])
      dir.Write(name, RandomText(rng, 5 + static_cast<int>(rng() % 40)));
    Choices setup = RandomChoices(rng);
    setup.format = 13;
    std::string outputs[2];
    for (int literal = 0; literal < 2; ++literal) {
      ScriptedHost h;
      Session t{h};
      t.settings.source = Source::optFolder;
      t.settings.txbFolder = dir.path().string();
      Apply(t, setup);
      if (literal) UseLiteralPhraseCount(t);
      cmdCountAllPhrases_Click(t);
      outputs[literal] = h.TxbText() + DumpWordTable(t.words, setup.minFrequency);
    }
    ASSERT_EQ(outputs[0], outputs[1]) << "round " << round;
  }
}

// ---- The filter run ----

using M = FilterMode;

class PhraseFilterRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadProgramTexts(DataDir() + "/talq.dat"); }
  void SetUp() override {
    host.clipboard = "the end of the day. the end of the road. end of story. end of story.";
    s.settings.source = Source::optOnClipboard;
    s.settings.blnStartUpCompleted = true;
    s.settings.cboPhraseLength[0] = 1;  // 2 to 3 words
    s.settings.cboPhraseLength[1] = 2;
    ASSERT_EQ(cmdCountAllPhrases_Click(s), RunResult::Reported);
  }
  std::string FilterRun(const std::string& words, M mode) {
    s.settings.txbFilterWords = words;
    s.settings.filterMode = mode;
    txbFilterWords_LostFocus(s);
    cmdFilterResults_Click(s);
    return host.TxbText();
  }

  ScriptedHost host;
  Session s{host};
};

TEST_F(PhraseFilterRunTest, NothingMatchingSaysSoByOrder) {
  const struct {
    int order;
    M mode;
    std::string ending;
  } cases[] = {
      {1, M::optIncludeAllWordsAsSubphrase, "No phrase containing all filter words as a subphrase found."},
      {1, M::optIncludeAllWords, "No phrase containing all filter words found."},
      {1, M::optIncludeAllWordsInSameOrder, "No phrase containing all filter words in same order found."},
      {0, M::optIncludeAllWords, "No phrase containing filter word(s) found."},
  };
  const std::int64_t included = s.words.lngNumWordsIncluded;
  for (const auto& c : cases) {
    s.settings.cboWordOrder = c.order;
    const std::string text = FilterRun("whale", c.mode);
    EXPECT_TRUE(text.ends_with(c.ending)) << text;
  }
  EXPECT_EQ(s.words.lngNumWordsIncluded, included) << "filtering keeps the table";
  EXPECT_FALSE(s.reports.blnFilteringPhrases);
}

// ---- Former faults of filtering ----

TEST_F(PhraseFilterRunTest, UnfilteredListingNeverClaimsNoFilterWordFound) {
  s.settings.txbFilterWords = "whale";
  s.settings.cboWordOrder = 0;
  ASSERT_EQ(cmdCountAllPhrases_Click(s), RunResult::Reported);
  EXPECT_EQ(host.TxbText().find("No phrase containing"), std::string::npos) << host.TxbText();
}

// With no mode chosen the filter tests all words; its header and its empty result said
// "as a subphrase".
TEST_F(PhraseFilterRunTest, NoModeChosenIsNamedAsTheAllWordsTestItApplies) {
  s.settings.cboWordOrder = 1;
  std::string text = FilterRun("end the", M::None);
  EXPECT_NE(text.find("Phrase filtering (all filter words) has been applied.\n"), std::string::npos) << text;
  EXPECT_NE(text.find("the end of"), std::string::npos) << text;
  text = FilterRun("whale", M::None);
  EXPECT_TRUE(text.ends_with("No phrase containing all filter words found.")) << text;
}

TEST_F(PhraseFilterRunTest, WordCountIsNeverFilteredAsPhrases) {
  host.choices.push_back(0);
  ASSERT_EQ(CountWords(s), RunResult::Reported);
  const std::string listed = host.TxbText();
  FilterRun("end", M::optIncludeAllWords);
  EXPECT_EQ(host.TxbText(), listed);
  EXPECT_FALSE(s.run.blnCountingMFP);
}

}  // namespace
}  // namespace talq
