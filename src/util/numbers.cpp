#include "util/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <vector>

namespace talq {

namespace {

struct NumericFormat {
  std::string decimal;
  std::string thousands;
  std::string grouping;  // as in lconv: sizes from the right, CHAR_MAX ends, last repeats
};

// The current C locale's numeric format; a locale without grouping rules gets "," and ".".
NumericFormat CurrentFormat() {
  const std::lconv* lc = std::localeconv();
  const bool hasGrouping = lc && lc->grouping && lc->grouping[0] > 0 &&
                           lc->grouping[0] != CHAR_MAX && lc->thousands_sep &&
                           lc->thousands_sep[0] != '\0';
  if (!hasGrouping) {
    return NumericFormat{std::string(1, '.'), std::string(1, ','), std::string(1, '\3')};
  }
  const char* decimal = lc->decimal_point && lc->decimal_point[0] ? lc->decimal_point : ".";
  return NumericFormat{std::string(decimal), std::string(lc->thousands_sep),
                       std::string(lc->grouping)};
}

// Inserts the thousands separator into a run of digits.
std::string GroupDigits(std::string_view digits, const NumericFormat& f) {
  std::string out;
  std::size_t remaining = digits.size();
  std::vector<std::size_t> sizes;
  std::size_t g = 0;
  int size = 3;
  while (remaining > 0) {
    if (g < f.grouping.size()) {
      const char c = f.grouping[g];
      if (c == CHAR_MAX) {
        sizes.push_back(remaining);
        remaining = 0;
        break;
      }
      if (c > 0) size = c;
      ++g;
    }
    const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(size), remaining);
    sizes.push_back(take);
    remaining -= take;
  }
  std::size_t pos = 0;
  for (std::size_t k = sizes.size(); k-- > 0;) {
    out.append(digits.substr(pos, sizes[k]));
    pos += sizes[k];
    if (k > 0) out += f.thousands;
  }
  return out;
}

std::string FormatWith(double v, int decimals, const NumericFormat& f) {
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(v)) return std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity");
  std::array<char, 400> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed,
                           decimals);
  std::string_view text(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  std::string out;
  if (!text.empty() && text.front() == '-') {
    text.remove_prefix(1);
    // A value that rounds to zero shows no sign.
    if (text.find_first_not_of("0.") != std::string_view::npos) out = "-";
  }
  const std::size_t dot = text.find('.');
  out += GroupDigits(text.substr(0, dot), f);
  if (dot != std::string_view::npos) {
    out += f.decimal;
    out.append(text.substr(dot + 1));
  }
  return out;
}

constexpr std::array<const char*, 21> kEnglishSmall = {
    "No", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine", "Ten",
    "Eleven", "Twelve", "Thirteen", "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen",
    "Nineteen", "Twenty"};
constexpr std::array<const char*, 10> kEnglishTens = {
    "", "", "Twenty", "Thirty", "Forty", "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
constexpr std::array<const char*, 21> kGermanSmall = {
    "Keine", "Eine", "Zwei", "Drei", "Vier", "Fünf", "Sechs", "Sieben", "Ache", "Neun",
    "Zehn", "Elf", "Zwölf", "Dreizehn", "Vierzehn", "Fünfzehn", "Sechszehn", "Siebzehn",
    "Achtzehn", "Neunzehn", "Zwanzig"};
constexpr std::array<const char*, 10> kGermanTens = {
    "", "", "Zwanzig", "Dreißig", "Vierzig", "Fünfzig", "Sechszig", "Siebzig", "Achtzig",
    "Neunzig"};

// The words start with an ASCII capital, so lowering the first byte is enough.
std::string LowerFirst(const char* word) {
  std::string s(word);
  if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z') s[0] = static_cast<char>(s[0] - 'A' + 'a');
  return s;
}

}  // namespace

std::string FormatNumber(double v, int decimals) { return FormatWith(v, decimals, CurrentFormat()); }

std::string FormatCount(std::int64_t n) {
  const NumericFormat f = CurrentFormat();
  std::array<char, 32> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), n);
  std::string_view text(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  std::string out;
  if (text.front() == '-') {
    out = "-";
    text.remove_prefix(1);
  }
  return out + GroupDigits(text, f);
}

std::string DecimalSeparator() { return CurrentFormat().decimal; }

std::string ThousandsSeparator() { return CurrentFormat().thousands; }

std::string NumberWord(std::int64_t n, bool german) {
  if (n < 0 || n >= 100) return FormatCount(n);
  const auto& small = german ? kGermanSmall : kEnglishSmall;
  const auto& tens = german ? kGermanTens : kEnglishTens;
  if (n <= 20) return small[static_cast<std::size_t>(n)];
  const auto t = static_cast<std::size_t>(n / 10);
  const auto u = static_cast<std::size_t>(n % 10);
  if (u == 0) return tens[t];
  if (german) return std::string(small[u]) + " und " + LowerFirst(tens[t]);
  return std::string(tens[t]) + " " + LowerFirst(small[u]);
}

}  // namespace talq
