// Text preparation shared by the file and clipboard sources.
#include "sources/text_prep.h"

#include <algorithm>

#include "util/punctuation.h"

namespace talq {

namespace {
// Without an early exit the loop vectorises; most lines hold no such character anyway.
bool NeedsNormalising(const std::u32string& line) {
  unsigned any = 0;  // an integer reduction: a bool one does not vectorise
  for (char32_t c : line) any |= unsigned(c - 0x80u < 0x20u) | unsigned(c - 0x2000u < 0x40u);
  return any != 0;
}
}  // namespace

void TrimLine(std::u32string& line) {
  std::size_t first = 0, last = line.size();
  while (first < last && line[first] <= 32) ++first;
  while (last > first && line[last - 1] <= 32) --last;
  if (first == 0 && last == line.size()) return;
  line.erase(last);
  line.erase(0, first);
}

void NormaliseLine(std::u32string& line) {
  if (!NeedsNormalising(line)) return;  // one scan decides for both passes
  DecodeUtf8Letters(line);
  DecodeUtf8Punctuation(line);
}

void DecodeUtf8Letters(std::u32string& line) {
  if (!NeedsNormalising(line)) return;
  std::erase_if(line, [](char32_t c) { return c >= 0x80 && c <= 0x9F; });
}

void DecodeUtf8Punctuation(std::u32string& line) {
  if (!NeedsNormalising(line)) return;
  std::u32string out;
  out.reserve(line.size() + 8);
  for (char32_t c : line) AppendNormalisedPunctuation(out, c);
  line.swap(out);
}

bool IsNaturalLanguageText(std::u32string_view text, std::int64_t maximum,
                           bool allowLineBreaks) {
  std::size_t n = text.size();
  if (maximum >= 1) n = std::min<std::size_t>(n, std::size_t(maximum));
  for (std::size_t i = 0; i < n; ++i) {
    char32_t c = text[i];
    if (c >= 32) continue;
    if (allowLineBreaks && (c == 9 || c == 10 || c == 12 || c == 13)) continue;
    return false;
  }
  return true;
}

std::string ProgressBar(int width, std::int64_t k) {
  if (width < 1) width = 1;
  k = std::clamp<std::int64_t>(k, 0, width);
  // Appended piece by piece: GCC 12 warns falsely about "[" + std::string(...).
  std::string bar(1, '[');
  if (k < 2) k = 1;
  bar.append(std::size_t(k - 1), '-');
  bar += '>';
  bar.append(std::size_t(width - k), ' ');
  bar += ']';
  return bar;
}

}  // namespace talq
