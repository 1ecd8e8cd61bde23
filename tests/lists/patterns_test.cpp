#include "lists/patterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/scripted_host.h"
#include "support/shown_messages.h"

namespace talq {
namespace {

TEST(PatternsTest, CheckRegExpCodes) {
  struct Case {
    const char* entry;
    int code;
  } cases[] = {
      {"<a.b>", -3},      {"<a\\.b>", 1},     {"<a[.]b>", 1},     {"<.ab>", -3},
      {"<^abc$>", -4},    {"<^abc>", -6},     {"<a\\(b>", -9},    {"<a\\[b>", -7},
      {"<a b>", -2},      {"<a(b>", -1},      {"abc", 0},         {"<>", 0},
      {"<a$b>", -5},      {"<a\\$b>", 1},     {"<[^a]b>", 1},     {"<a\\{b>", -8},
      {"<a\\]b\\[c>", -7}, {"<colou?r>", 1},  {"<(ab)+>", 1},     {"<a\\)\\(b>", -9},
      {"<x{2}>", 1},      {"<[a$]b>", 1},
  };
  for (const Case& c : cases) {
    std::string inner;
    EXPECT_EQ(CheckRegExp(c.entry, inner), c.code) << c.entry;
  }
  std::string inner = "stale";
  CheckRegExp("<a[.]b>", inner);
  EXPECT_EQ(inner, "a[.]b");
  CheckRegExp("abc", inner);
  EXPECT_EQ(inner, "");
}

TEST(PatternsTest, ReportRegExpShowsExactTexts) {
  ScriptedHost host;
  ReportRegExp(host, -3, "<a.b>", "/tmp/list.txt inadmissible regular expression",
               "\nThe following line will be ignored:\nx <a.b>", false);
  ReportRegExp(host, 1, "<ab>", "t", "", false);  // admissible: silent
  ReportRegExp(host, 1, "<ab>", "Check", "", true);
  ReportRegExp(host, -4, "<^a$>", "Check", "", false);
  EXPECT_EQ(
      test::Shown(host),
      (test::Lines{
          "/tmp/list.txt inadmissible regular expression: <a.b>\n"
          "contains an unescaped '.' outside square brackets.\n"
          "Perhaps use '[\\S]' instead of '.'.\n\nThe following line will be ignored:\nx <a.b>",
          "Check: <ab>\nis valid and is TALQ-admissible.",
          "Check: <^a$>\nis of the form '^...$' -- not admissible in this program.'"}));
  for (const auto& m : host.messages) EXPECT_EQ(m.icon, MsgIcon::Information);
  EXPECT_EQ(RegExpCheckMessage(-5),
            "contains an unescaped '$' outside square brackets.\nPerhaps use '\\$' instead.");
  EXPECT_EQ(RegExpCheckMessage(0), "Not a TALQ-regexp.");
  EXPECT_EQ(RegExpCheckMessage(-2), "contains a space -- inadmissible in this program.");
}

TEST(PatternsTest, LowerCaseExceptRegexp) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"ABC <XyZ> DEF", "abc <XyZ> def"}, {"", ""},           {"ÀÉ ŽЖ", "àé žж"},
      {"<ABC>", "<ABC>"},                 {"A<B", "a<b"},     {"X>Y", "x>y"},
      {"<A>B<C", "<A>b<c"},               {"A+<B\\S>+C", "a+<B\\S>+c"},
  };
  for (const Case& c : cases) EXPECT_EQ(LowerCaseExceptRegexp(c.in), c.out) << c.in;
}

TEST(PatternsTest, PhraseWindowCountsPlusSeparatedWords) {
  EXPECT_EQ(NumWordsInEntry("apple"), 1);
  EXPECT_EQ(NumWordsInEntry("new+york"), 2);
  EXPECT_EQ(NumWordsInEntry("<a+b>"), 1);
  EXPECT_EQ(NumWordsInEntry("<a+>+big+<c+>"), 3);

  ListState lists;
  EXPECT_EQ(CountOnlyPhraseWindow(lists), 1);
  lists.strCountOnlyWords = {"", "apple", "new+york", "<x+y+z>"};
  lists.lngNumCountOnlyWords = 3;
  EXPECT_EQ(CountOnlyPhraseWindow(lists), 2);
  lists.strExtraCountOnlyWords = {"", "a+b+c", "not+counted+past+count"};
  lists.intNumExtraCountOnlyWords = 1;
  EXPECT_EQ(CountOnlyPhraseWindow(lists), 3);
}

