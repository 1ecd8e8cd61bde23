#include "util/utf8.h"

#include <gtest/gtest.h>

namespace talq {
namespace {

TEST(Utf8Test, DecodesInvalidInputToOneReplacementPerMaximalSubpart) {
  struct Case {
    const char* name;
    std::string in;
    std::u32string want;
  };
  const Case cases[] = {
      {"valid mix", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", U"a\u00E9\u20AC\U0001F600"},
      {"lone continuation", "a\x80z", U"a\uFFFDz"},
      {"overlong two-byte", "\xC0\xAF", U"\uFFFD\uFFFD"},
      {"overlong three-byte", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"truncated then ASCII", "\xE2\x82z", U"\uFFFDz"},
      {"truncated at end", "x\xF0\x9F\x98", U"x\uFFFD"},
      {"bad lead F5", "\xF5z", U"\uFFFDz"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeUtf8(c.in), c.want) << c.name;
    EXPECT_EQ(Utf8Length(c.in), c.want.size()) << c.name;
  }
}

TEST(Utf8Test, EncodeRoundTripsAndReplacesUnencodable) {
  const std::u32string text = U"\u0416\u00DF \U0001F600 z";
  EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text);
  EXPECT_EQ(EncodeUtf8(std::u32string{0xD800, 0x110000}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace talq
