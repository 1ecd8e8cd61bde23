// Accent-aware case conversion and accent folding used for words, sort keys and comparisons.
#pragma once

#include <string>
#include <string_view>

namespace talq {

// Lower-cases: the accented capitals of Latin-1 (plus Š, Ÿ) by table, every other
// character by Unicode simple case mapping.
std::string LowerCaseAccented(std::string_view s);
std::u32string LowerCaseAccented(std::u32string_view s);

// Upper-cases: the accented small letters of Latin-1 (plus š, ÿ) by table, every other
// character by Unicode simple case mapping. ß stays ß (no multi-character mapping).
std::string UpperCaseAccented(std::string_view s);
std::u32string UpperCaseAccented(std::u32string_view s);

// Replaces Œ Ä Æ Ö Ü ä æ ö ü ß by Oe Ae Ae Oe Ue ae ae oe ue ss.
std::string ExpandLigatures(std::string_view s);
std::u32string ExpandLigatures(std::u32string_view s);

// Replaces the accented Latin-1 letters (plus Š Ÿ š ÿ) by their base letter; ð stays.
std::string RemoveAccents(std::string_view s);
std::u32string RemoveAccents(std::u32string_view s);

// RemoveAccents(ExpandLigatures(s)): "Ä" becomes "Ae", not "A".
std::string FoldAccents(std::string_view s);
std::u32string FoldAccents(std::u32string_view s);

// The LowerCaseAccented / UpperCaseAccented mapping for a single character.
char32_t LowerChar(char32_t c);
char32_t UpperChar(char32_t c);

// True when Unicode places c in a letter category (Lu, Ll, Lt, Lm, Lo).
bool IsUnicodeLetter(char32_t c);

}  // namespace talq
