// Character entities: the fixed table of named ones decoded in mark-up sources, and the
// one parser of numeric character references that mark-up and docx text share.
#pragma once

#include <cstddef>
#include <string_view>

namespace talq {

// One table entry: the entity from "&" to ";" and the character that replaces it.
struct EntityEntry {
  std::u32string_view name;
  char32_t replacement;
};

// The table in its fixed order ("&quot;" is not in it; DecodeEntities handles it apart).
const EntityEntry* EntityTableBegin();
const EntityEntry* EntityTableEnd();

// The replacement for an entity of the table (exact case), or 0 when it is not in it. A
// numeric reference finds the entry of the character it names, however it is spelled.
char32_t LookUpEntity(std::u32string_view entity);

// The longest numeric reference parsed, "&" to ";" inclusive ("&#x" and nine digits, ";").
inline constexpr std::size_t kMaxNumericReferenceLength = 13;

// The character a numeric reference names: ref must be the whole reference, "&#" decimal
// digits ";" or "&#x" (or "&#X") hex digits ";", at most kMaxNumericReferenceLength long.
// Returns 0 for anything else and for a value that is no character (0, a surrogate, above
// U+10FFFF).
char32_t NumericReferenceValue(std::u32string_view ref);
char32_t NumericReferenceValue(std::string_view ref);

}  // namespace talq
