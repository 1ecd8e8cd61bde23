#include "util/utf8.h"

namespace talq {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; 0 marks the undefined bytes (kept as C1 controls).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes the code point starting at s[i]; advances i past it, or past the maximal invalid
// subpart (at least one byte) and yields U+FFFD.
char32_t DecodeOne(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int need;
  char32_t cp;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;        // overlong
    else if (b0 == 0xED) hi = 0x9F;   // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;        // overlong
    else if (b0 == 0xF4) hi = 0x8F;   // above U+10FFFF
  } else {
    ++i;
    return kReplacement;
  }
  std::size_t j = i + 1;
  for (int k = 0; k < need; ++k, ++j) {
    if (j >= s.size()) {
      i = j;
      return kReplacement;
    }
    const auto b = static_cast<unsigned char>(s[j]);
    const unsigned char min = k == 0 ? lo : 0x80;
    const unsigned char max = k == 0 ? hi : 0xBF;
    if (b < min || b > max) {
      i = j;  // the offending byte starts the next unit
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i = j;
  return cp;
}

}  // namespace

char32_t DecodeUtf8At(std::string_view s, std::size_t& i) { return DecodeOne(s, i); }

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) out.push_back(DecodeOne(s, i));
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
    return;
  }
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
  if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
  }
  out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
}

std::string EncodeUtf8(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t c : s) AppendUtf8(out, c);
  return out;
}

std::size_t Utf8Length(std::string_view s) {
  std::size_t n = 0, i = 0;
  while (i < s.size()) {
    if (static_cast<unsigned char>(s[i]) < 0x80) ++i;
    else DecodeOne(s, i);
    ++n;
  }
  return n;
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    // A genuine U+FFFD is three bytes; a replaced subpart never is EF BF BD.
    if (DecodeOne(s, i) == kReplacement && s.substr(start, i - start) != "\xEF\xBF\xBD")
      return false;
  }
  return true;
}

char32_t DecodeWindows1252(unsigned char b) {
  if (b < 0x80 || b > 0x9F) return b;
  char16_t m = kCp1252High[b - 0x80];
  return m ? char32_t(m) : char32_t(b);
}

std::string Windows1252ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 8);
  for (char c : s) AppendUtf8(out, DecodeWindows1252(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace talq
