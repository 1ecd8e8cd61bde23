#include "engine/extraction.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>

#include "engine/list_lookup.h"
#include "host/scripted_host.h"
#include "run/session.h"
#include "support/shown_messages.h"
#include "support/table_dump.h"
#include "support/temp_files.h"
#include "text/word_chars.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {
namespace {

using Tweak = std::function<void(Session&)>;

void NoCharacters(Session& s) {
  Settings& st = s.settings;
  st.chkAllowWordsWithHyphens = st.chkAllowWordsWithApostrophes = 0;
  st.chkAllowWordsWithUnderscores = st.chkAllowWordsWithColons = 0;
  st.chkAllowWordsWithBackslashes = st.chkAllowWordsWithForwardslashes = 0;
  st.chkAllowWordsWithParentheses = st.chkAllowWordsWithAmpersands = 0;
  st.chkAllowWordsWithPeriods = st.chkAllowWordsWithCommas = 0;
  st.chkAllowWordsWithAtSigns = st.chkAllowWordsWithNumerals = 0;
  st.chkAllowWordsWithUserSpecifiedExtraChars = 0;
}

// Count-only entries and words to ignore matched exactly.
class FakeLists : public EmptyListLookup {
 public:
  std::set<std::string> countOnly;
  std::set<std::string> ignore;
  std::string invalidFor;  // a lookup of this entry meets an invalid expression

  bool IsWordToIgnore(EngineSession&, std::string_view w) override { return ignore.count(std::string(w)); }
  bool IsCountOnlyEntry(EngineSession& s, std::string_view e) override {
    if (e == invalidFor) {
      s.lists.invalidRegExp.blnInvalidRegExp = true;
      s.lists.invalidRegExp.strInvalidRegExp = "[a";
    }
    return countOnly.count(std::string(e));
  }
};

class ExtractionTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  Session session{host};
  FakeLists lists;

  void SetUp() override { NoCharacters(session); }

  // Scans text line by line (as the file reader hands it over) and dumps the counts.
  std::string Count(std::string_view text, const Tweak& setup = nullptr) {
    if (setup) setup(session);
    BuildAllowedExtraChars(session.settings, session.extraction.strAllowedExtraChars);
    SetAllowedExtraChars2(session.settings, session.extraction.strAllowedExtraChars);
    for (const std::string& line : test::SplitLines(std::string(text), "\n")) {
      session.extraction.strLine = DecodeUtf8(line) + U" ";
      ProcessLine(session);
    }
    return WordCounts(session.words);
  }

  void UseCountOnly(std::set<std::string> entries, int window) {
    lists.countOnly = std::move(entries);
    session.extraction.lists = &lists;
    session.run.blnThereAreCountOnlyWords = true;
    SetPhraseWindow(session, window);
  }
};

struct Case {
  const char* text;
  Tweak setup;
  const char* expected;
};

TEST_F(ExtractionTest, CutsWordsByTheCharacterSettings) {
  auto hyphens = [](Session& s) { s.settings.chkAllowWordsWithHyphens = 1; };
  auto apostrophes = [](Session& s) { s.settings.chkAllowWordsWithApostrophes = 1; };
  auto periods = [](Session& s) { s.settings.chkAllowWordsWithPeriods = 1; };
  auto numerals = [](Session& s) { s.settings.chkAllowWordsWithNumerals = 1; };
  auto periodsNumerals = [](Session& s) {
    s.settings.chkAllowWordsWithPeriods = s.settings.chkAllowWordsWithNumerals = 1;
  };
  auto userChars = [](Session& s) {
    s.settings.chkAllowWordsWithUserSpecifiedExtraChars = 1;
    s.settings.txbUserSpecifiedExtraChars = "≥";
  };
  const Case cases[] = {
      {"rock-and-roll", nullptr, "and=1 | rock=1 | roll=1"},
      {"rock-and-roll", hyphens, "rock-and-roll=1"},
      {"-rock- --roll--", hyphens, "rock=1 | roll=1"},
      {"'tis dogs'", apostrophes, "dogs=1 | tis=1"},
      {"John's o'clock", apostrophes, "John's=1 | o'clock=1"},
      {"don't isn't John's", nullptr, "John=1 | don=1"},
      {"couldn't wouldn't s t", nullptr, ""},
      // Contraction parts go in any case and with a typographic apostrophe.
      {"ISN'T Shouldn'T It'S DIDN'T", nullptr, "It=1"},
      {"s t sun tent cats wasn wouldn’t naïveté", nullptr, "cats=1 | naïveté=1 | sun=1 | tent=1"},
      {"e.g. end.", periods, "e.g=1 | end=1"},
      {"3.14 pi.", periodsNumerals, "3.14=1 | pi=1"},
      {"abc123def 123", nullptr, "abc=1 | def=1"},
      {"abc123def 123", numerals, "123=1 | abc123def=1"},
      {"a×b c÷d", nullptr, "a=1 | b=1 | c=1 | d=1"},
      {"Škoda Œuvre", nullptr, "Œuvre=1 | Škoda=1"},
      {"x≥y", userChars, "x≥y=1"},
      {"tab\there\fform\u00A0nbsp", nullptr, "form=1 | here=1 | nbsp=1 | tab=1"},
      {"well--known a-b x---y", hyphens, "a-b=1 | known=1 | well=1 | x=1 | y=1"},
  };
  for (const Case& c : cases) {
    session.words.Clear();
    NoCharacters(session);
    EXPECT_EQ(Count(c.text, c.setup), c.expected) << c.text;
  }
}

