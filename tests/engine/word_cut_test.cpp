// Word cutting where it takes shortcuts: the contraction check, the double-hyphen pass and
// the lower-casing before a words-to-ignore lookup.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/extraction.h"
#include "engine/list_lookup.h"
#include "host/scripted_host.h"
#include "run/session.h"
#include "support/table_dump.h"
#include "text/word_chars.h"
#include "util/utf8.h"

namespace talq {
namespace {

// Ignores the words of a set, which holds lower-case words only.
class IgnoreSet : public ListLookup {
 public:
  std::set<std::string> words;
  bool IsWordToIgnore(EngineSession&, std::string_view w) override { return words.count(std::string(w)); }
  bool IsCountOnlyEntry(EngineSession&, std::string_view) override { return false; }
  bool AllWordsToIgnore(EngineSession&, std::string_view) override { return false; }
  std::string StripPhrase(EngineSession&, std::string_view p) override { return std::string(p); }
  bool PhraseAdmissible(EngineSession&, std::string_view) override { return true; }
};

std::string Count(const std::string& text, int hyphens, IgnoreSet* lists = nullptr) {
  ScriptedHost host;
  Session s{host};
  Settings& st = s.settings;
  st.chkAllowWordsWithApostrophes = 0;
  st.chkAllowWordsWithHyphens = hyphens;
  st.chkAllowWordsWithNumerals = st.chkAllowWordsWithPeriods = 0;
  s.extraction.lists = lists;
  BuildAllowedExtraChars(s.settings, s.extraction.strAllowedExtraChars);
  SetAllowedExtraChars2(s.settings, s.extraction.strAllowedExtraChars);
  s.extraction.strLine = DecodeUtf8(text) + U" ";
  ProcessLine(s);
  return WordCounts(s.words);
}

TEST(WordCutTest, ContractionPartsAreDroppedInAnyCase) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"isn't don't it's can't shouldn't", "can=1 | don=1 | it=1"},
      {"ISN'T Shouldn'T It'S DIDN'T", "It=1"},
      {"s t sun tent cats wasn", "cats=1 | sun=1 | tent=1"},
      {"wouldn’t naïveté", "naïveté=1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Count(c.text, 0), c.expected) << c.text;
}

TEST(WordCutTest, DoubleHyphensSeparateWords) {
  EXPECT_EQ(Count("well--known a-b x---y -z-", 1), "a-b=1 | known=1 | well=1 | x=1 | y=1 | z=1");
  EXPECT_EQ(Count("a-b--c", 0), "a=1 | b=1 | c=1");
}

TEST(WordCutTest, IgnoreLookupSeesLowerCase) {
  IgnoreSet lists;
  lists.words = {"the", "école"};
  EXPECT_EQ(Count("The THE the École école them Them", 0, &lists), "Them=1 | them=1");
}

}  // namespace
}  // namespace talq
