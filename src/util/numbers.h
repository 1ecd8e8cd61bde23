// Number texts for messages and reports, following the current C locale's numeric settings.
#pragma once

#include <cstdint>
#include <string>

namespace talq {

// n with thousands grouped and no decimals ("1,234" in a locale without grouping rules).
std::string FormatCount(std::int64_t n);

// v rounded to `decimals` places, thousands grouped, with the locale's separators; a locale
// that defines no grouping (C/POSIX) gives "," for thousands and "." for decimals.
std::string FormatNumber(double v, int decimals);

// The decimal separator FormatNumber uses.
std::string DecimalSeparator();

// The thousands separator FormatNumber uses.
std::string ThousandsSeparator();

// The count spelt out in English or German below 100 ("No", "Twenty one", "Eine und zwanzig");
// 100 and above (or negative) as FormatCount.
std::string NumberWord(std::int64_t n, bool german);

}  // namespace talq