TEST_F(ExtractionTest, SevenBitOnlyDropsWordsWithHigherCharacters) {
  EXPECT_EQ(Count("café au lait Ā", [](Session& s) { s.settings.chkOnly7bitASCII = 1; }),
            "au=1 | lait=1");
  EXPECT_EQ(session.extraction.lngTotalNumOccurrences, 4);
}

TEST_F(ExtractionTest, CommentsAndEntitiesAreNotCounted) {
  SetCommentMarkers(session.comments, "C");
  EXPECT_EQ(Count("word /* hidden\nstill hidden */ seen // gone\nnext"),
            "next=1 | seen=1 | word=1");
  session.words.Clear();
  SetCommentMarkersForExtension(session.comments, "html");
  EXPECT_EQ(Count("caf&eacute; <b>bold</b> AT&amp;T", [](Session& s) {
              s.settings.chkAllowWordsWithAmpersands = 1;
            }),
            "AT&T=1 | bold=1 | café=1");
}

TEST_F(ExtractionTest, AnglesBracketedExpressionIsOneListEntry) {
  session.run.blnReadingWords = true;
  EXPECT_EQ(Count("<colou?r> <a-b> plain"), "<a-b>=1 | <colou?r>=1 | plain=1");
}

TEST_F(ExtractionTest, StopEndsTheLineAfterTheCurrentWord) {
  struct StoppingHost : ScriptedHost {
    Session* s = nullptr;
    void Pump() override {
      if (++pumps == 2) s->run.blnStop = true;
    }
  } stopping;
  Session stopped{stopping};
  stopping.s = &stopped;
  NoCharacters(stopped);
  BuildAllowedExtraChars(stopped.settings, stopped.extraction.strAllowedExtraChars);
  stopped.extraction.strLine = U"one two three ";
  ProcessLine(stopped);
  EXPECT_EQ(WordCounts(stopped.words), "one=1");
}

TEST_F(ExtractionTest, CountOnlyPhrasesEndAtTerminators) {
  auto noPeriod = [](Session& s) { s.settings.chkTerminatePhraseAtPeriod = 0; };
  auto comma = [](Session& s) { s.settings.chkTerminatePhraseAtComma = 1; };
  auto noTab = [](Session& s) { s.settings.chkTerminatePhraseAtTab = 0; };
  auto sevenBit = [](Session& s) { s.settings.chkOnly7bitASCII = 1; };
  const Case cases[] = {
      {"big dog. big dog", nullptr, "big dog=2"},
      {"big. dog", nullptr, ""},
      {"big. dog", noPeriod, "big dog=1"},
      {"big . dog", nullptr, "big dog=1"},
      {"big, dog", nullptr, "big dog=1"},
      {"big, dog", comma, ""},
      {"big\tdog", nullptr, ""},
      {"big\tdog", noTab, "big dog=1"},
      {"big\" dog", nullptr, ""},
      {"big» dog", nullptr, ""},
      {"big\ndog", nullptr, "big dog=1"},
      {"big café. dog", sevenBit, "big dog=1"},
      {"dog big dog dog", nullptr, "big dog=1"},
  };
  for (const Case& c : cases) {
    session.words.Clear();
    session.settings = Settings();
    NoCharacters(session);
    UseCountOnly({"big+dog"}, 2);
    EXPECT_EQ(Count(c.text, c.setup), c.expected) << c.text;
  }
}

