#include "util/text_case.h"

#include <array>

#include <utf8proc.h>

#include "util/utf8.h"

namespace talq {

namespace {

using Table = std::array<char32_t, 256>;

// Up to U+00FF the system's own rules hold (µ and ß keep their form when upper-cased).
constexpr Table MakeLowerTable() {
  Table t{};
  for (char32_t c = 0; c < 256; ++c) {
    const bool upper = (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    t[c] = upper ? c + 0x20 : c;
  }
  return t;
}

constexpr Table MakeUpperTable() {
  Table t{};
  for (char32_t c = 0; c < 256; ++c) {
    const bool lower = (c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
    t[c] = lower ? c - 0x20 : c;
  }
  t[0xFF] = 0x178;  // ÿ -> Ÿ
  return t;
}

constexpr Table MakeAccentTable() {
  Table t{};
  for (char32_t c = 0; c < 256; ++c) t[c] = c;
  constexpr std::u32string_view from =
      U"ÀÁÂÃÄÅÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÿàáâãäåçèéêëìíîïñòóôõöøùúûüý";
  constexpr std::u32string_view to =
      U"AAAAAACEEEEIIIIDNOOOOOOUUUUYyaaaaaaceeeeiiiinoooooouuuuy";
  static_assert(from.size() == to.size());
  for (std::size_t i = 0; i < from.size(); ++i) t[from[i]] = to[i];
  return t;
}

constexpr Table kLower = MakeLowerTable();
constexpr Table kUpper = MakeUpperTable();
constexpr Table kAccent = MakeAccentTable();

char32_t RemoveAccent(char32_t c) {
  if (c < 256) return kAccent[c];
  if (c == 0x160) return U'S';
  if (c == 0x161) return U's';
  if (c == 0x178) return U'Y';
  return c;
}

// The two-letter replacement of a ligature or umlaut, or nullptr.
const char* Expansion(char32_t c) {
  switch (c) {
    case 0x152: return "Oe";  // Œ
    case 0xC4: return "Ae";
    case 0xC6: return "Ae";
    case 0xD6: return "Oe";
    case 0xDC: return "Ue";
    case 0xE4: return "ae";
    case 0xE6: return "ae";
    case 0xF6: return "oe";
    case 0xFC: return "ue";
    case 0xDF: return "ss";
    default: return nullptr;
  }
}

// Maps every character of s through f, copying ASCII bytes through `ascii` without decoding.
template <typename F>
std::string MapUtf8(std::string_view s, const Table& ascii, F f) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(ascii[b]));
      ++i;
    } else {
      AppendUtf8(out, f(DecodeUtf8At(s, i)));
    }
  }
  return out;
}

template <typename F>
std::u32string Map32(std::u32string_view s, F f) {
  std::u32string out(s.size(), U'\0');
  for (std::size_t i = 0; i < s.size(); ++i) out[i] = f(s[i]);
  return out;
}

}  // namespace

char32_t LowerChar(char32_t c) {
  if (c < 256) return kLower[c];
  return static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(c)));
}

char32_t UpperChar(char32_t c) {
  if (c < 256) return kUpper[c];
  return static_cast<char32_t>(utf8proc_toupper(static_cast<utf8proc_int32_t>(c)));
}

bool IsUnicodeLetter(char32_t c) {
  if (c < 0x80) return (c | 0x20) >= U'a' && (c | 0x20) <= U'z';
  if (c > 0x10FFFF) return false;
  const auto cat = utf8proc_category(static_cast<utf8proc_int32_t>(c));
  return cat >= UTF8PROC_CATEGORY_LU && cat <= UTF8PROC_CATEGORY_LO;
}

std::string LowerCaseAccented(std::string_view s) { return MapUtf8(s, kLower, LowerChar); }
std::u32string LowerCaseAccented(std::u32string_view s) { return Map32(s, LowerChar); }
std::string UpperCaseAccented(std::string_view s) { return MapUtf8(s, kUpper, UpperChar); }
std::u32string UpperCaseAccented(std::u32string_view s) { return Map32(s, UpperChar); }
std::string RemoveAccents(std::string_view s) { return MapUtf8(s, kAccent, RemoveAccent); }
std::u32string RemoveAccents(std::u32string_view s) { return Map32(s, RemoveAccent); }

namespace {
// Expands the ligatures of s, passing every other non-ASCII character through map.
std::string ExpandThenMap(std::string_view s, char32_t (*map)(char32_t)) {
  std::string out;
  out.reserve(s.size() + 4);
  std::size_t i = 0;
  while (i < s.size()) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      out.push_back(s[i++]);
      continue;
    }
    const char32_t c = DecodeUtf8At(s, i);
    if (const char* e = Expansion(c)) out.append(e);
    else AppendUtf8(out, map(c));
  }
  return out;
}
std::u32string ExpandThenMap(std::u32string_view s, char32_t (*map)(char32_t)) {
  std::u32string out;
  out.reserve(s.size() + 4);
  for (char32_t c : s) {
    if (const char* e = Expansion(c)) {
      out.push_back(static_cast<char32_t>(e[0]));
      out.push_back(static_cast<char32_t>(e[1]));
    } else {
      out.push_back(map(c));
    }
  }
  return out;
}
char32_t Same(char32_t c) { return c; }
}  // namespace

std::string ExpandLigatures(std::string_view s) { return ExpandThenMap(s, Same); }

std::u32string ExpandLigatures(std::u32string_view s) { return ExpandThenMap(s, Same); }

std::string FoldAccents(std::string_view s) {
  // One pass: an expansion is plain ASCII, which RemoveAccents leaves alone.
  return ExpandThenMap(s, RemoveAccent);
}

std::u32string FoldAccents(std::u32string_view s) { return ExpandThenMap(s, RemoveAccent); }

}  // namespace talq
