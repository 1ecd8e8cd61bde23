#include "text/word_chars.h"

#include "settings/settings.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace {

void AddChars(std::u32string& set, std::u32string_view chars) {
  for (char32_t c : chars) {
    if (set.find(c) == std::u32string::npos) set.push_back(c);
  }
}

// A letter as the word filters see it, judged on an upper-cased character.
bool IsFilterLetter(char32_t c) {
  if (c < 0x80) return c >= U'A' && c <= U'Z';
  if (c <= 0xFF) return c >= 0xC0 && c <= 0xDE && c != 0xD7;
  return IsUnicodeLetter(c);
}

}  // namespace

void BuildAllowedExtraChars(const Settings& s, std::u32string& set) {
  set.clear();
  if (s.chkAllowWordsWithHyphens == 1) AddChars(set, U"-");
  // U+2018 is the left single quote that files in the Western code page carry.
  if (s.chkAllowWordsWithApostrophes == 1) AddChars(set, U"'\u2018");
  if (s.chkAllowWordsWithUnderscores == 1) AddChars(set, U"_");
  if (s.chkAllowWordsWithColons == 1) AddChars(set, U":");
  if (s.chkAllowWordsWithBackslashes == 1) AddChars(set, U"\\");
  if (s.chkAllowWordsWithForwardslashes == 1) AddChars(set, U"/");
  if (s.chkAllowWordsWithPeriods == 1) AddChars(set, U".");
  if (s.chkAllowWordsWithAtSigns == 1) AddChars(set, U"@");
  if (s.chkAllowWordsWithNumerals == 1) AddChars(set, U"0123456789");
}

void SetAllowedExtraChars2(const Settings& s, std::u32string& set) {
  if (s.chkAllowWordsWithParentheses == 1) AddChars(set, U"()");
  if (s.chkAllowWordsWithAmpersands == 1) AddChars(set, U"&");
  if (s.chkAllowWordsWithUserSpecifiedExtraChars == 1) {
    std::u32string user = DecodeUtf8(s.txbUserSpecifiedExtraChars);
    if (user.size() > 5) user.resize(5);
    AddChars(set, user);
  }
  if (s.chkAllowWordsWithCommas == 1) AddChars(set, U",");
}

bool IsWordChar(char32_t ch, bool allowDigits, std::u32string_view extraChars) {
  if (ch < 0x80) {
    if ((ch >= U'A' && ch <= U'Z') || (ch >= U'a' && ch <= U'z')) return true;
    if (allowDigits && ch >= U'0' && ch <= U'9') return true;
  } else if (ch <= 0xFF) {
    if (ch >= 0xC0 && ch != 0xD7 && ch != 0xF7) return true;
  } else if (IsUnicodeLetter(ch)) {
    return true;
  }
  return extraChars.find(ch) != std::u32string_view::npos;
}

bool IsSevenBitWord(std::string_view word) {
  if (word.empty()) return false;
  for (unsigned char b : word) {
    if (b >= 0x80) return false;
  }
  return true;
}

namespace {

// Calls test with the upper-cased characters of word. Upper-casing leaves ASCII but a-z
// alone, so that most words are tested without decoding them or allocating.
template <typename Test>
bool TestUpperCased(std::string_view word, Test test) {
  if (word.size() <= 64 && IsSevenBitWord(word)) {
    char32_t upper[64];
    for (std::size_t i = 0; i < word.size(); ++i) {
      const char c = word[i];
      upper[i] = static_cast<char32_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return test(std::u32string_view(upper, word.size()));
  }
  return test(std::u32string_view(UpperCaseAccented(DecodeUtf8(word))));
}

}  // namespace

bool HasLetter(std::string_view word) {
  return TestUpperCased(word, [](std::u32string_view upper) {
    for (char32_t c : upper)
      if (IsFilterLetter(c)) return true;
    return false;
  });
}

bool HasFourRepetitions(std::string_view word) {
  return TestUpperCased(word, [](std::u32string_view upper) {
    int run = 0;
    for (std::size_t i = 0; i < upper.size(); ++i) {
      if (!IsFilterLetter(upper[i])) {
        run = 0;
        continue;
      }
      run = (i > 0 && upper[i] == upper[i - 1]) ? run + 1 : 1;
      if (run >= 4) return true;
    }
    return false;
  });
}

std::u32string StripFinalChars(std::u32string_view word, std::u32string_view chars) {
  std::size_t end = word.size();
  while (end > 0 && chars.find(word[end - 1]) != std::u32string_view::npos) --end;
  return std::u32string(word.substr(0, end));
}

bool IsNegativeContractionStem(std::string_view word) {
  static constexpr std::string_view kStems =
      "aren couldn didn doesn hadn hasn isn shouldn wasn weren wouldn ";
  if (word.empty()) return false;
  // Short ASCII probes, the usual case, are lowered on the stack.
  if (word.size() < 16) {
    char buffer[16];
    std::size_t n = 0;
    for (; n < word.size(); ++n) {
      const unsigned char b = static_cast<unsigned char>(word[n]);
      if (b >= 0x80) break;
      buffer[n] = static_cast<char>(b >= 'A' && b <= 'Z' ? b + 0x20 : b);
    }
    if (n == word.size()) {
      buffer[n] = ' ';
      return kStems.find(std::string_view(buffer, n + 1)) != std::string_view::npos;
    }
  }
  std::string probe = LowerCaseAccented(word);
  probe.push_back(' ');
  return kStems.find(probe) != std::string_view::npos;
}

}  // namespace talq
