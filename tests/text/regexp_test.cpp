#include "text/regexp.h"

#include <gtest/gtest.h>

#include <string>

namespace talq {
namespace {

TEST(RegExpTest, ValidityFollowsTheEngine) {
  struct Case {
    const char* pattern;
    bool valid;
  } cases[] = {
      {"a.b", true},   {"colou?r", true}, {"[]", true},     {"[^]", true},
      {"\\u00e9", true}, {"\\q", true},   {"", true},       {"a(b", false},
      {"a[b", false},  {"*a", false},     {"a{2,1}", false}, {"(?<n", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidRegExp(std::string(c.pattern)), c.valid) << c.pattern;
  EXPECT_TRUE(IsValidRegExp(std::u32string(U"[ж]+")));
  EXPECT_FALSE(IsValidRegExp(std::u32string(U"ж(")));
}

TEST(RegExpTest, SearchSemantics) {
  struct Case {
    const char* pattern;
    const char* subject;
    bool ignoreCase;
    RegExpResult expected;
  } cases[] = {
      {"the", "THE", true, RegExpResult::Match},
      {"the", "THE", false, RegExpResult::NoMatch},
      {"ä", "Ä", true, RegExpResult::Match},
      {"жук", "ЖУК", true, RegExpResult::Match},
      {"\\u00e9", "café", false, RegExpResult::Match},
      {"^\\w+$", "naïve", false, RegExpResult::Match},
      {"a$", "a\n", false, RegExpResult::NoMatch},
      {"ell", "hello", false, RegExpResult::Match},  // unanchored search
      {"a", "\xff a", false, RegExpResult::Match},   // bad UTF-8 in a subject is no error
      {"a(", "a", false, RegExpResult::Error},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RegExpSearch(c.pattern, c.subject, c.ignoreCase), c.expected)
        << c.pattern << " on " << c.subject;
}

TEST(RegExpTest, CatastrophicPatternsGiveUpQuickly) {
  const std::string word(5000, 'a');
  // Without the match limit these would not end; ctest's timeout would catch that.
  for (const char* pattern : {"(a+)+b", "(a|aa)+(b|c)", "^(a*)*$x", "(\\w+\\w+)+!"}) {
    EXPECT_FALSE(RegExpMatches(pattern, word, true)) << pattern;
    EXPECT_FALSE(RegExpMatches(pattern, word.substr(0, 40), false)) << pattern;
  }
  // This one defeats the engine's shortcuts, so only the match limit stops it.
  EXPECT_EQ(RegExpSearch("(a|aa)+(b|c)", std::string(40, 'a'), false), RegExpResult::Error);
}

TEST(RegExpTest, CompilesEachPatternOncePerCase) {
  ClearRegExpCache();
  EXPECT_EQ(RegExpCacheSize(), 0u);
  RegExpMatches("x+", "xx", true);
  RegExpMatches("x+", "yy", true);
  RegExpMatches("x+", "xx", false);
  RegExpMatches("(", "xx", false);
  RegExpMatches("(", "xx", false);
  EXPECT_EQ(RegExpCacheSize(), 3u);
  ClearRegExpCache();
  EXPECT_EQ(RegExpCacheSize(), 0u);
  EXPECT_TRUE(RegExpMatches("x+", "xx", true));
}

}  // namespace
}  // namespace talq
