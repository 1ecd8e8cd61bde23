#include "engine/phrase_filter.h"

#include "settings/settings.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace {

// Up to U+00FF the characters the phrase window has always taken; beyond it every letter, so
// that a Cyrillic or Greek filter word is kept whole.
bool IsFilterWordChar(char32_t c) {
  if (c >= 0x100) return IsUnicodeLetter(c);
  return (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') || c == U'\'' || c == U'-' ||
         c == 0xDF || (c >= 0xE0 && c <= 0xF6) || (c >= 0xF8 && c <= 0xFF);
}

std::string_view TrimSpaces(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool AllWholeWords(const PhraseFilterState& filter, std::string_view phrase) {
  for (const std::string& word : filter.strFilterWords) {
    bool found = false;
    for (std::size_t p = phrase.find(word); p != std::string_view::npos && !found;
         p = phrase.find(word, p + 1)) {
      found = IsWholeWordAt(phrase, word, p, ' ');
    }
    if (!found) return false;
  }
  return true;
}

}  // namespace

PhraseFilterState ParseFilterWords(std::string_view typed) {
  PhraseFilterState f;
  const std::u32string text = DecodeUtf8(LowerCaseAccented(TrimSpaces(typed)));
  std::u32string word;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && IsFilterWordChar(text[i])) {
      word.push_back(text[i]);
    } else if (!word.empty()) {
      f.strFilterWords.push_back(EncodeUtf8(word));
      word.clear();
    }
  }
  f.intNumFilterWords = static_cast<int>(f.strFilterWords.size());
  for (const std::string& w : f.strFilterWords) {
    if (!f.strFilterText.empty()) f.strFilterText += ' ';
    f.strFilterText += w;
  }
  return f;
}

bool IsWholeWordAt(std::string_view text, std::string_view word, std::size_t position,
                   char separator) {
  if (text == word) return true;
  if (position > text.size() || text.substr(position, word.size()) != word) return false;
  const std::size_t end = position + word.size();
  return (position == 0 || text[position - 1] == separator) &&
         (end == text.size() || text[end] == separator);
}

bool PhraseMatchesFilter(const PhraseFilterState& filter, FilterMode mode, std::string_view phrase) {
  const std::string lower = LowerCaseAccented(phrase);
  if (mode == FilterMode::optIncludeAllWordsAsSubphrase) {
    const std::string& text = filter.strFilterText;
    for (std::size_t p = lower.find(text); p != std::string::npos; p = lower.find(text, p + 1)) {
      if (IsWholeWordAt(lower, text, p, ' ')) return true;
    }
    return false;
  }
  if (!AllWholeWords(filter, lower)) return false;
  if (mode != FilterMode::optIncludeAllWordsInSameOrder || filter.strFilterWords.empty()) return true;
  // In order: each word as plain text after the previous one and the character after it.
  std::size_t p = lower.find(filter.strFilterWords[0]);
  for (std::size_t i = 1; i < filter.strFilterWords.size(); ++i) {
    const std::size_t from = p + filter.strFilterWords[i - 1].size() + 1;
    if (from > lower.size()) return false;
    p = lower.find(filter.strFilterWords[i], from);
    if (p == std::string::npos) return false;
  }
  return true;
}

}  // namespace talq
