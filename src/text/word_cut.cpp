#include "text/word_cut.h"

#include <algorithm>

#include "text/markup.h"
#include "text/regexp.h"
#include "text/word_chars.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace {

constexpr std::size_t kMaxWordLength = 65000;

bool IsAsciiLetter(char32_t c) { return c < 0x80 && (c | 0x20) >= U'a' && (c | 0x20) <= U'z'; }

}  // namespace

WordRun NumAlpha2(std::u32string_view text, std::size_t start, bool allowDigits,
                  std::u32string_view extraChars, bool tagsJoin) {
  WordRun run;
  const std::size_t size = text.size();
  const std::size_t limit = start < size ? std::min(size, start + kMaxWordLength) : start;
  std::size_t i = start;
  while (i < limit) {
    const char32_t c = text[i];
    if (c < 0x80 && (c | 0x20) >= U'a' && (c | 0x20) <= U'z') {  // the common case, inline
      ++i;
      continue;
    }
    if (IsWordChar(c, allowDigits, extraChars)) {
      ++i;
      continue;
    }
    if (!tagsJoin || c != U'<' || text.substr(i, 2) == U"</") break;
    const std::size_t close = text.find(U'>', i + 1);
    if (close == std::u32string_view::npos) break;
    const std::u32string_view tag = text.substr(i, close - i + 1);
    if (tag == U"<>") {
      i += 2;
      break;
    }
    const std::u32string_view inner = tag.substr(1, tag.size() - 2);
    const bool plainTag = std::all_of(inner.begin(), inner.end(), [](char32_t t) {
      return (t >= U'0' && t <= U'9') || (t >= U'A' && t <= U'Z') || (t >= U'a' && t <= U'z');
    });
    if (plainTag || inner.find(U' ') != std::u32string_view::npos) break;
    i += IsValidRegExp(tag) ? tag.size() : 1;
  }
  std::size_t n = i - start;
  n = std::min(n, kMaxWordLength);
  run.length = n;
  if (start + n < text.size()) {
    const char32_t next = text[start + n];
    run.endsAtSemicolon = next == U';';
    run.endsAtPeriod = next == U'.';
    run.endsAtDoubleQuote = next == U'"' || next == U'\u00BB';
    run.endsAtTab = next == U'\t';
    run.endsAtComma = next == U',';
  }
  return run;
}

void NextToken(LineScan& x, CutRules rules, std::u32string& word) {
  const WordRun run =
      NumAlpha2(x.strLine, x.lngLP, false, x.strAllowedExtraChars, rules.tagsJoin);
  x.blnStoppedAtPeriod = run.endsAtPeriod;
  x.blnStoppedAtDoubleQuote = run.endsAtDoubleQuote;
  x.blnStoppedAtTab = run.endsAtTab;
  x.blnStoppedAtComma = run.endsAtComma;
  word.clear();
  if (run.length == 0) return;
  word.append(x.strLine, x.lngLP, run.length);
  x.lngLP += run.length;

  // "caf&eacute;" left undecoded: the entity is not part of the word.
  if (rules.entitiesPossible && run.endsAtSemicolon) {
    const auto amp = word.find(U'&');
    if (amp != std::u32string::npos) {
      std::u32string entity = word.substr(amp);
      entity.push_back(U';');
      if (EntityLength(entity) != 0) {
        word.resize(amp);
        if (word.empty()) return;
      }
    }
  }

  std::size_t end = word.size();
  while (end > 0 && strProhibitedInitialOrFinalChars.find(word[end - 1]) != std::u32string_view::npos)
    --end;
  word.resize(end);

  // The longest stem ("shouldn") has 7 characters; "s", "t" and every stem end in s, t or n.
  if (rules.dropContractionParts && !word.empty() && word.size() <= 7) {
    const char32_t back = word.back();
    const char32_t last = back < 0x80 ? (back | 0x20) : LowerChar(back);
    if (last == U's' || last == U't') {
      if (word.size() == 1) word.clear();  // no stem ends in s or t
      return;
    }
    if (last != U'n') return;
    // Words such as "in" and "been" come here often: ASCII is lowered in place, unallocated.
    char ascii[7];
    std::size_t n = 0;
    for (; n < word.size() && word[n] < 0x80; ++n) {
      const char32_t c = word[n];
      ascii[n] = static_cast<char>(c >= U'A' && c <= U'Z' ? c + 0x20 : c);
    }
    if (n == word.size()) {
      if (IsNegativeContractionStem(std::string_view(ascii, n))) word.clear();
      return;
    }
    const std::string utf8 = EncodeUtf8(word);
    const std::string lower = LowerCaseAccented(utf8);
    if (lower == "s" || lower == "t" || IsNegativeContractionStem(lower)) word.clear();
  }
}

bool NextAsciiToken(LineScan& x, CutRules rules, const AsciiSet& extra, std::string& word) {
  const std::u32string& line = x.strLine;
  const std::size_t start = x.lngLP;
  std::size_t i = start;
  while (i < line.size() && IsAsciiLetter(line[i])) ++i;
  // Whatever else may join the run (or a tag) is left to NextToken.
  if (i == start || i == line.size() || i - start >= kMaxWordLength) return false;
  const char32_t next = line[i];
  if (next >= 0x80 || next == U'<' || extra.Has(next)) return false;
  x.blnStoppedAtPeriod = next == U'.';
  x.blnStoppedAtDoubleQuote = next == U'"';
  x.blnStoppedAtTab = next == U'\t';
  x.blnStoppedAtComma = next == U',';
  x.lngLP = i;
  const std::size_t n = i - start;
  word.resize(n);
  for (std::size_t k = 0; k < n; ++k) word[k] = static_cast<char>(line[start + k]);
  // Letters hold no entity and end in no prohibited character: only contractions remain.
  if (rules.dropContractionParts && n <= 7) {
    const char last = static_cast<char>(word.back() | 0x20);
    if (last == 's' || last == 't') {
      if (n == 1) word.clear();
    } else if (last == 'n' && IsNegativeContractionStem(word)) {
      word.clear();
    }
  }
  return true;
}

}  // namespace talq