bool Matches(const std::string& word, const std::string& entry, bool caseSignificant = false) {
  std::vector<std::string> entries{"", entry};
  InvalidRegExpMark mark;
  return IsInList(word, entries, 1, 1, false, caseSignificant, mark);
}

TEST(PatternsTest, MatchingTable) {
  struct Case {
    const char* word;
    const char* entry;
    bool caseSignificant;
    bool match;
  } cases[] = {
      {"bat", "b?t", false, true},          {"bit", "b?t", false, true},
      {"boat", "b?t", false, false},        {"bt", "b~t", false, true},
      {"bat", "b~t", false, true},          {"boat", "b~t", false, true},
      {"boats", "b~t", false, false},       {"x", "~", false, true},
      {"anything-at-all", "~", false, true}, {"", "~", false, false},
      {"word", "", false, false},           {"THE", "<The>", false, true},
      {"THE", "<The>", true, false},        {"The", "<The>", true, true},
      {"bother", "<the>", false, true},     {"THE", "the", false, true},
      {"THE", "the", true, false},          {"e.g", "e.g", false, true},
      {"eag", "e.g", false, false},         {"f(x", "f(x", false, true},
      {"c:\\temp", "c:\\temp", false, true}, {"a+b", "a+b", false, true},
      {"a.b", "a.?", false, true},          {"fxx", "f[x]x", false, false},
      {"new+york", "new+york", false, true}, {"new+york+city", "new+york", false, false},
      {"new+york", "new+york+city", false, false}, {"new+york", "new+<y\\S+k>", false, true},
      {"new+york", "~+<^y>", false, true},  {"NEW+YORK", "new+<YORK>", false, true},
      {"xab", "<a+>", false, true},         {"xyz", "<a+>", true, false},
      {"colour", "<colou?r>", false, true}, {"ÉTÉ", "été", false, true},
      {"é", "?", false, true},              {"be", "?", false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Matches(c.word, c.entry, c.caseSignificant), c.match)
        << c.word << " vs " << c.entry << (c.caseSignificant ? " (case)" : "");
}

TEST(PatternsTest, InvalidExpressionSetsMarkAndStopsTheWalk) {
  std::vector<std::string> entries{"", "<a(b>", "zebra"};
  InvalidRegExpMark mark;
  EXPECT_FALSE(IsInList("zebra", entries, 1, 2, false, false, mark));
  EXPECT_TRUE(mark.blnInvalidRegExp);
  EXPECT_EQ(mark.strInvalidRegExp, "a(b");
  // A stale mark never poisons a later lookup.
  EXPECT_TRUE(IsInList("zebra", entries, 2, 1, false, false, mark));
}

TEST(PatternsTest, ListWalkRangeAndAccentFolding) {
  std::vector<std::string> entries{"", "a~", "b?t", "cat", "cafe", "strasse"};
  InvalidRegExpMark mark;
  EXPECT_TRUE(IsInList("abc", entries, 1, 3, true, false, mark));  // folding never skips "a~"
  EXPECT_FALSE(IsInList("cat", entries, 1, 2, false, false, mark));
  EXPECT_TRUE(IsInList("cat", entries, 1, 99, false, false, mark));  // count past the end
  EXPECT_FALSE(IsInList("café", entries, 4, 2, false, false, mark));
  EXPECT_TRUE(IsInList("café", entries, 4, 2, true, false, mark));
  EXPECT_TRUE(IsInList("STRAßE", entries, 4, 2, true, false, mark));
  EXPECT_FALSE(IsInList("CAFÉ", entries, 4, 2, true, true, mark));
}

}  // namespace
}  // namespace talq