TEST_F(ExtractionTest, InvalidExpressionIsReportedAndTheWordNotCounted) {
  host.SetCaption("cmdCountWords", "Count words/phrases");
  UseCountOnly({"dog"}, 1);
  lists.invalidFor = "dog";
  EXPECT_EQ(Count("dog"), "");
  EXPECT_EQ(test::Shown(host),
            test::Lines{"Count words/phrases: The regular expression\n[a\nis invalid."});
  for (const auto& m : host.messages) EXPECT_EQ(m.icon, MsgIcon::Information);
}

TEST_F(ExtractionTest, WordsToIgnoreAreLeftOut) {
  // The lookup sees the word lower-cased, accented capitals included.
  lists.ignore = {"the", "école"};
  session.lists.lngNumWordsToIgnore = 2;  // as loading them would; without it no word is looked up
  session.extraction.lists = &lists;
  EXPECT_EQ(Count("The THE the École école them Them cat"), "Them=1 | cat=1 | them=1");
}

TEST(WordCharsTest, LetterRulesJudgeCodePoints) {
  struct Row {
    const char* word;
    bool letter, fourRepeats, sevenBit;
  };
  const Row rows[] = {
      {"", false, false, false},
      {"123", false, false, true},
      {"a1", true, false, true},
      {"aaaa", true, true, true},
      {"aAaA", true, true, true},
      {"aaa-a", true, false, true},
      {"1111", false, false, true},
      {"éÉéÉx", true, true, false},
      {"ззззы", true, true, false},
      {"≥≥≥≥", false, false, false},  // low byte is "e"
      {"Āx", true, false, false},     // low byte is NUL
      {"×÷", false, false, false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(HasLetter(r.word), r.letter) << r.word;
    EXPECT_EQ(HasFourRepetitions(r.word), r.fourRepeats) << r.word;
    EXPECT_EQ(IsSevenBitWord(r.word), r.sevenBit) << r.word;
  }
}

// Slow reference for the default settings: maximal runs of letters, with the pieces an
// apostrophe split leaves behind dropped.
std::string ReferenceCounts(const std::u32string& text) {
  std::map<std::string, int> counts;
  std::u32string word;
  auto flush = [&] {
    const std::string w = EncodeUtf8(word);
    const std::string lower = LowerCaseAccented(w);
    if (!w.empty() && lower != "s" && lower != "t" && !IsNegativeContractionStem(w)) ++counts[w];
    word.clear();
  };
  for (char32_t c : text) {
    const bool letter = (c < 0x80 && ((c | 0x20) >= U'a' && (c | 0x20) <= U'z')) ||
                        (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) ||
                        (c > 0xFF && IsUnicodeLetter(c));
    if (letter) word.push_back(c);
    else flush();
  }
  flush();
  std::string out;
  for (const auto& [w, n] : counts) out += (out.empty() ? "" : " | ") + w + "=" + std::to_string(n);
  return out;
}

TEST_F(ExtractionTest, MatchesReferenceOnGeneratedText) {
  const std::u32string pool = U"abcstnTé×ÿЖж≥⋅' -.,\t1\"&;!Œ";
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::u32string text;
    const int len = static_cast<int>(rng() % 60);
    for (int i = 0; i < len; ++i) text.push_back(pool[rng() % pool.size()]);
    session.words.Clear();
    EXPECT_EQ(Count(EncodeUtf8(text)), ReferenceCounts(text)) << EncodeUtf8(text);
  }
}

// Former faults.

// "<" joined counted words ("vector<int>", "template<>"); it serves list entries only.
TEST_F(ExtractionTest, AngleBracketNeverJoinsACountedWord) {
  EXPECT_EQ(Count("vector<int_fast> x<yz> template<> a<b"),
            "a=1 | b=1 | fast=1 | int=1 | template=1 | vector=1 | x=1 | yz=1");
}

// Numeric references in mark-up cut the word they stood in ("caf&#233;" gave "caf").
TEST_F(ExtractionTest, NumericReferenceIsPartOfItsWord) {
  SetCommentMarkersForExtension(session.comments, "html");
  EXPECT_EQ(Count("caf&#233; caf&#xE9; Zlatkovi&#263;"), "Zlatković=1 | café=2");
}

}  // namespace
}  // namespace talq
